#include "store/sql/resultset.h"

#include "store/dbf/dbffield.h"
#include "store/text/textform.h"

#include <cmath>
#include <cstring>

namespace velmora {

ResultSet::ResultSet(QList<Column> columns, QByteArray data, std::vector<quint32> rowOffsets)
    : m_columns(std::move(columns))
    , m_data(std::move(data))
    , m_rows(std::move(rowOffsets)) {}

int ResultSet::columnIndex(QStringView name) const {
    for (int i = 0; i < m_columns.size(); ++i) {
        if (name.compare(m_columns[i].name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QByteArrayView ResultSet::raw(qsizetype row, int column) const {
    const Column &c = m_columns.at(column);
    return QByteArrayView(m_data.constData() + m_rows[row] + c.offset, c.width);
}

bool ResultSet::isNull(qsizetype row, int column) const {
    const Column &c = m_columns.at(column);
    if (c.binaryDouble) {
        double value = 0;
        std::memcpy(&value, raw(row, column).data(), sizeof value);
        return std::isnan(value);
    }
    switch (c.type) {
    case ColumnType::Number:
        return !DbfField::numberOf(c, raw(row, column)).has_value();
    case ColumnType::Date:
        return !DbfField::date(raw(row, column)).isValid();
    case ColumnType::Text:
        return DbfField::textBytes(raw(row, column)).isEmpty();
    }
    return false;
}

double ResultSet::number(qsizetype row, int column) const {
    const Column &c = m_columns.at(column);
    if (c.binaryDouble) {
        double value = 0;
        std::memcpy(&value, raw(row, column).data(), sizeof value);
        return std::isnan(value) ? 0.0 : value;
    }
    return DbfField::numberOf(c, raw(row, column)).value_or(0.0);
}

QDate ResultSet::date(qsizetype row, int column) const {
    return DbfField::date(raw(row, column));
}

QString ResultSet::text(qsizetype row, int column) const {
    const Column &c = m_columns.at(column);
    switch (c.type) {
    case ColumnType::Number:
        if (c.binaryDouble)
            return isNull(row, column) ? QString() : TextForm::general(number(row, column));
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
