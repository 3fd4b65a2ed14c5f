// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/period.h"

#include "store/text/error.h"

namespace velmora {

std::optional<QString> Period::problem(QDate from, QDate to) {
    // An invalid date would compare before every day and let any end through.
    if (!from.isValid() || !to.isValid() || to < from)
        return QStringLiteral("Perioada incorecta!");
    return std::nullopt;
}

void Period::require(QDate from, QDate to) {
    if (const auto text = problem(from, to))
        throw InputError(*text);
}

} // namespace velmora
