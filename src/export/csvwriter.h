// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/csvdialect.h"
#include "store/text/decimal.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>
#include <memory>
#include <optional>

namespace velmora {

class AtomicFile;
struct Column;

// Writes one CSV file in a dialect, field by field and row by row. The file is replaced as a
// whole: until commit() the old file, if there is one, stays as it was, and a writer dropped
// without commit() (an error on the way) leaves nothing behind. A file that cannot be written
// is a FileError in the user's words.
//
// A field that holds the separator, a quote or a line break is quoted, its quotes doubled.
// A text that starts with "=", "+", "-" or "@" would be run as a formula by a spreadsheet;
// it is written quoted with a tab before it ("\t=A1"): LibreOffice and Excel then show it as
// text, the tab invisible at its start, whereas the other usual guard, an apostrophe, stays
// visible in a CSV file opened by LibreOffice. Numbers, dates and hours are never guarded:
// a negative amount is a number.
class CsvWriter {
public:
    CsvWriter(const QString &path, CsvDialect dialect);
    ~CsvWriter();
    CsvWriter(const CsvWriter &) = delete;
    CsvWriter &operator=(const CsvWriter &) = delete;

    CsvDialect dialect() const { return m_dialect; }

    // The fields of the current row, left to right.
    void text(QStringView value);
    // A text as a table holds it, in the tables' code page; the padding is left out.
    void storedText(QByteArrayView cp1250);
    // Rounded half to even, or widened, to the given decimals; an empty field for nullopt.
    void number(const std::optional<Decimal> &value, int decimals);
    // A numeric field as a table holds it, with at least the column's decimals; an empty
    // field for NULL.
    void storedNumber(const Column &column, QByteArrayView field);
    // An empty field for an invalid date or time.
    void date(QDate value);
    // yyyymmdd as a table holds it.
    void storedDate(QByteArrayView field);
    void hour(QTime value);
    void empty();
    void endRow();

    // The titles as one row.
    void titles(const QStringList &titles);

    // Puts the complete file in place.
    void commit();

    // One text field as the writer writes it, quoted and guarded, without separator.
    static QByteArray textField(QStringView value, CsvDialect dialect);

private:
    void beginField();
    void appendText(QByteArrayView utf8);
    void flushIfFull();

    CsvDialect m_dialect;
    std::unique_ptr<AtomicFile> m_file;
    QByteArray m_buffer;
    QByteArray m_scratch;
    bool m_rowStarted = false;
};

} // namespace velmora
