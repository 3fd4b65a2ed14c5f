// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What an RTF printout shows, read the way a word processor reads it, for tests that check
// what prints rather than how the file spells it: the text, with "\par" and "\line" as line
// breaks, and the cells of every table row.

#include "store/text/cp1250.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cctype>

namespace rtftext {

struct Printed {
    QString text;            // everything shown, in order; cells end with a tab, rows with "\n"
    QList<QStringList> rows; // the cells of each table row, each cell's text trimmed
    int pages = 1;           // one more for every "\page"
};

inline Printed read(const QByteArray &rtf) {
    Printed out;
    QStringList cells;
    QString cell;
    // Per open group: whether its text is hidden (font table, document info, "\*" groups).
    QList<bool> hidden{false};
    bool groupStart = false;
    const auto shows = [&](const QString &s) {
        if (hidden.last())
            return;
        out.text += s;
        cell += s;
    };
    const qsizetype n = rtf.size();
    for (qsizetype i = 0; i < n;) {
        const char c = rtf[i];
        if (c == '{') {
            hidden.append(hidden.last());
            groupStart = true;
            ++i;
            continue;
        }
        if (c == '}') {
            if (hidden.size() > 1)
                hidden.removeLast();
            groupStart = false;
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c != '\\') {
            groupStart = false;
            shows(velmora::Cp1250::decode(QByteArrayView(&rtf.constData()[i], 1)));
            ++i;
            continue;
        }
        // A control symbol or a control word.
        if (i + 1 >= n)
            break;
        const char next = rtf[i + 1];
        if (next == '\'' && i + 3 < n) {
            shows(velmora::Cp1250::decode(QByteArray::fromHex(rtf.mid(i + 2, 2))));
            i += 4;
            groupStart = false;
            continue;
        }
        if (!std::isalpha(static_cast<unsigned char>(next))) {
            if (next == '*' && groupStart)
                hidden.last() = true;
            else if (next == '\\' || next == '{' || next == '}')
                shows(QString(QChar::fromLatin1(next)));
            i += 2;
            groupStart = false;
            continue;
        }
        qsizetype j = i + 1;
        while (j < n && std::isalpha(static_cast<unsigned char>(rtf[j])))
            ++j;
        const QByteArray word = rtf.mid(i + 1, j - i - 1);
        if (j < n && (rtf[j] == '-' || std::isdigit(static_cast<unsigned char>(rtf[j])))) {
            ++j;
            while (j < n && std::isdigit(static_cast<unsigned char>(rtf[j])))
                ++j;
        }
        if (j < n && rtf[j] == ' ')
            ++j;
        i = j;
        if (groupStart &&
            (word == "fonttbl" || word == "colortbl" || word == "info" || word == "stylesheet"))
            hidden.last() = true;
        groupStart = false;
        if (hidden.last())
            continue;
        if (word == "par" || word == "line") {
            out.text += u'\n';
            cell += u'\n';
        } else if (word == "tab") {
            shows(QStringLiteral("\t"));
        } else if (word == "page") {
            ++out.pages;
        } else if (word == "cell") {
            out.text += u'\t';
            cells.append(cell.trimmed());
            cell.clear();
        } else if (word == "row") {
            out.text += u'\n';
            out.rows.append(cells);
            cells.clear();
            cell.clear();
        } else if (word == "trowd") {
            // What stood between two tables belongs to no cell.
            cell.clear();
        }
    }
    return out;
}

} // namespace rtftext
