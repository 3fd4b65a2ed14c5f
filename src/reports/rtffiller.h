// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBitArray>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <string_view>
#include <unordered_map>

namespace velmora {

// Writes a copy of an RTF template with its bracketed placeholders replaced by values.
// The template is taken as plain text lines in the Windows code page; all it knows of RTF is
// where the body starts (the first "\pard"), how deep the braces nest (to find the
// document's closing brace), how to put "\page" between copies of the body, where a table
// row starts and ends (to repeat one, RtfTableRows) and how a value is written as text:
// "\", "{" and "}" escaped, tabs and line breaks as "\tab" and "\line", other control
// characters as blanks, the code page's letters as their own bytes. So no value can end the
// document or change its formatting.
//
// Each line is filled in one pass, so time and memory grow with the template's size and the
// printout's, however often a placeholder stands on a line.
//
// One printout: startRtf, addTag for every placeholder (and setRows for a table of rows),
// writeBody, endRtf. No file stays open between the calls.
class RtfFiller {
public:
    // The template (RTFSursa) and the printout (RTFDest).
    const QString &source() const { return m_source; }
    void setSource(const QString &path) { m_source = path; }
    const QString &destination() const { return m_destination; }
    void setDestination(const QString &path) { m_destination = path; }

    // Creates the printout and copies the template's header into it; empties the lists.
    // False, with no printout left behind, when the template path is empty, the template is
    // missing, unreadable or empty, or the printout cannot be created.
    [[nodiscard]] bool startRtf();
    // Tags may repeat: a tag added several times in a row is a repeated tag, and a template
    // line holding it is written once per value.
    void addTag(const QString &tag, const QString &value);
    // The values fill count rows of a table whose placeholders are numbered: a column's
    // placeholder is its prefix from columns ("[P"), the row's number and "]". When the
    // template has room for fewer rows, its last row is written again for the others (see
    // RtfTableRows). Emptied with the lists.
    void setRows(const QStringList &columns, int count);
    // Appends the body copies times, a "\page" line before every copy after the first, then
    // empties the lists. A FileError when the files cannot be read or written.
    void writeBody(int copies);
    // The document's closing brace; empties the lists.
    void endRtf();

    // One template line with its placeholders replaced and the values escaped; moves the
    // repetition cursor. A placeholder is taken where it starts first in the line; of two
    // that start at the same place, the one added first.
    QString replaceLine(QStringView line);
    // "{" minus "}", every brace counted, escaped or not.
    static int braceBalance(QStringView line);
    void clearTags();

    const QStringList &tags() const { return m_tags; }
    const QStringList &values() const { return m_values; }
    // The tag whose value the next copy of a repeated line takes, or -1.
    qsizetype cursor() const { return m_cursor; }

    static constexpr QStringView kEmptyValue = u"..........";

private:
    // Where the body starts: the first "\pard" before the document's closing brace, or the
    // closing brace itself when there is none; and the brace depth there.
    struct Layout {
        QStringList lines;
        qsizetype bodyLine = 0;
        qsizetype bodyColumn = 0;
        int bodyDepth = 0;
    };
    static QStringList splitLines(const QByteArray &bytes);
    static Layout layoutOf(QStringList lines);
    // The body's lines: from its "\pard" up to the document's closing brace, the last one
    // trimmed.
    static QStringList bodyOf(const Layout &layout);
    Layout readTemplate() const;
    void append(const QByteArray &bytes) const;
    static void addLine(QByteArray &out, QStringView line);
    static void appendEscaped(QString &out, QStringView value);

    // Where each tag is found from: the first entry of each tag (ASCII capitals made small),
    // the lengths there are, the characters a tag starts with, and where each entry's run
    // of equal tags ends. Made again after the lists change.
    void index();

    QString m_source;
    QString m_destination;
    QStringList m_tags;
    QStringList m_foldedTags;
    QStringList m_values;
    qsizetype m_cursor = -1;
    QStringList m_rowColumns;
    int m_rowCount = 0;

    bool m_indexed = false;
    std::unordered_map<std::u16string_view, qsizetype> m_firstEntry;
    QList<qsizetype> m_lengths;
    QBitArray m_starts;
    QList<qsizetype> m_runEnd;
};

} // namespace velmora
