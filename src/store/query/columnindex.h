// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/sql/resultset.h"

#include <QByteArrayView>
#include <QDate>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmora {

// The rows of a result grouped by the value of one column, so that "column = constant" is
// answered without reading every row. Built in two passes over the result and then read
// only; the rows of each value are kept in result order. Text values are views into the
// result's bytes: the index must not outlive the result it was built on.
class ColumnIndex {
public:
    ColumnIndex(const ResultSet &result, int column);

    int column() const { return m_column; }
    // Rows holding the value, in result order; NULL numbers and dates are in no group.
    std::span<const quint32> rowsForNumber(Decimal value) const;
    // A double stands for the decimal its general form writes.
    std::span<const quint32> rowsForNumber(double value) const;
    std::span<const quint32> rowsForDate(QDate value) const;
    // Text without its padding blanks, in the tables' code page; blank text is "".
    std::span<const quint32> rowsForText(QByteArrayView value) const;

private:
    struct Mix {
        size_t operator()(quint64 key) const noexcept;
    };
    struct NumberKey {
        qint64 units;
        int scale;
        bool operator==(const NumberKey &) const = default;
    };
    struct NumberHash {
        size_t operator()(const NumberKey &key) const noexcept;
    };
    // Equal values give equal keys, whatever the scale they were written with.
    static NumberKey numberKey(Decimal value);
    std::span<const quint32> group(quint32 id) const;

    int m_column = -1;
    std::unordered_map<NumberKey, quint32, NumberHash> m_numberKeys;
    std::unordered_map<quint64, quint32, Mix> m_keys; // dates by day
    std::unordered_map<std::string_view, quint32> m_textKeys;
    std::vector<quint32> m_starts; // group g holds m_rows[m_starts[g]] up to m_starts[g + 1]
    std::vector<quint32> m_rows;
};

} // namespace velmora
