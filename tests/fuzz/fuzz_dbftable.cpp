// SPDX-License-Identifier: GPL-3.0-or-later
// The table file reader on any bytes: a file is either refused with an EngineError or read,
// and then it survives the engine's own rewrite (pack, which every start runs) unchanged:
// the same columns, and the same values in every live record, read again from the new file.
// On the way, the quick reads of a field's number and date agree with the plain ones.

#include "fuzzsupport.h"

#include "store/dbf/dbffield.h"
#include "store/dbf/dbftable.h"
#include "store/sql/resultset.h"
#include "store/sql/sqlengine.h"
#include "store/text/error.h"

using namespace velmora;

namespace {

struct Snapshot {
    QList<Column> columns;
    QList<QByteArray> rawRows;
    QStringList texts;
};

bool sameColumns(const QList<Column> &a, const QList<Column> &b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].dbfType != b[i].dbfType || a[i].width != b[i].width ||
            a[i].decimals != b[i].decimals || a[i].offset != b[i].offset || a[i].type != b[i].type)
            return false;
    }
    return true;
}

Snapshot read(const QString &path) {
    const ResultSet result = SqlEngine::open(QStringLiteral("SELECT * FROM \"%1\"").arg(path));
    Snapshot s;
    s.columns = result.columns();
    for (qsizetype row = 0; row < result.rowCount(); ++row) {
        QByteArray raw;
        for (int c = 0; c < result.columnCount(); ++c) {
            raw.append(result.raw(row, c));
            s.texts.append(result.text(row, c));
        }
        s.rawRows.append(raw);
    }
    return s;
}

// What a date field's eight digits give, read one by one.
int plainDateKey(QByteArrayView field) {
    if (field.size() < 8)
        return 0;
    int key = 0;
    for (int i = 0; i < 8; ++i) {
        if (field[i] < '0' || field[i] > '9')
            return 0;
        key = key * 10 + (field[i] - '0');
    }
    const int month = key / 100 % 100;
    const int day = key % 100;
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 ? key : 0;
}

// The quick reads of a field agree with the plain ones on any bytes, here the input's first
// bytes in fields of the widths tables use.
void checkFieldReads(QByteArrayView input) {
    for (const qsizetype width : {1, 8, 10, 12, 19, 20, 24}) {
        const QByteArrayView field = input.first(qMin(width, input.size()));
        VELMORA_FUZZ_CHECK(DbfField::decimal(field) == DbfField::decimalInFull(field),
                           QStringLiteral("a field's decimal is read two ways"));
        VELMORA_FUZZ_CHECK(DbfField::dateKey(field) == plainDateKey(field),
                           QStringLiteral("a field's date is read two ways"));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    checkFieldReads(
        QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    const QString path = fuzz::scratchDir() + QStringLiteral("/T.dbf");
    fuzz::writeFile(path, fuzz::bytes(data, size));
    Snapshot before;
    try {
        before = read(path);
    } catch (const EngineError &) {
        return 0;
    }
    try {
        SqlEngine::pack(path);
    } catch (const Error &e) {
        VELMORA_FUZZ_CHECK(false,
                           QStringLiteral("a table that reads cannot be packed: ") + e.message());
    }
    Snapshot after;
    try {
        after = read(path);
    } catch (const Error &e) {
        VELMORA_FUZZ_CHECK(false, QStringLiteral("a packed table no longer reads: ") + e.message());
    }
    VELMORA_FUZZ_CHECK(sameColumns(before.columns, after.columns),
                       QStringLiteral("pack changed the columns"));
    VELMORA_FUZZ_CHECK(before.rawRows == after.rawRows, QStringLiteral("pack changed a record"));
    VELMORA_FUZZ_CHECK(before.texts == after.texts, QStringLiteral("pack changed a value"));
    return 0;
}
