// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/sql/resultset.h"

#include "store/dbf/dbffield.h"
#include "store/text/textform.h"

namespace velmora {

ResultSet::ResultSet(QList<Column> columns, QByteArray data, std::vector<quint32> rowOffsets)
    : m_columns(std::move(columns))
    , m_data(std::move(data))
    , m_rows(std::move(rowOffsets)) {}

int ResultSet::columnIndex(QStringView name) const {
    return indexOfColumn(m_columns, name);
}

QByteArrayView ResultSet::raw(qsizetype row, int column) const {
    const Column &c = m_columns.at(column);
    return QByteArrayView(m_data.constData() + m_rows[row] + c.offset, c.width);
}

bool ResultSet::isNull(qsizetype row, int column) const {
    const Column &c = m_columns.at(column);
    switch (c.type) {
    case ColumnType::Number:
        return !DbfField::decimalOf(c, raw(row, column)).has_value();
    case ColumnType::Date:
        return !DbfField::date(raw(row, column)).isValid();
    case ColumnType::Text:
        return DbfField::textBytes(raw(row, column)).isEmpty();
    }
    return false;
}

Decimal ResultSet::decimal(qsizetype row, int column) const {
    return DbfField::decimalOf(m_columns.at(column), raw(row, column)).value_or(Decimal());
}

double ResultSet::number(qsizetype row, int column) const {
    return decimal(row, column).toDouble();
}

QDate ResultSet::date(qsizetype row, int column) const {
    return DbfField::date(raw(row, column));
}

QString ResultSet::text(qsizetype row, int column) const {
    const Column &c = m_columns.at(column);
    switch (c.type) {
    case ColumnType::Number:
        return QString::fromLatin1(DbfField::generalText(c, raw(row, column)));
    case ColumnType::Date: {
        const QDate d = date(row, column);
        return d.isValid() ? TextForm::date(d) : QString();
    }
    case ColumnType::Text:
        break;
    }
    return DbfField::text(raw(row, column));
}

QVariant ResultSet::value(qsizetype row, int column) const {
    const Column &c = m_columns.at(column);
    switch (c.type) {
    case ColumnType::Number:
        return isNull(row, column) ? QVariant() : QVariant(number(row, column));
    case ColumnType::Date: {
        const QDate d = date(row, column);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case ColumnType::Text:
        break;
    }
    return DbfField::text(raw(row, column));
}

} // namespace velmora
