// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/sql/sqlevaluator.h"

#include "store/dbf/dbffield.h"
#include "store/sql/sqlmessages.h"
#include "store/sql/sqlnodes.h"
#include "store/sql/sqlstatement.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"
#include "store/text/romanianorder.h"
#include "store/text/textform.h"

namespace velmora {

namespace {

using namespace sqlnodes;

struct Context {
    const QList<Column> *columns;
    QString table;
};

QString typeName(Type t) {
    switch (t) {
    case Type::Null:
        return QStringLiteral("NULL");
    case Type::Number:
        return QStringLiteral("un numar");
    case Type::Date:
        return QStringLiteral("o data");
    case Type::Text:
        return QStringLiteral("un text");
    case Type::Bool:
        return QStringLiteral("o conditie");
    }
    return {};
}

// A quoted text where a date or a number belongs is read as one, here, once.
void coerce(NodePtr &node, Type target) {
    const QString *text = node->literal();
    if (!text || (target != Type::Date && target != Type::Number))
        return;
    const SqlExpression at = [&] {
        SqlExpression e;
        e.line = node->line;
        e.column = node->column;
        return e;
    }();
    if (text->trimmed().isEmpty()) {
        node = std::make_unique<Const>(Type::Null, at, SqlValue());
        return;
    }
    if (target == Type::Date) {
        const QDate d = TextForm::parseDate(*text);
        if (!d.isValid())
            refuse(at.line, at.column, SqlMessages::unreadableDate(*text));
        node = std::make_unique<Const>(Type::Date, at, SqlValue::ofDate(SqlEvaluator::dateKey(d)));
        return;
    }
    bool tooLong = false;
    const std::optional<Decimal> n = Decimal::parse(*text, &tooLong);
    if (!n) {
        refuse(at.line, at.column,
               tooLong ? SqlMessages::tooManyDigits(text->trimmed())
                       : SqlMessages::numberExpected(*text));
    }
    node = std::make_unique<Const>(Type::Number, at, SqlValue::ofNumber(*n));
}

Type sqlTypeOf(const SqlValue &v) {
    switch (v.kind) {
    case Kind::Null:
        return Type::Null;
    case Kind::Number:
        return Type::Number;
    case Kind::Date:
        return Type::Date;
    case Kind::Text:
        return Type::Text;
    case Kind::Bool:
        return Type::Bool;
    }
    return Type::Null;
}

// An operator over constants is worked out once.
NodePtr folded(NodePtr node, const SqlExpression &at) {
    const SqlValue v = node->eval(nullptr);
    if (v.kind == Kind::Text)
        return node;
    return std::make_unique<Const>(v.isNull() ? node->type : sqlTypeOf(v), at, v);
}

NodePtr compile(const SqlExpression &e, const Context &ctx);

// An operator whose operands are constants is worked out once, here.
NodePtr foldedIf(bool constant, NodePtr node, const SqlExpression &at) {
    return constant ? folded(std::move(node), at) : std::move(node);
}

// A numeric field compared with a constant, in the fast form; null for any other comparison.
NodePtr fieldAgainstConstant(const SqlExpression &e, const Context &ctx, const NodePtr &left,
                             const NodePtr &right) {
    if (!ctx.columns)
        return nullptr;
    for (int side = 0; side < 2; ++side) {
        const SqlExpression &fieldExpr = *e.operands[side];
        const NodePtr &constant = side == 0 ? right : left;
        if (fieldExpr.kind != SqlExpression::Kind::Column || !constant->isConstant() ||
            constant->type != Type::Number)
            continue;
        const Column *c = findColumn(*ctx.columns, fieldExpr.text);
        if (c && (c->dbfType == 'N' || c->dbfType == 'F')) {
            return std::make_unique<CompareNumberField>(e, side == 0 ? e.op : mirrored(e.op), *c,
                                                        constant->eval(nullptr).number);
        }
    }
    return nullptr;
}

NodePtr compileComparison(const SqlExpression &e, const Context &ctx) {
    NodePtr left = compile(*e.operands[0], ctx);
    NodePtr right = compile(*e.operands[1], ctx);
    coerce(left, right->type);
    coerce(right, left->type);
    if (left->type != Type::Null && right->type != Type::Null && left->type != right->type) {
        refuse(e.line, e.column,
               QStringLiteral("nu se poate compara %1 cu %2")
                   .arg(typeName(left->type), typeName(right->type)));
    }
    if (left->type == Type::Bool)
        refuse(e.line, e.column, QStringLiteral("conditiile nu se pot compara intre ele"));
    const bool constants = left->isConstant() && right->isConstant();
    if (!constants) {
        if (NodePtr fast = fieldAgainstConstant(e, ctx, left, right))
            return fast;
    }
    return foldedIf(constants,
                    std::make_unique<Compare>(e, e.op, std::move(left), std::move(right)), e);
}

NodePtr compileNumber(const SqlExpression &e) {
    bool tooLong = false;
    const std::optional<Decimal> v = Decimal::parse(e.text, &tooLong);
    if (!v) {
        refuse(e.line, e.column,
               tooLong ? SqlMessages::tooManyDigits(e.text)
                       : QStringLiteral("numarul %1 nu poate fi citit").arg(e.text));
    }
    return std::make_unique<Const>(Type::Number, e, SqlValue::ofNumber(*v));
}

NodePtr compileColumn(const SqlExpression &e, const Context &ctx) {
    if (!ctx.columns) {
        refuse(e.line, e.column,
               QStringLiteral("aici se astepta o valoare, nu coloana %1").arg(e.text));
    }
    const Column *c = findColumn(*ctx.columns, e.text);
    if (!c)
        refuse(e.line, e.column, SqlMessages::noSuchColumn(e.text, ctx.table));
    switch (c->type) {
    case ColumnType::Number:
        return std::make_unique<NumberColumn>(e, *c);
    case ColumnType::Date:
        return std::make_unique<DateColumn>(e, *c);
    case ColumnType::Text:
        break;
    }
    return std::make_unique<TextColumn>(e, *c);
}

NodePtr compileNegate(const SqlExpression &e, const Context &ctx) {
    NodePtr operand = compile(*e.operands[0], ctx);
    coerce(operand, Type::Number);
    if (operand->type != Type::Number && operand->type != Type::Null) {
        refuse(e.line, e.column,
               QStringLiteral("semnul minus se aplica unui numar, nu unei valori de tip %1")
                   .arg(typeName(operand->type)));
    }
    const bool constant = operand->isConstant();
    return foldedIf(constant, std::make_unique<Negate>(e, std::move(operand)), e);
}

NodePtr compileNotOrIsNull(const SqlExpression &e, const Context &ctx) {
    NodePtr operand = compile(*e.operands[0], ctx);
    const bool constant = operand->isConstant();
    if (e.kind == SqlExpression::Kind::IsNull)
        return foldedIf(constant, std::make_unique<IsNullNode>(e, e.negated, std::move(operand)),
                        e);
    if (operand->type != Type::Bool && operand->type != Type::Null)
        refuse(e.line, e.column, QStringLiteral("NOT se aplica unei conditii"));
    return foldedIf(constant, std::make_unique<NotNode>(e, std::move(operand)), e);
}

// + - * / over numbers, AND and OR over conditions.
NodePtr compileOperator(const SqlExpression &e, const Context &ctx) {
    NodePtr left = compile(*e.operands[0], ctx);
    NodePtr right = compile(*e.operands[1], ctx);
    const bool logic = e.op == Op::And || e.op == Op::Or;
    const Type wanted = logic ? Type::Bool : Type::Number;
    coerce(left, wanted);
    coerce(right, wanted);
    for (const NodePtr *side : {&left, &right}) {
        const Type t = (*side)->type;
        if (t != wanted && t != Type::Null) {
            refuse((*side)->line, (*side)->column,
                   logic ? QStringLiteral("se astepta o conditie, s-a gasit %1").arg(typeName(t))
                         : QStringLiteral("se astepta un numar, s-a gasit %1").arg(typeName(t)));
        }
    }
    const bool constants = left->isConstant() && right->isConstant();
    NodePtr node;
    if (logic)
        node = std::make_unique<Logic>(e, e.op, std::move(left), std::move(right));
    else
        node = std::make_unique<Arithmetic>(e, e.op, std::move(left), std::move(right));
    return foldedIf(constants, std::move(node), e);
}

NodePtr compile(const SqlExpression &e, const Context &ctx) {
    switch (e.kind) {
    case SqlExpression::Kind::Number:
        return compileNumber(e);
    case SqlExpression::Kind::String:
        return Const::text(e, e.text);
    case SqlExpression::Kind::Null:
        return std::make_unique<Const>(Type::Null, e, SqlValue());
    case SqlExpression::Kind::Column:
        return compileColumn(e, ctx);
    case SqlExpression::Kind::Negate:
        return compileNegate(e, ctx);
    case SqlExpression::Kind::Not:
    case SqlExpression::Kind::IsNull:
        return compileNotOrIsNull(e, ctx);
    case SqlExpression::Kind::Binary:
        return e.isComparison() ? compileComparison(e, ctx) : compileOperator(e, ctx);
    case SqlExpression::Kind::Aggregate:
        refuse(e.line, e.column, QStringLiteral("functia %1 nu este permisa aici").arg(e.text));
    }
    refuse(e.line, e.column, QStringLiteral("expresie necunoscuta"));
}

} // namespace

SqlEvaluator::SqlEvaluator(const SqlExpression &expression, const QList<Column> *columns,
                           const QString &tableName, const ColumnType *target) {
    const Context ctx{columns, tableName};
    m_root = compile(expression, ctx);
    if (target) {
        const Type t = *target == ColumnType::Number ? Type::Number
                       : *target == ColumnType::Date ? Type::Date
                                                     : Type::Text;
        coerce(m_root, t);
    }
}

SqlEvaluator::~SqlEvaluator() = default;

std::unique_ptr<SqlEvaluator> SqlEvaluator::condition(const SqlExpression *where,
                                                      const QList<Column> &columns,
                                                      const QString &tableName) {
    if (!where)
        return nullptr;
    auto e = std::make_unique<SqlEvaluator>(*where, &columns, tableName);
    if (e->type() != Type::Bool && e->type() != Type::Null)
        refuseAt(placeOf(*where), SqlMessages::whereNeedsCondition());
    return e;
}

SqlEvaluator::Type SqlEvaluator::type() const {
    return m_root->type;
}

bool SqlEvaluator::isConstant() const {
    return m_root->isConstant();
}

SqlValue SqlEvaluator::value(const char *record) const {
    return m_root->eval(record);
}

int SqlEvaluator::dateKey(QDate date) {
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return 0;
    return date.year() * 10000 + date.month() * 100 + date.day();
}

QDate SqlEvaluator::dateOf(int key) {
    return key == 0 ? QDate() : QDate(key / 10000, key / 100 % 100, key % 100);
}

int SqlEvaluator::compareText(QByteArrayView a, QByteArrayView b) {
    return RomanianOrder::compare(a, b);
}

} // namespace velmora
