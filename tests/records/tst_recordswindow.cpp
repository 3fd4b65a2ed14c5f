// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordsgui.h"

#include "store/query/query.h"

#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QStyle>
#include <numeric>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

const QDate kDay(2007, 1, 20);
const QStringList kSheetColumns = {u"IDFOAIE"_s, u"NRMAS"_s,    u"SOFER1"_s, u"SOFER2"_s,
                                   u"LOCPARC"_s, u"TOTALVEN"_s, u"TKM"_s,    u"CONSUM"_s,
                                   u"PRETL"_s,   u"COST"_s};
const QStringList kLineColumns = {u"IDSOS"_s, u"IDFOAIE"_s, u"PLESOS"_s, u"TIMP"_s, u"SUMA"_s};

QString counter(RecordsFixture &f, const QString &name) {
    return f.store().iniRead(u"INDEX"_s, name);
}

void fillThree(RecordsFixture &f) {
    f.addSheet(1, kDay, u"08:00"_s, u"B12ABC"_s, u"POPESCU ION"_s, u"STAN ANA"_s);
    f.addSheet(2, kDay, u"14:05"_s, u"CJ01XYZ"_s, u"O\"NEIL"_s, u"D'ARC"_s);
    f.addSheet(3, kDay.addDays(1), u"07:30"_s, u"B99AAA"_s, u"SOFER A"_s);
    f.addLine(11, 1, QDateTime(kDay, QTime(9, 0)), u"20"_s);
    f.addLine(12, 1, QDateTime(kDay, QTime(8, 30)), u"30"_s);
    f.store().iniWrite(u"INDEX"_s, u"IDFOAIE"_s, u"4"_s);
    f.store().iniWrite(u"INDEX"_s, u"IDSOS"_s, u"13"_s);
}

// A click on a column title of a grid, where the user would click.
void clickTitle(RecordGrid *grid, int section) {
    QHeaderView *header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(section) + 5, 5));
}

} // namespace

class TestRecordsWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addChangeAndDeleteASheet() {
        RecordsGui gui;
        SheetEditor &editor = gui.sheetEditor;
        gui.inWindow([&] {
            QVERIFY(gui.window.isVisible());
            QCOMPARE(gui.window.windowTitle(), u"Foi de parcurs"_s);
            gui.clickWithEditor(RecordsWindow::kAddSheetButton, editor, [&] {
                QCOMPARE(editor.titleLabel()->text(), u"Adaugare Foaie de parcurs"_s);
                RecordsGui::field<DateField>(editor, EditorDialog::kDay)->setDate(kDay);
                RecordsGui::field<TimeField>(editor, EditorDialog::kHour)
                    ->setTime(QTime(14, 5, 41));
                RecordsGui::type(RecordsGui::field(editor, SheetEditor::kPlate), u"b12abc"_s);
                RecordsGui::type(RecordsGui::field(editor, SheetEditor::kDriver1), u"sofer   a"_s);
                RecordsGui::type(RecordsGui::field(editor, SheetEditor::kParking), u" parcare 1"_s);
                RecordsGui::type(RecordsGui::field(editor, SheetEditor::kKm), u"120"_s);
                RecordsGui::type(RecordsGui::field(editor, SheetEditor::kConsumption), u"7.5"_s);
                auto *price = RecordsGui::field(editor, SheetEditor::kFuelPrice);
                RecordsGui::type(price, u"4.2"_s);
                price->setFocus();
                // Enter in the last field saves.
                QTest::keyClick(price, Qt::Key_Return);
            });
            QVERIFY(!editor.isVisible());
            QCOMPARE(gui.data.sheets(kSheetColumns),
                     QStringList({u"1|B12ABC|SOFER A||PARCARE 1|0|120|7.5|4.2|37.8"_s}));
            QCOMPARE(gui.data.sheets({u"DATAX"_s, u"ORA"_s}),
                     QStringList({TextForm::date(kDay) + u"|14:05"_s}));
            QCOMPARE(counter(gui.data, u"IDFOAIE"_s), u"2"_s);
            QCOMPARE(gui.data.store().iniRead(u"B12ABC"_s, u"CONSUM"_s), u"7.5"_s);
            QCOMPARE(gui.data.store().iniRead(u"B12ABC"_s, u"PRETL"_s), u"4.2"_s);
            QCOMPARE(gui.gridColumn(gui.window.sheetGrid(), 2), QStringList({u"B12ABC"_s}));
            QCOMPARE(gui.selectedRow(gui.window.sheetGrid()), 0);

            // Enter on the sheet changes it; its income stays.
            gui.data.run(gui.data.statements().addIncome(u"1"_s, u"99.5"_s));
            gui.window.lists().refreshSheets(u"1"_s);
            const ModalAnswer answer = answerWhenShown(&editor, [&] {
                QCOMPARE(editor.titleLabel()->text(), u"Modificare Foaie de parcurs"_s);
                QCOMPARE(RecordsGui::field<QComboBox>(editor, SheetEditor::kDriver1)->currentText(),
                         u"SOFER A"_s);
                QCOMPARE(RecordsGui::field<QLineEdit>(editor, SheetEditor::kConsumption)->text(),
                         u"7.5"_s);
                QCOMPARE(RecordsGui::field<TimeField>(editor, EditorDialog::kHour)->time(),
                         QTime(14, 5));
                RecordsGui::type(RecordsGui::field(editor, SheetEditor::kDriver2), u"o\"neil"_s);
                RecordsGui::type(RecordsGui::field(editor, SheetEditor::kKm), u"200"_s);
                editor.saveButton()->click();
            });
            gui.window.sheetGrid()->setFocus();
            QTest::keyClick(gui.window.sheetGrid(), Qt::Key_Return);
            VELMORA_VERIFY_MODAL(answer);
            QCOMPARE(gui.data.sheets(kSheetColumns),
                     QStringList({u"1|B12ABC|SOFER A|O\"NEIL|PARCARE 1|99.5|200|7.5|4.2|63"_s}));
            QCOMPARE(gui.gridColumn(gui.window.sheetGrid(), 4), QStringList({u"O\"NEIL"_s}));

            // NU keeps it; DA deletes it with its lines.
            gui.data.addLine(5, 1, QDateTime(kDay, QTime(9, 0)), u"99.5"_s);
            gui.answerMessage(MessageResult::No);
            gui.click(RecordsWindow::kDeleteSheetButton);
            QCOMPARE(gui.data.sheets({u"IDFOAIE"_s}).size(), 1);
            gui.answerMessage(MessageResult::Yes);
            gui.click(RecordsWindow::kDeleteSheetButton);
            QCOMPARE(gui.messages.shown().size(), 2);
            QCOMPARE(gui.messages.shown().last().title, u"Stergere Foaie de parcurs"_s);
            QCOMPARE(gui.messages.shown().last().text,
                     u"Doriti sa stergeti foaia de parcurs selectata?"_s);
            QCOMPARE(gui.messages.shown().last().kind, MessageKind::Confirmare);
            QCOMPARE(gui.messages.shown().last().buttons,
                     MessageButtons(MessageButton::DA | MessageButton::NU));
            QVERIFY(gui.data.sheets({u"IDFOAIE"_s}).isEmpty());
            QVERIFY(gui.data.lines({u"IDSOS"_s}).isEmpty());
            QCOMPARE(gui.window.sheetGrid()->model()->rowCount(), 0);
            QCOMPARE(counter(gui.data, u"IDFOAIE"_s), u"2"_s);
        });
        QVERIFY2(gui.errors.isEmpty(), qPrintable(gui.errors.join(u'\n')));
    }

    void incomeFollowsAddChangeDeleteOfALine() {
        RecordsGui gui;
        gui.data.addSheet(17, kDay, u"08:00"_s, u"B12ABC"_s, u"SOFER A"_s);
        TripEditor &editor = gui.tripEditor;
        gui.inWindow([&] {
            gui.clickWithEditor(RecordsWindow::kAddLineButton, editor, [&] {
                QCOMPARE(editor.titleLabel()->text(), u"Adaugare Plecare / Sosire"_s);
                QCOMPARE(RecordsGui::field<QComboBox>(editor, TripEditor::kKind)->currentText(),
                         u"PLECARE"_s);
                QCOMPARE(RecordsGui::field<QLineEdit>(editor, TripEditor::kAmount)->text(), u"0"_s);
                RecordsGui::field<DateField>(editor, EditorDialog::kDay)->setDate(kDay);
                RecordsGui::field<TimeField>(editor, EditorDialog::kHour)->setTime(QTime(14, 5));
                RecordsGui::type(RecordsGui::field(editor, TripEditor::kAmount), u"150"_s);
                editor.saveButton()->click();
            });
            QCOMPARE(gui.data.lines(kLineColumns), QStringList({u"1|17|PLECARE|39102.5868|150"_s}));
            QCOMPARE(gui.data.sheets({u"TOTALVEN"_s}), QStringList({u"150"_s}));
            QCOMPARE(counter(gui.data, u"IDSOS"_s), u"2"_s);
            RecordGrid *lines = gui.window.lineGrid();
            QCOMPARE(gui.gridColumn(lines, 0), QStringList({TextForm::date(kDay)}));
            QCOMPARE(gui.gridColumn(lines, 1), QStringList({u"14:05"_s}));
            QCOMPARE(gui.gridColumn(lines, 3), QStringList({u"150"_s}));
            QCOMPARE(gui.gridColumn(gui.window.sheetGrid(), 6), QStringList({u"150"_s}));

            // A double click on the line changes it, under the same title as adding.
            const ModalAnswer answer = answerWhenShown(&editor, [&] {
                QCOMPARE(editor.titleLabel()->text(), u"Adaugare Plecare / Sosire"_s);
                QCOMPARE(RecordsGui::field<TimeField>(editor, EditorDialog::kHour)->time(),
                         QTime(14, 5));
                QCOMPARE(RecordsGui::field<QLineEdit>(editor, TripEditor::kAmount)->text(),
                         u"150"_s);
                RecordsGui::field<QComboBox>(editor, TripEditor::kKind)->setCurrentIndex(1);
                RecordsGui::type(RecordsGui::field(editor, TripEditor::kAmount), u"200"_s);
                editor.saveButton()->click();
            });
            const QRect row = lines->visualRect(lines->model()->index(0, 2));
            // A double click is the second press on the row the first one chose.
            QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, row.center());
            QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, row.center());
            VELMORA_VERIFY_MODAL(answer);
            QCOMPARE(gui.data.lines(kLineColumns), QStringList({u"1|17|SOSIRE|39102.5868|200"_s}));
            QCOMPARE(gui.data.sheets({u"TOTALVEN"_s}), QStringList({u"200"_s}));
            QCOMPARE(gui.selectedRow(lines), 0);

            // The next new line starts with the kind last used; Esc leaves without a trace.
            gui.clickWithEditor(RecordsWindow::kAddLineButton, editor, [&] {
                QCOMPARE(RecordsGui::field<QComboBox>(editor, TripEditor::kKind)->currentText(),
                         u"SOSIRE"_s);
                QTest::keyClick(RecordsGui::field(editor, TripEditor::kAmount), Qt::Key_Escape);
            });
            QCOMPARE(gui.data.lines({u"IDSOS"_s}).size(), 1);
            QCOMPARE(counter(gui.data, u"IDSOS"_s), u"2"_s);

            gui.answerMessage(MessageResult::Yes);
            gui.click(RecordsWindow::kDeleteLineButton);
            QCOMPARE(gui.messages.shown().last().title, u"Stergere Plecare / Sosire"_s);
            QCOMPARE(gui.messages.shown().last().text, u"Stergeti linia selectata?"_s);
            QVERIFY(gui.data.lines({u"IDSOS"_s}).isEmpty());
            QCOMPARE(gui.data.sheets({u"TOTALVEN"_s}), QStringList({u"0"_s}));
            QCOMPARE(lines->model()->rowCount(), 0);
        });
        QVERIFY2(gui.errors.isEmpty(), qPrintable(gui.errors.join(u'\n')));
    }

    void missingSelectionShowsAHint_data() {
        QTest::addColumn<bool>("withSheet");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::newRow("change sheet") << false << RecordsWindow::kChangeSheetButton
                                      << RecordsWindow::kSheetGrid << u"Nu aveti ce modifica!"_s;
        QTest::newRow("delete sheet") << false << RecordsWindow::kDeleteSheetButton
                                      << RecordsWindow::kSheetGrid << u"Nu aveti ce sterge!"_s;
        QTest::newRow("add line") << false << RecordsWindow::kAddLineButton
                                  << RecordsWindow::kSheetGrid
                                  << u"Alegeti mai intai o foaie de  parcurs!"_s;
        QTest::newRow("print") << false << RecordsWindow::kPrintButton << RecordsWindow::kSheetGrid
                               << u"Alegeti mai intai o Foaie de parcurs!"_s;
        QTest::newRow("change line")
            << true << RecordsWindow::kChangeLineButton << RecordsWindow::kLineGrid
            << u"Alegeti mai intai o Plecare / Sosire!"_s;
        QTest::newRow("delete line") << true << RecordsWindow::kDeleteLineButton
                                     << RecordsWindow::kLineGrid << u"Nu aveti ce sterge!"_s;
    }
    void missingSelectionShowsAHint() {
        QFETCH(bool, withSheet);
        QFETCH(QString, button);
        QFETCH(QString, control);
        QFETCH(QString, text);
        RecordsGui gui;
        if (withSheet)
            gui.data.addSheet(1, kDay, u"08:00"_s, u"B1"_s, u"A"_s);
        gui.inWindow([&] {
            gui.click(button.toLatin1().constData());
            QCOMPARE(RecordsGui::hint(), text);
            QCOMPARE(RecordsGui::hintControl(), control);
            QVERIFY(!gui.sheetEditor.isVisible() && !gui.tripEditor.isVisible());
        });
        QVERIFY(gui.data.lines({u"IDSOS"_s}).isEmpty());
        QCOMPARE(gui.data.sheets({u"IDFOAIE"_s}).size(), withSheet ? 1 : 0);
    }

    void searchAsYouType_data() {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("vehicle");
        QTest::addColumn<QStringList>("plates");
        QTest::newRow("driver, first or second") << u"sta"_s << u""_s << QStringList{u"B12ABC"_s};
        QTest::newRow("plate") << u""_s << u"b"_s << QStringList{u"B12ABC"_s, u"B99AAA"_s};
        QTest::newRow("both") << u"sofer"_s << u"b9"_s << QStringList{u"B99AAA"_s};
        QTest::newRow("neither") << u""_s << u""_s
                                 << QStringList{u"B12ABC"_s, u"CJ01XYZ"_s, u"B99AAA"_s};
        QTest::newRow("no match") << u"zz"_s << u""_s << QStringList();
        QTest::newRow("double quote") << u"o\"n"_s << u""_s << QStringList{u"CJ01XYZ"_s};
        QTest::newRow("single quote") << u"d'a"_s << u"cj"_s << QStringList{u"CJ01XYZ"_s};
    }
    void searchAsYouType() {
        QFETCH(QString, driver);
        QFETCH(QString, vehicle);
        QFETCH(QStringList, plates);
        RecordsGui gui;
        fillThree(gui.data);
        gui.inWindow([&] {
            auto *edit1 = RecordsGui::field<QLineEdit>(gui.window, RecordsWindow::kDriverSearch);
            auto *edit2 = RecordsGui::field<QLineEdit>(gui.window, RecordsWindow::kPlateSearch);
            QTest::keyClicks(edit1, driver);
            QTest::keyClicks(edit2, vehicle);
            QCOMPARE(edit1->text(), driver.toUpper());
            QTRY_VERIFY(!gui.window.searchPending());
            QCOMPARE(gui.gridColumn(gui.window.sheetGrid(), 2), plates);
            const QStringList lines = gui.gridColumn(gui.window.lineGrid(), 3);
            // The lower grid shows the lines of the selected sheet, or nothing.
            const bool searching = !driver.isEmpty() || !vehicle.isEmpty();
            if (plates.isEmpty())
                QVERIFY(lines.isEmpty());
            else if (searching && plates.first() == u"B12ABC"_s)
                QCOMPARE(lines, QStringList({u"30"_s, u"20"_s}));
        });
        QVERIFY(gui.errors.isEmpty());
    }

    // A name typed in one go filters the list once, when the keys stop, with the whole name.
    void typingFastFiltersOnceWithTheFinalText() {
        RecordsGui gui;
        fillThree(gui.data);
        bool filtered = false;
        gui.inWindow([&] {
            auto *edit1 = RecordsGui::field<QLineEdit>(gui.window, RecordsWindow::kDriverSearch);
            QSignalSpy applied(&gui.window.lists().sheets(), &Query::rowsReset);
            QTest::keyClicks(edit1, u"pope"_s);
            QCOMPARE(edit1->text(), u"POPE"_s);
            QCOMPARE(applied.count(), 0);
            QVERIFY(gui.window.searchPending());
            QVERIFY(applied.wait());
            QVERIFY(!gui.window.searchPending());
            QCOMPARE(applied.count(), 1);
            QCOMPARE(gui.window.lists().sheets().filter(),
                     RecordLists::searchCondition(u"POPE"_s, QString()));
            QCOMPARE(gui.gridColumn(gui.window.sheetGrid(), 2), QStringList({u"B12ABC"_s}));
            filtered = true;
        });
        QVERIFY(filtered);
    }

    // Closed before the pause ran out, the window still opens next time with what was typed.
    void searchTypedJustBeforeClosingHoldsNextTime() {
        RecordsGui gui;
        fillThree(gui.data);
        gui.inWindow([&] {
            QTest::keyClicks(RecordsGui::field(gui.window, RecordsWindow::kPlateSearch), u"b"_s);
            QVERIFY(gui.window.searchPending());
            QTest::keyClick(&gui.window, Qt::Key_Escape);
        });
        QVERIFY(!gui.window.isVisible());
        QVERIFY(!gui.window.searchPending());
        QStringList plates;
        gui.inWindow([&] { plates = gui.gridColumn(gui.window.sheetGrid(), 2); });
        QCOMPARE(plates, QStringList({u"B12ABC"_s, u"B99AAA"_s}));
        QVERIFY(gui.errors.isEmpty());
    }

    void refusedCharacterIsNotTyped() {
        RecordsGui gui;
        gui.inWindow([&] {
            // A hint belongs to the window that has the focus; the clerk types into that one.
            QVERIFY(QTest::qWaitForWindowActive(&gui.window));
            auto *edit1 = RecordsGui::field<QLineEdit>(gui.window, RecordsWindow::kDriverSearch);
            RecordsGui::typeCharacters(edit1, u"AΩ"_s);
            QCOMPARE(edit1->text(), u"A"_s);
            QTRY_COMPARE(RecordsGui::hint(), u"Caracterul \"Ω\" nu poate fi memorat!"_s);
            QCOMPARE(RecordsGui::hintControl(), QString::fromLatin1(RecordsWindow::kDriverSearch));
            // Comma-below letters become the forms the tables hold.
            RecordsGui::typeCharacters(edit1, u"ș"_s);
            QCOMPARE(edit1->text(), u"AŞ"_s);
        });
        QVERIFY(gui.errors.isEmpty());
    }

    // Drivers and plates come in the order of the alphabet the clerk reads, Ş after S and
    // Ţ after T, not after Z.
    void titleClickSortsInRomanianOrder() {
        RecordsGui gui;
        const QStringList drivers = {u"ZAHARIA ION"_s, u"ŞERBAN ANA"_s,   u"STAN ION"_s,
                                     u"ŢARĂ MIHAI"_s,  u"ĂLĂCESCU DAN"_s, u"ANDREI PAUL"_s,
                                     u"ÎNCU VLAD"_s,   u"IONESCU ION"_s,  u"TUDOR ELENA"_s};
        const QStringList plates = {u"B 100 XY"_s,  u"AG 01 ŞAB"_s, u"B 12 ABC"_s,
                                    u"AG 01 SZZ"_s, u"TM 01 ŢAŢ"_s, u"AG 01 TAA"_s,
                                    u"B12ABC"_s,    u"IS 01 ÎNC"_s, u"IS 01 ION"_s};
        for (int i = 0; i < drivers.size(); ++i)
            gui.data.addSheet(i + 1, kDay, u"08:00"_s, plates[i], drivers[i]);
        RecordGrid *sheets = gui.window.sheetGrid();
        gui.inWindow([&] {
            clickTitle(sheets, 3); // "Nume Sofer 1"
            QCOMPARE(gui.window.lists().sortField(), u"SOFER1"_s);
            QCOMPARE(gui.gridColumn(sheets, 3),
                     QStringList({u"ANDREI PAUL"_s, u"ĂLĂCESCU DAN"_s, u"IONESCU ION"_s,
                                  u"ÎNCU VLAD"_s, u"STAN ION"_s, u"ŞERBAN ANA"_s, u"TUDOR ELENA"_s,
                                  u"ŢARĂ MIHAI"_s, u"ZAHARIA ION"_s}));
            clickTitle(sheets, 2); // "Numar inmatric."
            QCOMPARE(gui.window.lists().sortField(), u"NRMAS"_s);
            QCOMPARE(gui.gridColumn(sheets, 2),
                     QStringList({u"AG 01 SZZ"_s, u"AG 01 ŞAB"_s, u"AG 01 TAA"_s, u"B 100 XY"_s,
                                  u"B 12 ABC"_s, u"B12ABC"_s, u"IS 01 ION"_s, u"IS 01 ÎNC"_s,
                                  u"TM 01 ŢAŢ"_s}));
        });
        QVERIFY(gui.errors.isEmpty());
    }

    void sortKeepsSelectionAndSearchAndReopeningRestoresTheOrder() {
        RecordsGui gui;
        fillThree(gui.data);
        RecordGrid *sheets = gui.window.sheetGrid();
        gui.inWindow([&] {
            QCOMPARE(gui.gridColumn(sheets, 2),
                     QStringList({u"B12ABC"_s, u"CJ01XYZ"_s, u"B99AAA"_s}));
            QCOMPARE(gui.selectedRow(sheets), 2);
            QTest::keyClicks(RecordsGui::field(gui.window, RecordsWindow::kPlateSearch), u"B"_s);
            QTRY_VERIFY(!gui.window.searchPending());
            // The user picks the first sheet and its second line.
            QTest::mouseClick(sheets->viewport(), Qt::LeftButton, {},
                              sheets->visualRect(sheets->model()->index(0, 3)).center());
            RecordGrid *lines = gui.window.lineGrid();
            QTest::mouseClick(lines->viewport(), Qt::LeftButton, {},
                              lines->visualRect(lines->model()->index(1, 2)).center());
            QCOMPARE(gui.window.lists().selectedLineId(), u"11"_s);

            clickTitle(sheets, 1); // "Ora": nothing happens
            QCOMPARE(gui.window.lists().sortField(), u"DATAX, ORA"_s);
            clickTitle(sheets, 3); // "Nume Sofer 1"
            QCOMPARE(gui.gridColumn(sheets, 3), QStringList({u"POPESCU ION"_s, u"SOFER A"_s}));
            QCOMPARE(gui.window.lists().selectedSheetId(), u"1"_s);
            QCOMPARE(gui.selectedRow(sheets), 0);
            QCOMPARE(gui.window.lists().selectedLineId(), u"11"_s);
            QCOMPARE(gui.selectedRow(lines), 1);
        });
        gui.inWindow([&] {
            QCOMPARE(gui.window.lists().sortField(), u"DATAX, ORA"_s);
            QCOMPARE(RecordsGui::field<QLineEdit>(gui.window, RecordsWindow::kPlateSearch)->text(),
                     u"B"_s);
            QCOMPARE(gui.gridColumn(sheets, 2), QStringList({u"B12ABC"_s, u"B99AAA"_s}));
            QCOMPARE(gui.selectedRow(sheets), 1);
        });
    }

    // Another program raised the sheet's income after the window read it: the engine refuses
    // the income beyond TOTALVEN, the error is shown, the line is not kept and the grids stay
    // as they were.
    void refusedStatementLeavesTablesAndGrids() {
        RecordsGui gui;
        gui.data.addSheet(1, kDay, u"08:00"_s, u"B1"_s, u"A"_s, QString(), u"P"_s, u"10"_s);
        gui.data.addLine(1, 1, QDateTime(kDay, QTime(9, 0)), u"10"_s);
        gui.data.store().iniWrite(u"INDEX"_s, u"IDSOS"_s, u"2"_s);
        gui.inWindow([&] {
            gui.clickWithEditor(RecordsWindow::kAddLineButton, gui.tripEditor, [&] {
                RecordsGui::type(RecordsGui::field(gui.tripEditor, TripEditor::kAmount), u"50"_s);
                gui.data.run({u"UPDATE "_s + gui.data.statements().sheetTable(),
                              u"SET TOTALVEN=999990"_s, u"WHERE IDFOAIE=1"_s});
                gui.tripEditor.saveButton()->click();
            });
            QCOMPARE(gui.errors.size(), 1);
            QCOMPARE(gui.data.lines({u"IDSOS"_s}), QStringList({u"1"_s}));
            QCOMPARE(gui.data.sheets({u"TOTALVEN"_s}), QStringList({u"999990"_s}));
            QCOMPARE(gui.gridColumn(gui.window.lineGrid(), 3), QStringList({u"10"_s}));
            QCOMPARE(gui.gridColumn(gui.window.sheetGrid(), 6), QStringList({u"10"_s}));
            QCOMPARE(gui.selectedRow(gui.window.lineGrid()), 0);
        });
    }

    // Every title fits its column, measured in the header's own bold font; a larger window
    // gives its room to the columns; a width set by hand stays until the window is reopened.
    void columnsShowTheirTitlesAndShareTheRoom() {
        RecordsGui gui;
        fillThree(gui.data);
        gui.data.addLine(13, 3, QDateTime(kDay.addDays(1), QTime(23, 58)), u"12.5"_s);
        const QList<RecordGrid *> grids = {gui.window.sheetGrid(), gui.window.lineGrid()};
        const auto titlesFit = [](RecordGrid *grid) {
            QHeaderView *header = grid->horizontalHeader();
            QVERIFY(header->font().bold());
            const QFontMetrics metrics(header->font());
            const int margin =
                header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
            for (int c = 0; c < header->count(); ++c) {
                const QString title = grid->model()->headerData(c, Qt::Horizontal).toString();
                QVERIFY2(metrics.horizontalAdvance(title) + 2 * margin <= header->sectionSize(c),
                         qPrintable(title));
            }
        };
        // Dates and hours are never cut: the cells' text with its margins.
        const auto datesFit = [&gui](RecordGrid *grid) {
            const QFontMetrics metrics(grid->font());
            const int margin =
                grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
            for (int c = 0; c < 2; ++c) {
                const QString value = gui.gridColumn(grid, c).value(0);
                QVERIFY(!value.isEmpty());
                QVERIFY2(metrics.horizontalAdvance(value) + 2 * margin + 1 <=
                             grid->horizontalHeader()->sectionSize(c),
                         qPrintable(value));
            }
        };
        const auto widths = [](RecordGrid *grid) {
            QList<int> out;
            for (int c = 0; c < grid->horizontalHeader()->count(); ++c)
                out.append(grid->horizontalHeader()->sectionSize(c));
            return out;
        };
        const auto sum = [](const QList<int> &list) {
            return std::accumulate(list.begin(), list.end(), 0);
        };
        QList<QList<int>> atDefault;
        gui.inWindow([&] {
            QCOMPARE(gui.window.size(), QSize(830, 623));
            for (RecordGrid *grid : grids) {
                titlesFit(grid);
                datesFit(grid);
                // All the columns in view: no scrolling sideways at the window's own size.
                QCOMPARE(sum(widths(grid)), grid->viewport()->width());
                atDefault.append(widths(grid));
            }

            gui.window.resize(1280, 960);
            for (qsizetype g = 0; g < grids.size(); ++g) {
                RecordGrid *grid = grids[g];
                QTRY_COMPARE(sum(widths(grid)), grid->viewport()->width());
                QVERIFY(grid->viewport()->width() > sum(atDefault.value(g)) + 400);
                titlesFit(grid);
                for (qsizetype c = 0; c < atDefault.value(g).size(); ++c)
                    QVERIFY(widths(grid).value(c) >= atDefault[g][c]);
            }
            // The first driver's name, cut short before, has room now.
            QVERIFY(widths(grids[0]).value(3) > atDefault.value(0).value(3) + 40);

            // The border of "Nume Sofer 1" dragged 60 pixels to the right.
            QHeaderView *header = grids[0]->horizontalHeader();
            const int before = header->sectionSize(3);
            const int edge = header->sectionViewportPosition(3) + before - 1;
            const int middle = header->height() / 2;
            QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(edge, middle));
            QTest::mouseMove(header->viewport(), QPoint(edge + 60, middle));
            QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(edge + 60, middle));
            QCOMPARE(header->sectionSize(3), before + 60);
            QVERIFY(grids[0]->hasUserWidths());
            const QList<int> byHand = widths(grids[0]);
            gui.window.resize(900, 700);
            QTRY_VERIFY(grids[0]->viewport()->width() < 900);
            QCOMPARE(widths(grids[0]), byHand);
        });
        // Opened again: the columns share the room once more.
        gui.inWindow([&] {
            gui.window.resize(830, 623);
            QVERIFY(!grids[0]->hasUserWidths());
            QTRY_COMPARE(widths(grids[0]), atDefault.value(0));
        });
    }

    void printAsksForTheSelectedSheet() {
        RecordsGui gui;
        fillThree(gui.data);
        QSignalSpy print(&gui.window, &RecordsWindow::printSheetRequested);
        gui.inWindow([&] { gui.click(RecordsWindow::kPrintButton); });
        QCOMPARE(print.count(), 1);
        QCOMPARE(print.first().at(0).toString(), u"3"_s);
    }

    void escapeAndCloseButtonCloseTheWindow() {
        RecordsGui gui;
        gui.inWindow([&] { QTest::keyClick(gui.window.sheetGrid(), Qt::Key_Escape); });
        QVERIFY(!gui.window.isVisible());
        gui.inWindow([&] { gui.click(RecordsWindow::kCloseButton); });
        QVERIFY(!gui.window.isVisible());
        QVERIFY(!gui.window.lists().sheets().isOpen());
    }

    void everyControlHasAnAccessibleName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("accessible");
        const QList<std::pair<const char *, QString>> rows = {
            {RecordsWindow::kSheetGrid, u"Lista foilor de parcurs"_s},
            {RecordsWindow::kLineGrid, u"Plecari / Sosiri"_s},
            {RecordsWindow::kDriverSearch, u"Sofer"_s},
            {RecordsWindow::kPlateSearch, u"Nr.masina"_s},
            {RecordsWindow::kAddSheetButton, u"Adauga foaie de parcurs noua."_s},
            {RecordsWindow::kChangeSheetButton, u"Modifica Foaia de parcurs selectata."_s},
            {RecordsWindow::kDeleteSheetButton, u"Sterge foaia de parcurs selectata."_s},
            {RecordsWindow::kAddLineButton, u"Adauga Plecare / Sosire noua."_s},
            {RecordsWindow::kChangeLineButton, u"Modifica Plecarea / Sosirea selectata."_s},
            {RecordsWindow::kDeleteLineButton, u"Sterge Plecarea / Sosirea selectata."_s},
            {RecordsWindow::kPrintButton, u"Listeaza Foaia de parcurs."_s},
            {RecordsWindow::kCloseButton, u"Inchide"_s},
        };
        for (const auto &[name, accessible] : rows)
            QTest::newRow(name) << QString::fromLatin1(name) << accessible;
    }
    void everyControlHasAnAccessibleName() {
        QFETCH(QString, name);
        QFETCH(QString, accessible);
        RecordsGui gui;
        auto *control = gui.window.findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(control->accessibleName(), accessible);
        if (auto *button = qobject_cast<QAbstractButton *>(control);
            button && button->text().isEmpty())
            QCOMPARE(button->toolTip(), accessible);
    }
};

QTEST_MAIN(TestRecordsWindow)
#include "tst_recordswindow.moc"
