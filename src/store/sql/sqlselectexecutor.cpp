#include "store/sql/sqlselectexecutor.h"

#include "store/dbf/dbffield.h"
#include "store/dbf/dbftable.h"
#include "store/dbf/tablepath.h"
#include "store/sql/sqlevaluator.h"
#include "store/sql/sqlexecutor.h"
#include "store/sql/sqlsorter.h"
#include "store/text/error.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace velmora {

namespace {

const Column *columnNamed(const QList<Column> &columns, QStringView name) {
    for (const Column &c : columns) {
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

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
            c = columnNamed(outputs, e.text);
            if (!c && table)
                c = columnNamed(*table, e.text);
            if (!c) {
                refuseAt(
                    placeOf(e),
                    table
                        ? QStringLiteral("coloana %1 nu exista in tabela %2").arg(e.text, tableName)
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
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    case SqlValue::Kind::Date:
        return a.date < b.date ? -1 : (a.date > b.date ? 1 : 0);
    case SqlValue::Kind::Text:
        return SqlEvaluator::compareText(a.text, b.text);
    default:
        return 0;
    }
}

void putDouble(char *out, double v) {
    std::memcpy(out, &v, sizeof v);
}

// One aggregate over the records of a group.
void aggregate(const Output &o, const char *data, const quint32 *rows, qsizetype n, char *out) {
    const QString &f = o.function;
    if (f == u"COUNT") {
        qsizetype count = n;
        if (o.argument) {
            count = 0;
            for (qsizetype i = 0; i < n; ++i)
                count += isNullValue(o.argument->value(data + rows[i])) ? 0 : 1;
        }
        putDouble(out, static_cast<double>(count));
        return;
    }
    if (f == u"SUM" || f == u"AVG") {
        double sum = 0;
        qsizetype count = 0;
        for (qsizetype i = 0; i < n; ++i) {
            const SqlValue v = o.argument->value(data + rows[i]);
            if (v.kind == SqlValue::Kind::Number) {
                sum += v.number;
                ++count;
            }
        }
        const double nan = std::numeric_limits<double>::quiet_NaN();
        putDouble(out, count == 0 ? nan : (f == u"SUM" ? sum : sum / count));
        return;
    }
    // MIN, MAX
    const bool min = f == u"MIN";
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
    } else {
        putDouble(out, best ? bestValue.number : std::numeric_limits<double>::quiet_NaN());
    }
}

} // namespace

ResultSet SqlSelectExecutor::run(const SqlSelect &s) {
    DbfTable table(SqlExecutor::existingTable(s.table), DbfTable::Access::Read);
    const QString tableName = TablePath::fileName(table.path());
    const QList<Column> &columns = table.columns();
    const DbfHeader &h = table.header();

    std::unique_ptr<SqlEvaluator> where;
    if (s.where) {
        where = std::make_unique<SqlEvaluator>(*s.where, &columns, tableName);
        if (where->type() != SqlEvaluator::Type::Bool && where->type() != SqlEvaluator::Type::Null)
            refuseAt(placeOf(*s.where), QStringLiteral("dupa WHERE se astepta o conditie"));
    }

    std::vector<Output> outputs;
    bool grouped = !s.groupBy.empty();
    for (const SqlSelectItem &item : s.items) {
        if (item.star) {
            for (const Column &c : columns) {
                Output o;
                o.name = c.name;
                o.place = item.place;
                o.field = c;
                outputs.push_back(std::move(o));
            }
            continue;
        }
        const SqlExpression &e = *item.expr;
        Output o;
        o.place = item.place;
        if (e.kind == SqlExpression::Kind::Column) {
            const Column *c = columnNamed(columns, e.text);
            if (!c) {
                refuseAt(
                    placeOf(e),
                    QStringLiteral("coloana %1 nu exista in tabela %2").arg(e.text, tableName));
            }
            o.field = *c;
            o.name = item.alias.isEmpty() ? c->name : item.alias;
        } else if (e.kind == SqlExpression::Kind::Aggregate) {
            grouped = true;
            o.aggregate = true;
            o.function = e.text;
            o.name = item.alias.isEmpty() ? e.toText() : item.alias;
            if (!e.operands.empty()) {
                const SqlExpression &arg = *e.operands[0];
                o.argument = std::make_unique<SqlEvaluator>(arg, &columns, tableName);
                const SqlEvaluator::Type t = o.argument->type();
                const bool numeric =
                    t == SqlEvaluator::Type::Number || t == SqlEvaluator::Type::Null;
                if ((o.function == u"SUM" || o.function == u"AVG") && !numeric) {
                    refuseAt(
                        placeOf(arg),
                        QStringLiteral("functia %1 se aplica numai numerelor").arg(o.function));
                }
                if (o.function == u"MIN" || o.function == u"MAX") {
                    if (arg.kind == SqlExpression::Kind::Column) {
                        o.keepsField = true;
                        o.field = *columnNamed(columns, arg.text);
                    } else if (!numeric) {
                        refuseAt(placeOf(arg), QStringLiteral("functia %1 se aplica unei coloane "
                                                              "sau unui numar")
                                                   .arg(o.function));
                    }
                }
            }
        } else {
            refuseAt(placeOf(e), QStringLiteral("se astepta un nume de coloana sau o functie (SUM, "
                                                "COUNT, MIN, MAX, AVG)"));
        }
        outputs.push_back(std::move(o));
    }

    QByteArray data = table.readAll();
    std::vector<quint32> rows;
    rows.reserve(h.recordCount);
    for (quint32 i = 0; i < h.recordCount; ++i) {
        const auto offset = static_cast<quint32>(h.recordOffset(i));
        const char *record = data.constData() + offset;
        if (*record == DbfHeader::kDeleted || (where && !where->holds(record)))
            continue;
        rows.push_back(offset);
    }

    if (!grouped) {
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
        if (!s.distinct)
            return ResultSet(result, std::move(data), std::move(rows));
        // The few distinct values should not keep the whole file alive.
        QList<Column> compact = result;
        int width = 0;
        for (Column &c : compact) {
            c.offset = width;
            width += c.width;
        }
        QByteArray out(static_cast<qsizetype>(rows.size()) * width, Qt::Uninitialized);
        std::vector<quint32> offsets(rows.size());
        for (size_t r = 0; r < rows.size(); ++r) {
            char *to = out.data() + r * width;
            for (qsizetype i = 0; i < result.size(); ++i)
                std::memcpy(to + compact[i].offset, data.constData() + rows[r] + result[i].offset,
                            result[i].width);
            offsets[r] = static_cast<quint32>(r * width);
        }
        return ResultSet(compact, std::move(out), std::move(offsets));
    }

    // Groups: every plain column shown must be one the rows are grouped by.
    QList<Column> groupColumns;
    for (const SqlName &n : s.groupBy) {
        const Column *c = columnNamed(columns, n.name);
        if (!c) {
            refuseAt(n.place,
                     QStringLiteral("coloana %1 nu exista in tabela %2").arg(n.name, tableName));
        }
        groupColumns.append(*c);
    }
    for (const Output &o : outputs) {
        if (!o.aggregate && !columnNamed(groupColumns, o.field.name)) {
            refuseAt(o.place, QStringLiteral("coloana %1 trebuie sa apara in GROUP BY sau intr-o "
                                             "functie")
                                  .arg(o.field.name));
        }
    }
    std::vector<qsizetype> runs;
    if (!groupColumns.isEmpty())
        SqlSorter(keysFor(groupColumns)).sort(data.constData(), rows, &runs);
    else
        runs.push_back(0); // one group of every row, even of none

    QList<Column> result;
    int width = 0;
    for (Output &o : outputs) {
        Column c;
        if (!o.aggregate || o.keepsField) {
            c = o.field;
        } else {
            c.type = ColumnType::Number;
            c.dbfType = 'N';
            c.width = sizeof(double);
            c.binaryDouble = true;
        }
        c.name = o.name;
        c.offset = width;
        width += c.width;
        o.result = c;
        result.append(c);
    }
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
            if (o.aggregate) {
                aggregate(o, data.constData(), rows.data() + begin, end - begin, cell);
            } else {
                std::memcpy(cell, data.constData() + rows[begin] + o.field.offset, o.field.width);
            }
        }
    }
    data.clear();
    if (s.distinct)
        keepDistinct(out.constData(), offsets, result);
    if (!s.orderBy.empty())
        SqlSorter(orderKeys(s, result, nullptr, tableName)).sort(out.constData(), offsets);
    return ResultSet(result, std::move(out), std::move(offsets));
}

} // namespace velmora
