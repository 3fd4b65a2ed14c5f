// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/text/decimal.h"

#include <QString>

namespace velmora {

// One word of a record filter; position is the index of its first character.
struct FilterToken {
    enum class Kind { Name, Number, Text, Compare, Open, Close, And, Or, Not, End };
    Kind kind = Kind::End;
    QString text; // names and operators as written; text constants with their quotes undone
    Decimal number;
    qsizetype position = 0;
};

// Splits a record filter into words, one at a time, so that an error is reported where the
// reader meets it first. Keywords are recognised without regard to case.
class FilterLexer {
public:
    explicit FilterLexer(const QString &expression);
    // The word after the previous one; End from the end on. Raises an EngineError at a
    // character that starts no word.
    FilterToken next();

    // How an error names a word: "sfarsitul expresiei", "')'", "numele SOFER1", ...
    static QString describe(const FilterToken &token);
    // Why a number constant is refused: not a number, or more digits than a number holds.
    static QString numberRefusal(bool tooManyDigits);
    // The Romanian text of an error at a position (counted from 1 for the reader).
    static QString errorText(qsizetype position, const QString &what);

private:
    const QString &m_text;
    qsizetype m_pos = 0;
};

} // namespace velmora
