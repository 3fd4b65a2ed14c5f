// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/textscanner.h"

namespace velmora {

qsizetype TextScanner::nameEnd(QStringView text, qsizetype from) {
    while (from < text.size() && isNamePart(text[from]))
        ++from;
    return from;
}

qsizetype TextScanner::digitsEnd(QStringView text, qsizetype from) {
    while (from < text.size() && isDigit(text[from]))
        ++from;
    return from;
}

qsizetype TextScanner::numberEnd(QStringView text, qsizetype from) {
    qsizetype i = digitsEnd(text, from);
    if (i < text.size() && text[i] == u'.')
        i = digitsEnd(text, i + 1);
    return i;
}

std::optional<TextScanner::Quoted> TextScanner::quoted(QStringView text, qsizetype from) {
    const QChar quote = text[from];
    Quoted result{QString(), from + 1};
    qsizetype &i = result.end;
    while (i < text.size()) {
        const QChar c = text[i++];
        if (c != quote) {
            result.text += c;
            continue;
        }
        if (i < text.size() && text[i] == quote) {
            result.text += quote;
            ++i;
            continue;
        }
        return result;
    }
    return std::nullopt;
}

} // namespace velmora
