// SPDX-License-Identifier: GPL-3.0-or-later
// The record-filter parser on any text, bound to a small result and evaluated: a filter is
// either refused with an EngineError or it selects rows, and "NOT (f)" selects exactly the
// other rows, "(f) AND (f)" and "(f) OR (f)" exactly the same ones.

#include "fuzzsupport.h"

#include "store/query/recordfilter.h"
#include "store/sql/resultset.h"
#include "store/text/error.h"

#include <algorithm>
#include <optional>

using namespace velmora;

namespace {

Column column(const char *name, ColumnType type, char dbfType, int width, int decimals,
              int offset) {
    Column c;
    c.name = QString::fromLatin1(name);
    c.type = type;
    c.dbfType = dbfType;
    c.width = width;
    c.decimals = decimals;
    c.offset = offset;
    return c;
}

// Rows as a table file holds them: deletion flag, NAME C(10), ID N(6,0), SUMA N(9,2),
// DATAX D(8); blanks are NULL.
const ResultSet &rows() {
    static const ResultSet result = [] {
        const QList<Column> columns = {
            column("NAME", ColumnType::Text, 'C', 10, 0, 1),
            column("ID", ColumnType::Number, 'N', 6, 0, 11),
            column("SUMA", ColumnType::Number, 'N', 9, 2, 17),
            column("DATAX", ColumnType::Date, 'D', 8, 0, 26),
        };
        const char *const records[] = {
            " POPESCU       17   150.5020070120",   " POP'A          1     0.0020231231",
            " IONESCU      -3            19991201", "                            ",
            " A B      999999 -99999.9900000000",   " \xba\xfe\xaa      42    12.3420240229",
        };
        QByteArray data;
        std::vector<quint32> offsets;
        for (const char *record : records) {
            QByteArray r(record);
            r = r.leftJustified(34, ' ', true);
            offsets.push_back(static_cast<quint32>(data.size()));
            data.append(r);
        }
        return ResultSet(columns, data, std::move(offsets));
    }();
    return result;
}

// The rows the filter selects; nullopt when it is refused.
std::optional<std::vector<quint32>> selected(const QString &expression) {
    try {
        RecordFilter filter(expression);
        filter.bind(rows().columns());
        return filter.select(rows());
    } catch (const EngineError &) {
        return std::nullopt;
    }
}

bool refusedForDepth(const QString &expression) {
    try {
        RecordFilter filter(expression);
    } catch (const EngineError &e) {
        return e.message().contains(QStringLiteral("prea multe niveluri"));
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = QString::fromUtf8(fuzz::bytes(data, size));
    const std::optional<std::vector<quint32>> chosen = selected(text);
    if (!chosen)
        return 0;
    const qsizetype all = rows().rowCount();
    const QString inner = QStringLiteral("(") + text + QStringLiteral(")");

    const std::optional<std::vector<quint32>> negated = selected(QStringLiteral("NOT ") + inner);
    if (!negated) {
        VELMORA_FUZZ_CHECK(refusedForDepth(QStringLiteral("NOT ") + inner),
                           QStringLiteral("NOT of an accepted filter refused: ") + text);
        return 0;
    }
    VELMORA_FUZZ_CHECK(static_cast<qsizetype>(chosen->size() + negated->size()) == all,
                       QStringLiteral("NOT does not select the other rows: ") + text);
    for (const quint32 row : *negated) {
        VELMORA_FUZZ_CHECK(std::find(chosen->begin(), chosen->end(), row) == chosen->end(),
                           QStringLiteral("a row passes both the filter and its NOT: ") + text);
    }
    for (const QString &joiner : {QStringLiteral(" AND "), QStringLiteral(" OR ")}) {
        const QString both = inner + joiner + inner;
        const std::optional<std::vector<quint32>> twice = selected(both);
        if (!twice && refusedForDepth(both))
            continue;
        VELMORA_FUZZ_CHECK(twice && *twice == *chosen, QStringLiteral("f") + joiner +
                                                           QStringLiteral("f differs from f: ") +
                                                           text);
    }
    return 0;
}
