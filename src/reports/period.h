// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace velmora {

// The rule every report and export over a period keeps: two days, both included, the first
// not after the second. The period window shows its text as a hint; the tool and the cores
// raise it.
class Period {
public:
    // Why from and to make no period, or nothing.
    static std::optional<QString> problem(QDate from, QDate to);
    // An InputError with problem()'s text when there is one.
    static void require(QDate from, QDate to);
};

} // namespace velmora
