// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// The engine's Romanian texts that more than one part of a statement's work gives, kept in
// one place so that they read alike wherever they come from. Each is the part after
// "Eroare la linia L, coloana C: ".
class SqlMessages {
public:
    static QString noSuchColumn(const QString &column, const QString &table);
    static QString columnTwice(const QString &column);
    static QString whereNeedsCondition();
    static QString unreadableDate(const QString &text);
    static QString numberExpected(const QString &text);
    // A number with more digits than a numeric value holds exactly.
    static QString tooManyDigits(const QString &number);
    // A sum, product or other result that needs more digits than a value holds.
    static QString resultTooLarge();
};

} // namespace velmora
