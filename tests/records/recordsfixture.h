// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A temporary program directory with the two tables, filled through the statements the
// windows use, and read back through the engine.

#include "records/sheetstatements.h"
#include "store/datastore.h"
#include "store/programcontext.h"
#include "store/sql/sqlengine.h"
#include "store/text/textform.h"
#include "store/text/timp.h"

#include <QTemporaryDir>
#include <QTest>

namespace velmora::test {

class RecordsFixture {
public:
    RecordsFixture()
        : m_context(m_dir.path(), QStringLiteral("Velmora v.1.01"))
        , m_statements(m_context.dataDir()) {
        store().ensureDataDir();
        store().createTables();
    }

    QString programDir() const { return m_dir.path(); }
    QString dataDir() const { return m_context.dataDir(); }
    ProgramContext &context() { return m_context; }
    DataStore &store() { return m_context.store(); }
    const SheetStatements &statements() const { return m_statements; }

    void addSheet(int id, QDate date, const QString &hour, const QString &vehicle,
                  const QString &driver1, const QString &driver2 = QString(),
                  const QString &parking = QStringLiteral("DEPOU 1"),
                  const QString &total = QStringLiteral("0")) {
        SheetValues s;
        s.id = QString::number(id);
        s.date = date;
        s.hour = QTime::fromString(hour, QStringLiteral("HH:mm"));
        s.vehicle = vehicle;
        s.driver1 = driver1;
        s.driver2 = driver2;
        s.parking = parking;
        s.km = QStringLiteral("100");
        s.consumption = QStringLiteral("8");
        s.price = QStringLiteral("6");
        s.cost = QStringLiteral("48");
        s.totalIncome = total;
        run(m_statements.insertSheet(s));
    }

    void addLine(int id, int sheet, QDateTime when, const QString &amount,
                 const QString &kind = QStringLiteral("PLECARE")) {
        const LineValues line{QString::number(id), QString::number(sheet), kind,
                              TextForm::fourDecimal(Timp::fromDateTime(when.date(), when.time())),
                              amount};
        run(m_statements.insertLine(line));
    }

    void run(const QStringList &statement) { SqlEngine::run(statement.join(u'\n')); }

    // Every row of a table in stored order, each as "COLUMN=value" texts of the named columns.
    QStringList rows(const QString &table, const QStringList &columns) const {
        const ResultSet result = SqlEngine::open(QStringLiteral("SELECT * FROM ") +
                                                 TextForm::quoted(dataDir() + u'/' + table));
        QStringList out;
        for (qsizetype r = 0; r < result.rowCount(); ++r) {
            QStringList cells;
            for (const QString &column : columns)
                cells.append(result.text(r, result.columnIndex(column)));
            out.append(cells.join(u'|'));
        }
        return out;
    }
    QStringList sheets(const QStringList &columns) const {
        return rows(QStringLiteral("Foi.dbf"), columns);
    }
    QStringList lines(const QStringList &columns) const {
        return rows(QStringLiteral("Sosiri.dbf"), columns);
    }

private:
    QTemporaryDir m_dir;
    ProgramContext m_context;
    SheetStatements m_statements;
};

} // namespace velmora::test
