// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>

namespace velmora {

class Query;

// A grid column bound to one field of a query.
struct GridColumn {
    QString field;
    QString title;
    int width = 0; // 0: the grid's default
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool bold = false;
    // A value of the widest form the column shows (a date in the short format), for a column
    // whose values must never be cut; empty for one whose long values may be.
    QString widest = {};
};

// The visible rows of a query as a table. Nothing is copied: a cell is read from the query's
// result when a view asks for it, so only the rows on screen are ever decoded. The model
// follows the query: a reopened, refiltered or reread list resets it, and a move of the
// query's cursor is announced so that the view selects that row.
class QueryTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Per-cell: whether the column is drawn in bold.
    static constexpr int BoldRole = Qt::UserRole + 1;

    QueryTableModel(Query &query, QList<GridColumn> columns, QObject *parent = nullptr);

    const QList<GridColumn> &columns() const { return m_columns; }
    Query &query() const { return m_query; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The text a cell shows: dates in the user's short date format, numbers in their shortest
    // form with "." and no thousands separator, texts without their padding.
    QString displayText(int row, int column) const;

    // The query's current row, -1 when there is none.
    int currentRow() const;

Q_SIGNALS:
    // The query's cursor moved to this row (-1: no row).
    void currentRowChanged(int row);

private:
    void reset();
    int fieldOf(int column) const;

    Query &m_query;
    QList<GridColumn> m_columns;
    QList<int> m_fields; // query field per column, -1 until the query is open
};

} // namespace velmora
