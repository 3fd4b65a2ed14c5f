// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// One token of a statement, with where it starts (line and column count from 1).
struct SqlToken {
    enum class Kind {
        End,
        Word,   // a keyword or a name: letters, digits and "_", not starting with a digit
        Number, // digits with an optional "." and fraction
        String, // a quoted text; text holds it without its quotes, doubled quotes undone
        Symbol, // ( ) , * + - / = <> != < > <= >= ;
    };

    Kind kind = Kind::End;
    QString text;
    int line = 1;
    int column = 1;

    bool isWord(QStringView word) const {
        return kind == Kind::Word && text.compare(word, Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(QStringView symbol) const { return kind == Kind::Symbol && text == symbol; }
    // How a message names the token: the word, number or symbol, a text in quotes, or the
    // end of the statement.
    QString describe() const;
};

} // namespace velmora
