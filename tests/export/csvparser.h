// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A small reader of CSV files for the tests, written from the format's rules (fields between
// separators, a quoted field may hold anything, its quotes doubled; records end at LF or
// CR LF), independent of the writer it checks.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace velmora::test {

struct CsvFile {
    bool ok = true; // false when a quoted field is never closed or stray text follows one
    QList<QStringList> records;
};

inline CsvFile parseCsv(const QByteArray &bytes, char separator) {
    CsvFile file;
    QStringList record;
    QByteArray field;
    bool atStart = true;
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    auto endField = [&] {
        record << QString::fromUtf8(field);
        field.clear();
        atStart = true;
    };
    while (i < n) {
        if (atStart && bytes[i] == '"') {
            atStart = false;
            ++i;
            for (;;) {
                if (i >= n) {
                    file.ok = false;
                    return file;
                }
                if (bytes[i] == '"') {
                    if (i + 1 < n && bytes[i + 1] == '"') {
                        field.append('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field.append(bytes[i++]);
            }
            if (i < n && bytes[i] != separator && bytes[i] != '\n' && bytes[i] != '\r') {
                file.ok = false;
                return file;
            }
            continue;
        }
        atStart = false;
        const char c = bytes[i];
        if (c == separator) {
            endField();
            ++i;
        } else if (c == '\n' || (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')) {
            endField();
            file.records << record;
            record.clear();
            i += c == '\r' ? 2 : 1;
        } else {
            field.append(c);
            ++i;
        }
    }
    if (!atStart || !record.isEmpty()) {
        endField();
        file.records << record;
    }
    return file;
}

} // namespace velmora::test
