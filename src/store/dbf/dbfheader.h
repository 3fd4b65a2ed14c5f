// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/dbf/column.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>

namespace velmora {

// The header of a dBASE table file: what precedes the records.
//
// Tables this program creates are written at dBASE III+ level; the reader also takes the
// headers of dBASE IV, 5 and 7 and of the FoxPro family, so that tables made by other desktop
// database programs open.
class DbfHeader {
public:
    static constexpr int kPrefixSize = 32;
    static constexpr quint8 kVersion = 0x03;
    static constexpr quint8 kLanguageCp1250 = 0xC8;
    static constexpr char kTerminator = 0x0D;
    static constexpr char kEndOfFile = 0x1A;
    static constexpr char kDeleted = '*';
    // Two bytes hold the header and record lengths.
    static constexpr int kMaxLength = 65535;

    // The header length that the first 32 bytes declare.
    static int declaredLength(QByteArrayView prefix);

    // Reads a whole header (declaredLength() bytes) of a file of fileSize bytes. Anything that
    // does not add up (unknown version, missing terminator, record length other than the
    // fields') raises an EngineError naming the file. When the header counts more records
    // than the file holds whole, recordCount is the number it holds and declaredRecordCount
    // the header's.
    static DbfHeader parse(QByteArrayView bytes, qint64 fileSize, const QString &path);

    // Places the columns one after the other behind the deletion flag.
    static QList<Column> layout(QList<Column> columns);
    // The header of a new, empty table with the laid-out columns.
    static QByteArray build(const QList<Column> &columns, QDate date);
    // Bytes 1 to 7: the last-update date and the record count.
    static QByteArray stamp(QDate date, quint32 recordCount);

    quint8 version = kVersion;
    bool level7 = false;
    quint32 recordCount = 0;
    quint32 declaredRecordCount = 0;
    int headerLength = 0;
    int recordLength = 0;
    QList<Column> columns;

    qint64 recordOffset(qint64 record) const {
        return headerLength + record * static_cast<qint64>(recordLength);
    }
    qint64 recordsEnd() const { return recordOffset(recordCount); }
    bool cutShort() const { return declaredRecordCount > recordCount; }
};

} // namespace velmora
