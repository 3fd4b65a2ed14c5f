// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/lineinput.h"

#include "records/sheetinput.h"

namespace velmora {

std::optional<QString> LineInput::amountProblem(Fixed4 amount, Fixed4 otherLines) {
    const SheetInput::NumberColumn &income = SheetInput::kIncomeColumn;
    const Fixed4 largest = income.largest();
    if (!income.holds(amount))
        return QStringLiteral("Suma prea mare! Cel mult %1 lei.").arg(largest.toString());
    // The line writes the amount as SUMA keeps it, and the income UPDATE adds that same
    // amount to the total as it stands.
    qint64 total = 0;
    if (qAddOverflow(otherLines.units(), stored(amount).units(), &total) ||
        !income.holds(Fixed4::fromUnits(total))) {
        const Fixed4 room =
            Fixed4::fromUnits(qMax<qint64>(0, largest.units() - otherLines.units()));
        return QStringLiteral("Suma prea mare! Venitul total al foii ar depasi %1 lei: pe "
                              "aceasta foaie mai incap cel mult %2 lei.")
            .arg(largest.toString(), room.toString());
    }
    return std::nullopt;
}

Fixed4 LineInput::otherLines(Fixed4 sheetIncome, Fixed4 storedAmount) {
    return Fixed4::fromUnits(sheetIncome.units() - storedAmount.units());
}

Fixed4 LineInput::stored(Fixed4 amount) {
    return SheetInput::kIncomeColumn.rounded(amount);
}

} // namespace velmora
