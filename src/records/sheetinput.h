// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/text/fixed4.h"

#include <QString>
#include <QTime>
#include <optional>

namespace velmora {

// What the sheet editor holds when "Memoreaza" is pressed, and the rules it must pass
// before anything is written.
struct SheetInput {
    // The fields that can refuse a save, in the order they are checked.
    enum class Field { NrInmat, Sofer1, Sofer2, LocParcare, TotKm, Consum, PretL };
    struct Problem {
        Field field;
        QString text;
    };

    QString vehicle;
    QString driver1;
    QString driver2;
    QString parking;
    QString km;
    QString consumption;
    QString price;

    // Tidies the texts as they will be stored (vehicle trimmed, names with single blanks,
    // empty numbers as "0") and returns the first problem, or nothing when the sheet may be
    // saved.
    std::optional<Problem> normaliseAndCheck();

    // The fuel cost of km kilometres at a consumption per 100 km and a price per litre,
    // rounded to four decimals.
    static Fixed4 cost(Fixed4 km, Fixed4 consumption, Fixed4 price);

    // A number column as the tables declare it, DECIMAL(precision, scale). The engine
    // refuses a value the column cannot hold, after an identifier was taken: the editors
    // ask the column first.
    struct NumberColumn {
        int precision;
        int scale;
        // 999999.99 for DECIMAL(8,2).
        Fixed4 largest() const;
        // The value as the column keeps it: rounded to its decimals, halves to even, as the
        // engine writes it.
        Fixed4 rounded(Fixed4 value) const;
        // Whether the value, rounded, fits.
        bool holds(Fixed4 value) const;
    };
    static constexpr NumberColumn kKmColumn{8, 0};          // TKM
    static constexpr NumberColumn kConsumptionColumn{6, 2}; // CONSUM
    static constexpr NumberColumn kPriceColumn{6, 2};       // PRETL
    static constexpr NumberColumn kCostColumn{8, 2};        // COST
    static constexpr NumberColumn kIncomeColumn{8, 2};      // SUMA of a line, TOTALVEN of a sheet

    // A stored hour "HH:mm" as a time of day; an InputError when it is not one.
    static QTime hourOfText(const QString &text);
};

} // namespace velmora
