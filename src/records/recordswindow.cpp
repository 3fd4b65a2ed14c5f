// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/recordswindow.h"

#include "records/lineinput.h"
#include "records/querytablemodel.h"
#include "records/recordgrid.h"
#include "records/recordsartwork.h"
#include "records/sheeteditor.h"
#include "records/tripeditor.h"
#include "store/programcontext.h"
#include "store/text/textform.h"
#include "ui/fieldhint.h"
#include "ui/keypreview.h"
#include "ui/look.h"
#include "ui/messagedialog.h"
#include "ui/modal.h"
#include "ui/slotguard.h"
#include "ui/tabletextvalidator.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmora {

namespace {

const QColor kBand(64, 80, 106);
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignCenter;
// A clerk typing a name in one go presses the next key well within this: the list is
// filtered once, for the whole name, rather than for every letter.
constexpr int kSearchPauseMs = 300;

// Dates and hours are shown whole however narrow the window: 28 December has the widest
// digits of the short formats.
QString widestDate() {
    return TextForm::date(QDate(2000, 12, 28));
}

QString widestHour() {
    return QStringLiteral("23:58");
}

QList<GridColumn> sheetColumns() {
    return {
        {QStringLiteral("DATAX"), QStringLiteral("Data"), 67, kCentre, false, widestDate()},
        {QStringLiteral("ORA"), QStringLiteral("Ora"), 51, kCentre, false, widestHour()},
        {QStringLiteral("NRMAS"), QStringLiteral("Numar inmatric."), 69, kLeft, true},
        {QStringLiteral("SOFER1"), QStringLiteral("Nume Sofer 1"), 111, kLeft, false},
        {QStringLiteral("SOFER2"), QStringLiteral("Nume Sofer 2"), 107, kLeft, false},
        {QStringLiteral("LOCPARC"), QStringLiteral("Loc de parcare"), 107, kLeft, false},
        {QStringLiteral("TOTALVEN"), QStringLiteral("Total venit"), 55, kLeft, true},
        {QStringLiteral("TKM"), QStringLiteral("Total Km"), 48, kLeft, false},
        {QStringLiteral("CONSUM"), QStringLiteral("Consum la 100Km"), 67, kLeft, false},
        {QStringLiteral("PRETL"), QStringLiteral("Pret L"), 41, kLeft, false},
        {QStringLiteral("COST"), QStringLiteral("Total Cost"), 49, kLeft, true},
    };
}

QList<GridColumn> lineColumns() {
    return {
        {QStringLiteral("ZIUA"), QStringLiteral("Data"), 67, kLeft, false, widestDate()},
        {QStringLiteral("ORA"), QStringLiteral("Ora"), 38, kLeft, false, widestHour()},
        {QStringLiteral("PLESOS"), QStringLiteral("Plecat / sosit"), 0, kLeft, false},
        {QStringLiteral("SUMA"), QStringLiteral("Venit (lei)"), 55, kLeft, false},
    };
}

QLabel *gridTitle(const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setFont(Look::dialogFont(8, true));
    label->setMinimumHeight(18);
    return label;
}

} // namespace

RecordsWindow::RecordsWindow(ProgramContext &context, MessageDialog &messages,
                             SheetEditor &sheetEditor, TripEditor &tripEditor, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint)
    , m_context(context)
    , m_messages(messages)
    , m_sheetEditor(sheetEditor)
    , m_tripEditor(tripEditor)
    , m_lists(context.dataDir())
    , m_writer(context.dataDir()) {
    setObjectName(QStringLiteral("Evidente"));
    setWindowTitle(QStringLiteral("Foi de parcurs"));
    setFont(Look::dialogFont());
    resize(830, 623);

    auto *heading = new QLabel(QStringLiteral("Evidenta foi de parcurs"), this);
    heading->setObjectName(QStringLiteral("Titlu"));
    heading->setFont(Look::arial(18, true));
    heading->setAlignment(Qt::AlignCenter);
    heading->setMinimumHeight(36);
    Look::setBackground(heading, kBand);
    Look::setTextColor(heading, Qt::white);

    m_sheetModel = new QueryTableModel(m_lists.sheets(), sheetColumns(), this);
    m_lineModel = new QueryTableModel(m_lists.lines(), lineColumns(), this);
    QLabel *sheetTitle = gridTitle(QStringLiteral("   Lista foilor de parcurs"), this);
    sheetTitle->setObjectName(QStringLiteral("Label1"));
    m_sheetGrid = new RecordGrid(m_sheetModel, this);
    m_sheetGrid->setObjectName(QLatin1String(kSheetGrid));
    m_sheetGrid->setAccessibleName(sheetTitle->text().trimmed());
    QLabel *lineTitle = gridTitle(QStringLiteral("   Plecari / Sosiri"), this);
    lineTitle->setObjectName(QStringLiteral("Label2"));
    m_lineGrid = new RecordGrid(m_lineModel, this);
    m_lineGrid->setObjectName(QLatin1String(kLineGrid));
    m_lineGrid->setAccessibleName(lineTitle->text().trimmed());
    m_lineGrid->horizontalHeader()->setStretchLastSection(false);
    m_lineGrid->setFixedHeight(150);

    // Bottom panel: search, then the buttons of the sheets, of the lines, print and close.
    auto *searchPanel = new QWidget(this);
    auto *searchLayout = new QGridLayout(searchPanel);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    searchLayout->setVerticalSpacing(2);
    auto *searchTitle = new QLabel(QStringLiteral("Cautare"), searchPanel);
    searchTitle->setFont(Look::dialogFont(8, true));
    searchLayout->addWidget(searchTitle, 0, 0, 1, 2);
    m_driverSearch = searchField(kDriverSearch, QStringLiteral("Sofer"), 32);
    m_vehicleSearch = searchField(kPlateSearch, QStringLiteral("Nr.masina"), 9);
    searchLayout->addWidget(new QLabel(QStringLiteral("Sofer"), searchPanel), 1, 0);
    searchLayout->addWidget(m_driverSearch, 2, 0);
    searchLayout->addWidget(new QLabel(QStringLiteral("Nr.masina"), searchPanel), 1, 1);
    searchLayout->addWidget(m_vehicleSearch, 2, 1);
    m_driverSearch->setFixedWidth(150);
    m_vehicleSearch->setFixedWidth(90);

    auto group = [this](const QString &title, std::initializer_list<QToolButton *> buttons) {
        auto *box = new QGroupBox(title, this);
        auto *row = new QHBoxLayout(box);
        row->setContentsMargins(6, 2, 6, 4);
        for (QToolButton *b : buttons)
            row->addWidget(b);
        return box;
    };
    using A = RecordsArtwork::Action;
    QToolButton *fAdd =
        actionButton(kAddSheetButton, QStringLiteral("Adauga foaie de parcurs noua."),
                     RecordsArtwork::sheet(A::Add));
    QToolButton *fMod =
        actionButton(kChangeSheetButton, QStringLiteral("Modifica Foaia de parcurs selectata."),
                     RecordsArtwork::sheet(A::Change));
    QToolButton *fDel =
        actionButton(kDeleteSheetButton, QStringLiteral("Sterge foaia de parcurs selectata."),
                     RecordsArtwork::sheet(A::Delete));
    QToolButton *pAdd =
        actionButton(kAddLineButton, QStringLiteral("Adauga Plecare / Sosire noua."),
                     RecordsArtwork::trip(A::Add));
    QToolButton *pMod =
        actionButton(kChangeLineButton, QStringLiteral("Modifica Plecarea / Sosirea selectata."),
                     RecordsArtwork::trip(A::Change));
    QToolButton *pDel =
        actionButton(kDeleteLineButton, QStringLiteral("Sterge Plecarea / Sosirea selectata."),
                     RecordsArtwork::trip(A::Delete));
    QToolButton *print = actionButton(kPrintButton, QStringLiteral("Listeaza Foaia de parcurs."),
                                      RecordsArtwork::printer());
    auto *close = new QPushButton(QStringLiteral("Inchide"), this);
    close->setObjectName(QLatin1String(kCloseButton));
    close->setToolTip(QStringLiteral("Inchide fereastra."));
    close->setAccessibleName(close->text());
    close->setAccessibleDescription(close->toolTip());
    close->setAutoDefault(false);
    close->setMinimumHeight(34);

    auto *bottom = new QHBoxLayout;
    bottom->setContentsMargins(8, 4, 8, 4);
    bottom->addWidget(searchPanel);
    bottom->addSpacing(8);
    bottom->addWidget(group(QStringLiteral("  Foi de parcurs   "), {fAdd, fMod, fDel}));
    bottom->addWidget(group(QStringLiteral("  Plecari / Sosiri   "), {pAdd, pMod, pDel}));
    bottom->addSpacing(4);
    bottom->addWidget(print, 0, Qt::AlignBottom);
    bottom->addStretch();
    bottom->addWidget(close, 0, Qt::AlignBottom);

    auto *status = new QLabel(QStringLiteral("ESC - iesire"), this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setFrameShape(QFrame::Panel);
    status->setFrameShadow(QFrame::Sunken);
    status->setContentsMargins(4, 1, 4, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(heading);
    layout->addWidget(sheetTitle);
    layout->addWidget(m_sheetGrid, 1);
    layout->addWidget(lineTitle);
    layout->addWidget(m_lineGrid);
    layout->addLayout(bottom);
    layout->addWidget(status);

    setTabOrder(m_sheetGrid, m_lineGrid);
    setTabOrder(m_lineGrid, m_driverSearch);
    setTabOrder(m_driverSearch, m_vehicleSearch);

    connect(fAdd, &QToolButton::clicked, this, guardSlot([this] { addSheet(); }));
    connect(fMod, &QToolButton::clicked, this, guardSlot([this] { changeSheet(); }));
    connect(fDel, &QToolButton::clicked, this, guardSlot([this] { deleteSheet(); }));
    connect(pAdd, &QToolButton::clicked, this, guardSlot([this] { addLine(); }));
    connect(pMod, &QToolButton::clicked, this, guardSlot([this] { changeLine(); }));
    connect(pDel, &QToolButton::clicked, this, guardSlot([this] { deleteLine(); }));
    connect(print, &QToolButton::clicked, this, guardSlot([this] { printSheet(); }));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_sheetGrid, &RecordGrid::rowChosen, this, guardSlot([this] { changeSheet(); }));
    connect(m_lineGrid, &RecordGrid::rowChosen, this, guardSlot([this] { changeLine(); }));
    connect(m_sheetGrid, &RecordGrid::titleClicked, this,
            [this](const QString &field) { guardSlot([this, field] { sortByTitle(field); })(); });
    m_searchPause = new QTimer(this);
    m_searchPause->setSingleShot(true);
    m_searchPause->setInterval(kSearchPauseMs);
    connect(m_searchPause, &QTimer::timeout, this, guardSlot([this] { search(); }));
    for (QLineEdit *edit : {m_driverSearch, m_vehicleSearch})
        connect(edit, &QLineEdit::textChanged, m_searchPause, qOverload<>(&QTimer::start));

    // Esc closes the window, whichever control has the focus.
    new KeyPreview(this);
    Modal::centreOnScreen(*this);
}

RecordsWindow::~RecordsWindow() = default;

QToolButton *RecordsWindow::actionButton(const char *name, const QString &hint,
                                         const QPixmap &picture) {
    auto *button = new QToolButton(this);
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon(picture));
    button->setIconSize(picture.size());
    button->setFixedSize(34, 32);
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setToolTip(hint);
    // The button shows only its picture: its hint is what a screen reader says.
    button->setAccessibleName(hint);
    return button;
}

QLineEdit *RecordsWindow::searchField(const char *name, const QString &label, int maxLength) {
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    edit->setAccessibleName(label);
    TableTextValidator::attach(edit, true);
    return edit;
}

void RecordsWindow::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    m_sheetGrid->setFocus(Qt::OtherFocusReason);
}

void RecordsWindow::Deschide() {
    // Widths the user set by hand last time give way to the shared ones again.
    m_sheetGrid->resetColumnWidths();
    m_lineGrid->resetColumnWidths();
    m_lists.open();
    Modal::exec(*this);
    // Text typed just before closing is the search the window opens with next time.
    if (m_searchPause->isActive()) {
        m_searchPause->stop();
        search();
    }
    m_lists.close();
}

bool RecordsWindow::searchPending() const {
    return m_searchPause->isActive();
}

void RecordsWindow::search() {
    m_lists.search(m_driverSearch->text(), m_vehicleSearch->text());
}

void RecordsWindow::sortByTitle(const QString &field) {
    m_lists.sortBy(field);
}

void RecordsWindow::addSheet() {
    m_sheetEditor.Initializeaza();
    if (!m_sheetEditor.edit(SheetEditor::Mode::Add))
        return;
    SheetValues sheet = m_sheetEditor.values();
    sheet.id = m_context.NextId(QStringLiteral("IDFOAIE"));
    m_writer.addSheet(sheet);
    m_lists.refreshSheets(sheet.id);
}

void RecordsWindow::changeSheet() {
    if (m_lists.sheets().isEmpty()) {
        FieldHint::show(QStringLiteral("Nu aveti ce modifica!"), m_sheetGrid);
        return;
    }
    m_sheetEditor.Initializeaza();
    m_sheetEditor.fillFrom(m_lists.sheets());
    if (!m_sheetEditor.edit(SheetEditor::Mode::Change))
        return;
    SheetValues sheet = m_sheetEditor.values();
    sheet.id = m_lists.selectedSheetId();
    m_writer.changeSheet(sheet);
    m_lists.refreshSheets(sheet.id);
}

void RecordsWindow::deleteSheet() {
    if (m_lists.sheets().isEmpty()) {
        FieldHint::show(QStringLiteral("Nu aveti ce sterge!"), m_sheetGrid);
        return;
    }
    if (m_messages.Mesaj(QStringLiteral("Stergere Foaie de parcurs"),
                         QStringLiteral("Doriti sa stergeti foaia de parcurs selectata?"),
                         MessageKind::Confirmare,
                         MessageButton::DA | MessageButton::NU) != MessageResult::Yes)
        return;
    m_writer.deleteSheet(m_lists.selectedSheetId());
    m_lists.refreshAfterSheetDelete();
}

LineValues RecordsWindow::currentLine() const {
    const Query &px = m_lists.lines();
    return {m_lists.selectedLineId(), TextForm::general(px.number(u"IDFOAIE")), px.text(u"PLESOS"),
            px.text(u"TIMP"), px.text(u"SUMA")};
}

Fixed4 RecordsWindow::sheetIncome() const {
    return Fixed4::parse(m_lists.sheets().text(u"TOTALVEN")).value_or(Fixed4());
}

void RecordsWindow::addLine() {
    if (m_lists.sheets().isEmpty()) {
        FieldHint::show(QStringLiteral("Alegeti mai intai o foaie de  parcurs!"), m_sheetGrid);
        return;
    }
    m_tripEditor.Initializeaza();
    m_tripEditor.setIncomeOfOtherLines(LineInput::otherLines(sheetIncome()));
    if (!m_tripEditor.Editeaza(QStringLiteral("Adaugare Plecare / Sosire")))
        return;
    saveNewLine();
}

void RecordsWindow::saveNewLine() {
    const QString sheetId = m_lists.selectedSheetId();
    const LineValues line = m_tripEditor.values(m_context.NextId(QStringLiteral("IDSOS")), sheetId);
    m_writer.addLine(line);
    m_lists.refreshAll(sheetId, line.id);
}

void RecordsWindow::changeLine() {
    if (m_lists.lines().isEmpty()) {
        FieldHint::show(QStringLiteral("Alegeti mai intai o Plecare / Sosire!"), m_lineGrid);
        return;
    }
    const LineValues old = currentLine();
    m_tripEditor.fillFrom(m_lists.lines());
    m_tripEditor.setIncomeOfOtherLines(
        LineInput::otherLines(sheetIncome(), Fixed4::parse(old.amount).value_or(Fixed4())));
    if (!m_tripEditor.Editeaza(QStringLiteral("Adaugare Plecare / Sosire")))
        return;
    const LineValues changed = m_tripEditor.values(old.id, old.sheetId);
    m_writer.changeLine(old, changed);
    m_lists.refreshAll(old.sheetId, old.id);
}

void RecordsWindow::deleteLine() {
    if (m_lists.lines().isEmpty()) {
        FieldHint::show(QStringLiteral("Nu aveti ce sterge!"), m_lineGrid);
        return;
    }
    const LineValues old = currentLine();
    if (m_messages.Mesaj(QStringLiteral("Stergere Plecare / Sosire"),
                         QStringLiteral("Stergeti linia selectata?"), MessageKind::Confirmare,
                         MessageButton::DA | MessageButton::NU) != MessageResult::Yes)
        return;
    m_writer.deleteLine(old);
    m_lists.refreshAll(old.sheetId, old.id);
}

void RecordsWindow::printSheet() {
    if (m_lists.sheets().isEmpty()) {
        FieldHint::show(QStringLiteral("Alegeti mai intai o Foaie de parcurs!"), m_sheetGrid);
        return;
    }
    Q_EMIT printSheetRequested(m_lists.selectedSheetId());
}

} // namespace velmora
