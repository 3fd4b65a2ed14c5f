// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordsgui.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLabel>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

const QDate kDay(2007, 1, 20);

QStringList items(QComboBox *combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out.append(combo->itemText(i));
    return out;
}

QComboBox *combo(QWidget &editor, const char *name) {
    return RecordsGui::field<QComboBox>(editor, name);
}

QString text(QWidget &editor, const char *name) {
    return RecordsGui::field<QLineEdit>(editor, name)->text();
}

// The vehicle first: choosing it brings back its consumption and price.
void fillGood(SheetEditor &editor) {
    RecordsGui::type(combo(editor, SheetEditor::kPlate), u"B1"_s);
    RecordsGui::type(combo(editor, SheetEditor::kDriver1), u"A"_s);
    RecordsGui::type(combo(editor, SheetEditor::kParking), u"P"_s);
    RecordsGui::type(RecordsGui::field(editor, SheetEditor::kKm), u"10"_s);
    RecordsGui::type(RecordsGui::field(editor, SheetEditor::kConsumption), u"5"_s);
    RecordsGui::type(RecordsGui::field(editor, SheetEditor::kFuelPrice), u"6"_s);
}

} // namespace

class TestSheetEditor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pickListsAreLoadedOnceAndGrowWithSavedNames() {
        RecordsGui gui;
        gui.data.addSheet(1, kDay, u"08:00"_s, u"B2"_s, u"MARIN"_s, u"ZAHARIA"_s, u"DEPOU 2"_s);
        gui.data.addSheet(2, kDay, u"09:00"_s, u"B1"_s, u"ANDREI"_s, QString(), u"DEPOU 1"_s);
        gui.data.addSheet(3, kDay, u"10:00"_s, u"B1"_s, u"MARIN"_s, QString(), u"DEPOU 1"_s);
        SheetEditor &editor = gui.sheetEditor;
        editor.IncarcaListe();
        QCOMPARE(items(combo(editor, SheetEditor::kPlate)), QStringList({u"B1"_s, u"B2"_s}));
        QCOMPARE(items(combo(editor, SheetEditor::kDriver1)),
                 QStringList({u"ANDREI"_s, u"MARIN"_s}));
        // A name only ever written as second driver is not offered after a start.
        QCOMPARE(items(combo(editor, SheetEditor::kDriver2)),
                 QStringList({u"ANDREI"_s, u"MARIN"_s}));
        QCOMPARE(items(combo(editor, SheetEditor::kParking)),
                 QStringList({u"DEPOU 1"_s, u"DEPOU 2"_s}));

        editor.Initializeaza();
        const ModalAnswer answer = answerWhenShown(&editor, [&] {
            fillGood(editor);
            RecordsGui::type(combo(editor, SheetEditor::kDriver2), u"cosma"_s);
            RecordsGui::type(combo(editor, SheetEditor::kParking), u"depou 1"_s);
            editor.saveButton()->click();
            if (editor.isVisible()) {
                QFAIL(qPrintable(RecordsGui::hint()));
                editor.reject();
            }
        });
        QVERIFY(editor.Editeaza(u"Adaugare Foaie de parcurs"_s));
        VELMORA_VERIFY_MODAL(answer);
        QCOMPARE(editor.values().driver2, u"COSMA"_s);
        QCOMPARE(items(combo(editor, SheetEditor::kDriver1)),
                 QStringList({u"A"_s, u"ANDREI"_s, u"COSMA"_s, u"MARIN"_s}));
        QCOMPARE(items(combo(editor, SheetEditor::kDriver2)),
                 items(combo(editor, SheetEditor::kDriver1)));
        // Lists compare without regard to case; vehicles wait for the next start.
        QCOMPARE(items(combo(editor, SheetEditor::kParking)),
                 QStringList({u"DEPOU 1"_s, u"DEPOU 2"_s}));
        QCOMPARE(items(combo(editor, SheetEditor::kPlate)), QStringList({u"B1"_s, u"B2"_s}));

        // A vehicle typed for the first time waits for the next start.
        const ModalAnswer answer2 = answerWhenShown(&editor, [&] {
            fillGood(editor);
            RecordsGui::type(combo(editor, SheetEditor::kPlate), u"B3"_s);
            RecordsGui::type(RecordsGui::field(editor, SheetEditor::kConsumption), u"5"_s);
            RecordsGui::type(RecordsGui::field(editor, SheetEditor::kFuelPrice), u"6"_s);
            editor.saveButton()->click();
        });
        QVERIFY(editor.Editeaza(u"Adaugare Foaie de parcurs"_s));
        VELMORA_VERIFY_MODAL(answer2);
        QCOMPARE(items(combo(editor, SheetEditor::kPlate)), QStringList({u"B1"_s, u"B2"_s}));
        QCOMPARE(items(combo(editor, SheetEditor::kParking)),
                 QStringList({u"DEPOU 1"_s, u"DEPOU 2"_s, u"P"_s}));
    }

    // The lists come in the order of the Romanian alphabet, and a name saved for the first
    // time joins them where that alphabet puts it.
    void pickListsInRomanianOrder() {
        RecordsGui gui;
        const QStringList drivers = {u"ZAHARIA"_s,  u"ŞERBAN"_s, u"STAN"_s, u"ŢARĂ"_s,
                                     u"ĂLĂCESCU"_s, u"ANDREI"_s, u"ÎNCU"_s, u"IONESCU"_s};
        for (int i = 0; i < drivers.size(); ++i)
            gui.data.addSheet(i + 1, kDay, u"08:00"_s, u"B1"_s, drivers[i], QString(),
                              i % 2 ? u"ŞCOALA"_s : u"TÂRG"_s);
        SheetEditor &editor = gui.sheetEditor;
        editor.IncarcaListe();
        QCOMPARE(items(combo(editor, SheetEditor::kDriver1)),
                 QStringList({u"ANDREI"_s, u"ĂLĂCESCU"_s, u"IONESCU"_s, u"ÎNCU"_s, u"STAN"_s,
                              u"ŞERBAN"_s, u"ŢARĂ"_s, u"ZAHARIA"_s}));
        QCOMPARE(items(combo(editor, SheetEditor::kParking)),
                 QStringList({u"ŞCOALA"_s, u"TÂRG"_s}));

        editor.Initializeaza();
        const ModalAnswer answer = answerWhenShown(&editor, [&] {
            fillGood(editor);
            RecordsGui::field<QComboBox>(editor, SheetEditor::kDriver1)->lineEdit()->selectAll();
            RecordsGui::typeCharacters(combo(editor, SheetEditor::kDriver1)->lineEdit(),
                                       u"ștefan"_s);
            RecordsGui::field<QComboBox>(editor, SheetEditor::kDriver2)->lineEdit()->selectAll();
            RecordsGui::typeCharacters(combo(editor, SheetEditor::kDriver2)->lineEdit(), u"ârcu"_s);
            RecordsGui::field<QComboBox>(editor, SheetEditor::kParking)->lineEdit()->selectAll();
            RecordsGui::typeCharacters(combo(editor, SheetEditor::kParking)->lineEdit(), u"zona"_s);
            editor.saveButton()->click();
            if (editor.isVisible()) {
                QFAIL(qPrintable(RecordsGui::hint()));
                editor.reject();
            }
        });
        QVERIFY(editor.Editeaza(u"Adaugare Foaie de parcurs"_s));
        VELMORA_VERIFY_MODAL(answer);
        QCOMPARE(editor.values().driver1, u"ŞTEFAN"_s);
        QCOMPARE(items(combo(editor, SheetEditor::kDriver1)),
                 QStringList({u"ANDREI"_s, u"ĂLĂCESCU"_s, u"ÂRCU"_s, u"IONESCU"_s, u"ÎNCU"_s,
                              u"STAN"_s, u"ŞERBAN"_s, u"ŞTEFAN"_s, u"ŢARĂ"_s, u"ZAHARIA"_s}));
        QCOMPARE(items(combo(editor, SheetEditor::kParking)),
                 QStringList({u"ŞCOALA"_s, u"TÂRG"_s, u"ZONA"_s}));
    }

    void completionFromTheStartWithoutRegardToCase() {
        RecordsGui gui;
        gui.data.addSheet(1, kDay, u"08:00"_s, u"B2"_s, u"MARIN"_s);
        gui.data.addSheet(2, kDay, u"09:00"_s, u"CJ1"_s, u"MARIUS"_s);
        gui.data.addSheet(3, kDay, u"10:00"_s, u"B1"_s, u"AMARIEI"_s);
        SheetEditor &editor = gui.sheetEditor;
        editor.IncarcaListe();
        for (const char *name : {SheetEditor::kPlate, SheetEditor::kDriver1, SheetEditor::kDriver2,
                                 SheetEditor::kParking}) {
            QCompleter *completer = combo(editor, name)->completer();
            QVERIFY2(completer, name);
            QCOMPARE(completer->caseSensitivity(), Qt::CaseInsensitive);
            QCOMPARE(completer->filterMode(), Qt::MatchStartsWith);
        }
        QCompleter *drivers = combo(editor, SheetEditor::kDriver2)->completer();
        drivers->setCompletionPrefix(u"mar"_s);
        QStringList offered;
        for (int i = 0; drivers->setCurrentRow(i); ++i)
            offered.append(drivers->currentCompletion());
        QCOMPARE(offered, QStringList({u"MARIN"_s, u"MARIUS"_s}));
    }

    void vehicleBringsBackItsConsumptionAndPrice() {
        RecordsGui gui;
        gui.data.addSheet(1, kDay, u"08:00"_s, u"B2"_s, u"MARIN"_s);
        gui.data.addSheet(2, kDay, u"09:00"_s, u"B1"_s, u"ANDREI"_s);
        gui.data.store().iniWrite(u"B1"_s, u"CONSUM"_s, u"7.5"_s);
        gui.data.store().iniWrite(u"B1"_s, u"PRETL"_s, u"4.2"_s);
        SheetEditor &editor = gui.sheetEditor;
        editor.IncarcaListe();
        editor.Initializeaza();
        QCOMPARE(text(editor, SheetEditor::kConsumption), u"0"_s);
        QCOMPARE(text(editor, SheetEditor::kFuelPrice), u"0"_s);

        const ModalAnswer answer = answerWhenShown(&editor, [&] {
            RecordsGui::type(combo(editor, SheetEditor::kPlate), u"b1"_s);
            QCOMPARE(text(editor, SheetEditor::kConsumption), u"7.5"_s);
            QCOMPARE(text(editor, SheetEditor::kFuelPrice), u"4.2"_s);
            // Picked from the list: a vehicle never saved brings zeros.
            combo(editor, SheetEditor::kPlate)->setCurrentIndex(1);
            Q_EMIT combo(editor, SheetEditor::kPlate)->activated(1);
            QCOMPARE(text(editor, SheetEditor::kConsumption), u"0"_s);
            editor.cancelButton()->click();
        });
        QVERIFY(!editor.edit(SheetEditor::Mode::Add));
        VELMORA_VERIFY_MODAL(answer);

        // While a sheet is changed, another vehicle leaves its values alone.
        RecordsGui::field<QLineEdit>(editor, SheetEditor::kConsumption)->setText(u"9"_s);
        const ModalAnswer answer2 = answerWhenShown(&editor, [&] {
            RecordsGui::type(combo(editor, SheetEditor::kPlate), u"B1"_s);
            QCOMPARE(text(editor, SheetEditor::kConsumption), u"9"_s);
            QTest::keyClick(combo(editor, SheetEditor::kPlate)->lineEdit(), Qt::Key_Escape);
        });
        QVERIFY(!editor.edit(SheetEditor::Mode::Change));
        VELMORA_VERIFY_MODAL(answer2);
    }

    // The editor knows whether it adds or changes a sheet from how it was opened, whatever
    // its title reads: the title is for the clerk.
    void modeDecidesWhetherTheVehicleBringsItsValues_data() {
        QTest::addColumn<SheetEditor::Mode>("mode");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("shownTitle");
        QTest::addColumn<QString>("consumption");
        QTest::newRow("add") << SheetEditor::Mode::Add << u"Adaugare Foaie de parcurs"_s
                             << u"Modificare"_s << u"7.5"_s;
        QTest::newRow("change") << SheetEditor::Mode::Change << u"Modificare Foaie de parcurs"_s
                                << u"Foaie de parcurs"_s << u"9"_s;
    }
    void modeDecidesWhetherTheVehicleBringsItsValues() {
        QFETCH(SheetEditor::Mode, mode);
        QFETCH(QString, title);
        QFETCH(QString, shownTitle);
        QFETCH(QString, consumption);
        RecordsGui gui;
        gui.data.store().iniWrite(u"B1"_s, u"CONSUM"_s, u"7.5"_s);
        SheetEditor &editor = gui.sheetEditor;
        editor.Initializeaza();
        RecordsGui::field<QLineEdit>(editor, SheetEditor::kConsumption)->setText(u"9"_s);
        QString titleShown;
        bool typed = false;
        const ModalAnswer answer = answerWhenShown(&editor, [&] {
            titleShown = editor.titleLabel()->text();
            editor.titleLabel()->setText(shownTitle);
            RecordsGui::type(combo(editor, SheetEditor::kPlate), u"B1"_s);
            QCOMPARE(text(editor, SheetEditor::kConsumption), consumption);
            typed = true;
            editor.cancelButton()->click();
        });
        QVERIFY(!editor.edit(mode));
        VELMORA_VERIFY_MODAL(answer);
        QVERIFY(typed);
        QCOMPARE(titleShown, title);
        QCOMPARE(editor.mode(), mode);
    }

    void eachCheckShowsItsHintAndKeepsTheEditorOpen_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("hint");
        QTest::newRow("vehicle") << SheetEditor::kPlate << u"   "_s
                                 << u"Lipseste numarul de inmatriculare!"_s;
        QTest::newRow("driver") << SheetEditor::kDriver1 << u"  "_s
                                << u"Lipseste Numele Soferului!"_s;
        QTest::newRow("parking") << SheetEditor::kParking << u""_s
                                 << u"Lipseste Locul de parcare!"_s;
        QTest::newRow("km") << SheetEditor::kKm << u""_s << u"Lipseste Numarul de Km!"_s;
        QTest::newRow("consumption")
            << SheetEditor::kConsumption << u"0.5"_s << u"Lipseste Consumul la 100 Km!"_s;
        QTest::newRow("price") << SheetEditor::kFuelPrice << u"0.99"_s
                               << u"Lipseste Pretul la carburant!"_s;
    }
    void eachCheckShowsItsHintAndKeepsTheEditorOpen() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, hint);
        RecordsGui gui;
        SheetEditor &editor = gui.sheetEditor;
        editor.Initializeaza();
        const ModalAnswer answer = answerWhenShown(&editor, [&] {
            fillGood(editor);
            RecordsGui::type(editor.findChild<QWidget *>(field), value);
            editor.saveButton()->click();
            QVERIFY(editor.isVisible());
            QCOMPARE(RecordsGui::hint(), hint);
            QCOMPARE(RecordsGui::hintControl(), field);
            editor.cancelButton()->click();
        });
        QVERIFY(!editor.Editeaza(u"Adaugare Foaie de parcurs"_s));
        VELMORA_VERIFY_MODAL(answer);
        QVERIFY(gui.data.store().iniRead(u"B1"_s, u"CONSUM"_s).isEmpty());
    }

    void leavingWritesNothingAndTakesNoIdentifier_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Esc") << true;
        QTest::newRow("Renunt") << false;
    }
    void leavingWritesNothingAndTakesNoIdentifier() {
        QFETCH(bool, escape);
        RecordsGui gui;
        const QByteArray ini = [&] {
            QFile file(gui.data.store().countersFile());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        gui.inWindow([&] {
            gui.clickWithEditor(RecordsWindow::kAddSheetButton, gui.sheetEditor, [&] {
                fillGood(gui.sheetEditor);
                if (escape)
                    QTest::keyClick(RecordsGui::field(gui.sheetEditor, SheetEditor::kFuelPrice),
                                    Qt::Key_Escape);
                else
                    gui.sheetEditor.cancelButton()->click();
            });
            QVERIFY(!gui.sheetEditor.isVisible());
        });
        QVERIFY(gui.data.sheets({u"IDFOAIE"_s}).isEmpty());
        QFile file(gui.data.store().countersFile());
        QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), ini);
    }

    void enterMovesThroughTheFieldsAndSavesInTheLast() {
        RecordsGui gui;
        TripEditor &editor = gui.tripEditor;
        editor.Initializeaza();
        const ModalAnswer answer = answerWhenShown(&editor, [&] {
            QWidget *ziua = RecordsGui::field(editor, EditorDialog::kDay);
            // Keys go to the focus widget only once the window is active, which a busy
            // machine may take a moment to report.
            editor.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&editor));
            ziua->setFocus();
            QTRY_VERIFY(QApplication::focusWidget() != nullptr);
            QStringList visited;
            for (int i = 0; i < 3; ++i) {
                QWidget *current = QApplication::focusWidget();
                QVERIFY(current);
                QTest::keyClick(current, Qt::Key_Return);
                QWidget *focus = QApplication::focusWidget();
                while (focus && focus->objectName().isEmpty())
                    focus = focus->parentWidget();
                visited.append(focus ? focus->objectName() : QString());
            }
            QCOMPARE(visited, QStringList({QString::fromLatin1(EditorDialog::kHour),
                                           QString::fromLatin1(TripEditor::kKind),
                                           QString::fromLatin1(TripEditor::kAmount)}));
            QTest::keyClicks(RecordsGui::field(editor, TripEditor::kAmount), u"12.5"_s);
            QTest::keyClick(RecordsGui::field(editor, TripEditor::kAmount), Qt::Key_Return);
        });
        QVERIFY(editor.Editeaza(u"Adaugare Plecare / Sosire"_s));
        VELMORA_VERIFY_MODAL(answer);
        QCOMPARE(editor.values(u"1"_s, u"2"_s).amount, u"12.5"_s);
    }

    // The field holds every amount SUMA holds, nine characters; what SUMA or the sheet's
    // TOTALVEN cannot hold is refused before an identifier is taken.
    void anAmountBeyondTheColumnIsRefusedWithAHint_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("total");  // the sheet's income before
        QTest::addColumn<QString>("income"); // and after; empty when refused
        QTest::addColumn<QString>("hint");
        const QString tooLarge = u"Suma prea mare! Cel mult 999999.99 lei."_s;
        QTest::newRow("largest that fits")
            << u"999999.99"_s << u"0"_s << u"999999.99"_s << QString();
        QTest::newRow("one cent more") << u"1000000"_s << u"0"_s << QString() << tooLarge;
        QTest::newRow("nine digits") << u"123456789"_s << u"0"_s << QString() << tooLarge;
        QTest::newRow("fills the sheet")
            << u"99.99"_s << u"999900"_s << u"999999.99"_s << QString();
        QTest::newRow("past the sheet's total")
            << u"100"_s << u"999900"_s << QString()
            << u"Suma prea mare! Venitul total al foii ar depasi 999999.99 lei: pe aceasta "
               u"foaie mai incap cel mult 99.99 lei."_s;
    }
    void anAmountBeyondTheColumnIsRefusedWithAHint() {
        QFETCH(QString, amount);
        QFETCH(QString, total);
        QFETCH(QString, income);
        QFETCH(QString, hint);
        const bool accepted = !income.isEmpty();
        RecordsGui gui;
        gui.data.addSheet(1, kDay, u"08:00"_s, u"B1"_s, u"A"_s, QString(), u"P"_s, total);
        QString typed;
        bool saved = false;
        gui.inWindow([&] {
            gui.clickWithEditor(RecordsWindow::kAddLineButton, gui.tripEditor, [&] {
                RecordsGui::type(RecordsGui::field(gui.tripEditor, TripEditor::kAmount), amount);
                typed = RecordsGui::field<QLineEdit>(gui.tripEditor, TripEditor::kAmount)->text();
                gui.tripEditor.saveButton()->click();
                saved = !gui.tripEditor.isVisible();
                if (!saved) {
                    QCOMPARE(RecordsGui::hint(), hint);
                    QCOMPARE(RecordsGui::hintControl(), QString::fromLatin1(TripEditor::kAmount));
                    gui.tripEditor.cancelButton()->click();
                }
            });
        });
        QCOMPARE(typed, amount);
        QCOMPARE(saved, accepted);
        QCOMPARE(gui.data.lines({u"SUMA"_s}), accepted ? QStringList{amount} : QStringList());
        QCOMPARE(gui.data.sheets({u"TOTALVEN"_s}), QStringList{accepted ? income : total});
        QCOMPARE(gui.data.store().iniRead(u"INDEX"_s, u"IDSOS"_s), accepted ? u"2"_s : QString());
        QVERIFY(gui.errors.isEmpty());
    }

    // The field admits a third decimal; the line and the sheet's total both take the amount
    // as SUMA holds it, so that the total stays the sum of the lines.
    void aThirdDecimalIsRoundedOnceForTheLineAndTheTotal() {
        RecordsGui gui;
        gui.data.addSheet(1, kDay, u"08:00"_s, u"B1"_s, u"A"_s, QString(), u"P"_s, u"0.01"_s);
        gui.data.addLine(1, 1, QDateTime(kDay, QTime(9, 0)), u"0.01"_s);
        gui.data.store().iniWrite(u"INDEX"_s, u"IDSOS"_s, u"2"_s);
        bool saved = false;
        gui.inWindow([&] {
            gui.clickWithEditor(RecordsWindow::kAddLineButton, gui.tripEditor, [&] {
                RecordsGui::type(RecordsGui::field(gui.tripEditor, TripEditor::kAmount),
                                 u"1.005"_s);
                gui.tripEditor.saveButton()->click();
                saved = !gui.tripEditor.isVisible();
            });
        });
        QVERIFY(saved);
        // 1.005 is half a cent: the even neighbour, 1.00.
        QCOMPARE(gui.data.lines({u"SUMA"_s}), QStringList({u"0.01"_s, u"1"_s}));
        QCOMPARE(gui.data.sheets({u"TOTALVEN"_s}), QStringList{u"1.01"_s});
        QVERIFY(gui.errors.isEmpty());
    }

    // A changed line counts without its old amount: the sheet may take up to that again.
    void aChangedLineKeepsTheSheetWithinItsTotal() {
        RecordsGui gui;
        gui.data.addSheet(1, kDay, u"08:00"_s, u"B1"_s, u"A"_s, QString(), u"P"_s, u"999999.99"_s);
        gui.data.addLine(1, 1, QDateTime(kDay, QTime(9, 0)), u"500"_s);
        QStringList hints;
        gui.inWindow([&] {
            gui.clickWithEditor(RecordsWindow::kChangeLineButton, gui.tripEditor, [&] {
                auto *suma = RecordsGui::field(gui.tripEditor, TripEditor::kAmount);
                RecordsGui::type(suma, u"500.01"_s);
                gui.tripEditor.saveButton()->click();
                QVERIFY(gui.tripEditor.isVisible());
                hints << RecordsGui::hint();
                RecordsGui::type(suma, u"400"_s);
                gui.tripEditor.saveButton()->click();
                hints << RecordsGui::hint();
            });
            QVERIFY(!gui.tripEditor.isVisible());
        });
        QCOMPARE(hints, QStringList({u"Suma prea mare! Venitul total al foii ar depasi "
                                     u"999999.99 lei: pe aceasta foaie mai incap cel mult 500 "
                                     u"lei."_s,
                                     QString()}));
        QCOMPARE(gui.data.lines({u"SUMA"_s}), QStringList{u"400"_s});
        QCOMPARE(gui.data.sheets({u"TOTALVEN"_s}), QStringList{u"999899.99"_s});
        QVERIFY(gui.errors.isEmpty());
    }

    // The fuel cost of the largest fields does not fit COST. The editor says so on the
    // kilometres and keeps what was typed; no identifier is taken, nothing is remembered
    // for the vehicle and no sheet is written. With fewer kilometres the sheet is saved.
    void aCostBeyondTheSheetIsRefusedBeforeAnythingIsTaken() {
        RecordsGui gui;
        gui.data.store().iniWrite(u"INDEX"_s, u"IDFOAIE"_s, u"5"_s);
        gui.data.store().iniWrite(u"B1"_s, u"CONSUM"_s, u"7.5"_s);
        gui.data.store().iniWrite(u"B1"_s, u"PRETL"_s, u"4.2"_s);
        const auto counters = [&] {
            QFile file(gui.data.store().countersFile());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray before = counters();
        SheetEditor &editor = gui.sheetEditor;
        QStringList kept;
        QString hint;
        QString hintControl;
        QByteArray whileRefused;
        QStringList rowsWhileRefused{u"not read"_s};
        gui.inWindow([&] {
            gui.clickWithEditor(RecordsWindow::kAddSheetButton, editor, [&] {
                RecordsGui::type(combo(editor, SheetEditor::kPlate), u"B1"_s);
                RecordsGui::type(combo(editor, SheetEditor::kDriver1), u"MARIN"_s);
                RecordsGui::type(combo(editor, SheetEditor::kParking), u"DEPOU"_s);
                RecordsGui::type(RecordsGui::field(editor, SheetEditor::kKm), u"99999999"_s);
                RecordsGui::type(RecordsGui::field(editor, SheetEditor::kConsumption), u"999.99"_s);
                RecordsGui::type(RecordsGui::field(editor, SheetEditor::kFuelPrice), u"999.99"_s);
                editor.saveButton()->click();
                QVERIFY(editor.isVisible());
                hint = RecordsGui::hint();
                hintControl = RecordsGui::hintControl();
                kept = {combo(editor, SheetEditor::kPlate)->currentText(),
                        combo(editor, SheetEditor::kDriver1)->currentText(),
                        combo(editor, SheetEditor::kParking)->currentText(),
                        text(editor, SheetEditor::kKm),
                        text(editor, SheetEditor::kConsumption),
                        text(editor, SheetEditor::kFuelPrice)};
                whileRefused = counters();
                rowsWhileRefused = gui.data.sheets({u"IDFOAIE"_s});
                RecordsGui::type(RecordsGui::field(editor, SheetEditor::kKm), u"100"_s);
                editor.saveButton()->click();
            });
            QVERIFY(!editor.isVisible());
        });
        QCOMPARE(hintControl, QString::fromLatin1(SheetEditor::kKm));
        QCOMPARE(hint, u"Costul combustibilului ar fi 999979990100.2 lei, dar foaia tine cel "
                       u"mult 999999.99 lei! Micsorati Total Km."_s);
        QCOMPARE(kept, QStringList({u"B1"_s, u"MARIN"_s, u"DEPOU"_s, u"99999999"_s, u"999.99"_s,
                                    u"999.99"_s}));
        QCOMPARE(whileRefused, before);
        QCOMPARE(rowsWhileRefused, QStringList());
        QVERIFY(gui.errors.isEmpty());
        // The identifier that was waiting is the one the saved sheet got.
        QCOMPARE(gui.data.sheets({u"IDFOAIE"_s, u"TKM"_s, u"CONSUM"_s, u"PRETL"_s, u"COST"_s}),
                 QStringList{u"5|100|999.99|999.99|999980"_s});
        QCOMPARE(gui.data.store().iniRead(u"INDEX"_s, u"IDFOAIE"_s), u"6"_s);
        QCOMPARE(gui.data.store().iniRead(u"B1"_s, u"CONSUM"_s), u"999.99"_s);
    }

    void badStoredHourStopsBeforeTheEditor() {
        RecordsGui gui;
        gui.data.addSheet(1, kDay, u"08:00"_s, u"B1"_s, u"A"_s);
        gui.data.run({u"UPDATE "_s + gui.data.statements().sheetTable(), u"SET ORA=\"8h\""_s,
                      u"WHERE IDFOAIE=1"_s});
        gui.inWindow([&] {
            gui.click(RecordsWindow::kChangeSheetButton);
            QCOMPARE(gui.errors.size(), 1);
            QVERIFY(gui.errors.first().contains(u"8h"_s));
            QVERIFY(!gui.sheetEditor.isVisible());
        });
    }

    void fieldsCarryTheirLabelsAsAccessibleNames_data() {
        QTest::addColumn<bool>("sheet");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("accessible");
        const QList<std::tuple<bool, const char *, QString>> rows = {
            {true, EditorDialog::kDay, u"Data"_s},
            {true, EditorDialog::kHour, u"Ora"_s},
            {true, SheetEditor::kPlate, u"Nr.inamtriculare"_s},
            {true, SheetEditor::kDriver1, u"1. Nume sofer"_s},
            {true, SheetEditor::kDriver2, u"2. Nume sofer"_s},
            {true, SheetEditor::kParking, u"Loc de parcare"_s},
            {true, SheetEditor::kKm, u"Total Km"_s},
            {true, SheetEditor::kConsumption, u"Consum L/100 Km"_s},
            {true, SheetEditor::kFuelPrice, u"Pret combustibil /L"_s},
            {true, EditorDialog::kSaveButton, u"Memoreaza"_s},
            {true, EditorDialog::kCancelButton, u"Renunt"_s},
            {false, EditorDialog::kDay, u"Data"_s},
            {false, EditorDialog::kHour, u"Ora"_s},
            {false, TripEditor::kKind, u"Plecare / Sosire"_s},
            {false, TripEditor::kAmount, u"Realizare venit lei"_s},
            {false, EditorDialog::kSaveButton, u"Memoreaza"_s},
            {false, EditorDialog::kCancelButton, u"Renunt"_s},
        };
        for (const auto &[sheet, name, accessible] : rows) {
            QTest::addRow("%s %s", sheet ? "AddFoaie" : "AddSosire", name)
                << sheet << QString::fromLatin1(name) << accessible;
        }
    }
    void fieldsCarryTheirLabelsAsAccessibleNames() {
        QFETCH(bool, sheet);
        QFETCH(QString, name);
        QFETCH(QString, accessible);
        RecordsGui gui;
        QWidget &editor = sheet ? static_cast<QWidget &>(gui.sheetEditor)
                                : static_cast<QWidget &>(gui.tripEditor);
        auto *control = editor.findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(control->accessibleName(), accessible);
        if (auto *label = editor.findChild<QLabel *>(name + u"Label"_s))
            QCOMPARE(label->text(), accessible);
    }
};

QTEST_MAIN(TestSheetEditor)
#include "tst_sheeteditor.moc"
