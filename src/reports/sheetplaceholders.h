// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace velmora {

class Query;

struct Placeholder {
    QString tag;
    QString value;
    friend bool operator==(const Placeholder &, const Placeholder &) = default;
};

// What the trip-sheet template's placeholders are filled with, in the order the template
// filler receives them: the sheet's fourteen; its year, number and the company's name; then
// eight for every departure or arrival (rows numbered from 1), then "-" in every column of
// the rows after the last up to 15. A template has room for 15 rows; the filler repeats its
// last row for a sheet with more.
class SheetPlaceholders {
public:
    static constexpr int kTemplateRows = 15;

    // sheet: its current row is the sheet. lines: the sheet's departures and arrivals in
    // list order; the cursor is walked from the first row to the last. company: the name
    // the administrator set for the printouts.
    static QList<Placeholder> of(const Query &sheet, Query &lines,
                                 const QString &company = QString());

    // A row's placeholders without the row's number and closing bracket: "[P" for "[P1]".
    static QStringList rowColumns();

    // Litres used: the kilometres rounded to a whole number (halves to even) times the
    // consumption per 100 km rounded to 4 decimals, over 100, in the four-decimal form.
    static QString litres(double km, double consumption);
};

} // namespace velmora
