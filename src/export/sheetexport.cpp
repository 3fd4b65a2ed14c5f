// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/sheetexport.h"

#include "export/csvwriter.h"
#include "records/recordlists.h"
#include "reports/period.h"
#include "store/query/recordfilter.h"
#include "store/sql/resultset.h"
#include "store/sql/sqlengine.h"
#include "store/text/error.h"
#include "store/text/textform.h"
#include "store/text/timp.h"

#include <QHash>
#include <algorithm>
#include <numeric>
#include <vector>

namespace velmora {

namespace {

int columnOf(const ResultSet &result, QStringView name, QStringView table) {
    const int index = result.columnIndex(name);
    if (index < 0)
        throw EngineError(QStringLiteral("Tabelul %1 nu are coloana %2.").arg(table, name));
    return index;
}

// The sheets in the list's order and the rows of them that the search lets through.
struct Selected {
    ResultSet result;
    std::vector<quint32> rows;
};

Selected selectSheets(const QString &dataDir, const SheetExport::Selection &selection) {
    QStringList statement{QStringLiteral("SELECT *"),
                          QStringLiteral("FROM ") +
                              TextForm::quoted(dataDir + QStringLiteral("/Foi.dbf"))};
    if (selection.from.isValid() && selection.to.isValid()) {
        Period::require(selection.from, selection.to);
        statement << QStringLiteral("WHERE DATAX>=") +
                         TextForm::quoted(TextForm::date(selection.from))
                  << QStringLiteral("AND DATAX<=") + TextForm::quoted(TextForm::date(selection.to));
    }
    statement << QStringLiteral("ORDER BY ") + selection.order;
    Selected selected{SqlEngine::open(statement.join(u'\n')), {}};
    const QString condition = RecordLists::searchCondition(selection.driver, selection.vehicle);
    if (condition.isEmpty()) {
        selected.rows.resize(static_cast<size_t>(selected.result.rowCount()));
        std::iota(selected.rows.begin(), selected.rows.end(), 0U);
        return selected;
    }
    RecordFilter filter(condition);
    filter.bind(selected.result.columns());
    selected.rows = filter.select(selected.result);
    return selected;
}

// Identifiers are whole numbers; anything else matches no sheet.
std::optional<qint64> idOf(const ResultSet &result, qsizetype row, int column) {
    if (result.isNull(row, column))
        return std::nullopt;
    const Decimal id = result.decimal(row, column).normalized();
    if (id.scale() != 0)
        return std::nullopt;
    return id.units();
}

} // namespace

SheetExport::SheetExport(QString dataDir, Selection selection)
    : m_dataDir(std::move(dataDir))
    , m_selection(std::move(selection)) {}

QStringList SheetExport::sheetTitles() {
    return {QStringLiteral("Nr. foaie"),
            QStringLiteral("Data"),
            QStringLiteral("Ora"),
            QStringLiteral("Numar inmatric."),
            QStringLiteral("Nume Sofer 1"),
            QStringLiteral("Nume Sofer 2"),
            QStringLiteral("Loc de parcare"),
            QStringLiteral("Total venit (lei)"),
            QStringLiteral("Parcurs (km)"),
            QStringLiteral("Consum (L/100 km)"),
            QStringLiteral("Pret (lei/L)"),
            QStringLiteral("Total cost (lei)")};
}

QStringList SheetExport::lineTitles() {
    return {QStringLiteral("Nr. foaie"), QStringLiteral("Data"), QStringLiteral("Ora"),
            QStringLiteral("Plecat / sosit"), QStringLiteral("Venit (lei)")};
}

qsizetype SheetExport::writeSheets(const QString &path, CsvDialect dialect) const {
    const Selected sheets = selectSheets(m_dataDir, m_selection);
    const ResultSet &result = sheets.result;
    enum class Kind { Number, Date, Text };
    struct Field {
        int column;
        Kind kind;
    };
    const QString table = QStringLiteral("Foi.dbf");
    const Field fields[] = {
        {columnOf(result, u"IDFOAIE", table), Kind::Number},
        {columnOf(result, u"DATAX", table), Kind::Date},
        {columnOf(result, u"ORA", table), Kind::Text},
        {columnOf(result, u"NRMAS", table), Kind::Text},
        {columnOf(result, u"SOFER1", table), Kind::Text},
        {columnOf(result, u"SOFER2", table), Kind::Text},
        {columnOf(result, u"LOCPARC", table), Kind::Text},
        {columnOf(result, u"TOTALVEN", table), Kind::Number},
        {columnOf(result, u"TKM", table), Kind::Number},
        {columnOf(result, u"CONSUM", table), Kind::Number},
        {columnOf(result, u"PRETL", table), Kind::Number},
        {columnOf(result, u"COST", table), Kind::Number},
    };
    CsvWriter csv(path, dialect);
    csv.titles(sheetTitles());
    for (const quint32 row : sheets.rows) {
        for (const Field &field : fields) {
            const QByteArrayView raw = result.raw(row, field.column);
            switch (field.kind) {
            case Kind::Number:
                csv.storedNumber(result.column(field.column), raw);
                break;
            case Kind::Date:
                csv.storedDate(raw);
                break;
            case Kind::Text:
                csv.storedText(raw);
                break;
            }
        }
        csv.endRow();
    }
    csv.commit();
    return static_cast<qsizetype>(sheets.rows.size());
}

qsizetype SheetExport::writeLines(const QString &path, CsvDialect dialect) const {
    const Selected sheets = selectSheets(m_dataDir, m_selection);
    const int sheetId = columnOf(sheets.result, u"IDFOAIE", QStringLiteral("Foi.dbf"));
    QHash<qint64, qsizetype> position;
    position.reserve(static_cast<qsizetype>(sheets.rows.size()));
    for (size_t i = 0; i < sheets.rows.size(); ++i) {
        if (const auto id = idOf(sheets.result, sheets.rows[i], sheetId))
            position.insert(*id, static_cast<qsizetype>(i));
    }

    const QString table = QStringLiteral("Sosiri.dbf");
    const ResultSet lines = SqlEngine::open(
        QStringList{QStringLiteral("SELECT *"),
                    QStringLiteral("FROM ") + TextForm::quoted(m_dataDir + u'/' + table),
                    QStringLiteral("ORDER BY TIMP")}
            .join(u'\n'));
    const int lineSheet = columnOf(lines, u"IDFOAIE", table);
    const int kind = columnOf(lines, u"PLESOS", table);
    const int timp = columnOf(lines, u"TIMP", table);
    const int amount = columnOf(lines, u"SUMA", table);

    // The lines of the selected sheets, grouped by sheet; a stable sort keeps each sheet's
    // lines in the TIMP order they were read in.
    std::vector<std::pair<qsizetype, quint32>> chosen;
    for (qsizetype row = 0; row < lines.rowCount(); ++row) {
        const auto id = idOf(lines, row, lineSheet);
        const auto found = id ? position.constFind(*id) : position.constEnd();
        if (found != position.constEnd())
            chosen.emplace_back(*found, static_cast<quint32>(row));
    }
    std::stable_sort(chosen.begin(), chosen.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });

    CsvWriter csv(path, dialect);
    csv.titles(lineTitles());
    for (const auto &[sheet, row] : chosen) {
        csv.storedNumber(lines.column(lineSheet), lines.raw(row, lineSheet));
        if (lines.isNull(row, timp)) {
            csv.empty();
            csv.empty();
        } else {
            const double when = lines.number(row, timp);
            csv.date(Timp::date(when));
            csv.hour(Timp::time(when));
        }
        csv.storedText(lines.raw(row, kind));
        csv.storedNumber(lines.column(amount), lines.raw(row, amount));
        csv.endRow();
    }
    csv.commit();
    return static_cast<qsizetype>(chosen.size());
}

} // namespace velmora
