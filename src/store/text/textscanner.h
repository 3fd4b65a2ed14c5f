// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace velmora {

// What the statement tokenizer and the record filter's lexer read alike: names, digits,
// numbers and quoted text with a doubled quote standing for one. Each reads from a position
// and says where it stopped, so the caller keeps its own position and error texts.
class TextScanner {
public:
    // A name starts with a letter or "_" and goes on with letters, digits and "_".
    static bool isNameStart(QChar c) { return c.isLetter() || c == u'_'; }
    static bool isNamePart(QChar c) { return c.isLetterOrNumber() || c == u'_'; }
    // Only the ASCII digits: a number is never written with other scripts' digits.
    static bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

    // Where the run of name characters from `from` ends.
    static qsizetype nameEnd(QStringView text, qsizetype from);
    // Where the run of digits from `from` ends.
    static qsizetype digitsEnd(QStringView text, qsizetype from);
    // Where digits, an optional point and more digits from `from` end.
    static qsizetype numberEnd(QStringView text, qsizetype from);

    struct Quoted {
        QString text;  // without its quotes, a doubled quote as one
        qsizetype end; // just past the closing quote
    };
    // The quoted text that starts at `from` with the quote character found there; nothing
    // when the text never closes.
    static std::optional<Quoted> quoted(QStringView text, qsizetype from);
};

} // namespace velmora
