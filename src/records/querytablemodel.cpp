// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/querytablemodel.h"

#include "store/query/query.h"

namespace velmora {

QueryTableModel::QueryTableModel(Query &query, QList<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_query(query)
    , m_columns(std::move(columns)) {
    m_fields.fill(-1, m_columns.size());
    connect(&m_query, &Query::rowsReset, this, [this] {
        reset();
        Q_EMIT currentRowChanged(currentRow());
    });
    connect(&m_query, &Query::currentChanged, this,
            [this] { Q_EMIT currentRowChanged(currentRow()); });
    reset();
}

void QueryTableModel::reset() {
    beginResetModel();
    for (int c = 0; c < m_columns.size(); ++c)
        m_fields[c] = m_query.isOpen() ? m_query.fieldIndex(m_columns[c].field) : -1;
    endResetModel();
}

int QueryTableModel::fieldOf(int column) const {
    return column >= 0 && column < m_fields.size() ? m_fields[column] : -1;
}

int QueryTableModel::rowCount(const QModelIndex &parent) const {
    if (parent.isValid())
        return 0;
    return static_cast<int>(m_query.recordCount());
}

int QueryTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

int QueryTableModel::currentRow() const {
    return m_query.isOpen() ? static_cast<int>(m_query.recNo()) : -1;
}

QString QueryTableModel::displayText(int row, int column) const {
    // The result's own text forms are the grid's: TextForm's date and general number forms.
    const int field = fieldOf(column);
    return field < 0 ? QString() : m_query.textAt(row, field);
}

QVariant QueryTableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return {};
    const GridColumn &column = m_columns.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return displayText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(column.alignment);
    case BoldRole:
        return column.bold;
    default:
        return {};
    }
}

QVariant QueryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_columns.at(section).title;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default:
        return {};
    }
}

} // namespace velmora
