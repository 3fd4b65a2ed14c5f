// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTableView>

namespace velmora {

class QueryTableModel;

// A read-only grid over a query: whole rows selected, the selected row being the query's
// current row both ways, titles centred and bold, rows of one height so that long lists
// scroll without measuring rows, columns the user may widen.
class RecordGrid : public QTableView {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 17;

    RecordGrid(QueryTableModel *model, QWidget *parent = nullptr);

    QueryTableModel *queryModel() const { return m_model; }

Q_SIGNALS:
    // Enter on a row, or a double click on one.
    void rowChosen();
    // A click on a column title, with the column's field.
    void titleClicked(const QString &field);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showCurrent(int row);
    void userMoved(const QModelIndex &current);

    QueryTableModel *m_model;
    bool m_following = false;
};

} // namespace velmora
