// SPDX-License-Identifier: GPL-3.0-or-later
// Dates and hours typed into the two editors as a clerk types them, read back from the tables.
#include "recordsgui.h"
#include "ui/windowkeys.h"

#include <QFile>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

QStringList repeat(const QString &step, int times) {
    QStringList steps;
    for (int i = 0; i < times; ++i)
        steps.append(step);
    return steps;
}

// The keys reach the editor through its window; "@Name" is a click into the field of that name.
void play(QWidget &editor, const QStringList &steps) {
    for (const QString &step : steps) {
        if (step.startsWith(u'@')) {
            auto *field = editor.findChild<QWidget *>(step.mid(1));
            QVERIFY2(field, qPrintable(step));
            auto *edit = field->findChild<QLineEdit *>();
            WindowKeys::click(edit ? static_cast<QWidget *>(edit) : field);
        } else {
            WindowKeys::play(editor.windowHandle(), {step});
        }
    }
}

// A check that fails inside the editor leaves it through here, instead of leaving it open.
struct CloseOnExit {
    QDialog &editor;
    ~CloseOnExit() {
        if (editor.isVisible())
            editor.reject();
    }
};

void activate(QWidget &editor) {
    // Keys go to the focus widget only once the window is active.
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
}

void fillSheet(SheetEditor &editor) {
    RecordsGui::type(RecordsGui::field(editor, SheetEditor::kPlate), u"B1"_s);
    RecordsGui::type(RecordsGui::field(editor, SheetEditor::kDriver1), u"A"_s);
    RecordsGui::type(RecordsGui::field(editor, SheetEditor::kParking), u"P"_s);
    RecordsGui::type(RecordsGui::field(editor, SheetEditor::kKm), u"10"_s);
    RecordsGui::type(RecordsGui::field(editor, SheetEditor::kConsumption), u"5"_s);
    RecordsGui::type(RecordsGui::field(editor, SheetEditor::kFuelPrice), u"6"_s);
}

// The control that holds the focus, seen as the field it belongs to.
QString focusedField() {
    QWidget *focus = QApplication::focusWidget();
    while (focus && focus->objectName().isEmpty())
        focus = focus->parentWidget();
    return focus ? focus->objectName() : QString();
}

QString timp(QDate date, QTime time) {
    return TextForm::fourDecimal(Timp::fromDateTime(date, time));
}

QByteArray counters(RecordsFixture &data) {
    QFile file(data.store().countersFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestDateAndHour : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        // The tests run under the program's home locale: its short date format is day.month.year.
        QCOMPARE(TextForm::dateFormat(), u"dd.MM.yyyy"_s);
    }

    void cleanup() { FieldHint::hide(); }

    void typedIntoTheSheetEditorIsStored_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("stored");
        const QString date = u"DATAX"_s;
        const QString hour = u"ORA"_s;
        // The editor opens with the focus in "Data".
        QTest::newRow("date as printed") << QStringList{u"03.01.2027"_s} << date << u"03.01.2027"_s;
        QTest::newRow("date without zeros")
            << QStringList{u"3.1.2027"_s} << date << u"03.01.2027"_s;
        QTest::newRow("date as digits") << QStringList{u"03012027"_s} << date << u"03.01.2027"_s;
        QTest::newRow("29 February") << QStringList{u"29.02.2028"_s} << date << u"29.02.2028"_s;
        QTest::newRow("date after a click")
            << QStringList{WindowKeys::clickInto(SheetEditor::kDriver1),
                           WindowKeys::clickInto(EditorDialog::kDay), u"03.01.2027"_s}
            << date << u"03.01.2027"_s;
        QTest::newRow("date after Shift+Tab")
            << QStringList{u"<Tab>"_s, u"<Backtab>"_s, u"03.01.2027"_s} << date << u"03.01.2027"_s;
        QTest::newRow("year typed over its selection")
            << (QStringList{u"20.01.2007"_s, u"<End>"_s} + repeat(u"<S-Left>"_s, 4) +
                QStringList{u"2027"_s})
            << date << u"20.01.2027"_s;
        QTest::newRow("up in the month") << (QStringList{u"20.01.2007"_s, u"<Home>"_s} +
                                             repeat(u"<Right>"_s, 4) + QStringList{u"<Up>"_s})
                                         << date << u"20.02.2007"_s;
        QTest::newRow("down in the day")
            << QStringList{u"20.01.2007"_s, u"<Home>"_s, u"<Down>"_s, u"<Down>"_s} << date
            << u"18.01.2007"_s;
        QTest::newRow("up in the year")
            << QStringList{u"20.01.2007"_s, u"<End>"_s, u"<Up>"_s} << date << u"20.01.2008"_s;

        QTest::newRow("hour after Tab")
            << QStringList{u"<Tab>"_s, u"07:45"_s} << hour << u"07:45"_s;
        QTest::newRow("hour after Enter")
            << QStringList{u"<Return>"_s, u"07:45"_s} << hour << u"07:45"_s;
        QTest::newRow("hour after a click")
            << QStringList{WindowKeys::clickInto(EditorDialog::kHour), u"07:45"_s} << hour
            << u"07:45"_s;
        QTest::newRow("hour without its zero")
            << QStringList{u"<Tab>"_s, u"7:45"_s} << hour << u"07:45"_s;
        QTest::newRow("hour with seconds")
            << QStringList{u"<Tab>"_s, u"07:45:59"_s} << hour << u"07:45"_s;
        QTest::newRow("hour as digits") << QStringList{u"<Tab>"_s, u"0745"_s} << hour << u"07:45"_s;
        QTest::newRow("hours typed over their selection")
            << QStringList{u"<Tab>"_s,     u"07:45"_s,     u"<Home>"_s,
                           u"<S-Right>"_s, u"<S-Right>"_s, u"19"_s}
            << hour << u"19:45"_s;
        QTest::newRow("up in the minutes") << (QStringList{u"<Tab>"_s, u"07:45"_s, u"<Home>"_s} +
                                               repeat(u"<Right>"_s, 4) + QStringList{u"<Up>"_s})
                                           << hour << u"07:46"_s;
        QTest::newRow("down in the hours")
            << QStringList{u"<Tab>"_s, u"07:45"_s, u"<Home>"_s, u"<Down>"_s} << hour << u"06:45"_s;
    }
    void typedIntoTheSheetEditorIsStored() {
        QFETCH(QStringList, steps);
        QFETCH(QString, column);
        QFETCH(QString, stored);
        RecordsGui gui;
        SheetEditor &editor = gui.sheetEditor;
        gui.inWindow([&] {
            gui.clickWithEditor(RecordsWindow::kAddSheetButton, editor, [&] {
                const CloseOnExit closer(editor);
                activate(editor);
                fillSheet(editor);
                play(editor, steps);
                WindowKeys::click(editor.saveButton());
                if (editor.isVisible()) {
                    editor.reject();
                    QFAIL(qPrintable(u"not saved: "_s + RecordsGui::hint()));
                }
            });
        });
        QCOMPARE(gui.data.sheets({column}), QStringList{stored});
        QVERIFY2(gui.errors.isEmpty(), qPrintable(gui.errors.join(u'\n')));
    }

    void typedIntoTheLineEditorIsStored_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("stored");
        QTest::newRow("date, Tab, hour") << QStringList{u"03.01.2027"_s, u"<Tab>"_s, u"07:45"_s}
                                         << timp(QDate(2027, 1, 3), QTime(7, 45));
        QTest::newRow("hour first, each after a click")
            << QStringList{WindowKeys::clickInto(EditorDialog::kHour), u"14:05"_s,
                           WindowKeys::clickInto(EditorDialog::kDay), u"20.1.2007"_s}
            << u"39102.5868"_s;
        QTest::newRow("digits, Enter, digits")
            << QStringList{u"31122026"_s, u"<Return>"_s, u"235900"_s}
            << timp(QDate(2026, 12, 31), QTime(23, 59));
    }
    void typedIntoTheLineEditorIsStored() {
        QFETCH(QStringList, steps);
        QFETCH(QString, stored);
        RecordsGui gui;
        gui.data.addSheet(1, QDate(2007, 1, 20), u"08:00"_s, u"B1"_s, u"A"_s);
        TripEditor &editor = gui.tripEditor;
        gui.inWindow([&] {
            gui.clickWithEditor(RecordsWindow::kAddLineButton, editor, [&] {
                const CloseOnExit closer(editor);
                activate(editor);
                play(editor, steps);
                WindowKeys::click(editor.saveButton());
                if (editor.isVisible()) {
                    editor.reject();
                    QFAIL(qPrintable(u"not saved: "_s + RecordsGui::hint()));
                }
            });
        });
        QCOMPARE(gui.data.lines({u"TIMP"_s}), QStringList{stored});
        QVERIFY2(gui.errors.isEmpty(), qPrintable(gui.errors.join(u'\n')));
    }

    // An impossible date or hour is never turned into another one: the field keeps what was
    // typed and the focus, says why, and "Memoreaza" saves nothing.
    void anImpossibleDateOrHourIsAHint_data() {
        QTest::addColumn<bool>("sheet");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("hint");
        const QString badDate = u"Data incorecta!"_s;
        const QString badHour = u"Ora incorecta!"_s;
        QTest::newRow("31 February, Tab")
            << true << QStringList{u"31.02.2026"_s, u"<Tab>"_s} << EditorDialog::kDay << badDate;
        QTest::newRow("31 February, Enter")
            << true << QStringList{u"31.02.2026"_s, u"<Return>"_s} << EditorDialog::kDay << badDate;
        QTest::newRow("31 February, a click elsewhere")
            << true << QStringList{u"31.02.2026"_s, WindowKeys::clickInto(SheetEditor::kDriver1)}
            << EditorDialog::kDay << badDate;
        QTest::newRow("month 13") << true << QStringList{u"12.13.2026"_s, u"<Tab>"_s}
                                  << EditorDialog::kDay << badDate;
        QTest::newRow("two-digit year")
            << true << QStringList{u"03.01.27"_s, u"<Tab>"_s} << EditorDialog::kDay << badDate;
        QTest::newRow("half a date")
            << true << QStringList{u"03.01"_s, u"<Tab>"_s} << EditorDialog::kDay << badDate;
        QTest::newRow("no date") << true << QStringList{u"<Backspace>"_s, u"<Tab>"_s}
                                 << EditorDialog::kDay << badDate;
        QTest::newRow("25:10, Tab") << true << QStringList{u"<Tab>"_s, u"25:10"_s, u"<Tab>"_s}
                                    << EditorDialog::kHour << badHour;
        QTest::newRow("25:10, Shift+Tab")
            << true << QStringList{u"<Tab>"_s, u"25:10"_s, u"<Backtab>"_s} << EditorDialog::kHour
            << badHour;
        QTest::newRow("23:60, Enter") << true << QStringList{u"<Tab>"_s, u"23:60"_s, u"<Return>"_s}
                                      << EditorDialog::kHour << badHour;
        QTest::newRow("25:10, a click elsewhere")
            << true
            << QStringList{WindowKeys::clickInto(EditorDialog::kHour), u"25:10"_s,
                           WindowKeys::clickInto(SheetEditor::kParking)}
            << EditorDialog::kHour << badHour;
        QTest::newRow("line: 30 February") << false << QStringList{u"30.02.2027"_s, u"<Return>"_s}
                                           << EditorDialog::kDay << badDate;
        QTest::newRow("line: 24:00") << false << QStringList{u"<Tab>"_s, u"24:00"_s, u"<Tab>"_s}
                                     << EditorDialog::kHour << badHour;
    }
    void anImpossibleDateOrHourIsAHint() {
        QFETCH(bool, sheet);
        QFETCH(QStringList, steps);
        QFETCH(QString, field);
        QFETCH(QString, hint);
        RecordsGui gui;
        gui.data.addSheet(1, QDate(2007, 1, 20), u"08:00"_s, u"B1"_s, u"A"_s);
        const QByteArray before = counters(gui.data);
        EditorDialog &editor = sheet ? static_cast<EditorDialog &>(gui.sheetEditor)
                                     : static_cast<EditorDialog &>(gui.tripEditor);
        QString typed;
        bool refused = false;
        gui.inWindow([&] {
            auto *control = editor.findChild<QWidget *>(field);
            const auto body = [&] {
                const CloseOnExit closer(editor);
                activate(editor);
                if (sheet)
                    fillSheet(gui.sheetEditor);
                play(editor, steps);
                typed = control->findChild<QLineEdit *>()->text();
                // The hint of a click comes once the click is over.
                QTRY_COMPARE(RecordsGui::hint(), hint);
                QCOMPARE(RecordsGui::hintControl(), field);
                QCOMPARE(focusedField(), field);
                FieldHint::hide();
                WindowKeys::click(editor.saveButton());
                refused = editor.isVisible() && RecordsGui::hint() == hint &&
                          RecordsGui::hintControl() == field;
                QCOMPARE(control->findChild<QLineEdit *>()->text(), typed);
                WindowKeys::press(editor.windowHandle(), u"Escape"_s);
            };
            gui.clickWithEditor(sheet ? RecordsWindow::kAddSheetButton
                                      : RecordsWindow::kAddLineButton,
                                editor, body);
            QVERIFY(!editor.isVisible());
        });
        QVERIFY(refused);
        QCOMPARE(gui.data.sheets({u"IDFOAIE"_s}), QStringList{u"1"_s});
        QVERIFY(gui.data.lines({u"IDSOS"_s}).isEmpty());
        QCOMPARE(counters(gui.data), before);
        QVERIFY2(gui.errors.isEmpty(), qPrintable(gui.errors.join(u'\n')));
    }
};

QTEST_MAIN(TestDateAndHour)
#include "tst_dateandhour.moc"
