// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/sheeteditor.h"

#include "records/combopicklist.h"
#include "records/sheetinput.h"
#include "store/programcontext.h"
#include "store/query/query.h"
#include "ui/datefield.h"
#include "ui/fieldhint.h"
#include "ui/slotguard.h"
#include "ui/tabletextvalidator.h"
#include "ui/timefield.h"
#include "ui/tnumericedit.h"

#include <QComboBox>
#include <QCompleter>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>

namespace velmora {

namespace {

TNumericEdit *numberField(QWidget *parent, const char *name, const char *mask) {
    auto *field = new TNumericEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setMaska(*Fixed4::parse(QString::fromLatin1(mask)));
    field->setMaxLength(8);
    return field;
}

QString consumKey() {
    return QStringLiteral("CONSUM");
}

QString pretKey() {
    return QStringLiteral("PRETL");
}

} // namespace

SheetEditor::SheetEditor(ProgramContext &context, QWidget *parent)
    : EditorDialog(parent)
    , m_context(context)
    , m_ziua(new DateField(this))
    , m_ora(new TimeField(this)) {
    setObjectName(QStringLiteral("AddFoaie"));

    m_ziua->setObjectName(QLatin1String(kDay));
    m_ora->setObjectName(QLatin1String(kHour));

    m_nrInmat = nameField(kPlate, 9);
    m_sofer1 = nameField(kDriver1, 32);
    m_sofer2 = nameField(kDriver2, 32);
    // Both driver fields offer the one list of drivers.
    m_sofer2->setModel(m_sofer1->model());
    watchSuggestions(ComboPickList::completeFromList(m_sofer2));
    m_locParcare = nameField(kParking, 40);
    m_totKm = numberField(this, kKm, "55555.55");
    m_consum = numberField(this, kConsumption, "333.22");
    m_pretL = numberField(this, kFuelPrice, "333.22");

    addField(QStringLiteral("Data"), m_ziua);
    addField(QStringLiteral("Ora"), m_ora);
    addField(QStringLiteral("Nr.inamtriculare"), m_nrInmat);
    addField(QStringLiteral("1. Nume sofer"), m_sofer1);
    addField(QStringLiteral("2. Nume sofer"), m_sofer2);
    addField(QStringLiteral("Loc de parcare"), m_locParcare);
    addField(QStringLiteral("Total Km"), m_totKm);
    addField(QStringLiteral("Consum L/100 Km"), m_consum);
    addField(QStringLiteral("Pret combustibil /L"), m_pretL);
    setFixedSize(356, sizeHint().height());

    // Typed, picked from the list or completed: only what the user does reloads the memory.
    const auto changed = [this] {
        vehicleChanged();
    };
    connect(m_nrInmat->lineEdit(), &QLineEdit::textEdited, this, guardSlot(changed));
    connect(m_nrInmat, &QComboBox::activated, this, guardSlot(changed));
    connect(m_nrInmat->completer(), qOverload<const QString &>(&QCompleter::activated), this,
            guardSlot(changed));
}

QComboBox *SheetEditor::nameField(const char *name, int maxLength) {
    auto *combo = new QComboBox(this);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(12);
    combo->lineEdit()->setMaxLength(maxLength);
    TableTextValidator::attach(combo, true);
    watchSuggestions(ComboPickList::completeFromList(combo));
    return combo;
}

void SheetEditor::IncarcaListe() {
    const QString table = m_context.store().sheetsTable();
    m_nrInmat->clear();
    ComboPickList vehicles(m_nrInmat);
    m_context.FillPickList(vehicles, table, QStringLiteral("NRMAS"), QString());
    m_sofer1->clear();
    ComboPickList drivers(m_sofer1);
    m_context.FillPickList(drivers, table, QStringLiteral("SOFER1"), QString());
    m_locParcare->clear();
    ComboPickList places(m_locParcare);
    m_context.FillPickList(places, table, QStringLiteral("LOCPARC"), QString());
}

void SheetEditor::Initializeaza() {
    const QDateTime now = QDateTime::currentDateTime();
    m_ziua->setDate(now.date());
    m_ora->setTime(now.time());
    for (QComboBox *combo : {m_nrInmat, m_sofer1, m_sofer2, m_locParcare}) {
        combo->setCurrentIndex(-1);
        combo->setEditText(QString());
    }
    m_totKm->setText(QStringLiteral("0"));
    IncarcaConsum();
}

void SheetEditor::IncarcaConsum() {
    const QString vehicle = m_nrInmat->currentText().trimmed();
    const auto remembered = [&](const QString &key) {
        const QString value = vehicle.isEmpty() ? QString() : m_context.IniRead(vehicle, key);
        return value.isEmpty() ? QStringLiteral("0") : value;
    };
    m_consum->setText(remembered(consumKey()));
    m_pretL->setText(remembered(pretKey()));
}

bool SheetEditor::edit(Mode mode) {
    m_mode = mode;
    return Editeaza(mode == Mode::Add ? QStringLiteral("Adaugare Foaie de parcurs")
                                      : QStringLiteral("Modificare Foaie de parcurs"));
}

void SheetEditor::vehicleChanged() {
    if (m_mode == Mode::Add)
        IncarcaConsum();
}

void SheetEditor::fillFrom(const Query &sheets) {
    const QTime hour = SheetInput::hourOfText(sheets.text(u"ORA"));
    m_ziua->setDate(sheets.date(u"DATAX"));
    m_ora->setTime(hour);
    m_nrInmat->setEditText(sheets.text(u"NRMAS"));
    m_sofer1->setEditText(sheets.text(u"SOFER1"));
    m_sofer2->setEditText(sheets.text(u"SOFER2"));
    m_locParcare->setEditText(sheets.text(u"LOCPARC"));
    m_totKm->setText(sheets.text(u"TKM"));
    m_consum->setText(sheets.text(u"CONSUM"));
    m_pretL->setText(sheets.text(u"PRETL"));
}

void SheetEditor::save() {
    // An impossible date or hour is said before anything else is looked at or changed.
    if (!m_ziua->checkInput() || !m_ora->checkInput())
        return;
    SheetInput input{m_nrInmat->currentText(), m_sofer1->currentText(),
                     m_sofer2->currentText(),  m_locParcare->currentText(),
                     m_totKm->text(),          m_consum->text(),
                     m_pretL->text()};
    const auto problem = input.normaliseAndCheck();
    m_nrInmat->setEditText(input.vehicle);
    m_sofer1->setEditText(input.driver1);
    m_sofer2->setEditText(input.driver2);
    m_locParcare->setEditText(input.parking);
    m_totKm->setText(input.km);
    m_consum->setText(input.consumption);
    m_pretL->setText(input.price);
    if (problem) {
        QWidget *const fields[] = {m_nrInmat, m_sofer1, m_sofer2, m_locParcare,
                                   m_totKm,   m_consum, m_pretL};
        QWidget *field = fields[static_cast<int>(problem->field)];
        field->setFocus(Qt::OtherFocusReason);
        FieldHint::show(problem->text, field);
        return;
    }
    // Taken before the lists change: a list that was empty gives its first item to the field.
    m_accepted = collect();
    m_context.IniWrite(input.vehicle, consumKey(), input.consumption);
    m_context.IniWrite(input.vehicle, pretKey(), input.price);
    ComboPickList::addIfMissing(m_sofer1, input.driver1, true);
    ComboPickList::addIfMissing(m_sofer2, input.driver2, true);
    ComboPickList::addIfMissing(m_locParcare, input.parking, true);
    saved();
}

SheetValues SheetEditor::values() const {
    return m_accepted;
}

SheetValues SheetEditor::collect() const {
    SheetValues s;
    s.date = m_ziua->date();
    s.hour = m_ora->time();
    s.vehicle = m_nrInmat->currentText();
    s.driver1 = m_sofer1->currentText();
    s.driver2 = m_sofer2->currentText();
    s.parking = m_locParcare->currentText();
    // The values rather than the texts: a field left as "12." still writes a number.
    s.km = m_totKm->Valoare().toString();
    s.consumption = m_consum->Valoare().toString();
    s.price = m_pretL->Valoare().toString();
    s.cost =
        SheetInput::cost(m_totKm->Valoare(), m_consum->Valoare(), m_pretL->Valoare()).toString();
    return s;
}

} // namespace velmora
