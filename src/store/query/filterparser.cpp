#include "store/query/filterparser.h"

#include "store/text/cp1250.h"
#include "store/text/error.h"

namespace velmora {

FilterParser::FilterParser(const QString &expression)
    : m_lexer(expression)
    , m_current(m_lexer.next()) {}

FilterToken FilterParser::take() {
    FilterToken token = std::move(m_current);
    m_current = m_lexer.next();
    return token;
}

std::unique_ptr<FilterNode> FilterParser::parse(const QString &expression) {
    FilterParser parser(expression);
    auto root = parser.parseOr();
    if (parser.peek().kind != FilterToken::Kind::End)
        parser.expected(QStringLiteral("AND, OR sau sfarsitul expresiei"));
    return root;
}

void FilterParser::expected(const QString &what) const {
    const FilterToken &token = peek();
    throw EngineError(FilterLexer::errorText(
        token.position,
        QStringLiteral("se astepta %1, s-a gasit %2.").arg(what, FilterLexer::describe(token))));
}

std::unique_ptr<FilterNode> FilterParser::parseOr() {
    auto node = parseAnd();
    while (peek().kind == FilterToken::Kind::Or) {
        take();
        auto parent = std::make_unique<FilterNode>();
        parent->kind = FilterNode::Kind::Or;
        parent->left = std::move(node);
        parent->right = parseAnd();
        node = std::move(parent);
    }
    return node;
}

std::unique_ptr<FilterNode> FilterParser::parseAnd() {
    auto node = parseNot();
    while (peek().kind == FilterToken::Kind::And) {
        take();
        auto parent = std::make_unique<FilterNode>();
        parent->kind = FilterNode::Kind::And;
        parent->left = std::move(node);
        parent->right = parseNot();
        node = std::move(parent);
    }
    return node;
}

std::unique_ptr<FilterNode> FilterParser::parseNot() {
    if (peek().kind != FilterToken::Kind::Not)
        return parsePrimary();
    take();
    auto node = std::make_unique<FilterNode>();
    node->kind = FilterNode::Kind::Not;
    node->left = parseNot();
    return node;
}

std::unique_ptr<FilterNode> FilterParser::parsePrimary() {
    if (peek().kind == FilterToken::Kind::Open) {
        take();
        auto node = parseOr();
        if (peek().kind != FilterToken::Kind::Close)
            expected(QStringLiteral("')'"));
        take();
        return node;
    }
    if (peek().kind != FilterToken::Kind::Name)
        expected(QStringLiteral("numele unei coloane sau '('"));
    return parseComparison();
}

std::unique_ptr<FilterNode> FilterParser::parseComparison() {
    auto node = std::make_unique<FilterNode>();
    const FilterToken name = take();
    node->columnName = name.text;
    node->position = name.position;

    if (peek().kind != FilterToken::Kind::Compare)
        expected(QStringLiteral("un operator de comparatie (=, <>, <, >, <=, >=)"));
    const QString op = take().text;
    if (op == u"=")
        node->op = FilterNode::Op::Equal;
    else if (op == u"<>")
        node->op = FilterNode::Op::NotEqual;
    else if (op == u"<")
        node->op = FilterNode::Op::Less;
    else if (op == u">")
        node->op = FilterNode::Op::Greater;
    else if (op == u"<=")
        node->op = FilterNode::Op::LessEqual;
    else
        node->op = FilterNode::Op::GreaterEqual;

    if (peek().kind != FilterToken::Kind::Number && peek().kind != FilterToken::Kind::Text)
        expected(QStringLiteral("o constanta (text intre apostrofuri sau numar)"));
    const FilterToken constant = take();
    node->constantPosition = constant.position;
    if (constant.kind == FilterToken::Kind::Number) {
        node->number = constant.number;
    } else if (constant.kind == FilterToken::Kind::Text) {
        node->textConstant = true;
        node->text = constant.text;
        if (node->op == FilterNode::Op::Equal && node->text.endsWith(u'*')) {
            node->prefix = true;
            node->text.chop(1);
        }
        const QString unencodable = Cp1250::unencodable(node->text);
        if (!unencodable.isEmpty()) {
            throw EngineError(FilterLexer::errorText(
                constant.position,
                QStringLiteral("textul contine caractere care nu pot fi memorate in tabele: %1.")
                    .arg(unencodable)));
        }
        node->bytes = Cp1250::encode(node->text);
        // Stored text is padded with blanks, so blanks ending a whole value cannot tell it apart.
        if (!node->prefix) {
            while (node->bytes.endsWith(' ') || node->bytes.endsWith('\0'))
                node->bytes.chop(1);
        }
    }
    return node;
}

} // namespace velmora
