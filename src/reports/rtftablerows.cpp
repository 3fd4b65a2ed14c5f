// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/rtftablerows.h"

namespace velmora {

namespace {

// A placeholder's number: enough digits for any row, few enough to fit an int.
constexpr qsizetype kMaxDigits = 9;

QChar folded(QChar ch) {
    return ch >= u'A' && ch <= u'Z' ? QChar(ch.unicode() + 32) : ch;
}

bool isAsciiLetter(QChar ch) {
    return (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z');
}

bool isDigit(QChar ch) {
    return ch >= u'0' && ch <= u'9';
}

// The control word word (without its backslash) at text[at], ended by anything but a letter.
bool controlWordAt(QStringView text, qsizetype at, QStringView word) {
    return text.mid(at).startsWith(word) &&
           (at + word.size() == text.size() || !isAsciiLetter(text[at + word.size()]));
}

// Where the last control word word of the text starts, or -1.
qsizetype lastControlWord(QStringView text, QStringView word) {
    for (qsizetype at = text.lastIndexOf(word); at >= 0;
         at = at == 0 ? -1 : text.left(at).lastIndexOf(word)) {
        if (controlWordAt(text, at, word))
            return at;
    }
    return -1;
}

// Where the first control word word of the text starts, or -1.
qsizetype firstControlWord(QStringView text, QStringView word, qsizetype from = 0) {
    for (qsizetype at = text.indexOf(word, from); at >= 0; at = text.indexOf(word, at + 1)) {
        if (controlWordAt(text, at, word))
            return at;
    }
    return -1;
}

// Just after "\row" at text[at], with the blank that ends it.
qsizetype afterRow(QStringView text, qsizetype at) {
    const qsizetype end = at + 4;
    return end < text.size() && text[end] == u' ' ? end + 1 : end;
}

} // namespace

RtfTableRows::RtfTableRows(const QStringList &columns, int count)
    : m_count(count) {
    for (const QString &column : columns) {
        if (column.isEmpty())
            continue;
        QString small = column;
        for (QChar &ch : small)
            ch = folded(ch);
        m_columns.append(small);
        if (!m_firstCharacters.contains(small.front()))
            m_firstCharacters.append(small.front());
    }
}

RtfTableRows::Numbered RtfTableRows::numberedAt(QStringView text, qsizetype at) const {
    if (at >= text.size() || !m_firstCharacters.contains(folded(text[at])))
        return {};
    for (const QString &column : m_columns) {
        if (at + column.size() > text.size())
            continue;
        bool same = true;
        for (qsizetype k = 0; same && k < column.size(); ++k)
            same = folded(text[at + k]) == column[k];
        if (!same)
            continue;
        qsizetype end = at + column.size();
        int number = 0;
        while (end < text.size() && isDigit(text[end]) && end - at - column.size() < kMaxDigits)
            number = number * 10 + (text[end++].unicode() - u'0');
        if (end > at + column.size() && end < text.size() && text[end] == u']' && number > 0)
            return {number, column.size(), end + 1 - at};
    }
    return {};
}

RtfTableRows::LastRow RtfTableRows::lastRow(const QStringList &lines) const {
    LastRow last;
    for (qsizetype l = 0; l < lines.size(); ++l) {
        const QString &line = lines[l];
        for (qsizetype at = 0; at < line.size(); ++at) {
            const Numbered found = numberedAt(line, at);
            if (found.number > last.number)
                last = {found.number, {{l, at}, {l, at + found.length}}};
            if (found.number > 0)
                at += found.length - 1;
        }
    }
    return last;
}

bool RtfTableRows::holdsRow(QStringView line, int number) const {
    for (qsizetype at = 0; at < line.size(); ++at) {
        if (numberedAt(line, at).number == number)
            return true;
    }
    return false;
}

bool RtfTableRows::tableRow(const QStringList &lines, const LastRow &last, Span &row) {
    const Span &placeholder = last.first;
    // Back to where the row starts: its own "\trowd", or the end of the row before it when
    // it has none (it then takes that one's cells, and so do its copies).
    bool found = false;
    for (qsizetype l = placeholder.from.line; l >= 0 && !found; --l) {
        const QStringView line = l == placeholder.from.line
                                     ? QStringView(lines[l]).left(placeholder.from.column)
                                     : QStringView(lines[l]);
        const qsizetype start = lastControlWord(line, u"\\trowd");
        const qsizetype previous = lastControlWord(line, u"\\row");
        if (start < 0 && previous < 0)
            continue;
        row.from = {l, start > previous ? start : afterRow(line, previous)};
        found = true;
    }
    if (!found)
        return false;
    // Its cells are table paragraphs.
    bool inTable = false;
    for (qsizetype l = row.from.line; l <= placeholder.from.line && !inTable; ++l) {
        QStringView line(lines[l]);
        if (l == placeholder.from.line)
            line = line.left(placeholder.from.column);
        inTable = firstControlWord(line, u"\\intbl", l == row.from.line ? row.from.column : 0) >= 0;
    }
    if (!inTable)
        return false;
    // On to its "\row".
    found = false;
    for (qsizetype l = placeholder.to.line; l < lines.size() && !found; ++l) {
        const qsizetype end = firstControlWord(
            lines[l], u"\\row", l == placeholder.to.line ? placeholder.to.column : 0);
        if (end < 0)
            continue;
        row.to = {l, afterRow(lines[l], end)};
        found = true;
    }
    if (!found)
        return false;
    // A group opened in the row and closed right after its "\row" belongs to it; anything
    // else after the "\row" while a group of the row is still open is not understood.
    int depth = 0;
    for (qsizetype l = row.from.line; l < lines.size(); ++l) {
        const QString &line = lines[l];
        for (qsizetype i = l == row.from.line ? row.from.column : 0; i < line.size(); ++i) {
            const bool beyond = l > row.to.line || (l == row.to.line && i >= row.to.column);
            if (beyond && depth == 0)
                return true;
            if (line[i] == u'{') {
                if (beyond)
                    return false;
                ++depth;
            } else if (line[i] == u'}') {
                if (--depth < 0)
                    return false;
                if (beyond && depth == 0) {
                    row.to = {l, i + 1};
                    return true;
                }
            } else if (beyond && line[i] != u' ') {
                return false;
            }
        }
        if (l >= row.to.line && depth == 0)
            return true;
    }
    return false;
}

bool RtfTableRows::wholeLines(const QStringList &lines, const LastRow &last, Span &row) const {
    qsizetype end = last.first.from.line;
    while (end + 1 < lines.size() && holdsRow(lines[end + 1], last.number))
        ++end;
    row.from = {last.first.from.line, 0};
    row.to = {end, lines[end].size()};
    int depth = 0;
    for (qsizetype l = row.from.line; l <= row.to.line; ++l) {
        for (const QChar ch : lines[l]) {
            depth += ch == u'{' ? 1 : ch == u'}' ? -1 : 0;
            if (depth < 0)
                return false;
        }
    }
    return depth == 0;
}

QString RtfTableRows::renumbered(QStringView text, int from, int to) const {
    const QString fromText = QString::number(from);
    const QString toText = QString::number(to);
    QString out;
    out.reserve(text.size() + 16);
    qsizetype copied = 0;
    qsizetype i = 0;
    const qsizetype n = text.size();
    // The row's number as text: digits not part of a word or of a longer number ("B15",
    // "15.5"); a full stop or a comma after it ("15.") still ends it.
    const auto partOfNumber = [&](qsizetype mark, qsizetype digit) {
        return (text[mark] == u'.' || text[mark] == u',') && digit >= 0 && digit < n &&
               isDigit(text[digit]);
    };
    const auto alone = [&](qsizetype from, qsizetype end) {
        const bool before =
            from == 0 || (!isAsciiLetter(text[from - 1]) && !isDigit(text[from - 1]) &&
                          !partOfNumber(from - 1, from - 2));
        const bool after = end == n || (!isAsciiLetter(text[end]) && !isDigit(text[end]) &&
                                        !partOfNumber(end, end + 1));
        return before && after;
    };
    while (i < n) {
        const QChar ch = text[i];
        if (ch == u'\\') {
            // The digits of a control word ("\fs20", "\cellx520"), a code page byte ("\'b1")
            // or an escaped character are never the row's number.
            if (i + 1 < n && isAsciiLetter(text[i + 1])) {
                i += 2;
                while (i < n && isAsciiLetter(text[i]))
                    ++i;
                if (i < n && text[i] == u'-')
                    ++i;
                while (i < n && isDigit(text[i]))
                    ++i;
            } else {
                i += i + 1 < n && text[i + 1] == u'\'' ? 4 : 2;
            }
            continue;
        }
        const Numbered placeholder = numberedAt(text, i);
        if (placeholder.number != 0) {
            if (placeholder.number == from) {
                out += text.mid(copied, i + placeholder.prefix - copied);
                out += toText;
                out += u']';
                copied = i + placeholder.length;
            }
            i += placeholder.length;
            continue;
        }
        if (!isDigit(ch)) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < n && isDigit(text[end]))
            ++end;
        if (alone(i, end) && text.mid(i, end - i) == fromText) {
            out += text.mid(copied, i - copied);
            out += toText;
            copied = end;
        }
        i = end;
    }
    out += text.mid(copied);
    return out;
}

void RtfTableRows::extend(QStringList &lines) const {
    const LastRow last = lastRow(lines);
    if (last.number == 0 || last.number >= m_count)
        return;
    Span row;
    if (!tableRow(lines, last, row) && !wholeLines(lines, last, row))
        return;
    QStringList block;
    for (qsizetype l = row.from.line; l <= row.to.line; ++l) {
        const qsizetype from = l == row.from.line ? row.from.column : 0;
        const qsizetype to = l == row.to.line ? row.to.column : lines[l].size();
        block.append(lines[l].mid(from, to - from));
    }
    QStringList out = lines.mid(0, row.to.line);
    out.reserve(lines.size() + block.size() * (m_count - last.number) + 1);
    out.append(lines[row.to.line].left(row.to.column));
    for (int number = last.number + 1; number <= m_count; ++number) {
        for (const QString &part : block)
            out.append(renumbered(part, last.number, number));
    }
    out.append(lines[row.to.line].mid(row.to.column));
    out.append(lines.mid(row.to.line + 1));
    lines = std::move(out);
}

} // namespace velmora
