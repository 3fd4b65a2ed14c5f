// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace velmora {

// Writes a copy of an RTF template with its bracketed placeholders replaced by values.
// The template is taken as plain text lines in the Windows code page; all it knows of RTF is
// where the body starts (the first "\pard"), how deep the braces nest (to find the
// document's closing brace) and how to put "\page" between copies of the body. Values go in
// as they are, without RTF escaping.
//
// One printout: startRtf, addTag for every placeholder, writeBody, endRtf. No file stays
// open between the calls.
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
    bool startRtf();
    // Tags may repeat: a tag added several times in a row is a repeated tag, and a template
    // line holding it is written once per value.
    void addTag(const QString &tag, const QString &value);
    // Appends the body copies times, a "\page" line before every copy after the first, then
    // empties the lists. A FileError when the files cannot be read or written.
    void writeBody(int copies);
    // The document's closing brace; empties the lists.
    void endRtf();

    // One template line with its placeholders replaced; moves the repetition cursor.
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
    Layout readTemplate() const;
    void append(const QByteArray &bytes) const;
    static void addLine(QByteArray &out, QStringView line);

    QString m_source;
    QString m_destination;
    QStringList m_tags;
    QStringList m_foldedTags;
    QStringList m_values;
    qsizetype m_cursor = -1;
};

} // namespace velmora
