// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/text/fixed4.h"

#include <QString>
#include <optional>

namespace velmora {

// The rules a departure's or arrival's amount must pass before the line editor accepts it:
// the line and its sheet's total income must both still fit their columns once the line
// is written.
class LineInput {
public:
    // Why a line's amount cannot be saved, or nothing: the amount must fit SUMA, and the
    // sheet's total income with it, as SUMA keeps it, must fit TOTALVEN. otherLines is what
    // the sheet holds besides this line (otherLines()).
    static std::optional<QString> amountProblem(Fixed4 amount, Fixed4 otherLines);
    // What a sheet's total income holds besides one of its lines: the whole total for a new
    // line, less the line's stored amount when that line is changed.
    static Fixed4 otherLines(Fixed4 sheetIncome, Fixed4 storedAmount = Fixed4());
    // The amount as the line is written: to the cent, as SUMA keeps it, so that the line and
    // the sheet's total take the same amount.
    static Fixed4 stored(Fixed4 amount);
};

} // namespace velmora
