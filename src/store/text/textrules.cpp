// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/textrules.h"

namespace velmora {

QString TextRules::trim(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.sliced(begin, end - begin).toString();
}

QString TextRules::joinConditions(QStringView text) {
    QString joined = trim(text);
    // A ")(" pair cannot overlap another, so replacing them all at once inserts the joiner
    // exactly where inserting it pair by pair would.
    joined.replace(QStringLiteral(")("), QStringLiteral(") AND ("));
    return joined;
}

QString TextRules::squashSpaces(QStringView text) {
    const QString trimmed = trim(text);
    QString squashed;
    squashed.reserve(trimmed.size());
    for (const QChar ch : trimmed) {
        if (ch == u' ' && squashed.endsWith(u' '))
            continue;
        squashed.append(ch);
    }
    return squashed;
}

QString TextRules::upperCase(QStringView text) {
    QString upper = text.toString();
    for (QChar &ch : upper)
        ch = ch.toUpper();
    return upper;
}

} // namespace velmora
