// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/sql/sqlprinter.h"

#include <QStringList>

namespace velmora {

namespace {

using Expr = SqlExpression;

QString quoted(const QString &text) {
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString opText(Expr::Op op) {
    switch (op) {
    case Expr::Op::Add:
        return QStringLiteral(" + ");
    case Expr::Op::Sub:
        return QStringLiteral(" - ");
    case Expr::Op::Mul:
        return QStringLiteral(" * ");
    case Expr::Op::Div:
        return QStringLiteral(" / ");
    case Expr::Op::Eq:
        return QStringLiteral(" = ");
    case Expr::Op::Ne:
        return QStringLiteral(" <> ");
    case Expr::Op::Lt:
        return QStringLiteral(" < ");
    case Expr::Op::Le:
        return QStringLiteral(" <= ");
    case Expr::Op::Gt:
        return QStringLiteral(" > ");
    case Expr::Op::Ge:
        return QStringLiteral(" >= ");
    case Expr::Op::And:
        return QStringLiteral(" AND ");
    case Expr::Op::Or:
        return QStringLiteral(" OR ");
    }
    return {};
}

// A chain of signs prints as "--x": the parser reads each "-" as one more negation, and the
// operand that is not a sign comes out either whole or in parentheses.
QString expression(const Expr &e) {
    switch (e.kind) {
    case Expr::Kind::Number:
    case Expr::Kind::Column:
        return e.text;
    case Expr::Kind::String:
        return quoted(e.text);
    case Expr::Kind::Null:
        return QStringLiteral("NULL");
    case Expr::Kind::Negate:
        return u'-' + expression(*e.operands[0]);
    case Expr::Kind::Not:
        return QStringLiteral("(NOT ") + expression(*e.operands[0]) + u')';
    case Expr::Kind::Binary:
        return u'(' + expression(*e.operands[0]) + opText(e.op) + expression(*e.operands[1]) + u')';
    case Expr::Kind::IsNull:
        return u'(' + expression(*e.operands[0]) +
               (e.negated ? QStringLiteral(" IS NOT NULL)") : QStringLiteral(" IS NULL)"));
    case Expr::Kind::Aggregate:
        return e.text + u'(' +
               (e.operands.empty() ? QStringLiteral("*") : expression(*e.operands[0])) + u')';
    }
    return {};
}

QString columnType(const Column &c) {
    switch (c.dbfType) {
    case 'C':
        return QStringLiteral("CHAR(%1)").arg(c.width);
    case 'D':
        return QStringLiteral("DATE");
    default:
        // A DECIMAL(p,s) column is p digits, a sign and, with decimals, the point wide.
        return QStringLiteral("DECIMAL(%1,%2)")
            .arg(c.width - (c.decimals > 0 ? 2 : 1))
            .arg(c.decimals);
    }
}

QString where(const std::unique_ptr<Expr> &condition) {
    return condition ? QStringLiteral(" WHERE ") + expression(*condition) : QString();
}

QString print(const SqlCreateTable &s) {
    QStringList columns;
    for (const Column &c : s.columns)
        columns.append(c.name + u' ' + columnType(c));
    return QStringLiteral("CREATE TABLE ") + quoted(s.table.path) + QStringLiteral(" (") +
           columns.join(QStringLiteral(", ")) + u')';
}

QString print(const SqlSelect &s) {
    QStringList items;
    for (const SqlSelectItem &item : s.items) {
        if (item.star)
            items.append(QStringLiteral("*"));
        else
            items.append(expression(*item.expr) +
                         (item.alias.isEmpty() ? QString() : QStringLiteral(" AS ") + item.alias));
    }
    QString text = QStringLiteral("SELECT ") +
                   (s.distinct ? QStringLiteral("DISTINCT ") : QString()) +
                   items.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
                   quoted(s.table.path) + where(s.where);
    if (!s.groupBy.empty()) {
        QStringList names;
        for (const SqlName &n : s.groupBy)
            names.append(n.name);
        text += QStringLiteral(" GROUP BY ") + names.join(QStringLiteral(", "));
    }
    if (!s.orderBy.empty()) {
        QStringList keys;
        for (const SqlOrderItem &o : s.orderBy)
            keys.append(o.expr->text + (o.descending ? QStringLiteral(" DESC") : QString()));
        text += QStringLiteral(" ORDER BY ") + keys.join(QStringLiteral(", "));
    }
    return text;
}

QString print(const SqlInsert &s) {
    QString text = QStringLiteral("INSERT INTO ") + quoted(s.table.path);
    if (!s.columns.empty()) {
        QStringList names;
        for (const SqlName &n : s.columns)
            names.append(n.name);
        text += QStringLiteral(" (") + names.join(QStringLiteral(", ")) + u')';
    }
    QStringList rows;
    for (const auto &row : s.rows) {
        QStringList values;
        for (const auto &value : row)
            values.append(expression(*value));
        rows.append(u'(' + values.join(QStringLiteral(", ")) + u')');
    }
    return text + QStringLiteral(" VALUES ") + rows.join(QStringLiteral(", "));
}

QString print(const SqlUpdate &s) {
    QStringList assignments;
    for (const SqlAssignment &a : s.assignments)
        assignments.append(a.column.name + QStringLiteral(" = ") + expression(*a.value));
    return QStringLiteral("UPDATE ") + quoted(s.table.path) + QStringLiteral(" SET ") +
           assignments.join(QStringLiteral(", ")) + where(s.where);
}

QString print(const SqlDelete &s) {
    return QStringLiteral("DELETE FROM ") + quoted(s.table.path) + where(s.where);
}

} // namespace

QString SqlPrinter::print(const SqlStatement &statement) {
    return std::visit([](const auto &s) { return velmora::print(s); }, statement);
}

QString SqlPrinter::print(const SqlExpression &e) {
    return expression(e);
}

} // namespace velmora
