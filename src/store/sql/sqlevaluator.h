// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/dbf/column.h"
#include "store/sql/sqlexpression.h"
#include "store/sql/sqlvalue.h"

#include <QDate>
#include <QList>
#include <QString>
#include <memory>

namespace velmora {

// An expression resolved against a table's columns and checked for types, ready to be
// evaluated on one record after another. Column values are read straight from the record's
// bytes, and only the columns the expression names.
//
// A quoted text compared with, combined with or assigned to a date or a number is read as one
// (dates in the user's short format, see TextForm::parseDate; numbers with "."); one that does
// not read is refused here, with its place in the statement. Numbers are exact decimals; a
// result that needs more digits than a Decimal holds is refused. In arithmetic a NULL (blank)
// number counts as 0; comparisons with NULL give NULL, and a condition holds only when it is
// true. A blank character field is empty
// text, and also counts as NULL for IS NULL.
class SqlEvaluator {
public:
    enum class Type { Null, Number, Date, Text, Bool };

    // columns may be null where no column can be named (the values of an INSERT). target,
    // when given, is the type of the column the value is assigned to.
    SqlEvaluator(const SqlExpression &expression, const QList<Column> *columns,
                 const QString &tableName, const ColumnType *target = nullptr);
    ~SqlEvaluator();
    SqlEvaluator(const SqlEvaluator &) = delete;
    SqlEvaluator &operator=(const SqlEvaluator &) = delete;

    // The condition after WHERE, or null when there is none; refused when it is not one.
    static std::unique_ptr<SqlEvaluator>
    condition(const SqlExpression *where, const QList<Column> &columns, const QString &tableName);

    Type type() const;
    bool isConstant() const;
    SqlValue value(const char *record) const;
    // For conditions: true only when the value is true (not false, not NULL).
    bool holds(const char *record) const { return isTrue(value(record)); }

    static bool isTrue(const SqlValue &v) { return v.kind == SqlValue::Kind::Bool && v.truth; }
    static int dateKey(QDate date);
    static QDate dateOf(int key);
    // -1, 0 or 1, in Romanian order (what ORDER BY shows, so that MIN, MAX and a range in
    // WHERE agree with it); a shorter text counts as padded with blanks. 0 only for the same
    // text, so "=" stays exact.
    static int compareText(QByteArrayView a, QByteArrayView b);

    class Node;

private:
    std::unique_ptr<Node> m_root;
};

} // namespace velmora
