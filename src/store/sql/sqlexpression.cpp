// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/sql/sqlexpression.h"

namespace velmora {

namespace {

QString opText(SqlExpression::Op op) {
    switch (op) {
    case SqlExpression::Op::Add:
        return QStringLiteral("+");
    case SqlExpression::Op::Sub:
        return QStringLiteral("-");
    case SqlExpression::Op::Mul:
        return QStringLiteral("*");
    case SqlExpression::Op::Div:
        return QStringLiteral("/");
    case SqlExpression::Op::Eq:
        return QStringLiteral("=");
    case SqlExpression::Op::Ne:
        return QStringLiteral("<>");
    case SqlExpression::Op::Lt:
        return QStringLiteral("<");
    case SqlExpression::Op::Le:
        return QStringLiteral("<=");
    case SqlExpression::Op::Gt:
        return QStringLiteral(">");
    case SqlExpression::Op::Ge:
        return QStringLiteral(">=");
    case SqlExpression::Op::And:
        return QStringLiteral(" AND ");
    case SqlExpression::Op::Or:
        return QStringLiteral(" OR ");
    }
    return {};
}

} // namespace

QString SqlExpression::toText() const {
    switch (kind) {
    case Kind::Number:
    case Kind::Column:
        return text;
    case Kind::String:
        return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
    case Kind::Null:
        return QStringLiteral("NULL");
    case Kind::Negate:
        return u'-' + operands[0]->toText();
    case Kind::Not:
        return QStringLiteral("NOT ") + operands[0]->toText();
    case Kind::Binary:
        return u'(' + operands[0]->toText() + opText(op) + operands[1]->toText() + u')';
    case Kind::IsNull:
        return operands[0]->toText() +
               (negated ? QStringLiteral(" IS NOT NULL") : QStringLiteral(" IS NULL"));
    case Kind::Aggregate:
        return text + u'(' + (operands.empty() ? QStringLiteral("*") : operands[0]->toText()) +
               u')';
    }
    return {};
}

} // namespace velmora
