// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dbf/dbfheader.h"

#include "store/text/cp1250.h"
#include "store/text/error.h"

#include <QDir>
#include <cstring>

namespace velmora {

namespace {

constexpr int kDescriptorSize = 32;
constexpr int kDescriptorSize7 = 48;
constexpr int kDescriptorStart7 = 68;
constexpr int kNameSize = 11;
constexpr int kNameSize7 = 32;

int le16(QByteArrayView b, int at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

quint32 le32(QByteArrayView b, int at) {
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

void putLe(char *out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Version bytes of dBASE III+ to 7 and of FoxBASE, FoxPro and Visual FoxPro, with and without
// memo files.
bool knownVersion(quint8 v) {
    switch (v) {
    case 0x02: // FoxBASE
    case 0x03: // dBASE III+, IV, 5 without memo
    case 0x04: // dBASE 7 without memo
    case 0x05: // dBASE 5
    case 0x30: // Visual FoxPro
    case 0x31:
    case 0x32:
    case 0x43: // dBASE IV SQL table
    case 0x63: // dBASE IV SQL system file
    case 0x7B: // dBASE IV with memo
    case 0x83: // dBASE III+ with memo
    case 0x8B: // dBASE IV with memo
    case 0x8C: // dBASE 7 with memo
    case 0xCB: // dBASE IV SQL table with memo
    case 0xE5: // HiPer-Six
    case 0xF5: // FoxPro 2 with memo
    case 0xFB: // FoxBASE
        return true;
    default:
        return false;
    }
}

ColumnType columnType(char dbfType) {
    switch (dbfType) {
    case 'N':
    case 'F':
    case 'I':
    case '+':
    case 'O':
    case 'Y':
        return ColumnType::Number;
    case 'D':
        return ColumnType::Date;
    default:
        return ColumnType::Text;
    }
}

[[noreturn]] void damaged(const QString &path, const QString &reason) {
    throw EngineError(QStringLiteral("Tabela %1 este deteriorata sau nu este o tabela dBASE: %2.")
                          .arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

int DbfHeader::declaredLength(QByteArrayView prefix) {
    return prefix.size() < kPrefixSize ? 0 : le16(prefix, 8);
}

DbfHeader DbfHeader::parse(QByteArrayView bytes, qint64 fileSize, const QString &path) {
    if (fileSize < kPrefixSize || bytes.size() < kPrefixSize)
        damaged(path, QStringLiteral("fisierul are numai %1 octeti").arg(fileSize));
    DbfHeader h;
    h.version = static_cast<quint8>(bytes[0]);
    if (!knownVersion(h.version)) {
        damaged(path, QStringLiteral("primul octet (0x%1) nu este al unei tabele dBASE")
                          .arg(h.version, 2, 16, QLatin1Char('0')));
    }
    h.level7 = (h.version & 0x07) == 0x04;
    h.recordCount = le32(bytes, 4);
    h.headerLength = le16(bytes, 8);
    h.recordLength = le16(bytes, 10);
    const int start = h.level7 ? kDescriptorStart7 : kPrefixSize;
    const int size = h.level7 ? kDescriptorSize7 : kDescriptorSize;
    if (fileSize < h.headerLength || bytes.size() < h.headerLength) {
        damaged(path, QStringLiteral("antetul declara %1 octeti, dar fisierul are %2")
                          .arg(h.headerLength)
                          .arg(fileSize));
    }
    if (h.headerLength < start + 1)
        damaged(path,
                QStringLiteral("antetul declarat (%1 octeti) este prea scurt").arg(h.headerLength));

    int pos = start;
    int width = 1;
    while (pos < h.headerLength && bytes[pos] != kTerminator) {
        if (pos + size > h.headerLength)
            damaged(path, QStringLiteral("lista campurilor nu se incheie in antet"));
        const char *d = bytes.data() + pos;
        const int nameSize = h.level7 ? kNameSize7 : kNameSize;
        const char *nameEnd = static_cast<const char *>(std::memchr(d, '\0', nameSize));
        const QString name =
            Cp1250::decode(QByteArrayView(d, nameEnd ? nameEnd - d : nameSize)).trimmed();
        Column c;
        c.name = name;
        c.dbfType = d[h.level7 ? 32 : 11];
        c.width = static_cast<unsigned char>(d[h.level7 ? 33 : 16]);
        c.decimals = static_cast<unsigned char>(d[h.level7 ? 34 : 17]);
        c.type = columnType(c.dbfType);
        c.offset = width;
        if (name.isEmpty() || c.width == 0 || static_cast<unsigned char>(c.dbfType) < 0x20) {
            damaged(path,
                    QStringLiteral("campul %1 din antet nu este valid").arg(h.columns.size() + 1));
        }
        if (c.type != ColumnType::Number)
            c.decimals = 0;
        width += c.width;
        h.columns.append(c);
        pos += size;
    }
    if (pos >= h.headerLength)
        damaged(path, QStringLiteral("lipseste terminatorul listei de campuri"));
    if (h.columns.isEmpty())
        damaged(path, QStringLiteral("tabela nu are niciun camp"));
    if (width != h.recordLength) {
        damaged(path, QStringLiteral("lungimea inregistrarii din antet (%1) nu corespunde "
                                     "campurilor (%2)")
                          .arg(h.recordLength)
                          .arg(width));
    }
    h.declaredRecordCount = h.recordCount;
    // A file cut short (a copy that stopped, a full disk under another program) still holds
    // its whole records; they are read, and pack keeps what follows them.
    if (h.recordsEnd() > fileSize)
        h.recordCount = static_cast<quint32>((fileSize - h.headerLength) / h.recordLength);
    return h;
}

QList<Column> DbfHeader::layout(QList<Column> columns) {
    int offset = 1;
    for (Column &c : columns) {
        c.offset = offset;
        offset += c.width;
    }
    return columns;
}

QByteArray DbfHeader::build(const QList<Column> &columns, QDate date) {
    const int headerLength = kPrefixSize + kDescriptorSize * static_cast<int>(columns.size()) + 1;
    int recordLength = 1;
    for (const Column &c : columns)
        recordLength += c.width;
    QByteArray h(headerLength, '\0');
    char *p = h.data();
    p[0] = static_cast<char>(kVersion);
    std::memcpy(p + 1, stamp(date, 0).constData(), 7);
    putLe(p + 8, static_cast<quint32>(headerLength), 2);
    putLe(p + 10, static_cast<quint32>(recordLength), 2);
    p[29] = static_cast<char>(kLanguageCp1250);
    char *d = p + kPrefixSize;
    for (const Column &c : columns) {
        const QByteArray name = Cp1250::encode(c.name).left(kNameSize - 1);
        std::memcpy(d, name.constData(), name.size());
        d[11] = c.dbfType;
        d[16] = static_cast<char>(c.width);
        d[17] = static_cast<char>(c.dbfType == 'N' || c.dbfType == 'F' ? c.decimals : 0);
        d += kDescriptorSize;
    }
    *d = kTerminator;
    return h;
}

QByteArray DbfHeader::stamp(QDate date, quint32 recordCount) {
    QByteArray s(7, '\0');
    // The year byte counts from 1900 (124 for 2024); a year beyond its range is clamped
    // rather than wrapped.
    s[0] = static_cast<char>(qBound(0, date.year() - 1900, 255));
    s[1] = static_cast<char>(date.month());
    s[2] = static_cast<char>(date.day());
    putLe(s.data() + 3, recordCount, 4);
    return s;
}

} // namespace velmora
