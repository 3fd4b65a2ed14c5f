// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTableView>

namespace velmora {

class QueryTableModel;

// A read-only grid over a query: whole rows selected, the selected row being the query's
// current row both ways, titles centred and bold, rows of one height so that long lists
// scroll without measuring rows, columns the user may widen.
//
// Each column is at least as wide as its bold title (and as its widest value, where the
// column names one), and otherwise as wide as its column asks; the columns share out
// whatever room the grid has beyond that, and give up what they have beyond their least
// width when the grid is narrower. Once the user resizes a column by hand
// the widths are the user's, until resetColumnWidths.
class RecordGrid : public QTableView {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 17;

    RecordGrid(QueryTableModel *model, QWidget *parent = nullptr);

    QueryTableModel *queryModel() const { return m_model; }

    // Forgets the widths the user set: the columns share the grid's room again.
    void resetColumnWidths();
    bool hasUserWidths() const { return m_userWidths; }
    // The least a column may be: its title in the header's bold font, and its widest value
    // in the cells' font, each with its margins.
    int leastWidth(int column) const;

Q_SIGNALS:
    // Enter on a row, or a double click on one.
    void rowChosen();
    // A click on a column title, with the column's field.
    void titleClicked(const QString &field);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void shareWidths();
    void showCurrent(int row);
    void userMoved(const QModelIndex &current);

    QueryTableModel *m_model;
    bool m_following = false;
    bool m_sharing = false;
    bool m_userWidths = false;
};

} // namespace velmora
