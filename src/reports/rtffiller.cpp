// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/rtffiller.h"

#include "reports/rtftablerows.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"
#include "store/text/textrules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>

namespace velmora {

namespace {

const QString kPard = QStringLiteral("\\pard");

std::u16string_view viewOf(QStringView text) {
    return {text.utf16(), static_cast<size_t>(text.size())};
}

// ASCII letters compare without regard to case, every other character exactly: searching the
// texts with their ASCII capitals made small finds exactly those places, and keeps every
// position where it was.
QString foldAscii(QStringView text) {
    QString out = text.toString();
    for (QChar &ch : out) {
        if (ch >= u'A' && ch <= u'Z')
            ch = QChar(ch.unicode() + 32);
    }
    return out;
}

// A character whose other case the code page cannot hold keeps its own.
QString withCase(const QString &value, bool upper) {
    QString out = value;
    for (QChar &ch : out) {
        const QChar other = upper ? ch.toUpper() : ch.toLower();
        if (other != ch && Cp1250::toByte(other) >= 0)
            ch = other;
    }
    return out;
}

// The placeholder as the template writes it decides the case of the value: all capitals
// give capitals, all small letters give small letters; mixed case and short tags such as
// "[C]" leave the value as it is.
QString valueInCaseOf(QStringView occurrence, const QString &value) {
    if (occurrence.size() <= 3)
        return value;
    bool hasLower = false;
    bool hasUpper = false;
    for (const QChar ch : occurrence) {
        hasLower = hasLower || (ch >= u'a' && ch <= u'z');
        hasUpper = hasUpper || (ch >= u'A' && ch <= u'Z');
    }
    QString out = value;
    if (!hasLower)
        out = withCase(out, true);
    if (!hasUpper)
        out = withCase(out, false);
    return out;
}

// Where the brace depth, starting at depth, first comes down to 0; -1 when it does not on
// this line. depth then holds the depth at the end of the line.
qsizetype closingBrace(QStringView line, int &depth) {
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'{') {
            ++depth;
        } else if (line[i] == u'}') {
            if (--depth <= 0)
                return i;
        }
    }
    return -1;
}

} // namespace

bool RtfFiller::startRtf() {
    // A cursor left set by the last line of an earlier printout must not steer this one.
    clearTags();
    if (m_source.isEmpty() || !QFileInfo(m_source).isFile())
        return false;
    QFile out(m_destination);
    if (m_destination.isEmpty() || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QFile in(m_source);
    if (!in.open(QIODevice::ReadOnly)) {
        out.remove();
        return false;
    }
    const QByteArray bytes = in.readAll();
    if (bytes.isEmpty() || in.error() != QFileDevice::NoError) {
        out.remove();
        return false;
    }
    const Layout layout = layoutOf(splitLines(bytes));
    QByteArray header;
    for (qsizetype i = 0; i < layout.bodyLine; ++i)
        addLine(header, layout.lines[i]);
    const QString before =
        TextRules::trim(QStringView(layout.lines[layout.bodyLine]).left(layout.bodyColumn));
    if (!before.isEmpty())
        addLine(header, before);
    if (out.write(header) != header.size() || !out.flush()) {
        out.remove();
        return false;
    }
    out.close();
    return true;
}

void RtfFiller::addTag(const QString &tag, const QString &value) {
    m_tags.append(tag);
    m_foldedTags.append(foldAscii(tag));
    m_values.append(value);
    m_indexed = false;
}

void RtfFiller::setRows(const QStringList &columns, int count) {
    m_rowColumns = columns;
    m_rowCount = count;
}

void RtfFiller::writeBody(int copies) {
    if (copies <= 0) {
        append({});
        clearTags();
        return;
    }
    QStringList body = bodyOf(readTemplate());
    if (m_rowCount > 0)
        RtfTableRows(m_rowColumns, m_rowCount).extend(body);
    QByteArray out;
    const qsizetype last = body.size() - 1;
    for (int copy = 1; copy <= copies; ++copy) {
        if (copy > 1)
            addLine(out, u"\\page");
        for (qsizetype i = 0; i <= last; ++i) {
            const QString &line = body[i];
            if (line.isEmpty())
                continue;
            addLine(out, replaceLine(line));
            // A line holding a repeated tag is written once per value; the document's last
            // line only once. No run is longer than the tag list, so neither is this.
            for (qsizetype again = 1; i < last && m_cursor >= 0 && again < m_tags.size(); ++again)
                addLine(out, replaceLine(line));
            m_cursor = -1;
        }
    }
    append(out);
    clearTags();
}

void RtfFiller::endRtf() {
    QByteArray closing;
    addLine(closing, u"}");
    append(closing);
    clearTags();
}

QString RtfFiller::replaceLine(QStringView line) {
    // One pass along the line: the template's text is copied, each placeholder replaced by
    // its value, and the values themselves are never searched, so a value holding a tag,
    // its own or another, is written as it is and cannot make the search run on.
    index();
    const QString folded = foldAscii(line);
    QString out;
    out.reserve(line.size());
    bool seen = false;
    qsizetype copied = 0;
    // Per tag (its first entry), the entry it has come to in this line: a repeated tag's
    // occurrences after its run's last value keep that value.
    QHash<qsizetype, qsizetype> reached;
    const qsizetype size = line.size();
    for (qsizetype at = 0; at < size;) {
        if (!m_starts.testBit(folded[at].unicode())) {
            ++at;
            continue;
        }
        qsizetype first = -1;
        qsizetype length = 0;
        for (const qsizetype candidate : m_lengths) {
            if (candidate > size - at)
                break;
            const auto found = m_firstEntry.find(viewOf(QStringView(folded).mid(at, candidate)));
            if (found != m_firstEntry.end() && (first < 0 || found->second < first)) {
                first = found->second;
                length = candidate;
            }
        }
        if (first < 0) {
            ++at;
            continue;
        }
        seen = true;
        const QString &tag = m_tags[first];
        const qsizetype k = reached.value(first, first);
        const qsizetype entry = m_cursor >= 0 && m_tags[m_cursor] == tag ? m_cursor : k;
        QString value = valueInCaseOf(line.mid(at, length), m_values[entry]);
        if (value.isEmpty())
            value = kEmptyValue.toString();
        out += line.mid(copied, at - copied);
        appendEscaped(out, value);
        at += length;
        copied = at;

        const qsizetype runEnd = m_runEnd[entry];
        if (runEnd > entry)
            m_cursor = entry + 1;
        else if (m_cursor >= 0 && m_tags[m_cursor] == tag)
            m_cursor = -1;
        // The rest of the run belongs to later copies of the line.
        reached.insert(first, std::max(k, runEnd));
    }
    if (!seen)
        m_cursor = -1;
    out += line.mid(copied);
    return out;
}

int RtfFiller::braceBalance(QStringView line) {
    int balance = 0;
    for (const QChar ch : line) {
        if (ch == u'{')
            ++balance;
        else if (ch == u'}')
            --balance;
    }
    return balance;
}

void RtfFiller::clearTags() {
    m_tags.clear();
    m_foldedTags.clear();
    m_values.clear();
    m_cursor = -1;
    m_rowColumns.clear();
    m_rowCount = 0;
    m_indexed = false;
}

void RtfFiller::index() {
    if (m_indexed)
        return;
    m_firstEntry.clear();
    m_lengths.clear();
    m_starts = QBitArray(0x10000);
    const qsizetype count = m_tags.size();
    m_runEnd = QList<qsizetype>(count);
    for (qsizetype k = count - 1; k >= 0; --k)
        m_runEnd[k] = k + 1 < count && m_tags[k + 1] == m_tags[k] ? m_runEnd[k + 1] : k;
    for (qsizetype k = 0; k < count; ++k) {
        const QString &folded = m_foldedTags[k];
        if (folded.isEmpty())
            continue;
        m_firstEntry.try_emplace(viewOf(folded), k);
        m_starts.setBit(folded.front().unicode());
        if (!m_lengths.contains(folded.size()))
            m_lengths.append(folded.size());
    }
    std::sort(m_lengths.begin(), m_lengths.end());
    m_indexed = true;
}

void RtfFiller::appendEscaped(QString &out, QStringView value) {
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar ch = value[i];
        switch (ch.unicode()) {
        case u'\\':
        case u'{':
        case u'}':
            out += u'\\';
            out += ch;
            break;
        case u'\t':
            out += u"\\tab ";
            break;
        case u'\r':
            // CR LF is one line break.
            if (i + 1 < value.size() && value[i + 1] == u'\n')
                ++i;
            out += u"\\line ";
            break;
        case u'\n':
            out += u"\\line ";
            break;
        default:
            // Other control characters have no meaning on paper; a blank keeps the words
            // around them apart.
            out += ch.unicode() < 0x20 || ch.unicode() == 0x7F ? QChar(u' ') : ch;
        }
    }
}

QStringList RtfFiller::bodyOf(const Layout &layout) {
    QStringList body;
    qsizetype lineNo = layout.bodyLine;
    QStringView current = QStringView(layout.lines[lineNo]).mid(layout.bodyColumn);
    int depth = layout.bodyDepth;
    qsizetype closeAt = closingBrace(current, depth);
    while (closeAt < 0 && lineNo + 1 < layout.lines.size()) {
        // Whole template lines are shared, not copied.
        body.append(lineNo == layout.bodyLine ? current.toString() : layout.lines[lineNo]);
        current = layout.lines[++lineNo];
        closeAt = closingBrace(current, depth);
    }
    // The line that closes the document, without its closing brace and what follows it.
    body.append(TextRules::trim(closeAt >= 0 ? current.left(closeAt) : current));
    return body;
}

QStringList RtfFiller::splitLines(const QByteArray &bytes) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char ch = bytes[i];
        if (ch != '\n' && ch != '\r')
            continue;
        lines.append(Cp1250::decode(QByteArrayView(bytes).sliced(start, i - start)));
        if (ch == '\r' && i + 1 < size && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(Cp1250::decode(QByteArrayView(bytes).sliced(start)));
    if (lines.isEmpty())
        lines.append(QString());
    return lines;
}

RtfFiller::Layout RtfFiller::layoutOf(QStringList lines) {
    Layout layout;
    layout.lines = std::move(lines);
    int depth = 0;
    for (qsizetype i = 0; i < layout.lines.size(); ++i) {
        const QString &line = layout.lines[i];
        const qsizetype pard = line.indexOf(kPard);
        int probe = depth;
        const qsizetype close = closingBrace(line, probe);
        if (pard >= 0 && (close < 0 || pard < close)) {
            layout.bodyLine = i;
            layout.bodyColumn = pard;
            layout.bodyDepth = depth + braceBalance(QStringView(line).left(pard));
            return layout;
        }
        if (close >= 0) {
            // No body at all: the header runs up to the document's closing brace, so the
            // printout is still the whole document, closed once.
            layout.bodyLine = i;
            layout.bodyColumn = close;
            layout.bodyDepth = depth + braceBalance(QStringView(line).left(close));
            return layout;
        }
        depth = probe;
    }
    layout.bodyLine = layout.lines.size() - 1;
    layout.bodyColumn = layout.lines.last().size();
    layout.bodyDepth = depth;
    return layout;
}

RtfFiller::Layout RtfFiller::readTemplate() const {
    QFile in(m_source);
    if (!in.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Fisierul %1 nu poate fi citit.")
                            .arg(QDir::toNativeSeparators(m_source)));
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("Fisierul %1 nu poate fi citit.")
                            .arg(QDir::toNativeSeparators(m_source)));
    return layoutOf(splitLines(bytes));
}

void RtfFiller::append(const QByteArray &bytes) const {
    QFile out(m_destination);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Append) || out.write(bytes) != bytes.size() ||
        !out.flush())
        throw FileError(QStringLiteral("Fisierul %1 nu poate fi scris.")
                            .arg(QDir::toNativeSeparators(m_destination)));
}

void RtfFiller::addLine(QByteArray &out, QStringView line) {
    out += Cp1250::encode(line);
    out += "\r\n";
}

} // namespace velmora
