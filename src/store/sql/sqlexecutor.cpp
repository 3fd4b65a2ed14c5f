// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/sql/sqlexecutor.h"

#include "store/dbf/dbffield.h"
#include "store/dbf/dbftable.h"
#include "store/dbf/tablepath.h"
#include "store/sql/sqlevaluator.h"
#include "store/sql/sqlmessages.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"
#include "store/text/textform.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>

namespace velmora {

namespace {

const Column &namedColumn(const QList<Column> &columns, const SqlName &name, const QString &table) {
    if (const Column *c = findColumn(columns, name.name))
        return *c;
    refuseAt(name.place, SqlMessages::noSuchColumn(name.name, table));
}

// A column named twice in one list.
void refuseRepeated(const QList<Column> &earlier, const Column &c, SqlPlace place) {
    for (const Column &other : earlier) {
        if (other.name == c.name)
            refuseAt(place, SqlMessages::columnTwice(c.name));
    }
}

bool writable(const Column &c) {
    switch (c.dbfType) {
    case 'C':
    case 'N':
    case 'F':
    case 'D':
    case 'L':
        return true;
    default:
        return false;
    }
}

// A name dBASE III+ can hold: up to 10 letters, digits or "_", beginning with a letter.
bool validName(const QString &name) {
    if (name.isEmpty() || name.size() > 10 || !(name[0].isLetter() && name[0].unicode() < 128))
        return false;
    for (const QChar c : name) {
        if (c.unicode() >= 128 || !(c.isLetterOrNumber() || c == u'_'))
            return false;
    }
    return true;
}

struct Scan {
    std::vector<quint32> records;
    QByteArray original;
};

// The live records that satisfy the condition, with a copy of their bytes.
Scan matching(DbfTable &table, const SqlEvaluator *where) {
    const DbfHeader &h = table.header();
    const auto perChunk = static_cast<quint32>(qMax(1, (256 * 1024) / h.recordLength));
    std::vector<char> chunk(static_cast<size_t>(perChunk) * h.recordLength);
    Scan scan;
    for (quint32 first = 0; first < h.recordCount; first += perChunk) {
        const quint32 count = qMin(perChunk, h.recordCount - first);
        table.readRecords(first, count, chunk.data());
        const char *record = chunk.data();
        for (quint32 i = 0; i < count; ++i, record += h.recordLength) {
            if (*record == DbfHeader::kDeleted)
                continue;
            if (where && !where->holds(record))
                continue;
            scan.records.push_back(first + i);
            scan.original.append(record, h.recordLength);
        }
    }
    return scan;
}

} // namespace

qsizetype SqlExecutor::run(const SqlStatement &statement) {
    if (const auto *s = std::get_if<SqlCreateTable>(&statement))
        return create(*s);
    if (const auto *s = std::get_if<SqlInsert>(&statement))
        return insert(*s);
    if (const auto *s = std::get_if<SqlUpdate>(&statement))
        return update(*s);
    if (const auto *s = std::get_if<SqlDelete>(&statement))
        return remove(*s);
    throw EngineError(QStringLiteral("O instructiune SELECT se deschide, nu se executa."));
}

QString SqlExecutor::existingTable(const SqlTableRef &table) {
    const QString path = TablePath::find(table.path);
    if (path.isEmpty()) {
        refuseAt(table.place,
                 QStringLiteral("tabela %1 nu exista")
                     .arg(QDir::toNativeSeparators(TablePath::normalized(table.path))));
    }
    return path;
}

void SqlExecutor::store(char *record, const Column &column, const SqlValue &value, SqlPlace place) {
    char *out = record + column.offset;
    using Kind = SqlValue::Kind;
    try {
        if (value.kind == Kind::Null) {
            DbfField::writeNull(out, column);
            return;
        }
        if (!writable(column)) {
            refuseAt(place, QStringLiteral("coloana %1 (de tipul %2) nu poate fi scrisa")
                                .arg(column.name, QChar::fromLatin1(column.dbfType)));
        }
        if (value.kind == Kind::Bool)
            refuseAt(
                place,
                QStringLiteral("o conditie nu poate fi memorata in coloana %1").arg(column.name));
        switch (column.type) {
        case ColumnType::Number: {
            if (value.kind == Kind::Number) {
                DbfField::writeNumber(out, column, value.number);
                return;
            }
            if (value.kind == Kind::Text) {
                const QString text = Cp1250::decode(value.text);
                if (text.trimmed().isEmpty()) {
                    DbfField::writeNull(out, column);
                    return;
                }
                bool tooLong = false;
                if (const std::optional<Decimal> n = Decimal::parse(text, &tooLong)) {
                    DbfField::writeNumber(out, column, *n);
                    return;
                }
                if (tooLong)
                    refuseAt(place, SqlMessages::tooManyDigits(text.trimmed()));
                refuseAt(place, QStringLiteral("coloana %1 primeste un numar, nu textul \"%2\"")
                                    .arg(column.name, text));
            }
            refuseAt(place,
                     QStringLiteral("coloana %1 primeste un numar, nu o data").arg(column.name));
        }
        case ColumnType::Date: {
            if (value.kind == Kind::Date) {
                DbfField::writeDate(out, column, SqlEvaluator::dateOf(value.date));
                return;
            }
            if (value.kind == Kind::Text) {
                const QString text = Cp1250::decode(value.text);
                if (text.trimmed().isEmpty()) {
                    DbfField::writeNull(out, column);
                    return;
                }
                const QDate d = TextForm::parseDate(text);
                if (!d.isValid())
                    refuseAt(place, SqlMessages::unreadableDate(text));
                DbfField::writeDate(out, column, d);
                return;
            }
            refuseAt(place,
                     QStringLiteral("coloana %1 primeste o data, nu un numar").arg(column.name));
        }
        case ColumnType::Text:
            break;
        }
        QString text;
        if (value.kind == Kind::Text)
            text = Cp1250::decode(value.text);
        else if (value.kind == Kind::Number)
            text = TextForm::general(value.number);
        else
            text = TextForm::date(SqlEvaluator::dateOf(value.date));
        DbfField::writeText(out, column, text);
    } catch (const EngineError &e) {
        if (e.message().startsWith(placePrefix()))
            throw;
        throw EngineError(atPlace(place, e.message()));
    }
}

qsizetype SqlExecutor::create(const SqlCreateTable &s) {
    const QString path = TablePath::normalized(s.table.path);
    if (!TablePath::find(path).isEmpty()) {
        refuseAt(s.table.place,
                 QStringLiteral("tabela %1 exista deja").arg(QDir::toNativeSeparators(path)));
    }
    const QFileInfo info(path);
    if (info.fileName().isEmpty() || !info.absoluteDir().exists()) {
        refuseAt(
            s.table.place,
            QStringLiteral("directorul tabelei %1 nu exista").arg(QDir::toNativeSeparators(path)));
    }
    QList<Column> columns;
    for (size_t i = 0; i < s.columns.size(); ++i) {
        Column c = s.columns[i];
        if (!validName(c.name)) {
            refuseAt(s.places[i], QStringLiteral("numele de coloana %1 nu este valid (cel mult 10 "
                                                 "litere, cifre sau _, incepand cu o litera)")
                                      .arg(c.name));
        }
        c.name = c.name.toUpper();
        refuseRepeated(columns, c, s.places[i]);
        columns.append(c);
    }
    DbfTable::create(path, columns);
    return 0;
}

qsizetype SqlExecutor::insert(const SqlInsert &s) {
    DbfTable table(existingTable(s.table), DbfTable::Access::Write);
    const QString name = TablePath::fileName(table.path());
    const QList<Column> &all = table.columns();
    QList<Column> targets;
    if (s.columns.empty()) {
        targets = all;
    } else {
        for (const SqlName &n : s.columns) {
            const Column &c = namedColumn(all, n, name);
            refuseRepeated(targets, c, n.place);
            targets.append(c);
        }
    }

    const int length = table.recordLength();
    QByteArray records;
    records.reserve(static_cast<qsizetype>(s.rows.size()) * length);
    for (size_t r = 0; r < s.rows.size(); ++r) {
        const auto &row = s.rows[r];
        if (row.size() != static_cast<size_t>(targets.size())) {
            refuseAt(s.rowPlaces[r], QStringLiteral("se asteptau %1 valori, s-au gasit %2")
                                         .arg(targets.size())
                                         .arg(row.size()));
        }
        QByteArray record(length, ' ');
        for (const Column &c : all)
            DbfField::writeNull(record.data() + c.offset, c);
        record[0] = ' ';
        for (qsizetype i = 0; i < targets.size(); ++i) {
            const Column &c = targets[i];
            const SqlEvaluator value(*row[i], nullptr, name, &c.type);
            store(record.data(), c, value.value(nullptr), placeOf(*row[i]));
        }
        records.append(record);
    }
    table.append(records);
    return static_cast<qsizetype>(s.rows.size());
}

qsizetype SqlExecutor::update(const SqlUpdate &s) {
    DbfTable table(existingTable(s.table), DbfTable::Access::Write);
    const QString name = TablePath::fileName(table.path());
    const QList<Column> &columns = table.columns();

    struct Assignment {
        Column column;
        std::unique_ptr<SqlEvaluator> value;
        SqlPlace place;
    };
    std::vector<Assignment> assignments;
    QList<Column> assigned;
    for (const SqlAssignment &a : s.assignments) {
        const Column &c = namedColumn(columns, a.column, name);
        refuseRepeated(assigned, c, a.column.place);
        assigned.append(c);
        assignments.push_back({c, std::make_unique<SqlEvaluator>(*a.value, &columns, name, &c.type),
                               placeOf(*a.value)});
    }
    const auto where = SqlEvaluator::condition(s.where.get(), columns, name);

    Scan scan = matching(table, where.get());
    const int length = table.recordLength();
    QByteArray changed = scan.original;
    for (size_t k = 0; k < scan.records.size(); ++k) {
        const char *before = scan.original.constData() + k * length;
        char *after = changed.data() + k * length;
        // Every value is worked out from the record as it was before the statement.
        for (const Assignment &a : assignments)
            store(after, a.column, a.value->value(before), a.place);
    }
    if (changed != scan.original)
        table.rewrite(scan.records, scan.original, changed);
    return static_cast<qsizetype>(scan.records.size());
}

qsizetype SqlExecutor::remove(const SqlDelete &s) {
    DbfTable table(existingTable(s.table), DbfTable::Access::Write);
    const QString name = TablePath::fileName(table.path());
    const auto where = SqlEvaluator::condition(s.where.get(), table.columns(), name);
    Scan scan = matching(table, where.get());
    QByteArray changed = scan.original;
    const int length = table.recordLength();
    for (size_t k = 0; k < scan.records.size(); ++k)
        changed[k * length] = DbfHeader::kDeleted;
    table.rewrite(scan.records, scan.original, changed);
    return static_cast<qsizetype>(scan.records.size());
}

} // namespace velmora
