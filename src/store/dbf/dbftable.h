// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/dbf/dbfheader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

namespace velmora {

// One open dBASE table file. Opening first rolls back a change that a kill interrupted (see
// DbfJournal) and checks the header against the file, so that every statement starts from an
// intact table.
//
// Writes keep the table either in its old or in its new state at every moment:
// - append writes the new records and the end mark behind the last counted record first and
//   only then the header's count, which is the commit point (bytes beyond the counted records
//   are never read);
// - rewrite, which serves UPDATE and DELETE, changes records in place under a rollback journal;
// - pack writes a new file beside the table and renames it over the old one.
class DbfTable {
public:
    enum class Access { Read, Write };

    // path names an existing file exactly (see TablePath::find).
    DbfTable(const QString &path, Access access);
    ~DbfTable();
    DbfTable(const DbfTable &) = delete;
    DbfTable &operator=(const DbfTable &) = delete;

    // Makes a new, empty table; the file appears whole or not at all. Columns need names,
    // types and widths; the offsets are laid out here.
    static void create(const QString &path, const QList<Column> &columns);
    // Removes the records marked deleted for good. Returns the number removed; a table with
    // none is left as it is. A table cut short (see DbfHeader::parse) is rewritten with its
    // whole records, the bytes after them kept in a side file "<table>.cut-<date>-<time>";
    // what was repaired is added to repairs, in words for the user. A temporary file that a
    // killed pack left beside the table is removed first.
    [[nodiscard]] static qsizetype pack(const QString &path, QStringList *repairs = nullptr);

    const QString &path() const { return m_path; }
    const DbfHeader &header() const { return m_header; }
    const QList<Column> &columns() const { return m_header.columns; }
    quint32 recordCount() const { return m_header.recordCount; }
    int recordLength() const { return m_header.recordLength; }

    // The file up to the end of its last counted record, read at once; record i starts at
    // header().recordOffset(i).
    QByteArray readAll();
    // Reads count records from record first on into out (count record lengths): scans that
    // look at a few fields of each record go through the table a piece at a time, in one
    // buffer that stays in the processor's cache.
    void readRecords(quint32 first, quint32 count, char *out);

    // Adds whole records (a multiple of the record length) after the last one.
    void append(QByteArrayView records);
    // Replaces whole records in place. records holds their numbers in ascending order;
    // original and changed their bytes, one record length each, in the same order.
    void rewrite(const std::vector<quint32> &records, const QByteArray &original,
                 const QByteArray &changed);

private:
    [[noreturn]] void fail(const QString &what) const;

    QString m_path;
    QFile m_file;
    DbfHeader m_header;
};

} // namespace velmora
