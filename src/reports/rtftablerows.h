// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace velmora {

// The rows of a table in an RTF template whose placeholders carry the row's number: "[P1]",
// "[R1]" … "[P15]", "[R15]" for the columns "[P" and "[R". A template has room for so many
// rows; when there are values for more, the row that holds the template's last number is
// written again for every further row, with that row's number in its placeholders and in
// place of its own number where that stands as text (the row's "Nr." cell). So a table made
// for 15 rows grows by as many rows as it needs, each in the same columns.
//
// The row is found as RTF marks it: from its "\trowd" (or the end of the row before it) to
// its "\row", with the groups still open there closed; a numbered row outside any table is
// the whole lines, one after the other, that hold its placeholders. A row whose braces do not
// balance, which would change the document around it, is never repeated.
class RtfTableRows {
public:
    // columns: what a column's placeholders start with, before the row's number; a
    // placeholder ends with "]" after the number. ASCII letters compare without regard to
    // case, as the filler's placeholders do.
    RtfTableRows(const QStringList &columns, int count);

    // Adds the further rows to the lines of a template's body. Nothing changes when the
    // body holds no numbered row, already has room for count rows, or its last row cannot be
    // told apart.
    void extend(QStringList &lines) const;

    // A column's placeholder at text[at]: its row's number, or 0 when there is none there.
    struct Numbered {
        int number = 0;
        qsizetype prefix = 0; // the column's part, before the number
        qsizetype length = 0; // the whole placeholder
    };
    Numbered numberedAt(QStringView text, qsizetype at) const;

    // The row's text with row from's number changed to to's.
    QString renumbered(QStringView text, int from, int to) const;

private:
    struct Place {
        qsizetype line = 0;
        qsizetype column = 0;
    };
    struct Span {
        Place from;
        Place to; // just after the row's end
    };
    // The highest row number in the lines, and where its first placeholder stands: a
    // template that has that row twice (a second copy of the form) grows the first.
    struct LastRow {
        int number = 0;
        Span first;
    };

    LastRow lastRow(const QStringList &lines) const;
    bool holdsRow(QStringView line, int number) const;
    static bool tableRow(const QStringList &lines, const LastRow &last, Span &row);
    bool wholeLines(const QStringList &lines, const LastRow &last, Span &row) const;

    QStringList m_columns; // ASCII capitals made small
    QString m_firstCharacters;
    int m_count;
};

} // namespace velmora
