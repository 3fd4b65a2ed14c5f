// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/dbf/column.h"
#include "store/query/filternode.h"
#include "store/sql/resultset.h"

#include <QList>
#include <QString>
#include <memory>
#include <vector>

namespace velmora {

// A record filter over an open result: comparisons of a column with a constant (= <> < >
// <= >=), AND, OR, NOT and parentheses. Text constants stand between single quotes, a doubled
// quote inside being one quote; a text constant ending in "*" compared with "=" matches every
// value beginning with what stands before it. Text is compared case-sensitively, byte by byte
// in the tables' code page, without the blanks that pad the field; NULL numbers and dates pass
// no comparison. Column names are found without regard to case.
class RecordFilter {
public:
    // Raises an EngineError saying what was expected and where.
    explicit RecordFilter(const QString &expression);
    ~RecordFilter();
    RecordFilter(const RecordFilter &) = delete;
    RecordFilter &operator=(const RecordFilter &) = delete;

    const QString &expression() const { return m_expression; }

    // Ties the column names to a result's columns and turns the constants into the columns'
    // terms. An unknown column, or a constant that its column cannot hold, raises an
    // EngineError; the filter is then unbound. Binding again to other columns is allowed.
    void bind(const QList<Column> &columns);
    bool isBound() const { return m_bound; }

    // Only once bound, to the columns of this result.
    bool matches(const ResultSet &result, qsizetype row) const;
    // The rows that pass, in result order.
    std::vector<quint32> select(const ResultSet &result) const;

    // The comparison, when the whole filter is one equality of a column with a constant
    // (no prefix): such a filter can be answered from an index on that column.
    const FilterNode *singleEquality() const;

private:
    std::unique_ptr<FilterNode> m_root;
    QString m_expression;
    bool m_bound = false;
};

} // namespace velmora
