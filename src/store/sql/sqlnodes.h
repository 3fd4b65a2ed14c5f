// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The kinds of node a compiled expression is made of (SqlEvaluator compiles them): values of
// constants and of fields, arithmetic, comparisons and logic. Each evaluates straight from
// the record's bytes.

#include "store/dbf/column.h"
#include "store/dbf/dbffield.h"
#include "store/sql/sqlevaluator.h"
#include "store/sql/sqlmessages.h"
#include "store/sql/sqlstatement.h"
#include "store/sql/sqlvalue.h"
#include "store/text/cp1250.h"

#include <QByteArray>
#include <QString>
#include <memory>

namespace velmora {

class SqlEvaluator::Node {
public:
    Node(Type type, const SqlExpression &at)
        : type(type)
        , line(at.line)
        , column(at.column) {}
    virtual ~Node() = default;
    virtual SqlValue eval(const char *record) const = 0;
    virtual bool isConstant() const { return false; }
    // A quoted text not yet read as a date or number.
    virtual const QString *literal() const { return nullptr; }

    Type type;
    int line;
    int column;
};

namespace sqlnodes {

using Type = SqlEvaluator::Type;
using Kind = SqlValue::Kind;
using Op = SqlExpression::Op;
using Node = SqlEvaluator::Node;
using NodePtr = std::unique_ptr<Node>;

[[noreturn]] inline void refuse(int line, int column, const QString &what) {
    refuseAt({line, column}, what);
}

class Const final : public Node {
public:
    Const(Type type, const SqlExpression &at, SqlValue value)
        : Node(type, at)
        , m_value(value) {}
    static NodePtr text(const SqlExpression &at, const QString &text) {
        auto c = std::make_unique<Const>(Type::Text, at, SqlValue());
        c->m_literal = text;
        c->m_isLiteral = true;
        c->m_bytes = DbfField::textBytes(Cp1250::encode(text)).toByteArray();
        c->m_value = SqlValue::ofText(c->m_bytes);
        return c;
    }
    SqlValue eval(const char *) const override { return m_value; }
    bool isConstant() const override { return true; }
    const QString *literal() const override { return m_isLiteral ? &m_literal : nullptr; }

private:
    SqlValue m_value;
    QByteArray m_bytes;
    QString m_literal;
    bool m_isLiteral = false;
};

class NumberColumn final : public Node {
public:
    NumberColumn(const SqlExpression &at, const Column &c)
        : Node(Type::Number, at)
        , m_column(c)
        , m_text(c.dbfType == 'N' || c.dbfType == 'F') {}
    SqlValue eval(const char *record) const override {
        const QByteArrayView field(record + m_column.offset, m_column.width);
        const std::optional<Decimal> v =
            m_text ? DbfField::decimal(field) : DbfField::decimalOf(m_column, field);
        return v ? SqlValue::ofNumber(*v) : SqlValue();
    }

private:
    Column m_column;
    bool m_text;
};

class DateColumn final : public Node {
public:
    DateColumn(const SqlExpression &at, const Column &c)
        : Node(Type::Date, at)
        , m_offset(c.offset)
        , m_width(c.width) {}
    SqlValue eval(const char *record) const override {
        return SqlValue::ofDate(DbfField::dateKey(QByteArrayView(record + m_offset, m_width)));
    }

private:
    int m_offset;
    int m_width;
};

class TextColumn final : public Node {
public:
    TextColumn(const SqlExpression &at, const Column &c)
        : Node(Type::Text, at)
        , m_offset(c.offset)
        , m_width(c.width) {}
    SqlValue eval(const char *record) const override {
        return SqlValue::ofText(DbfField::textBytes(QByteArrayView(record + m_offset, m_width)));
    }

private:
    int m_offset;
    int m_width;
};

// A blank number counts as 0 in arithmetic, as dBASE programs treat it: a line's amount
// added to a blank income gives the amount.
inline Decimal operand(const SqlValue &v) {
    return v.kind == Kind::Number ? v.number : Decimal();
}

class Negate final : public Node {
public:
    Negate(const SqlExpression &at, NodePtr operand)
        : Node(Type::Number, at)
        , m_operand(std::move(operand)) {}
    SqlValue eval(const char *record) const override {
        const std::optional<Decimal> v = operand(m_operand->eval(record)).negated();
        if (!v)
            refuse(line, column, SqlMessages::resultTooLarge());
        return SqlValue::ofNumber(*v);
    }

private:
    NodePtr m_operand;
};

class Arithmetic final : public Node {
public:
    Arithmetic(const SqlExpression &at, Op op, NodePtr left, NodePtr right)
        : Node(Type::Number, at)
        , m_op(op)
        , m_left(std::move(left))
        , m_right(std::move(right)) {}
    SqlValue eval(const char *record) const override {
        const Decimal a = operand(m_left->eval(record));
        const Decimal b = operand(m_right->eval(record));
        std::optional<Decimal> result;
        switch (m_op) {
        case Op::Add:
            result = Decimal::add(a, b);
            break;
        case Op::Sub:
            result = Decimal::subtract(a, b);
            break;
        case Op::Mul:
            result = Decimal::multiply(a, b);
            break;
        default:
            if (b.isZero())
                refuse(m_right->line, m_right->column, QStringLiteral("impartire la zero"));
            result = Decimal::divide(a, b);
            break;
        }
        if (!result)
            refuse(line, column, SqlMessages::resultTooLarge());
        return SqlValue::ofNumber(*result);
    }

private:
    Op m_op;
    NodePtr m_left;
    NodePtr m_right;
};

inline bool verdict(Op op, int c) {
    switch (op) {
    case Op::Eq:
        return c == 0;
    case Op::Ne:
        return c != 0;
    case Op::Lt:
        return c < 0;
    case Op::Le:
        return c <= 0;
    case Op::Gt:
        return c > 0;
    case Op::Ge:
        return c >= 0;
    default:
        return false;
    }
}

inline Op mirrored(Op op) {
    switch (op) {
    case Op::Lt:
        return Op::Gt;
    case Op::Le:
        return Op::Ge;
    case Op::Gt:
        return Op::Lt;
    case Op::Ge:
        return Op::Le;
    default:
        return op;
    }
}

inline int compareValues(const SqlValue &a, const SqlValue &b) {
    switch (a.kind) {
    case Kind::Number:
        return Decimal::compare(a.number, b.number);
    case Kind::Date:
        return a.date < b.date ? -1 : (a.date > b.date ? 1 : 0);
    case Kind::Text:
        return SqlEvaluator::compareText(a.text, b.text);
    case Kind::Bool:
        return int(a.truth) - int(b.truth);
    case Kind::Null:
        break;
    }
    return 0;
}

class Compare final : public Node {
public:
    Compare(const SqlExpression &at, Op op, NodePtr left, NodePtr right)
        : Node(Type::Bool, at)
        , m_op(op)
        , m_left(std::move(left))
        , m_right(std::move(right)) {}
    SqlValue eval(const char *record) const override {
        const SqlValue a = m_left->eval(record);
        if (a.isNull())
            return {};
        const SqlValue b = m_right->eval(record);
        if (b.isNull())
            return {};
        return SqlValue::ofBool(verdict(m_op, compareValues(a, b)));
    }

private:
    Op m_op;
    NodePtr m_left;
    NodePtr m_right;
};

// The shape of every lookup by identifier (WHERE IDFOAIE=17), evaluated once per record of
// the table: no virtual calls below it, and whole numbers in whole-number fields compared as
// integers straight from the field's bytes.
class CompareNumberField final : public Node {
public:
    CompareNumberField(const SqlExpression &at, Op op, const Column &c, Decimal constant)
        : Node(Type::Bool, at)
        , m_op(op)
        , m_offset(c.offset)
        , m_width(c.width)
        , m_constant(constant)
        , m_whole(c.decimals == 0 && constant.normalized().scale() == 0)
        , m_wholeConstant(constant.normalized().units()) {}

    SqlValue eval(const char *record) const override {
        const char *field = record + m_offset;
        if (m_whole) {
            qint64 v = 0;
            switch (wholeNumber(field, field + m_width, v)) {
            case Parsed::Null:
                return {};
            case Parsed::Whole:
                return SqlValue::ofBool(
                    verdict(m_op, v < m_wholeConstant ? -1 : (v > m_wholeConstant ? 1 : 0)));
            case Parsed::Other:
                break;
            }
        }
        const std::optional<Decimal> v = DbfField::decimal(QByteArrayView(field, m_width));
        if (!v)
            return {};
        return SqlValue::ofBool(verdict(m_op, Decimal::compare(*v, m_constant)));
    }

private:
    enum class Parsed { Null, Whole, Other };

    // Blanks, an optional minus, up to 18 digits, blanks; anything else is left to the
    // general reading.
    static Parsed wholeNumber(const char *p, const char *end, qint64 &value) {
        while (p < end && *p == ' ')
            ++p;
        if (p == end)
            return Parsed::Null;
        const bool negative = *p == '-';
        if (negative)
            ++p;
        const char *digits = p;
        qint64 v = 0;
        while (p < end && *p >= '0' && *p <= '9') {
            if (p - digits == Decimal::kMaxDigits)
                return Parsed::Other;
            v = v * 10 + (*p++ - '0');
        }
        if (p == digits)
            return Parsed::Other;
        while (p < end && *p == ' ')
            ++p;
        if (p != end)
            return Parsed::Other;
        value = negative ? -v : v;
        return Parsed::Whole;
    }

    Op m_op;
    int m_offset;
    int m_width;
    Decimal m_constant;
    bool m_whole;
    qint64 m_wholeConstant;
};

class Logic final : public Node {
public:
    Logic(const SqlExpression &at, Op op, NodePtr left, NodePtr right)
        : Node(Type::Bool, at)
        , m_and(op == Op::And)
        , m_left(std::move(left))
        , m_right(std::move(right)) {}
    SqlValue eval(const char *record) const override {
        const SqlValue a = m_left->eval(record);
        // FALSE AND x is FALSE, TRUE OR x is TRUE, whatever x is.
        if (a.kind == Kind::Bool && a.truth != m_and)
            return a;
        const SqlValue b = m_right->eval(record);
        if (b.kind == Kind::Bool && b.truth != m_and)
            return b;
        if (a.isNull() || b.isNull())
            return {};
        return SqlValue::ofBool(m_and);
    }

private:
    bool m_and;
    NodePtr m_left;
    NodePtr m_right;
};

class NotNode final : public Node {
public:
    NotNode(const SqlExpression &at, NodePtr operand)
        : Node(Type::Bool, at)
        , m_operand(std::move(operand)) {}
    SqlValue eval(const char *record) const override {
        SqlValue v = m_operand->eval(record);
        if (v.kind == Kind::Bool)
            v.truth = !v.truth;
        return v;
    }

private:
    NodePtr m_operand;
};

class IsNullNode final : public Node {
public:
    IsNullNode(const SqlExpression &at, bool negated, NodePtr operand)
        : Node(Type::Bool, at)
        , m_negated(negated)
        , m_operand(std::move(operand)) {}
    SqlValue eval(const char *record) const override {
        const SqlValue v = m_operand->eval(record);
        const bool null = v.isNull() || (v.kind == Kind::Text && v.text.isEmpty());
        return SqlValue::ofBool(null != m_negated);
    }

private:
    bool m_negated;
    NodePtr m_operand;
};

} // namespace sqlnodes

} // namespace velmora
