// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/dbf/column.h"
#include "store/text/decimal.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <vector>

namespace velmora {

// The rows a SELECT produced, held compactly: one byte buffer of dBASE-formatted rows (for
// a plain SELECT, the table's own records as read from the file) and the offset of each
// row in result order. Values are decoded only when they are asked for.
class ResultSet {
public:
    ResultSet() = default;
    ResultSet(QList<Column> columns, QByteArray data, std::vector<quint32> rowOffsets);

    const QList<Column> &columns() const { return m_columns; }
    int columnCount() const { return static_cast<int>(m_columns.size()); }
    const Column &column(int index) const { return m_columns.at(index); }
    // Compared without regard to case; -1 when there is no such column.
    int columnIndex(QStringView name) const;

    qsizetype rowCount() const { return static_cast<qsizetype>(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }

    QByteArrayView raw(qsizetype row, int column) const;
    bool isNull(qsizetype row, int column) const;
    // Text columns without their padding; numbers and dates in their display forms.
    QString text(qsizetype row, int column) const;
    // The exact value of a numeric column; 0 for NULL.
    Decimal decimal(qsizetype row, int column) const;
    // The same as a double, for display and drawing; 0 for NULL.
    double number(qsizetype row, int column) const;
    QDate date(qsizetype row, int column) const;
    // QString, double or QDate; a null QVariant for NULL. decimal() gives numbers exactly.
    QVariant value(qsizetype row, int column) const;

    // For the engine's ordering and filtering.
    std::vector<quint32> &rowOffsets() { return m_rows; }
    const std::vector<quint32> &rowOffsets() const { return m_rows; }
    const QByteArray &data() const { return m_data; }

private:
    QList<Column> m_columns;
    QByteArray m_data;
    std::vector<quint32> m_rows;
};

} // namespace velmora
