// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/sql/sqlselectexecutor.h"

#include "store/dbf/dbffield.h"
#include "store/dbf/dbftable.h"
#include "store/dbf/tablepath.h"
#include "store/sql/sqlevaluator.h"
#include "store/sql/sqlexecutor.h"
#include "store/sql/sqlmessages.h"
#include "store/sql/sqlsorter.h"
#include "store/text/error.h"

#include <algorithm>
#include <cstring>

namespace velmora {

namespace {

struct Output {
    QString name;
    SqlPlace place;
    // A column of the table, shown as it is.
    Column field;
    // Otherwise an aggregate.
    bool aggregate = false;
    QString function;
    std::unique_ptr<SqlEvaluator> argument; // none for COUNT(*)
    // MIN and MAX of a column keep the column's own form.
    bool keepsField = false;
    Column result;
};

QList<SqlSorter::Key> keysFor(const QList<Column> &columns) {
    QList<SqlSorter::Key> keys;
    for (const Column &c : columns)
        keys.append({c, false});
    return keys;
}

// Keeps the first row of every run of equal values, in buffer order.
void keepDistinct(const char *data, std::vector<quint32> &rows, const QList<Column> &columns) {
    std::vector<qsizetype> runs;
    SqlSorter(keysFor(columns)).sort(data, rows, &runs);
    std::vector<quint32> firsts;
    firsts.reserve(runs.size());
    for (const qsizetype r : runs)
        firsts.push_back(rows[r]);
    std::sort(firsts.begin(), firsts.end());
    rows.swap(firsts);
}

QList<SqlSorter::Key> orderKeys(const SqlSelect &s, const QList<Column> &outputs,
                                const QList<Column> *table, const QString &tableName) {
    QList<SqlSorter::Key> keys;
    for (const SqlOrderItem &o : s.orderBy) {
        const SqlExpression &e = *o.expr;
        const Column *c = nullptr;
        if (e.kind == SqlExpression::Kind::Number) {
            bool ok = false;
            const int position = e.text.toInt(&ok);
            if (!ok || position < 1 || position > outputs.size()) {
                refuseAt(placeOf(e),
                         QStringLiteral("rezultatul nu are coloana cu numarul %1").arg(e.text));
            }
            c = &outputs[position - 1];
        } else {
            c = findColumn(outputs, e.text);
            if (!c && table)
                c = findColumn(*table, e.text);
            if (!c) {
                refuseAt(placeOf(e),
                         table ? SqlMessages::noSuchColumn(e.text, tableName)
                               : QStringLiteral("coloana %1 nu este in rezultat").arg(e.text));
            }
        }
        keys.append({*c, o.descending});
    }
    return keys;
}

bool isNullValue(const SqlValue &v) {
    return v.isNull() || (v.kind == SqlValue::Kind::Text && v.text.isEmpty());
}

int compare(const SqlValue &a, const SqlValue &b) {
    switch (a.kind) {
    case SqlValue::Kind::Number:
        return Decimal::compare(a.number, b.number);
    case SqlValue::Kind::Date:
        return a.date < b.date ? -1 : (a.date > b.date ? 1 : 0);
    case SqlValue::Kind::Text:
        return SqlEvaluator::compareText(a.text, b.text);
    default:
        return 0;
    }
}

void putCount(char *out, qsizetype count) {
    Decimal::fromUnits(count).store(out);
}

// SUM and AVG of the numbers among the group's values; NULL when there are none. A sum
// that outgrows what a Decimal holds is refused rather than rounded.
void sumOrAverage(const Output &o, const char *data, const quint32 *rows, qsizetype n, char *out) {
    Decimal sum;
    qsizetype count = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const SqlValue v = o.argument->value(data + rows[i]);
        if (v.kind != SqlValue::Kind::Number)
            continue;
        const std::optional<Decimal> next = Decimal::add(sum, v.number);
        if (!next)
            refuseAt(o.place, SqlMessages::resultTooLarge());
        sum = *next;
        ++count;
    }
    if (count == 0) {
        Decimal::storeNull(out);
        return;
    }
    if (o.function == u"AVG") {
        const std::optional<Decimal> average = Decimal::divide(sum, Decimal::fromUnits(count));
        if (!average)
            refuseAt(o.place, SqlMessages::resultTooLarge());
        sum = *average;
    }
    sum.store(out);
}

void minOrMax(const Output &o, const char *data, const quint32 *rows, qsizetype n, char *out) {
    const bool min = o.function == u"MIN";
    const char *best = nullptr;
    SqlValue bestValue;
    for (qsizetype i = 0; i < n; ++i) {
        const char *record = data + rows[i];
        const SqlValue v = o.argument->value(record);
        if (isNullValue(v))
            continue;
        if (!best || (min ? compare(v, bestValue) < 0 : compare(v, bestValue) > 0)) {
            best = record;
            bestValue = v;
        }
    }
    if (o.keepsField) {
        if (best)
            std::memcpy(out, best + o.field.offset, o.field.width);
        else
            DbfField::writeNull(out, o.result);
    } else if (best) {
        bestValue.number.store(out);
    } else {
        Decimal::storeNull(out);
    }
}

// One aggregate over the records of a group.
void aggregate(const Output &o, const char *data, const quint32 *rows, qsizetype n, char *out) {
    if (o.function == u"COUNT") {
        qsizetype count = n;
        if (o.argument) {
            count = 0;
            for (qsizetype i = 0; i < n; ++i)
                count += isNullValue(o.argument->value(data + rows[i])) ? 0 : 1;
        }
        putCount(out, count);
    } else if (o.function == u"SUM" || o.function == u"AVG") {
        sumOrAverage(o, data, rows, n, out);
    } else {
        minOrMax(o, data, rows, n, out);
    }
}

// Every column of the table, for "*".
void addStar(std::vector<Output> &outputs, const QList<Column> &columns, SqlPlace place) {
    for (const Column &c : columns) {
        Output o;
        o.name = c.name;
        o.place = place;
        o.field = c;
        outputs.push_back(std::move(o));
    }
}

Output aggregateOutput(const SqlSelectItem &item, const QList<Column> &columns,
                       const QString &tableName) {
    const SqlExpression &e = *item.expr;
    Output o;
    o.place = item.place;
    o.aggregate = true;
    o.function = e.text;
    o.name = item.alias.isEmpty() ? e.toText() : item.alias;
    if (e.operands.empty())
        return o; // COUNT(*)
    const SqlExpression &arg = *e.operands[0];
    o.argument = std::make_unique<SqlEvaluator>(arg, &columns, tableName);
    const SqlEvaluator::Type t = o.argument->type();
    const bool numeric = t == SqlEvaluator::Type::Number || t == SqlEvaluator::Type::Null;
    if ((o.function == u"SUM" || o.function == u"AVG") && !numeric) {
        refuseAt(placeOf(arg),
                 QStringLiteral("functia %1 se aplica numai numerelor").arg(o.function));
    }
    if (o.function == u"MIN" || o.function == u"MAX") {
        if (arg.kind == SqlExpression::Kind::Column) {
            o.keepsField = true;
            o.field = *findColumn(columns, arg.text);
        } else if (!numeric) {
            refuseAt(
                placeOf(arg),
                QStringLiteral("functia %1 se aplica unei coloane sau unui numar").arg(o.function));
        }
    }
    return o;
}

// What the statement asks to show; grouped turns true when an aggregate is among it.
std::vector<Output> outputsOf(const SqlSelect &s, const QList<Column> &columns,
                              const QString &tableName, bool &grouped) {
    std::vector<Output> outputs;
    for (const SqlSelectItem &item : s.items) {
        if (item.star) {
            addStar(outputs, columns, item.place);
            continue;
        }
        const SqlExpression &e = *item.expr;
        if (e.kind == SqlExpression::Kind::Aggregate) {
            grouped = true;
            outputs.push_back(aggregateOutput(item, columns, tableName));
            continue;
        }
        if (e.kind != SqlExpression::Kind::Column) {
            refuseAt(placeOf(e), QStringLiteral("se astepta un nume de coloana sau o functie (SUM, "
                                                "COUNT, MIN, MAX, AVG)"));
        }
        const Column *c = findColumn(columns, e.text);
        if (!c)
            refuseAt(placeOf(e), SqlMessages::noSuchColumn(e.text, tableName));
        Output o;
        o.place = item.place;
        o.field = *c;
        o.name = item.alias.isEmpty() ? c->name : item.alias;
        outputs.push_back(std::move(o));
    }
    return outputs;
}

// Offsets of the live records that satisfy the condition, in file order.
std::vector<quint32> qualifying(const QByteArray &data, const DbfHeader &h,
                                const SqlEvaluator *where) {
    std::vector<quint32> rows;
    rows.reserve(h.recordCount);
    for (quint32 i = 0; i < h.recordCount; ++i) {
        const auto offset = static_cast<quint32>(h.recordOffset(i));
        const char *record = data.constData() + offset;
        if (*record == DbfHeader::kDeleted || (where && !where->holds(record)))
            continue;
        rows.push_back(offset);
    }
    return rows;
}

// The chosen columns of the rows copied into a buffer of their own, so that the few rows of
// a DISTINCT do not keep the whole file alive.
ResultSet compacted(const QList<Column> &columns, const QByteArray &data,
                    const std::vector<quint32> &rows) {
    QList<Column> compact = columns;
    int width = 0;
    for (Column &c : compact) {
        c.offset = width;
        width += c.width;
    }
    QByteArray out(static_cast<qsizetype>(rows.size()) * width, Qt::Uninitialized);
    std::vector<quint32> offsets(rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        char *to = out.data() + r * width;
        for (qsizetype i = 0; i < columns.size(); ++i)
            std::memcpy(to + compact[i].offset, data.constData() + rows[r] + columns[i].offset,
                        columns[i].width);
        offsets[r] = static_cast<quint32>(r * width);
    }
    return ResultSet(compact, std::move(out), std::move(offsets));
}

// A selection of columns without aggregates: the table's own bytes, in the statement's order.
ResultSet plainResult(const SqlSelect &s, const std::vector<Output> &outputs,
                      const QList<Column> &columns, const QString &tableName, QByteArray data,
                      std::vector<quint32> rows) {
    QList<Column> result;
    for (const Output &o : outputs) {
        Column c = o.field;
        c.name = o.name;
        result.append(c);
    }
    if (s.distinct)
        keepDistinct(data.constData(), rows, result);
    if (!s.orderBy.empty())
        SqlSorter(orderKeys(s, result, &columns, tableName)).sort(data.constData(), rows);
    if (s.distinct)
        return compacted(result, data, rows);
    return ResultSet(result, std::move(data), std::move(rows));
}

// The columns rows are grouped by; every plain column shown must be one of them.
QList<Column> groupColumnsOf(const SqlSelect &s, const std::vector<Output> &outputs,
                             const QList<Column> &columns, const QString &tableName) {
    QList<Column> groupColumns;
    for (const SqlName &n : s.groupBy) {
        const Column *c = findColumn(columns, n.name);
        if (!c)
            refuseAt(n.place, SqlMessages::noSuchColumn(n.name, tableName));
        groupColumns.append(*c);
    }
    for (const Output &o : outputs) {
        if (!o.aggregate && !findColumn(groupColumns, o.field.name)) {
            refuseAt(o.place, QStringLiteral("coloana %1 trebuie sa apara in GROUP BY sau intr-o "
                                             "functie")
                                  .arg(o.field.name));
        }
    }
    return groupColumns;
}

// Lays out one result row: the plain columns as in the table, computed numbers in Decimal's
// binary form. Sets each output's place in the row.
QList<Column> groupedLayout(std::vector<Output> &outputs, int &width) {
    QList<Column> result;
    width = 0;
    for (Output &o : outputs) {
        Column c;
        if (!o.aggregate || o.keepsField) {
            c = o.field;
        } else {
            c.type = ColumnType::Number;
            c.dbfType = 'N';
            c.width = Decimal::kStoredSize;
            c.binaryDecimal = true;
        }
        c.name = o.name;
        c.offset = width;
        width += c.width;
        o.result = c;
        result.append(c);
    }
    return result;
}

// One row per group of equal GROUP BY values (or one of every row without GROUP BY).
ResultSet groupedResult(const SqlSelect &s, std::vector<Output> &outputs,
                        const QList<Column> &columns, const QString &tableName, QByteArray data,
                        std::vector<quint32> rows) {
    const QList<Column> groupColumns = groupColumnsOf(s, outputs, columns, tableName);
    std::vector<qsizetype> runs;
    if (!groupColumns.isEmpty())
        SqlSorter(keysFor(groupColumns)).sort(data.constData(), rows, &runs);
    else
        runs.push_back(0); // one group of every row, even of none

    int width = 0;
    const QList<Column> result = groupedLayout(outputs, width);
    QByteArray out(static_cast<qsizetype>(runs.size()) * width, Qt::Uninitialized);
    std::vector<quint32> offsets(runs.size());
    for (size_t g = 0; g < runs.size(); ++g) {
        const qsizetype begin = runs[g];
        const qsizetype end =
            g + 1 < runs.size() ? runs[g + 1] : static_cast<qsizetype>(rows.size());
        char *to = out.data() + g * width;
        offsets[g] = static_cast<quint32>(g * width);
        for (const Output &o : outputs) {
            char *cell = to + o.result.offset;
            if (o.aggregate)
                aggregate(o, data.constData(), rows.data() + begin, end - begin, cell);
            else
                std::memcpy(cell, data.constData() + rows[begin] + o.field.offset, o.field.width);
        }
    }
    data.clear();
    if (s.distinct)
        keepDistinct(out.constData(), offsets, result);
    if (!s.orderBy.empty())
        SqlSorter(orderKeys(s, result, nullptr, tableName)).sort(out.constData(), offsets);
    return ResultSet(result, std::move(out), std::move(offsets));
}

} // namespace

ResultSet SqlSelectExecutor::run(const SqlSelect &s) {
    DbfTable table(SqlExecutor::existingTable(s.table), DbfTable::Access::Read);
    const QString tableName = TablePath::fileName(table.path());
    const QList<Column> &columns = table.columns();

    const auto where = SqlEvaluator::condition(s.where.get(), columns, tableName);
    bool grouped = !s.groupBy.empty();
    std::vector<Output> outputs = outputsOf(s, columns, tableName, grouped);

    QByteArray data = table.readAll();
    std::vector<quint32> rows = qualifying(data, table.header(), where.get());
    if (!grouped)
        return plainResult(s, outputs, columns, tableName, std::move(data), std::move(rows));
    return groupedResult(s, outputs, columns, tableName, std::move(data), std::move(rows));
}

} // namespace velmora
