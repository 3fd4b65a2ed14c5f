// SPDX-License-Identifier: GPL-3.0-or-later
// The records window over a year of sheets, and its two editors as a clerk fills them: the
// suggestions of a name field, and the hint that stops a save.
#include "app/application.h"
#include "records/recordswindow.h"
#include "records/sheeteditor.h"
#include "records/tripeditor.h"
#include "sceneprogram.h"
#include "store/text/textform.h"
#include "studio.h"
#include "ui/fieldhint.h"
#include "ui/hintballoon.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QPushButton>
#include <QTest>

using namespace velmora;
using velmora::shots::SceneProgram;
using velmora::shots::Studio;

namespace {

// Clicks "Memoreaza" and saves the editor with the hint that the click brought up.
void saveRefused(Studio &studio, EditorDialog &editor, const QString &file) {
    editor.saveButton()->click();
    HintBalloon *balloon = FieldHint::current();
    if (!balloon || !Studio::shown(*balloon)) {
        studio.fail(editor.objectName() + QStringLiteral(" showed no hint"));
        return;
    }
    studio.saveArea(Studio::frameOf(editor).united(Studio::frameOf(*balloon)), file);
    FieldHint::hide();
}

// The first item of a name field's list that begins with start.
QString firstStartingWith(const QComboBox *combo, const QString &start) {
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).startsWith(start))
            return combo->itemText(i);
    }
    return start;
}

// A new sheet: the day, the hour, a vehicle and its driver, the driver's name picked from
// the suggestions, the kilometres, and no parking place.
void fillSheet(Studio &studio, SceneProgram &program, SheetEditor &editor) {
    auto *vehicle = program.control<QComboBox>(editor, "NrInmat");
    auto *driver = program.control<QComboBox>(editor, "Sofer1");
    if (!vehicle || !driver || vehicle->count() == 0)
        return studio.fail(QStringLiteral("the sheet editor has no vehicles to offer"));
    SceneProgram::typeInto(program.control(editor, "Ziua"), TextForm::date(Studio::today()));
    SceneProgram::typeInto(program.control(editor, "Ora"), QStringLiteral("07:45"));
    SceneProgram::typeInto(vehicle, vehicle->itemText(0));
    SceneProgram::closeSuggestions(vehicle);

    const QString typed = QStringLiteral("PO");
    SceneProgram::typeInto(driver, typed);
    QAbstractItemView *suggestions = driver->completer()->popup();
    if (Studio::shown(*suggestions))
        studio.saveArea(Studio::frameOf(editor).united(Studio::frameOf(*suggestions)),
                        QStringLiteral("sheet-editor-suggestions.png"));
    else
        studio.fail(QStringLiteral("the driver field showed no suggestions"));
    SceneProgram::typeInto(driver, firstStartingWith(driver, typed));
    SceneProgram::closeSuggestions(driver);
    SceneProgram::typeInto(program.control(editor, "TotKm"), QStringLiteral("348"));
}

} // namespace

VELMORA_SCENE(records_window, "records-window.png", "sheet-editor-suggestions.png",
              "sheet-editor-hint.png", "trip-editor-hint.png") {
    SceneProgram::fillYear(studio.programDir());
    SceneProgram program(studio);
    if (!program.openAccess())
        return;
    Application &app = program.app();
    RecordsWindow &records = app.recordsWindow();
    QAbstractButton *open = program.menuButton("MBut1");
    QAbstractButton *addSheet = program.control<QAbstractButton>(records, "FAddBut");
    QAbstractButton *addLine = program.control<QAbstractButton>(records, "PAddBut");
    if (!open || !addSheet || !addLine)
        return;
    studio.inModal(
        records, [open] { open->click(); },
        [&] {
            // The latest sheet selected, its departures and arrivals below.
            studio.save(records, QStringLiteral("records-window.png"));

            SheetEditor &sheetEditor = app.sheetEditor();
            studio.inModal(
                sheetEditor, [addSheet] { addSheet->click(); },
                [&] {
                    fillSheet(studio, program, sheetEditor);
                    saveRefused(studio, sheetEditor, QStringLiteral("sheet-editor-hint.png"));
                });

            // An arrival of the selected sheet with more than a sheet's income can hold.
            TripEditor &tripEditor = app.tripEditor();
            studio.inModal(
                tripEditor, [addLine] { addLine->click(); },
                [&] {
                    SceneProgram::typeInto(program.control(tripEditor, "Ziua"),
                                           TextForm::date(Studio::today()));
                    SceneProgram::typeInto(program.control(tripEditor, "Ora"),
                                           QStringLiteral("16:20"));
                    if (auto *kind = program.control<QComboBox>(tripEditor, "PlecSos")) {
                        kind->setFocus(Qt::TabFocusReason);
                        kind->setCurrentIndex(kind->findText(QStringLiteral("SOSIRE")));
                    }
                    SceneProgram::typeInto(program.control(tripEditor, "Suma"),
                                           QStringLiteral("12345678"));
                    saveRefused(studio, tripEditor, QStringLiteral("trip-editor-hint.png"));
                });
        });
}
