// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/sheetstatements.h"
#include "ui/editordialog.h"

class QComboBox;

namespace velmora {

class DateField;
class ProgramContext;
class Query;
class TimeField;
class TNumericEdit;

// The editor of one trip sheet. Its name fields offer what was recorded before; the vehicle
// brings back the consumption and fuel price last saved for it; a sheet without vehicle,
// first driver or parking place, or with kilometres, consumption or price below 1, is not
// accepted. The editor writes nothing to the tables: the records window does.
class SheetEditor : public EditorDialog {
    Q_OBJECT

public:
    // The object names of the controls (the form's own control names), one spelling for
    // the window and for the tests and automation that find them.
    static constexpr const char kPlate[] = "NrInmat";
    static constexpr const char kDriver1[] = "Sofer1";
    static constexpr const char kDriver2[] = "Sofer2";
    static constexpr const char kParking[] = "LocParcare";
    static constexpr const char kKm[] = "TotKm";
    static constexpr const char kConsumption[] = "Consum";
    static constexpr const char kFuelPrice[] = "PretL";
    // A new sheet, or a change to the selected one: a changed sheet keeps its consumption and
    // price when its vehicle is edited.
    enum class Mode { Add, Change };

    explicit SheetEditor(ProgramContext &context, QWidget *parent = nullptr);

    // Loads the pick lists from the sheets table; once, at start-up.
    void IncarcaListe();
    // Empties the editor for a new sheet.
    void Initializeaza();
    // Consumption and price remembered for the vehicle in the field, or "0".
    void IncarcaConsum();
    // Fills the editor from the sheet list's current row. A stored hour that is not "HH:mm"
    // raises an InputError before anything is shown.
    void fillFrom(const Query &sheets);

    // Shows the editor modally for the mode, under its title ("Adaugare Foaie de parcurs",
    // "Modificare Foaie de parcurs"); true when the user saved.
    bool edit(Mode mode);
    Mode mode() const { return m_mode; }

    // The sheet as accepted, without identifier; the cost worked out.
    SheetValues values() const;

protected:
    void save() override;

private:
    void vehicleChanged();
    SheetValues collect() const;
    QComboBox *nameField(const char *name, int maxLength);

    ProgramContext &m_context;
    DateField *m_ziua;
    TimeField *m_ora;
    QComboBox *m_nrInmat;
    QComboBox *m_sofer1;
    QComboBox *m_sofer2;
    QComboBox *m_locParcare;
    TNumericEdit *m_totKm;
    TNumericEdit *m_consum;
    TNumericEdit *m_pretL;
    SheetValues m_accepted;
    Mode m_mode = Mode::Add;
};

} // namespace velmora
