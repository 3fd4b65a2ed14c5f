// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/sheetstatements.h"
#include "store/text/fixed4.h"
#include "ui/editordialog.h"

class QComboBox;

namespace velmora {

class DateField;
class Query;
class TimeField;
class TNumericEdit;

// The editor of one departure or arrival: when, which kind, and the income it realised. The
// kind is kept from one use to the next, so a run of arrivals needs it chosen once.
class TripEditor : public EditorDialog {
    Q_OBJECT

public:
    // The object names of the controls (the form's own control names), one spelling for
    // the window and for the tests and automation that find them.
    static constexpr const char kKind[] = "PlecSos";
    static constexpr const char kAmount[] = "Suma";

    explicit TripEditor(QWidget *parent = nullptr);

    // A new line: today, now, amount "0"; the kind stays.
    void Initializeaza();
    // Fills the editor from the line list's current row.
    void fillFrom(const Query &lines);
    // What the sheet's total income holds besides this line (its total, less the line's old
    // amount when a line is changed): an amount that would carry it past what TOTALVEN holds
    // is refused.
    void setIncomeOfOtherLines(Fixed4 income) { m_otherLines = income; }

    // The line as accepted, for the given identifiers: TIMP in its four-decimal form.
    LineValues values(const QString &lineId, const QString &sheetId) const;

protected:
    void save() override;

private:
    DateField *m_ziua;
    TimeField *m_ora;
    QComboBox *m_plecSos;
    TNumericEdit *m_suma;
    Fixed4 m_otherLines;
};

} // namespace velmora
