// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/inifile.h"

#include "store/dbf/atomicfile.h"
#include "store/dbf/datalock.h"
#include "store/dbf/platform.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"
#include "store/text/textrules.h"

#include <QDir>
#include <QFile>
#include <optional>
#include <vector>

namespace velmora {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

enum class LineKind { Other, Section, Key };

// One line of the file as positions into its text; byte and character positions agree,
// since the code page maps every byte to exactly one character.
struct Line {
    qsizetype begin = 0;
    qsizetype contentEnd = 0; // where the line ending starts
    qsizetype end = 0;        // after the line ending
    LineKind kind = LineKind::Other;
    QString name; // section or key name, trimmed
    QString value;
};

Line classify(QStringView text, qsizetype begin, qsizetype contentEnd, qsizetype end) {
    Line line{begin, contentEnd, end, LineKind::Other, {}, {}};
    const QString content = TextRules::trim(text.sliced(begin, contentEnd - begin));
    if (content.startsWith(u'[')) {
        const qsizetype close = content.indexOf(u']');
        if (close > 0) {
            line.kind = LineKind::Section;
            line.name = TextRules::trim(QStringView(content).sliced(1, close - 1));
        }
        return line;
    }
    if (content.startsWith(u';'))
        return line;
    const qsizetype equals = content.indexOf(u'=');
    if (equals >= 0) {
        line.kind = LineKind::Key;
        line.name = TextRules::trim(QStringView(content).first(equals));
        line.value = TextRules::trim(QStringView(content).sliced(equals + 1));
    }
    return line;
}

std::vector<Line> splitLines(QStringView text) {
    std::vector<Line> lines;
    qsizetype begin = 0;
    while (begin < text.size()) {
        qsizetype pos = begin;
        while (pos < text.size() && text[pos] != u'\n' && text[pos] != u'\r')
            ++pos;
        qsizetype end = pos;
        if (end < text.size()) {
            if (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n')
                end += 2;
            else
                ++end;
        }
        lines.push_back(classify(text, begin, pos, end));
        begin = end;
    }
    return lines;
}

bool sameName(const QString &a, const QString &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a section's lines are: the header's index and one past its last line.
struct SectionSpan {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionSpan> findSection(const std::vector<Line> &lines, const QString &section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != LineKind::Section || !sameName(lines[i].name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && lines[end].kind != LineKind::Section)
            ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<Line> &lines, SectionSpan span,
                                   const QString &key) {
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        if (lines[i].kind == LineKind::Key && sameName(lines[i].name, key))
            return i;
    }
    return std::nullopt;
}

// The name as the file would hold it (comma-below letters become their cedilla forms), or
// nullopt when the code page cannot hold it.
std::optional<QString> storedForm(QStringView text) {
    if (!Cp1250::canEncode(text))
        return std::nullopt;
    return Cp1250::decode(Cp1250::encode(text));
}

void refuse(const QString &message) {
    throw InputError(message);
}

QString checkedSection(QStringView section) {
    const QString name = TextRules::trim(section);
    if (name.isEmpty())
        refuse(QStringLiteral("Numele sectiunii din fisierul de contoare lipseste."));
    if (name.contains(u']') || name.contains(u'\r') || name.contains(u'\n')) {
        refuse(QStringLiteral("Numele de sectiune \"%1\" nu poate fi memorat in fisierul de "
                              "contoare.")
                   .arg(name));
    }
    return Cp1250::decode(Cp1250::encode(name));
}

QString checkedKey(QStringView key) {
    const QString name = TextRules::trim(key);
    if (name.isEmpty())
        refuse(QStringLiteral("Numele cheii din fisierul de contoare lipseste."));
    if (name.contains(u'=') || name.contains(u'\r') || name.contains(u'\n') ||
        name.startsWith(u'[') || name.startsWith(u';')) {
        refuse(QStringLiteral("Numele de cheie \"%1\" nu poate fi memorat in fisierul de "
                              "contoare.")
                   .arg(name));
    }
    return Cp1250::decode(Cp1250::encode(name));
}

QString checkedValue(QStringView value) {
    // Blanks around a value would be lost on reading anyway.
    const QString text = TextRules::trim(value);
    if (text.contains(u'\r') || text.contains(u'\n')) {
        refuse(QStringLiteral("Valoarea \"%1\" nu poate fi memorata in fisierul de contoare: "
                              "contine un sfarsit de rand.")
                   .arg(text));
    }
    return Cp1250::decode(Cp1250::encode(text));
}

// Some editors begin a text file saved as UTF-8 with a byte-order mark; read as cp1250 it
// would glue three letters to the first line and hide the section that line opens.
QByteArrayView withoutByteOrderMark(QByteArrayView bytes) {
    constexpr char kMark[] = "\xEF\xBB\xBF";
    return bytes.startsWith(QByteArrayView(kMark, 3)) ? bytes.sliced(3) : bytes;
}

[[noreturn]] void failRead(const QString &path, const QString &reason) {
    throw CountersError(QStringLiteral("Fisierul de contoare %1 nu poate fi citit: %2")
                            .arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

IniFile::IniFile(QString path)
    : m_path(std::move(path)) {}

QString IniFile::read(QStringView section, QStringView key) const {
    const std::optional<QString> sectionName = storedForm(TextRules::trim(section));
    const std::optional<QString> keyName = storedForm(TextRules::trim(key));
    if (!sectionName || !keyName)
        return {};
    QFile file(m_path);
    QString text;
    {
        const DataLock lock(DataLock::directoryOf(m_path), DataLock::Mode::Shared);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        text = Cp1250::decode(withoutByteOrderMark(file.readAll()));
        file.close();
    }

    const std::vector<Line> lines = splitLines(text);
    const std::optional<SectionSpan> span = findSection(lines, *sectionName);
    if (!span)
        return {};
    const std::optional<std::size_t> at = findKey(lines, *span, *keyName);
    return at ? lines[*at].value : QString();
}

void IniFile::write(QStringView section, QStringView key, QStringView value) const {
    const QString sectionName = checkedSection(section);
    const QString keyName = checkedKey(key);
    const QString valueText = checkedValue(value);

    const DataLock lock(DataLock::directoryOf(m_path), DataLock::Mode::Exclusive);
    QString text;
    QByteArray mark; // a byte-order mark the file began with stays where it was
    QFile file(m_path);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            failRead(m_path, Platform::reason(file));
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            failRead(m_path, Platform::reason(file));
        file.close();
        const QByteArrayView content = withoutByteOrderMark(bytes);
        mark = QByteArrayView(bytes).first(bytes.size() - content.size()).toByteArray();
        text = Cp1250::decode(content);
    }

    const std::vector<Line> lines = splitLines(text);
    const QString keyLine = keyName + u'=' + valueText + kLineEnd;
    // Puts text after line i, first giving that line the ending it lacks at the file's end.
    auto insertAfter = [&](std::size_t i, QString added) {
        if (lines[i].contentEnd == lines[i].end)
            added.prepend(kLineEnd);
        text.insert(lines[i].end, added);
    };

    if (const std::optional<SectionSpan> span = findSection(lines, sectionName)) {
        if (const std::optional<std::size_t> at = findKey(lines, *span, keyName)) {
            const Line &line = lines[*at];
            text.replace(line.begin, line.end - line.begin,
                         line.name + u'=' + valueText + kLineEnd);
        } else {
            std::size_t after = span->header;
            for (std::size_t i = span->header + 1; i < span->end; ++i) {
                if (lines[i].kind == LineKind::Key)
                    after = i;
            }
            insertAfter(after, keyLine);
        }
    } else {
        QString added = u'[' + sectionName + u']' + kLineEnd + keyLine;
        if (lines.empty()) {
            text = added;
        } else {
            const Line &last = lines.back();
            const bool lastBlank =
                TextRules::trim(QStringView(text).sliced(last.begin, last.contentEnd - last.begin))
                    .isEmpty();
            if (!lastBlank)
                added.prepend(kLineEnd);
            insertAfter(lines.size() - 1, added);
        }
    }

    try {
        AtomicFile::replace(m_path, mark + Cp1250::encode(text));
    } catch (const FileError &e) {
        throw CountersError(e.message());
    }
}

} // namespace velmora
