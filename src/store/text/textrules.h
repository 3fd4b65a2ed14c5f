// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace velmora {

// How the program tidies the texts users type before they reach a statement or a filter.
class TextRules {
public:
    // Removes every character of code 32 or less from both ends: blanks, tabs and the other
    // control characters a pasted text may bring along.
    static QString trim(QStringView text);
    // Search conditions are typed as "(A)(B)(C)"; the filter wants them joined by AND.
    // Only a ")(" seam is joined: conditions separated by blanks are left as typed.
    static QString joinConditions(QStringView text);
    // Trimmed, and every run of blanks inside reduced to one, so that a name typed with
    // stray blanks is stored (and later found) in one form only.
    static QString squashSpaces(QStringView text);
    // Names and plate numbers as their fields hold them: every letter in upper case,
    // character by character, so that the length never changes (QString::toUpper would turn
    // "ß" into "SS").
    static QString upperCase(QStringView text);
};

} // namespace velmora
