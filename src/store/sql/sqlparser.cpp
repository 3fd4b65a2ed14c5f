// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/sql/sqlparser.h"

#include "store/sql/sqltokenizer.h"
#include "store/text/error.h"

namespace velmora {

namespace {

using Kind = SqlToken::Kind;
using Expr = SqlExpression;

constexpr QStringView kReserved[] = {
    u"ALL",      u"AND",   u"AS",     u"ASC",    u"BY",    u"CREATE", u"DELETE", u"DESC",
    u"DISTINCT", u"FROM",  u"GROUP",  u"INSERT", u"INTO",  u"IS",     u"NOT",    u"NULL",
    u"OR",       u"ORDER", u"SELECT", u"SET",    u"TABLE", u"UPDATE", u"VALUES", u"WHERE",
};

constexpr QStringView kAggregates[] = {u"SUM", u"COUNT", u"MIN", u"MAX", u"AVG"};

bool isReserved(const SqlToken &t) {
    for (const QStringView w : kReserved) {
        if (t.isWord(w))
            return true;
    }
    return false;
}

bool isAggregate(const SqlToken &t) {
    for (const QStringView w : kAggregates) {
        if (t.isWord(w))
            return true;
    }
    return false;
}

std::unique_ptr<Expr> node(Expr::Kind kind, const SqlToken &at) {
    auto e = std::make_unique<Expr>();
    e->kind = kind;
    e->line = at.line;
    e->column = at.column;
    return e;
}

// Walks over the tree (the evaluator, messages, destruction) recurse once per level; this many
// levels stay far within any thread's stack, sanitizers included, and far beyond any
// statement the program composes.
constexpr int kMaxDepth = 200;

std::unique_ptr<Expr> binary(Expr::Op op, std::unique_ptr<Expr> left, std::unique_ptr<Expr> right) {
    auto e = std::make_unique<Expr>();
    e->kind = Expr::Kind::Binary;
    e->op = op;
    e->line = left->line;
    e->column = left->column;
    e->operands.push_back(std::move(left));
    e->operands.push_back(std::move(right));
    return e;
}

} // namespace

SqlParser::SqlParser(QList<SqlToken> tokens)
    : m_tokens(std::move(tokens)) {}

SqlStatement SqlParser::parse(const QString &statement) {
    SqlParser parser(SqlTokenizer::tokenize(statement));
    return parser.statement();
}

const SqlToken &SqlParser::peek(int ahead) const {
    const qsizetype i = qMin(m_pos + ahead, m_tokens.size() - 1);
    return m_tokens[i];
}

SqlToken SqlParser::take() {
    const SqlToken t = peek();
    if (t.kind != Kind::End)
        ++m_pos;
    return t;
}

bool SqlParser::accept(QStringView word) {
    if (!peek().isWord(word))
        return false;
    take();
    return true;
}

bool SqlParser::acceptSymbol(QStringView symbol) {
    if (!peek().isSymbol(symbol))
        return false;
    take();
    return true;
}

void SqlParser::expect(QStringView word) {
    if (!accept(word))
        expected(word.toString());
}

void SqlParser::expectSymbol(QStringView symbol) {
    if (!acceptSymbol(symbol))
        expected(u'"' + symbol.toString() + u'"');
}

void SqlParser::expected(const QString &what) const {
    const SqlToken &t = peek();
    throw EngineError(
        QStringLiteral("Eroare de sintaxa la linia %1, coloana %2: se astepta %3, s-a gasit %4.")
            .arg(t.line)
            .arg(t.column)
            .arg(what, t.describe()));
}

SqlPlace SqlParser::place() const {
    return {peek().line, peek().column};
}

SqlStatement SqlParser::statement() {
    SqlStatement result;
    if (accept(u"CREATE"))
        result = createTable();
    else if (accept(u"SELECT"))
        result = select();
    else if (accept(u"INSERT"))
        result = insert();
    else if (accept(u"UPDATE"))
        result = update();
    else if (accept(u"DELETE"))
        result = remove();
    else
        expected(QStringLiteral("CREATE, SELECT, INSERT, UPDATE sau DELETE"));
    acceptSymbol(u";");
    if (peek().kind != Kind::End)
        expected(QStringLiteral("sfarsitul instructiunii"));
    return result;
}

SqlTableRef SqlParser::tableRef() {
    if (peek().kind != Kind::String)
        expected(QStringLiteral("calea tabelei intre ghilimele"));
    SqlTableRef ref;
    ref.place = place();
    ref.path = take().text;
    return ref;
}

SqlName SqlParser::name() {
    if (peek().kind != Kind::Word || isReserved(peek()))
        expected(QStringLiteral("un nume de coloana"));
    SqlName n;
    n.place = place();
    n.name = take().text;
    return n;
}

int SqlParser::wholeNumber() {
    const SqlToken &t = peek();
    bool ok = false;
    const int value = t.kind == Kind::Number ? t.text.toInt(&ok) : 0;
    if (!ok)
        expected(QStringLiteral("un numar intreg"));
    take();
    return value;
}

SqlCreateTable SqlParser::createTable() {
    expect(u"TABLE");
    SqlCreateTable c;
    c.table = tableRef();
    expectSymbol(u"(");
    do {
        const SqlName n = name();
        Column column = columnType(n.name);
        c.columns.push_back(column);
        c.places.push_back(n.place);
    } while (acceptSymbol(u","));
    expectSymbol(u")");
    return c;
}

Column SqlParser::columnType(const QString &columnName) {
    Column c;
    c.name = columnName;
    const SqlPlace typePlace = place();
    auto refuse = [&](const QString &why) {
        refuseAt(typePlace, why);
    };
    if (accept(u"CHAR") || accept(u"CHARACTER") || accept(u"VARCHAR")) {
        expectSymbol(u"(");
        const int n = wholeNumber();
        expectSymbol(u")");
        if (n < 1 || n > 254)
            refuse(QStringLiteral("coloana %1 poate avea intre 1 si 254 de caractere")
                       .arg(columnName));
        c.type = ColumnType::Text;
        c.dbfType = 'C';
        c.width = n;
    } else if (accept(u"DECIMAL") || accept(u"NUMERIC")) {
        expectSymbol(u"(");
        const int precision = wholeNumber();
        int scale = 0;
        if (acceptSymbol(u","))
            scale = wholeNumber();
        expectSymbol(u")");
        if (precision < 1 || precision > 18 || scale < 0 || scale > precision || scale > 15) {
            refuse(QStringLiteral("coloana %1 poate avea intre 1 si 18 cifre, din care cel mult 15 "
                                  "zecimale")
                       .arg(columnName));
        }
        c.type = ColumnType::Number;
        c.dbfType = 'N';
        // Room for every digit and a sign, and for the point when there are decimals.
        c.width = precision + (scale > 0 ? 2 : 1);
        c.decimals = scale;
    } else if (accept(u"INTEGER") || accept(u"INT")) {
        c.type = ColumnType::Number;
        c.dbfType = 'N';
        c.width = 11;
    } else if (accept(u"SMALLINT")) {
        c.type = ColumnType::Number;
        c.dbfType = 'N';
        c.width = 6;
    } else if (accept(u"DATE")) {
        c.type = ColumnType::Date;
        c.dbfType = 'D';
        c.width = 8;
    } else {
        expected(QStringLiteral("un tip de coloana (CHAR, DECIMAL sau DATE)"));
    }
    return c;
}

SqlSelect SqlParser::select() {
    SqlSelect s;
    if (accept(u"DISTINCT"))
        s.distinct = true;
    else
        accept(u"ALL");
    do {
        SqlSelectItem item;
        item.place = place();
        if (acceptSymbol(u"*")) {
            item.star = true;
        } else {
            item.expr = expression();
            if (accept(u"AS")) {
                item.alias = name().name;
            } else if (peek().kind == Kind::Word && !isReserved(peek())) {
                item.alias = take().text;
            }
        }
        s.items.push_back(std::move(item));
    } while (acceptSymbol(u","));
    expect(u"FROM");
    s.table = tableRef();
    if (accept(u"WHERE"))
        s.where = expression();
    if (accept(u"GROUP")) {
        expect(u"BY");
        do {
            s.groupBy.push_back(name());
        } while (acceptSymbol(u","));
    }
    if (accept(u"ORDER")) {
        expect(u"BY");
        do {
            SqlOrderItem o;
            const SqlToken &t = peek();
            if (t.kind == Kind::Number) {
                o.expr = node(Expr::Kind::Number, t);
                o.expr->text = take().text;
            } else {
                const SqlName n = name();
                o.expr = node(Expr::Kind::Column, t);
                o.expr->text = n.name;
            }
            if (accept(u"DESC"))
                o.descending = true;
            else
                accept(u"ASC");
            s.orderBy.push_back(std::move(o));
        } while (acceptSymbol(u","));
    }
    return s;
}

SqlInsert SqlParser::insert() {
    expect(u"INTO");
    SqlInsert s;
    s.table = tableRef();
    if (acceptSymbol(u"(")) {
        do {
            s.columns.push_back(name());
        } while (acceptSymbol(u","));
        expectSymbol(u")");
    }
    expect(u"VALUES");
    do {
        s.rowPlaces.push_back(place());
        expectSymbol(u"(");
        std::vector<std::unique_ptr<Expr>> row;
        do {
            row.push_back(expression());
        } while (acceptSymbol(u","));
        expectSymbol(u")");
        s.rows.push_back(std::move(row));
    } while (acceptSymbol(u","));
    return s;
}

SqlUpdate SqlParser::update() {
    SqlUpdate s;
    s.table = tableRef();
    expect(u"SET");
    do {
        SqlAssignment a;
        a.column = name();
        expectSymbol(u"=");
        a.value = expression();
        s.assignments.push_back(std::move(a));
    } while (acceptSymbol(u","));
    if (accept(u"WHERE"))
        s.where = expression();
    return s;
}

SqlDelete SqlParser::remove() {
    expect(u"FROM");
    SqlDelete s;
    s.table = tableRef();
    if (accept(u"WHERE"))
        s.where = expression();
    return s;
}

std::unique_ptr<Expr> SqlParser::expression() {
    return orTerm();
}

void SqlParser::enter(SqlPlace at) {
    if (++m_nesting > kMaxDepth)
        tooDeep(at);
}

void SqlParser::deeper(SqlPlace at) {
    if (++m_depth > kMaxDepth)
        tooDeep(at);
}

void SqlParser::tooDeep(SqlPlace at) const {
    throw EngineError(QStringLiteral("Eroare de sintaxa la linia %1, coloana %2: expresia are "
                                     "prea multe niveluri (cel mult %3).")
                          .arg(at.line)
                          .arg(at.column)
                          .arg(kMaxDepth));
}

std::unique_ptr<Expr> SqlParser::combine(Expr::Op op, std::unique_ptr<Expr> left, int leftDepth,
                                         std::unique_ptr<Expr> right, SqlPlace at) {
    const int depth = 1 + qMax(leftDepth, m_depth);
    if (depth > kMaxDepth)
        tooDeep(at);
    m_depth = depth;
    return binary(op, std::move(left), std::move(right));
}

// AND and OR are associative, so a long chain becomes a balanced tree: its depth grows with the
// logarithm of its length, not with the length.
std::unique_ptr<Expr> SqlParser::chain(Expr::Op op, std::vector<Term> &terms, std::size_t first,
                                       std::size_t count, int &depth) {
    if (count == 1) {
        depth = terms[first].depth;
        return std::move(terms[first].expr);
    }
    const std::size_t half = count / 2;
    int leftDepth = 0;
    int rightDepth = 0;
    auto left = chain(op, terms, first, half, leftDepth);
    auto right = chain(op, terms, first + half, count - half, rightDepth);
    depth = 1 + qMax(leftDepth, rightDepth);
    return binary(op, std::move(left), std::move(right));
}

std::unique_ptr<Expr> SqlParser::logical(Expr::Op op, QStringView word,
                                         std::unique_ptr<Expr> (SqlParser::*operand)()) {
    std::vector<Term> terms;
    const SqlPlace at = place();
    terms.push_back({(this->*operand)(), m_depth});
    while (accept(word))
        terms.push_back({(this->*operand)(), m_depth});
    int depth = 0;
    auto result = chain(op, terms, 0, terms.size(), depth);
    if (depth > kMaxDepth)
        tooDeep(at);
    m_depth = depth;
    return result;
}

std::unique_ptr<Expr> SqlParser::orTerm() {
    return logical(Expr::Op::Or, u"OR", &SqlParser::andTerm);
}

std::unique_ptr<Expr> SqlParser::andTerm() {
    return logical(Expr::Op::And, u"AND", &SqlParser::notTerm);
}

std::unique_ptr<Expr> SqlParser::notTerm() {
    if (peek().isWord(u"NOT")) {
        const Nesting nesting(*this, place());
        auto e = node(Expr::Kind::Not, take());
        e->operands.push_back(notTerm());
        deeper(placeOf(*e));
        return e;
    }
    return comparison();
}

std::unique_ptr<Expr> SqlParser::comparison() {
    auto left = additive();
    const int leftDepth = m_depth;
    static const struct {
        QStringView symbol;
        Expr::Op op;
    } ops[] = {{u"=", Expr::Op::Eq}, {u"<>", Expr::Op::Ne}, {u"!=", Expr::Op::Ne},
               {u"<", Expr::Op::Lt}, {u"<=", Expr::Op::Le}, {u">", Expr::Op::Gt},
               {u">=", Expr::Op::Ge}};
    for (const auto &o : ops) {
        const SqlPlace at = place();
        if (acceptSymbol(o.symbol)) {
            auto right = additive();
            return combine(o.op, std::move(left), leftDepth, std::move(right), at);
        }
    }
    if (accept(u"IS")) {
        auto e = std::make_unique<Expr>();
        e->kind = Expr::Kind::IsNull;
        e->line = left->line;
        e->column = left->column;
        e->negated = accept(u"NOT");
        expect(u"NULL");
        e->operands.push_back(std::move(left));
        m_depth = leftDepth;
        deeper(placeOf(*e));
        return e;
    }
    return left;
}

std::unique_ptr<Expr> SqlParser::additive() {
    auto left = multiplicative();
    while (true) {
        const int leftDepth = m_depth;
        const SqlPlace at = place();
        Expr::Op op;
        if (acceptSymbol(u"+"))
            op = Expr::Op::Add;
        else if (acceptSymbol(u"-"))
            op = Expr::Op::Sub;
        else
            return left;
        auto right = multiplicative();
        left = combine(op, std::move(left), leftDepth, std::move(right), at);
    }
}

std::unique_ptr<Expr> SqlParser::multiplicative() {
    auto left = unary();
    while (true) {
        const int leftDepth = m_depth;
        const SqlPlace at = place();
        Expr::Op op;
        if (acceptSymbol(u"*"))
            op = Expr::Op::Mul;
        else if (acceptSymbol(u"/"))
            op = Expr::Op::Div;
        else
            return left;
        auto right = unary();
        left = combine(op, std::move(left), leftDepth, std::move(right), at);
    }
}

std::unique_ptr<Expr> SqlParser::unary() {
    if (peek().isSymbol(u"-")) {
        const Nesting nesting(*this, place());
        auto e = node(Expr::Kind::Negate, take());
        e->operands.push_back(unary());
        deeper(placeOf(*e));
        return e;
    }
    if (peek().isSymbol(u"+")) {
        const Nesting nesting(*this, place());
        take();
        return unary();
    }
    return primary();
}

std::unique_ptr<Expr> SqlParser::primary() {
    const SqlToken &t = peek();
    switch (t.kind) {
    case Kind::Number: {
        auto e = node(Expr::Kind::Number, t);
        e->text = take().text;
        m_depth = 1;
        return e;
    }
    case Kind::String: {
        auto e = node(Expr::Kind::String, t);
        e->text = take().text;
        m_depth = 1;
        return e;
    }
    case Kind::Word:
        if (t.isWord(u"NULL")) {
            auto e = node(Expr::Kind::Null, t);
            take();
            m_depth = 1;
            return e;
        }
        if (isAggregate(t) && peek(1).isSymbol(u"(")) {
            const Nesting nesting(*this, place());
            auto e = node(Expr::Kind::Aggregate, t);
            e->text = take().text.toUpper();
            take();
            if (e->text == u"COUNT" && acceptSymbol(u"*")) {
                expectSymbol(u")");
                m_depth = 1;
                return e;
            }
            e->operands.push_back(expression());
            expectSymbol(u")");
            deeper(placeOf(*e));
            return e;
        }
        if (!isReserved(t)) {
            auto e = node(Expr::Kind::Column, t);
            e->text = take().text;
            m_depth = 1;
            return e;
        }
        break;
    case Kind::Symbol:
        if (t.isSymbol(u"(")) {
            const Nesting nesting(*this, place());
            take();
            auto e = expression();
            expectSymbol(u")");
            return e;
        }
        break;
    case Kind::End:
        break;
    }
    expected(QStringLiteral("o valoare, un nume de coloana sau \"(\""));
}

} // namespace velmora
