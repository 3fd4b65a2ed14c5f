// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/dbf/column.h"
#include "store/sql/sqlexpression.h"
#include "store/text/error.h"

#include <QString>
#include <memory>
#include <variant>
#include <vector>

namespace velmora {

// The syntax tree of one statement, as the parser builds it and the executor runs it.

// Where a part of the statement starts.
struct SqlPlace {
    int line = 1;
    int column = 1;
};

inline SqlPlace placeOf(const SqlExpression &e) {
    return {e.line, e.column};
}

// The beginning every error of a statement's place has.
inline QString placePrefix() {
    return QStringLiteral("Eroare la linia ");
}

// "Eroare la linia L, coloana C: " and the sentence that says what is wrong there.
inline QString atPlace(SqlPlace at, const QString &sentence) {
    return placePrefix() +
           QStringLiteral("%1, coloana %2: %3").arg(at.line).arg(at.column).arg(sentence);
}

// Stops the statement with an error that points at the place.
[[noreturn]] inline void refuseAt(SqlPlace at, const QString &what) {
    throw EngineError(atPlace(at, what + u'.'));
}

struct SqlTableRef {
    QString path; // as written
    SqlPlace place;
};

struct SqlName {
    QString name;
    SqlPlace place;
};

struct SqlCreateTable {
    SqlTableRef table;
    std::vector<Column> columns; // names, types, widths; offsets not laid out
    std::vector<SqlPlace> places;
};

struct SqlSelectItem {
    bool star = false;
    std::unique_ptr<SqlExpression> expr;
    QString alias;
    SqlPlace place;
};

struct SqlOrderItem {
    std::unique_ptr<SqlExpression> expr; // a column name or a result column's position
    bool descending = false;
};

struct SqlSelect {
    bool distinct = false;
    std::vector<SqlSelectItem> items;
    SqlTableRef table;
    std::unique_ptr<SqlExpression> where;
    std::vector<SqlName> groupBy;
    std::vector<SqlOrderItem> orderBy;
};

struct SqlInsert {
    SqlTableRef table;
    std::vector<SqlName> columns; // empty: every column of the table in order
    std::vector<std::vector<std::unique_ptr<SqlExpression>>> rows;
    std::vector<SqlPlace> rowPlaces;
};

struct SqlAssignment {
    SqlName column;
    std::unique_ptr<SqlExpression> value;
};

struct SqlUpdate {
    SqlTableRef table;
    std::vector<SqlAssignment> assignments;
    std::unique_ptr<SqlExpression> where;
};

struct SqlDelete {
    SqlTableRef table;
    std::unique_ptr<SqlExpression> where;
};

using SqlStatement = std::variant<SqlCreateTable, SqlSelect, SqlInsert, SqlUpdate, SqlDelete>;

} // namespace velmora
