// SPDX-License-Identifier: GPL-3.0-or-later
// The suggestions under the vehicle, driver and parking fields, driven by keys and clicks that
// reach the sheet editor through its window, as a clerk's do.
#include "recordsgui.h"
#include "ui/windowkeys.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLabel>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

const QDate kDay(2007, 1, 20);
const QString kSerban = u"\u015EERBAN"_s; // "ŞERBAN", as the tables hold it

// Three earlier sheets give the editor its lists, and the first vehicle its memory.
void fillLists(RecordsGui &gui) {
    gui.data.addSheet(1, kDay, u"08:00"_s, u"B12ABC"_s, u"MARIN"_s, QString(), u"DEPOU 1"_s);
    gui.data.addSheet(2, kDay, u"09:00"_s, u"B13XYZ"_s, u"MARIUS"_s, QString(), u"DEPOU 2"_s);
    gui.data.addSheet(3, kDay, u"10:00"_s, u"CJ1"_s, kSerban, QString(), u"GARAJ"_s);
    gui.data.store().iniWrite(u"B12ABC"_s, u"CONSUM"_s, u"7.5"_s);
    gui.data.store().iniWrite(u"B12ABC"_s, u"PRETL"_s, u"4.2"_s);
    // A vehicle typed as "B1" brings these back.
    gui.data.store().iniWrite(u"B1"_s, u"CONSUM"_s, u"5"_s);
    gui.data.store().iniWrite(u"B1"_s, u"PRETL"_s, u"6"_s);
    gui.sheetEditor.IncarcaListe();
}

QComboBox *combo(QWidget &editor, const QString &name) {
    return editor.findChild<QComboBox *>(name);
}

QAbstractItemView *popupOf(QWidget &editor, const QString &name) {
    return combo(editor, name)->completer()->popup();
}

QString focusedField() {
    QWidget *focus = QApplication::focusWidget();
    while (focus && focus->objectName().isEmpty())
        focus = focus->parentWidget();
    return focus ? focus->objectName() : QString();
}

QString status(QWidget &editor) {
    return editor.findChild<QLabel *>(QLatin1String(EditorDialog::kStatusBar))->text();
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
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
}

void clickInto(QWidget &editor, const QString &name) {
    auto *field = editor.findChild<QWidget *>(name);
    QVERIFY2(field, qPrintable(name));
    auto *edit = field->findChild<QLineEdit *>();
    WindowKeys::click(edit ? static_cast<QWidget *>(edit) : field);
}

// Everything a sheet needs, left out the field a row works on; no value starts a suggestion.
void fillAllBut(SheetEditor &editor, const QString &skipped) {
    const QList<std::pair<const char *, QString>> values = {
        {SheetEditor::kPlate, u"Z9"_s},      {SheetEditor::kDriver1, u"ZORAN"_s},
        {SheetEditor::kParking, u"ZONA"_s},  {SheetEditor::kKm, u"10"_s},
        {SheetEditor::kConsumption, u"5"_s}, {SheetEditor::kFuelPrice, u"6"_s},
    };
    for (const auto &[name, value] : values) {
        if (skipped != QLatin1String(name))
            RecordsGui::type(RecordsGui::field(editor, name), value);
    }
}

// Clicks into the field and types until its suggestions show.
void typeWithSuggestions(SheetEditor &editor, const QString &field, const QString &typed) {
    clickInto(editor, field);
    QCOMPARE(focusedField(), field);
    WindowKeys::type(editor.windowHandle(), typed);
    QTRY_VERIFY(popupOf(editor, field)->isVisible());
}

// Keys through the window; "@Name" is a click into the field of that name.
void play(QWidget &editor, const QStringList &steps) {
    for (const QString &step : steps) {
        if (step.startsWith(u'@'))
            clickInto(editor, step.mid(1));
        else
            WindowKeys::play(editor.windowHandle(), {step});
    }
}

} // namespace

class TestCompletionPopup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { FieldHint::hide(); }

    // Enter (or Tab) takes the highlighted suggestion, or the text as typed when none is
    // highlighted, and moves on as it does everywhere else in the editor.
    void enterTakesTheSuggestionAndMovesOn_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QString>("stored");
        QTest::newRow("driver, highlighted")
            << SheetEditor::kDriver1 << u"mar"_s << QStringList{u"<Down>"_s, u"<Return>"_s}
            << u"MARIN"_s << SheetEditor::kDriver2 << QStringList{u"SOFER1"_s} << u"MARIN"_s;
        QTest::newRow("driver, second highlighted")
            << SheetEditor::kDriver1 << u"mar"_s
            << QStringList{u"<Down>"_s, u"<Down>"_s, u"<Return>"_s} << u"MARIUS"_s
            << SheetEditor::kDriver2 << QStringList{u"SOFER1"_s} << u"MARIUS"_s;
        QTest::newRow("driver as typed")
            << SheetEditor::kDriver1 << u"mar"_s << QStringList{u"<Return>"_s} << u"MAR"_s
            << SheetEditor::kDriver2 << QStringList{u"SOFER1"_s} << u"MAR"_s;
        QTest::newRow("second driver with ș")
            << SheetEditor::kDriver2 << u"șe"_s << QStringList{u"<Down>"_s, u"<Return>"_s}
            << kSerban << SheetEditor::kParking << QStringList{u"SOFER2"_s} << kSerban;
        QTest::newRow("vehicle brings its memory")
            << SheetEditor::kPlate << u"b1"_s << QStringList{u"<Down>"_s, u"<Return>"_s}
            << u"B12ABC"_s << SheetEditor::kDriver1
            << QStringList{u"NRMAS"_s, u"CONSUM"_s, u"PRETL"_s} << u"B12ABC|7.5|4.2"_s;
        QTest::newRow("parking with Tab")
            << SheetEditor::kParking << u"dep"_s
            << QStringList{u"<Down>"_s, u"<Down>"_s, u"<Tab>"_s} << u"DEPOU 2"_s << SheetEditor::kKm
            << QStringList{u"LOCPARC"_s} << u"DEPOU 2"_s;
    }
    void enterTakesTheSuggestionAndMovesOn() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QStringList, keys);
        QFETCH(QString, text);
        QFETCH(QString, next);
        QFETCH(QStringList, columns);
        QFETCH(QString, stored);
        RecordsGui gui;
        fillLists(gui);
        SheetEditor &editor = gui.sheetEditor;
        gui.inWindow([&] {
            gui.clickWithEditor(RecordsWindow::kAddSheetButton, editor, [&] {
                const CloseOnExit closer(editor);
                activate(editor);
                fillAllBut(editor, field);
                typeWithSuggestions(editor, field, typed);
                WindowKeys::play(editor.windowHandle(), keys);
                QVERIFY(!popupOf(editor, field)->isVisible());
                QCOMPARE(combo(editor, field)->currentText(), text);
                QCOMPARE(focusedField(), next);
                QVERIFY(editor.isVisible());
                editor.saveButton()->click();
                if (editor.isVisible()) {
                    editor.reject();
                    QFAIL(qPrintable(u"not saved: "_s + RecordsGui::hint()));
                }
            });
        });
        QCOMPARE(gui.data.rows(u"Foi.dbf"_s, columns).mid(3), QStringList{stored});
        QVERIFY2(gui.errors.isEmpty(), qPrintable(gui.errors.join(u'\n')));
    }

    // Esc with suggestions showing closes them and nothing else, and the status line says so;
    // the next Esc leaves the editor.
    void escapeClosesOnlyTheSuggestions() {
        RecordsGui gui;
        fillLists(gui);
        SheetEditor &editor = gui.sheetEditor;
        QStringList seen;
        gui.inWindow([&] {
            gui.clickWithEditor(RecordsWindow::kAddSheetButton, editor, [&] {
                const CloseOnExit closer(editor);
                activate(editor);
                seen << status(editor);
                typeWithSuggestions(editor, QString::fromLatin1(SheetEditor::kDriver1), u"mar"_s);
                WindowKeys::press(editor.windowHandle(), u"Escape"_s);
                QVERIFY(!popupOf(editor, QString::fromLatin1(SheetEditor::kDriver1))->isVisible());
                QVERIFY(editor.isVisible());
                QCOMPARE(focusedField(), QString::fromLatin1(SheetEditor::kDriver1));
                QCOMPARE(combo(editor, QString::fromLatin1(SheetEditor::kDriver1))->currentText(),
                         u"MAR"_s);
                seen << status(editor);
                // Typing on brings the suggestions back and the status line to its own words.
                WindowKeys::type(editor.windowHandle(), u"i"_s);
                QTRY_VERIFY(
                    popupOf(editor, QString::fromLatin1(SheetEditor::kDriver1))->isVisible());
                seen << status(editor);
                WindowKeys::press(editor.windowHandle(), u"Escape"_s);
                QVERIFY(editor.isVisible());
                WindowKeys::press(editor.windowHandle(), u"Escape"_s);
                QVERIFY(!editor.isVisible());
            });
        });
        QCOMPARE(seen, QStringList({u"ESC - iesire"_s, u"Lista inchisa. Inca un ESC - iesire"_s,
                                    u"ESC - iesire"_s}));
        QVERIFY(!editor.Memorat());
        QVERIFY(gui.data.sheets({u"IDFOAIE"_s}).size() == 3);
    }

    // A click into another field while suggestions show moves the focus there; the keys that
    // follow go to the clicked field.
    void aClickElsewhereTakesTheFocus_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<QString>("typedAfter");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QString>("stored");
        QTest::newRow("driver, then parking")
            << SheetEditor::kDriver1 << u"mar"_s << SheetEditor::kParking << u"zz"_s
            << QStringList{u"SOFER1"_s, u"LOCPARC"_s} << u"MAR|ZZ"_s;
        QTest::newRow("parking, then second driver")
            << SheetEditor::kParking << u"dep"_s << SheetEditor::kDriver2 << u"ion"_s
            << QStringList{u"LOCPARC"_s, u"SOFER2"_s} << u"DEP|ION"_s;
        QTest::newRow("vehicle, then kilometres")
            << SheetEditor::kPlate << u"b1"_s << SheetEditor::kKm << u"250"_s
            << QStringList{u"NRMAS"_s, u"TKM"_s} << u"B1|250"_s;
    }
    void aClickElsewhereTakesTheFocus() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, clicked);
        QFETCH(QString, typedAfter);
        QFETCH(QStringList, columns);
        QFETCH(QString, stored);
        RecordsGui gui;
        fillLists(gui);
        SheetEditor &editor = gui.sheetEditor;
        gui.inWindow([&] {
            gui.clickWithEditor(RecordsWindow::kAddSheetButton, editor, [&] {
                const CloseOnExit closer(editor);
                activate(editor);
                fillAllBut(editor, field);
                // The clicked field starts empty, so what is typed after the click is all of it.
                auto *target = editor.findChild<QWidget *>(clicked);
                RecordsGui::type(target, QString());
                typeWithSuggestions(editor, field, typed);
                clickInto(editor, clicked);
                QTRY_VERIFY(!popupOf(editor, field)->isVisible());
                QCOMPARE(focusedField(), clicked);
                WindowKeys::type(editor.windowHandle(), typedAfter);
                editor.saveButton()->click();
                if (editor.isVisible()) {
                    editor.reject();
                    QFAIL(qPrintable(u"not saved: "_s + RecordsGui::hint()));
                }
            });
        });
        QCOMPARE(gui.data.rows(u"Foi.dbf"_s, columns).mid(3), QStringList{stored});
        QVERIFY2(gui.errors.isEmpty(), qPrintable(gui.errors.join(u'\n')));
    }

    // A click on a button while a list shows presses the button: "Renunt" leaves at once,
    // "Memoreaza" saves what the fields hold.
    void aButtonClickedWhileAListShows_data() {
        QTest::addColumn<bool>("dropDown");
        QTest::addColumn<bool>("save");
        QTest::newRow("suggestions, Renunt") << false << false;
        QTest::newRow("suggestions, Memoreaza") << false << true;
        QTest::newRow("drop-down list, Renunt") << true << false;
        QTest::newRow("drop-down list, Memoreaza") << true << true;
    }
    void aButtonClickedWhileAListShows() {
        QFETCH(bool, dropDown);
        QFETCH(bool, save);
        RecordsGui gui;
        fillLists(gui);
        SheetEditor &editor = gui.sheetEditor;
        QComboBox *parking = combo(editor, QString::fromLatin1(SheetEditor::kParking));
        gui.inWindow([&] {
            gui.clickWithEditor(RecordsWindow::kAddSheetButton, editor, [&] {
                const CloseOnExit closer(editor);
                activate(editor);
                fillAllBut(editor, QString::fromLatin1(SheetEditor::kParking));
                if (dropDown) {
                    clickInto(editor, QString::fromLatin1(SheetEditor::kParking));
                    WindowKeys::type(editor.windowHandle(), u"depou 9"_s);
                    WindowKeys::press(editor.windowHandle(), u"F4"_s);
                    QTRY_VERIFY(parking->view()->isVisible());
                } else {
                    typeWithSuggestions(editor, QString::fromLatin1(SheetEditor::kParking),
                                        u"dep"_s);
                }
                WindowKeys::click(save ? editor.saveButton() : editor.cancelButton());
                QTRY_VERIFY(!editor.isVisible());
            });
        });
        QCOMPARE(editor.Memorat(), save);
        QCOMPARE(gui.data.sheets({u"LOCPARC"_s}).mid(3),
                 save ? QStringList{dropDown ? u"DEPOU 9"_s : u"DEP"_s} : QStringList());
    }

    // The field's own drop-down list (F4, Alt+Down or its arrow) keeps no key either.
    void theDropDownListToo_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("line");
        const QString leave = u"ESC - iesire"_s;
        QTest::newRow("Enter takes the item and moves on")
            << QStringList{u"<F4>"_s, u"<Down>"_s, u"<Return>"_s} << u"MARIUS"_s
            << SheetEditor::kDriver2 << leave;
        QTest::newRow("Enter on the item shown") << QStringList{u"<A-Down>"_s, u"<Return>"_s}
                                                 << u"MARIN"_s << SheetEditor::kDriver2 << leave;
        QTest::newRow("Esc closes only the list")
            << QStringList{u"<F4>"_s, u"<Escape>"_s} << QString() << SheetEditor::kDriver1
            << u"Lista inchisa. Inca un ESC - iesire"_s;
        QTest::newRow("a click elsewhere")
            << QStringList{u"<F4>"_s, WindowKeys::clickInto(SheetEditor::kPlate), u"zz"_s}
            << QString() << SheetEditor::kPlate << leave;
    }
    void theDropDownListToo() {
        QFETCH(QStringList, steps);
        QFETCH(QString, text);
        QFETCH(QString, focus);
        QFETCH(QString, line);
        RecordsGui gui;
        fillLists(gui);
        SheetEditor &editor = gui.sheetEditor;
        QComboBox *drivers = combo(editor, QString::fromLatin1(SheetEditor::kDriver1));
        gui.inWindow([&] {
            gui.clickWithEditor(RecordsWindow::kAddSheetButton, editor, [&] {
                const CloseOnExit closer(editor);
                activate(editor);
                clickInto(editor, QString::fromLatin1(SheetEditor::kDriver1));
                play(editor, steps.mid(0, 1));
                QTRY_VERIFY(drivers->view()->isVisible());
                play(editor, steps.mid(1));
                QTRY_VERIFY(!drivers->view()->isVisible());
                QVERIFY(editor.isVisible());
                QCOMPARE(drivers->currentText(), text);
                QCOMPARE(focusedField(), focus);
                QCOMPARE(status(editor), line);
                if (focus == QString::fromLatin1(SheetEditor::kPlate))
                    QCOMPARE(combo(editor, focus)->currentText(), u"ZZ"_s);
            });
        });
        QVERIFY(!editor.Memorat());
    }
};

QTEST_MAIN(TestCompletionPopup)
#include "tst_completionpopup.moc"
