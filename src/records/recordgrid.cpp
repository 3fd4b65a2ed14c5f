// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/recordgrid.h"

#include "records/querytablemodel.h"
#include "store/query/query.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
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

// Splits amount in proportion to weights; the pixels that division leaves over go one each to
// the first columns with a weight, so that the parts add up to amount (when any weight).
QList<int> shareOut(int amount, const QList<int> &weights) {
    qint64 total = 0;
    for (int w : weights)
        total += w;
    QList<int> parts(weights.size(), 0);
    if (total <= 0)
        return parts;
    int given = 0;
    for (qsizetype i = 0; i < weights.size(); ++i) {
        parts[i] = static_cast<int>(qint64(amount) * weights[i] / total);
        given += parts[i];
    }
    for (qsizetype i = 0; i < weights.size() && given < amount; ++i) {
        if (weights[i] > 0) {
            ++parts[i];
            ++given;
        }
    }
    return parts;
}

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
    shareWidths();
    // Every resize that is not the grid's own sharing is the user's hand.
    connect(titles, &QHeaderView::sectionResized, this, [this] {
        if (!m_sharing)
            m_userWidths = true;
    });

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

int RecordGrid::leastWidth(int column) const {
    // The header measures its own text in its own (bold) font, with the style's margins.
    const int title = horizontalHeader()->sectionSizeHint(column);
    const GridColumn &values = m_model->columns().at(column);
    if (values.widest.isEmpty())
        return title;
    QFont cells = font();
    cells.setBold(values.bold);
    // A cell's text keeps the focus frame's margin and one pixel on each side, and the grid
    // line takes one more.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int value = QFontMetrics(cells).horizontalAdvance(values.widest) + 2 * margin + 1;
    return qMax(title, value);
}

void RecordGrid::resetColumnWidths() {
    m_userWidths = false;
    shareWidths();
}

void RecordGrid::resizeEvent(QResizeEvent *event) {
    QTableView::resizeEvent(event);
    if (!m_userWidths)
        shareWidths();
}

void RecordGrid::shareWidths() {
    const auto &columns = m_model->columns();
    QHeaderView *titles = horizontalHeader();
    QList<int> least;
    QList<int> wanted;
    int total = 0;
    for (int c = 0; c < columns.size(); ++c) {
        const int own = columns[c].width > 0 ? columns[c].width : titles->defaultSectionSize();
        least.append(leastWidth(c));
        wanted.append(qMax(own, least.last()));
        total += wanted.last();
    }
    QList<int> widths = wanted;
    const int room = viewport()->width();
    if (room > total) {
        // A larger window: every column gets a part of the room, in proportion to its width.
        const QList<int> extra = shareOut(room - total, wanted);
        for (qsizetype c = 0; c < widths.size(); ++c)
            widths[c] += extra[c];
    } else if (room > 0 && room < total) {
        // A narrower one: columns give up what they have beyond their least width, before the
        // grid has to scroll sideways.
        QList<int> spare;
        int spareTotal = 0;
        for (qsizetype c = 0; c < widths.size(); ++c) {
            spare.append(wanted[c] - least[c]);
            spareTotal += spare.last();
        }
        const QList<int> cut = shareOut(qMin(total - room, spareTotal), spare);
        for (qsizetype c = 0; c < widths.size(); ++c)
            widths[c] -= cut[c];
    }
    m_sharing = true;
    for (int c = 0; c < widths.size(); ++c)
        titles->resizeSection(c, widths[c]);
    m_sharing = false;
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
