// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A temporary program directory with a few sheets and lines, written through the statements
// the editors compose, and the files exported from it.

#include "records/sheetstatements.h"
#include "store/datastore.h"
#include "store/sql/sqlengine.h"
#include "store/text/textform.h"
#include "store/text/timp.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

namespace velmora::test {

class ExportFixture {
public:
    // Names typed with the comma-below Ș; the table holds the cedilla Ş.
    static QString serban() { return QStringLiteral(u"\u0218ERBAN ANA"); }
    static QString serbanStored() { return QStringLiteral(u"\u015EERBAN ANA"); }
    static QString quotedParking() { return QStringLiteral("AUTOBAZA \"NORD\"; POARTA 2"); }

    ExportFixture()
        : m_store(m_dir.path())
        , m_statements(m_store.dataDir()) {
        SqlEngine::setSynchronous(false);
        m_store.ensureDataDir();
        m_store.createTables();
        // id, date, hour, vehicle, drivers, parking, km, consumption, price, cost, income
        addSheet(1, QDate(2024, 3, 1), QTime(8, 0), "B10AAA", QStringLiteral("POPESCU ION"), {},
                 QStringLiteral("DEPOU 1"), "120", "7.5", "6.9", "62.10", "170.50");
        addSheet(2, QDate(2024, 3, 1), QTime(7, 15), "CJ20BBB", QStringLiteral("IONESCU DAN"),
                 QStringLiteral("POPA MARIA"), QStringLiteral("=DEPOU"), "0", "8", "7", "0",
                 "1.25");
        addSheet(3, QDate(2024, 3, 2), QTime(6, 0), "B10AAA", serban(),
                 QStringLiteral("POPESCU ION"), quotedParking(), "80", "6.25", "7", "35.00",
                 "5.00");
        addSheet(4, QDate(2024, 3, 3), QTime(9, 30), "B11CCC", QStringLiteral("POPA VASILE"), {},
                 QStringLiteral("DEPOU 2"), "200", "10", "7.01", "140.20", "300.00");
        // Written by another program in small letters: the search is case-sensitive.
        addSheet(5, QDate(2024, 2, 28), QTime(10, 0), "B10AAA", QStringLiteral("popescu mic"), {},
                 QStringLiteral("DEPOU 1"), "10", "10", "7", "7.00", "0");
        addSheet(6, QDate(2024, 3, 4), QTime(11, 0), "B12DDD", QStringLiteral("O'BRIEN"), {},
                 QStringLiteral("DEPOU 1"), "50", "8", "7", "28.00", "60.00");
        // Sheet 1's late arrival is entered first and lies after sheet 3's line in time.
        addLine(11, 1, QDateTime(QDate(2024, 3, 5), QTime(10, 0)), "20", "SOSIRE");
        addLine(12, 1, QDateTime(QDate(2024, 3, 1), QTime(8, 10)), "150.50", "PLECARE");
        addLine(13, 3, QDateTime(QDate(2024, 3, 2), QTime(6, 30)), "5", "PLECARE");
        addLine(14, 2, QDateTime(QDate(2024, 3, 1), QTime(12, 5)), "1.25", "PLECARE");
        addLine(15, 5, QDateTime(QDate(2024, 2, 28), QTime(10, 20)), "0", "PLECARE");
    }

    QString programDir() const { return m_dir.path(); }
    QString dataDir() const { return m_store.dataDir(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    void addSheet(int id, QDate date, QTime hour, const char *vehicle, const QString &driver1,
                  const QString &driver2, const QString &parking, const char *km,
                  const char *consumption, const char *price, const char *cost,
                  const char *income) {
        SheetValues s;
        s.id = QString::number(id);
        s.date = date;
        s.hour = hour;
        s.vehicle = QLatin1String(vehicle);
        s.driver1 = driver1;
        s.driver2 = driver2;
        s.parking = parking;
        s.km = QLatin1String(km);
        s.consumption = QLatin1String(consumption);
        s.price = QLatin1String(price);
        s.cost = QLatin1String(cost);
        s.totalIncome = QLatin1String(income);
        SqlEngine::run(m_statements.insertSheet(s).join(u'\n'));
    }

    void addLine(int id, int sheet, const QDateTime &when, const char *amount, const char *kind) {
        const LineValues line{QString::number(id), QString::number(sheet), QLatin1String(kind),
                              TextForm::fourDecimal(Timp::fromDateTime(when.date(), when.time())),
                              QLatin1String(amount)};
        SqlEngine::run(m_statements.insertLine(line).join(u'\n'));
    }

    QTemporaryDir m_dir;
    DataStore m_store;
    SheetStatements m_statements;
};

} // namespace velmora::test
