// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/recordgrid.h"

#include "records/querytablemodel.h"
#include "store/query/query.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace velmora {

namespace {

class BoldColumnDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(QueryTableModel::BoldRole).toBool())
            option->font.setBold(true);
    }
};

} // namespace

RecordGrid::RecordGrid(QueryTableModel *model, QWidget *parent)
    : QTableView(parent)
    , m_model(model) {
    setModel(model);
    setItemDelegate(new BoldColumnDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setAlternatingRowColors(false);

    QHeaderView *rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(kRowHeight);
    rows->setDefaultSectionSize(kRowHeight);
    rows->setFixedWidth(12);
    rows->setHighlightSections(false);

    QHeaderView *titles = horizontalHeader();
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setDefaultAlignment(Qt::AlignCenter);
    titles->setHighlightSections(false);
    titles->setSectionsClickable(true);
    QFont bold = titles->font();
    bold.setBold(true);
    titles->setFont(bold);
    const auto &columns = model->columns();
    for (int c = 0; c < columns.size(); ++c) {
        if (columns[c].width > 0)
            setColumnWidth(c, columns[c].width);
    }

    connect(model, &QueryTableModel::currentRowChanged, this, &RecordGrid::showCurrent);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { userMoved(current); });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { Q_EMIT rowChosen(); });
    connect(titles, &QHeaderView::sectionClicked, this, [this](int section) {
        const auto &cols = m_model->columns();
        if (section >= 0 && section < cols.size())
            Q_EMIT titleClicked(cols[section].field);
    });
    showCurrent(model->currentRow());
}

void RecordGrid::showCurrent(int row) {
    if (m_following)
        return;
    m_following = true;
    if (row < 0) {
        selectionModel()->clear();
    } else {
        const QModelIndex index = m_model->index(row, qMax(0, currentIndex().column()));
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
        scrollTo(index);
    }
    m_following = false;
}

void RecordGrid::userMoved(const QModelIndex &current) {
    if (m_following || !current.isValid())
        return;
    Query &query = m_model->query();
    if (current.row() == query.recNo())
        return;
    m_following = true;
    query.moveTo(current.row());
    m_following = false;
}

void RecordGrid::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Q_EMIT rowChosen();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace velmora
