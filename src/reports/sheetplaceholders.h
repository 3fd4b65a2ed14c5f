// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace velmora {

class Query;

struct Placeholder {
    QString tag;
    QString value;
    friend bool operator==(const Placeholder &, const Placeholder &) = default;
};

// What the trip-sheet template's placeholders are filled with, in the order the template
// filler receives them: the sheet's fourteen, then eight for every departure or arrival
// (rows numbered from 1), then "-" in every column of the rows after the last up to 15.
class SheetPlaceholders {
public:
    static constexpr int kTemplateRows = 15;

    // sheet: its current row is the sheet. lines: the sheet's departures and arrivals in
    // list order; the cursor is walked from the first row to the last.
    static QList<Placeholder> of(const Query &sheet, Query &lines);

    // Litres used: the kilometres rounded to a whole number (halves to even) times the
    // consumption per 100 km rounded to 4 decimals, over 100, in the four-decimal form.
    static QString litres(double km, double consumption);
};

} // namespace velmora
