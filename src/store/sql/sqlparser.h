// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/sql/sqlstatement.h"
#include "store/sql/sqltoken.h"

#include <QList>
#include <QString>

namespace velmora {

// Builds the syntax tree of one statement:
//
//   CREATE TABLE "path" ( name type [, name type]... )   type: CHAR(n), VARCHAR(n),
//          DECIMAL(p[,s]), NUMERIC(p[,s]), INTEGER, SMALLINT, DATE
//   SELECT [DISTINCT] * | item [, item]... FROM "path" [WHERE condition]
//          [GROUP BY name [, name]...] [ORDER BY key [ASC|DESC] [, key ...]...]
//          item: expression [[AS] alias], where SUM, COUNT, MIN, MAX and AVG may appear
//   INSERT INTO "path" [( name [, name]... )] VALUES ( value [, value]... ) [, ( ... )]...
//   UPDATE "path" SET name = value [, name = value]... [WHERE condition]
//   DELETE FROM "path" [WHERE condition]
//
// Expressions: numbers, quoted texts, NULL, column names, + - * /, unary minus, comparisons
// = <> != < > <= >=, IS [NOT] NULL, NOT, AND, OR and parentheses. Keywords and names are read
// without regard to case; a ";" may close the statement. Every refusal is an EngineError that
// says what was expected and where. Expressions nest at most 200 levels deep (parentheses,
// signs, NOT, operators), so that no statement can exhaust the stack of whoever walks its tree.
class SqlParser {
public:
    static SqlStatement parse(const QString &statement);

private:
    explicit SqlParser(QList<SqlToken> tokens);

    const SqlToken &peek(int ahead = 0) const;
    SqlToken take();
    bool accept(QStringView word);
    bool acceptSymbol(QStringView symbol);
    void expect(QStringView word);
    void expectSymbol(QStringView symbol);
    [[noreturn]] void expected(const QString &what) const;
    SqlPlace place() const;

    SqlStatement statement();
    SqlCreateTable createTable();
    SqlSelect select();
    SqlInsert insert();
    SqlUpdate update();
    SqlDelete remove();

    SqlTableRef tableRef();
    SqlName name();
    int wholeNumber();
    Column columnType(const QString &name);

    // One level of recursion into a sub-expression, refused beyond the limit.
    class Nesting {
    public:
        Nesting(SqlParser &parser, SqlPlace at)
            : m_parser(parser) {
            m_parser.enter(at);
        }
        ~Nesting() { --m_parser.m_nesting; }
        Nesting(const Nesting &) = delete;
        Nesting &operator=(const Nesting &) = delete;

    private:
        SqlParser &m_parser;
    };
    struct Term {
        std::unique_ptr<SqlExpression> expr;
        int depth;
    };

    void enter(SqlPlace at);
    // One more level above the expression just parsed.
    void deeper(SqlPlace at);
    [[noreturn]] void tooDeep(SqlPlace at) const;
    // A binary node over left and the expression just parsed (whose depth is m_depth).
    std::unique_ptr<SqlExpression> combine(SqlExpression::Op op,
                                           std::unique_ptr<SqlExpression> left, int leftDepth,
                                           std::unique_ptr<SqlExpression> right, SqlPlace at);
    std::unique_ptr<SqlExpression> chain(SqlExpression::Op op, std::vector<Term> &terms,
                                         std::size_t first, std::size_t count, int &depth);
    std::unique_ptr<SqlExpression> logical(SqlExpression::Op op, QStringView word,
                                           std::unique_ptr<SqlExpression> (SqlParser::*operand)());

    std::unique_ptr<SqlExpression> expression();
    std::unique_ptr<SqlExpression> orTerm();
    std::unique_ptr<SqlExpression> andTerm();
    std::unique_ptr<SqlExpression> notTerm();
    std::unique_ptr<SqlExpression> comparison();
    std::unique_ptr<SqlExpression> additive();
    std::unique_ptr<SqlExpression> multiplicative();
    std::unique_ptr<SqlExpression> unary();
    std::unique_ptr<SqlExpression> primary();

    QList<SqlToken> m_tokens;
    qsizetype m_pos = 0;
    int m_nesting = 0;
    // The depth of the expression the last of the functions above returned.
    int m_depth = 0;
};

} // namespace velmora
