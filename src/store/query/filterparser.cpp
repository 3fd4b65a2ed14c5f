// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/query/filterparser.h"

#include "store/text/cp1250.h"
#include "store/text/error.h"

#include <vector>

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

namespace {

// Walks over the tree recurse once per level; this many stay far within any stack.
constexpr int kMaxDepth = 200;

struct Term {
    std::unique_ptr<FilterNode> node;
    int depth;
};

// AND and OR are associative: a long chain becomes a balanced tree, as deep as the logarithm of
// its length.
std::unique_ptr<FilterNode> balanced(FilterNode::Kind kind, std::vector<Term> &terms,
                                     std::size_t first, std::size_t count, int &depth) {
    if (count == 1) {
        depth = terms[first].depth;
        return std::move(terms[first].node);
    }
    const std::size_t half = count / 2;
    int leftDepth = 0;
    int rightDepth = 0;
    auto parent = std::make_unique<FilterNode>();
    parent->kind = kind;
    parent->left = balanced(kind, terms, first, half, leftDepth);
    parent->right = balanced(kind, terms, first + half, count - half, rightDepth);
    depth = 1 + qMax(leftDepth, rightDepth);
    return parent;
}

} // namespace

void FilterParser::tooDeep(qsizetype position) const {
    throw EngineError(FilterLexer::errorText(
        position,
        QStringLiteral("expresia are prea multe niveluri (cel mult %1).").arg(kMaxDepth)));
}

void FilterParser::enter() {
    if (++m_nesting > kMaxDepth)
        tooDeep(peek().position);
}

std::unique_ptr<FilterNode> FilterParser::parseChain(FilterToken::Kind joiner) {
    const qsizetype position = peek().position;
    const bool ors = joiner == FilterToken::Kind::Or;
    std::vector<Term> terms;
    terms.push_back({ors ? parseAnd() : parseNot(), m_depth});
    while (peek().kind == joiner) {
        take();
        terms.push_back({ors ? parseAnd() : parseNot(), m_depth});
    }
    int depth = 0;
    auto node =
        balanced(ors ? FilterNode::Kind::Or : FilterNode::Kind::And, terms, 0, terms.size(), depth);
    if (depth > kMaxDepth)
        tooDeep(position);
    m_depth = depth;
    return node;
}

std::unique_ptr<FilterNode> FilterParser::parseOr() {
    return parseChain(FilterToken::Kind::Or);
}

std::unique_ptr<FilterNode> FilterParser::parseAnd() {
    return parseChain(FilterToken::Kind::And);
}

std::unique_ptr<FilterNode> FilterParser::parseNot() {
    if (peek().kind != FilterToken::Kind::Not)
        return parsePrimary();
    const qsizetype position = peek().position;
    enter();
    take();
    auto node = std::make_unique<FilterNode>();
    node->kind = FilterNode::Kind::Not;
    node->left = parseNot();
    --m_nesting;
    if (++m_depth > kMaxDepth)
        tooDeep(position);
    return node;
}

std::unique_ptr<FilterNode> FilterParser::parsePrimary() {
    if (peek().kind == FilterToken::Kind::Open) {
        enter();
        take();
        auto node = parseOr();
        if (peek().kind != FilterToken::Kind::Close)
            expected(QStringLiteral("')'"));
        take();
        --m_nesting;
        return node;
    }
    if (peek().kind != FilterToken::Kind::Name)
        expected(QStringLiteral("numele unei coloane sau '('"));
    return parseComparison();
}

std::unique_ptr<FilterNode> FilterParser::parseComparison() {
    m_depth = 1;
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
