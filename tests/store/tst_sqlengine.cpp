// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/statements.h"

#include "store/sql/sqlengine.h"
#include "store/text/error.h"
#include "store/text/textform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace velmora::statements;
using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString describe(const ResultSet &r, qsizetype row, const QString &column) {
    return r.text(row, r.columnIndex(column));
}

// The values of one column over all rows, as their display texts.
QStringList columnTexts(const ResultSet &r, const QString &column) {
    QStringList out;
    for (qsizetype i = 0; i < r.rowCount(); ++i)
        out << describe(r, i, column);
    return out;
}

} // namespace

class TestSqlEngine : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_data;

    void insert(const Sheet &s) { QCOMPARE(SqlEngine::run(insertSheet(m_data, s)), 1); }
    Sheet sheet(int id, QDate date, const QString &hour, const QString &vehicle = u"B12ABC"_s) {
        Sheet s;
        s.id = QString::number(id);
        s.date = date;
        s.hour = hour;
        s.vehicle = vehicle;
        return s;
    }
    double totalOf(int id) {
        const ResultSet r =
            SqlEngine::open(u"SELECT TOTALVEN FROM "_s + table(m_data, u"Foi.dbf"_s) +
                            u" WHERE IDFOAIE="_s + QString::number(id));
        if (r.rowCount() != 1)
            return -1;
        return r.number(0, 0);
    }

private Q_SLOTS:
    void init() {
        QVERIFY(m_dir.isValid());
        m_data =
            m_dir.path() + u"/Data"_s + QString::number(QRandomGenerator::global()->generate());
        QVERIFY(QDir().mkpath(m_data));
        SqlEngine::run(createFoi(m_data));
        SqlEngine::run(createSosiri(m_data));
    }

    void createdTablesOpenEmptyWithTheirColumns() {
        const ResultSet foi = SqlEngine::open(sheets(m_data));
        QCOMPARE(foi.rowCount(), 0);
        QStringList names;
        for (const Column &c : foi.columns())
            names << c.name;
        QCOMPARE(names, QStringList({u"IDFOAIE"_s, u"ORA"_s, u"NRMAS"_s, u"DATAX"_s, u"SOFER1"_s,
                                     u"SOFER2"_s, u"LOCPARC"_s, u"TOTALVEN"_s, u"TKM"_s,
                                     u"CONSUM"_s, u"PRETL"_s, u"COST"_s}));
        QCOMPARE(foi.column(0).type, ColumnType::Number);
        QCOMPARE(foi.column(1).type, ColumnType::Text);
        QCOMPARE(foi.column(3).type, ColumnType::Date);
        const ResultSet sosiri = SqlEngine::open(lines(m_data));
        QCOMPARE(sosiri.columnCount(), 5);
        QCOMPARE(sosiri.column(3).name, u"TIMP"_s);
        QCOMPARE(sosiri.column(3).decimals, 4);
    }

    void createOnAnExistingFileIsRefused() {
        // Any spelling of the name is the same file.
        QVERIFY_THROWS_EXCEPTION(EngineError, SqlEngine::run(createFoi(m_data)));
        QString lower = createSosiri(m_data);
        lower.replace(u"Sosiri.DBF"_s, u"sosiri.dbf"_s);
        QVERIFY_THROWS_EXCEPTION(EngineError, SqlEngine::run(lower));
    }

    void sheetInsertedByTheEditorsTextReadsBack() {
        insert(Sheet());
        const ResultSet r = SqlEngine::open(sheets(m_data));
        QCOMPARE(r.rowCount(), 1);
        auto value = [&](const char *name) {
            return r.value(0, r.columnIndex(QString::fromLatin1(name)));
        };
        QCOMPARE(value("IDFOAIE").toDouble(), 17.0);
        QCOMPARE(value("DATAX").toDate(), QDate(2007, 1, 20));
        QCOMPARE(value("ORA").toString(), u"14:05"_s);
        QCOMPARE(value("NRMAS").toString(), u"B12ABC"_s);
        QCOMPARE(value("SOFER1").toString(), u"SOFER A"_s);
        QVERIFY(r.isNull(0, r.columnIndex(u"SOFER2")));
        QCOMPARE(value("LOCPARC").toString(), u"PARCARE 1"_s);
        QCOMPARE(value("TOTALVEN").toDouble(), 0.0);
        QCOMPARE(value("TKM").toDouble(), 120.0);
        QCOMPARE(value("CONSUM").toDouble(), 7.5);
        QCOMPARE(value("PRETL").toDouble(), 4.2);
        QCOMPARE(value("COST").toDouble(), 37.8);
    }

    void literalDatesUseTheUsersShortFormat() {
        if (TextForm::dateFormat() != u"dd.MM.yyyy")
            QSKIP("needs a day.month.year short date format (LC_ALL=ro_RO.UTF-8)");
        const QString text =
            QStringList{u"INSERT INTO "_s + table(m_data, u"Foi.dbf"_s),
                        u"(IDFOAIE,DATAX,ORA,NRMAS,SOFER1,SOFER2,LOCPARC,TOTALVEN,"_s,
                        u"TKM,CONSUM,PRETL,COST)"_s,
                        u"VALUES ("_s,
                        u"17,\"20.01.2007\",\"14:05\","_s,
                        u"\"B12ABC\","_s,
                        u"\"SOFER A\","_s,
                        u"\"\","_s,
                        u"\"PARCARE 1\","_s,
                        u"0,120,"_s,
                        u"7.5,"_s,
                        u"4.2,"_s,
                        u"37.8)"_s}
                .join(u'\n');
        QCOMPARE(SqlEngine::run(text), 1);
        const ResultSet r = SqlEngine::open(u"SELECT DATAX FROM "_s + table(m_data, u"Foi.dbf"_s) +
                                            u" WHERE DATAX=\"20.01.2007\""_s);
        QCOMPARE(r.rowCount(), 1);
        QCOMPARE(r.date(0, 0), QDate(2007, 1, 20));
    }

    void lineIncomeKeepsTheSheetTotal() {
        insert(Sheet());
        QCOMPARE(SqlEngine::run(
                     insertLine(m_data, u"41"_s, u"17"_s, u"PLECARE"_s, u"39102.5868"_s, u"150"_s)),
                 1);
        QCOMPARE(SqlEngine::run(income(m_data, u"17"_s, u"+150"_s)), 1);
        QCOMPARE(totalOf(17), 150.0);

        QCOMPARE(
            SqlEngine::run(updateLine(m_data, u"41"_s, u"SOSIRE"_s, u"39102.5868"_s, u"200"_s)), 1);
        QCOMPARE(SqlEngine::run(income(m_data, u"17"_s, u"+200-150"_s)), 1);
        QCOMPARE(totalOf(17), 200.0);

        const ResultSet line = SqlEngine::open(lines(m_data));
        QCOMPARE(line.rowCount(), 1);
        QCOMPARE(describe(line, 0, u"PLESOS"_s), u"SOSIRE"_s);
        QCOMPARE(line.number(0, line.columnIndex(u"TIMP")), 39102.5868);
        QCOMPARE(line.number(0, line.columnIndex(u"SUMA")), 200.0);

        QCOMPARE(SqlEngine::run(deleteWhere(m_data, u"Sosiri.dbf"_s, u"IDSOS=41"_s)), 1);
        QCOMPARE(SqlEngine::run(income(m_data, u"17"_s, u"-200"_s)), 1);
        QCOMPARE(totalOf(17), 0.0);
        QCOMPARE(SqlEngine::open(lines(m_data)).rowCount(), 0);
    }

    void incomeArithmetic_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<double>("total");
        QTest::newRow("add") << u"+150"_s << 1150.0;
        QTest::newRow("new minus old") << u"+200-150"_s << 1050.0;
        QTest::newRow("subtract") << u"-150"_s << 850.0;
        QTest::newRow("decimals") << u"+0.1+0.2"_s << 1000.3;
        QTest::newRow("four decimals rounded") << u"+150.125"_s << 1150.12;
        QTest::newRow("to zero") << u"-1000"_s << 0.0;
    }

    void incomeArithmetic() {
        QFETCH(QString, change);
        QFETCH(double, total);
        insert(Sheet());
        SqlEngine::run(income(m_data, u"17"_s, u"+1000"_s));
        SqlEngine::run(income(m_data, u"17"_s, change));
        QCOMPARE(totalOf(17), total);
    }

    // Rounding to a column's decimals works on the decimal value: 10.005 is the cost of
    // 100 km at 1.5 l/100 km and 6.67 lei/l.
    void storedNumbersRoundHalfToEven_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("1.015") << u"1.015"_s << QByteArray("      1.02");
        QTest::newRow("10.005") << u"10.005"_s << QByteArray("     10.00");
        QTest::newRow("1.255") << u"1.255"_s << QByteArray("      1.26");
        QTest::newRow("computed") << u"100*1.5/100*6.67"_s << QByteArray("     10.00");
        QTest::newRow("quoted") << u"\"0.125\""_s << QByteArray("      0.12");
        QTest::newRow("most digits") << u"-999999.994"_s << QByteArray("-999999.99");
    }

    void storedNumbersRoundHalfToEven() {
        QFETCH(QString, value);
        QFETCH(QByteArray, field);
        insert(Sheet());
        QCOMPARE(SqlEngine::run(u"UPDATE "_s + table(m_data, u"Foi.dbf"_s) + u" SET COST="_s +
                                value + u" WHERE IDFOAIE=17"_s),
                 1);
        const ResultSet r = SqlEngine::open(u"SELECT COST FROM "_s + table(m_data, u"Foi.dbf"_s));
        QCOMPARE(r.raw(0, 0).toByteArray(), field);
    }

    // DECIMAL(8,2) holds 8 digits, 6 before the point; DECIMAL(18,0) 18 whole digits, exactly.
    void numbersThatDoNotFitTheirColumnAreRefused_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("stored"); // empty: refused
        QTest::newRow("money at most") << u"DECIMAL(8,2)"_s << u"999999.99"_s << u"999999.99"_s;
        QTest::newRow("money rounds over") << u"DECIMAL(8,2)"_s << u"999999.995"_s << QString();
        QTest::newRow("seven whole digits") << u"DECIMAL(8,2)"_s << u"9999999.99"_s << QString();
        QTest::newRow("negative at most")
            << u"DECIMAL(8,2)"_s << u"-999999.99"_s << u"-999999.99"_s;
        QTest::newRow("timp") << u"DECIMAL(9,4)"_s << u"45000.1234"_s << u"45000.1234"_s;
        QTest::newRow("timp too large") << u"DECIMAL(9,4)"_s << u"100000"_s << QString();
        QTest::newRow("eighteen whole digits")
            << u"DECIMAL(18,0)"_s << u"123456789012345678"_s << u"123456789012345678"_s;
        QTest::newRow("eighteen nines by arithmetic")
            << u"DECIMAL(18,0)"_s << u"999999999999999998+1"_s << u"999999999999999999"_s;
        QTest::newRow("nineteen digits")
            << u"DECIMAL(18,0)"_s << u"999999999999999999+1"_s << QString();
        QTest::newRow("nineteen digit literal")
            << u"DECIMAL(18,0)"_s << u"1234567890123456789"_s << QString();
        QTest::newRow("307 digits")
            << u"DECIMAL(8,2)"_s << u"2"_s + QString(306, u'0') << QString();
        QTest::newRow("307 digits quoted")
            << u"DECIMAL(8,2)"_s << u"\"2"_s + QString(306, u'0') + u'"' << QString();
    }

    void numbersThatDoNotFitTheirColumnAreRefused() {
        QFETCH(QString, type);
        QFETCH(QString, value);
        QFETCH(QString, stored);
        const QString t = table(m_data, u"N.DBF"_s);
        SqlEngine::run(u"CREATE TABLE "_s + t + u" (ID DECIMAL(2,0), V "_s + type + u')');
        SqlEngine::run(u"INSERT INTO "_s + t + u" (ID, V) VALUES (1, 0)"_s);
        const QByteArray before = fileBytes(m_data + u"/N.DBF"_s);
        const QString update = u"UPDATE "_s + t + u" SET V="_s + value;
        const QString insert = u"INSERT INTO "_s + t + u" (ID, V) VALUES (2, "_s + value + u')';
        if (stored.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(EngineError, SqlEngine::run(update));
            QVERIFY_THROWS_EXCEPTION(EngineError, SqlEngine::run(insert));
            QCOMPARE(fileBytes(m_data + u"/N.DBF"_s), before);
            return;
        }
        QCOMPARE(SqlEngine::run(update), 1);
        const ResultSet r = SqlEngine::open(u"SELECT V FROM "_s + t);
        QCOMPARE(r.decimal(0, 0).toString(), stored);
        QCOMPARE(QString::fromLatin1(r.raw(0, 0).trimmed()), stored);
    }

    void hugeLiteralIsRefusedInRomanian() {
        insert(Sheet());
        try {
            SqlEngine::run(income(m_data, u"17"_s, u"+2"_s + QString(306, u'0')));
            QFAIL("a 307-digit number was taken");
        } catch (const EngineError &e) {
            QVERIFY2(e.message().startsWith(u"Eroare la linia 2, coloana 23: numarul 2000"_s),
                     qPrintable(e.message()));
            QVERIFY(e.message().contains(u"prea multe cifre"_s));
        }
        QCOMPARE(totalOf(17), 0.0);
    }

    // The statement is refused as a whole: no sheet gains its income when one would overflow.
    void anUpdateThatOverflowsOneRowChangesNone() {
        for (int id = 1; id <= 3; ++id)
            insert(sheet(id, QDate(2024, 5, id), u"08:00"_s));
        SqlEngine::run(income(m_data, u"3"_s, u"+999500"_s));
        const QByteArray before = fileBytes(m_data + u"/FOI.DBF"_s);
        QVERIFY_THROWS_EXCEPTION(EngineError,
                                 SqlEngine::run(u"UPDATE "_s + table(m_data, u"Foi.dbf"_s) +
                                                u" SET TOTALVEN=TOTALVEN+500"_s));
        QCOMPARE(fileBytes(m_data + u"/FOI.DBF"_s), before);
    }

    // Sums over many rows stay exact, and one that outgrows 18 digits is refused, not rounded.
    void sumsAreExactOrRefused() {
        const QString t = table(m_data, u"N.DBF"_s);
        SqlEngine::run(u"CREATE TABLE "_s + t +
                       u" (K DECIMAL(2,0), V DECIMAL(18,0), C "
                       u"DECIMAL(8,2))"_s);
        for (int i = 0; i < 10; ++i) {
            SqlEngine::run(u"INSERT INTO "_s + t + u" (K, V, C) VALUES ("_s +
                           QString::number(i % 2) + u", 999999999999999999, 0.1)"_s);
        }
        ResultSet r = SqlEngine::open(u"SELECT K, SUM(C) AS S FROM "_s + t + u" GROUP BY K"_s);
        QCOMPARE(r.text(0, 1), u"0.5"_s);
        QCOMPARE(r.decimal(1, 1), *Decimal::parse(u"0.5"));
        r = SqlEngine::open(u"SELECT SUM(V) AS S FROM "_s + t + u" WHERE K=0 AND V<=3"_s);
        QVERIFY(r.isNull(0, 0));
        QVERIFY_THROWS_EXCEPTION(EngineError, SqlEngine::open(u"SELECT SUM(V) AS S FROM "_s + t));
        r = SqlEngine::open(u"SELECT V FROM "_s + t + u" WHERE V=999999999999999999"_s);
        QCOMPARE(r.rowCount(), 10);
        QCOMPARE(
            SqlEngine::open(u"SELECT V FROM "_s + t + u" WHERE V=999999999999999998"_s).rowCount(),
            0);
    }

    // A table written by another program may leave TOTALVEN blank: the income of a line
    // added to it must not be lost.
    void arithmeticCountsABlankNumberAsZero() {
        SqlEngine::run(u"INSERT INTO "_s + table(m_data, u"Foi.dbf"_s) +
                       u" (IDFOAIE, NRMAS) VALUES (5, \"X\")"_s);
        SqlEngine::run(income(m_data, u"5"_s, u"+150"_s));
        const ResultSet r = SqlEngine::open(sheets(m_data));
        QCOMPARE(r.rowCount(), 1);
        QCOMPARE(r.text(0, r.columnIndex(u"TOTALVEN")), u"150"_s);
        QVERIFY(r.isNull(0, r.columnIndex(u"DATAX")));
        // Elsewhere a blank stays NULL: no comparison holds and SUM passes it by.
        SqlEngine::run(u"INSERT INTO "_s + table(m_data, u"Foi.dbf"_s) +
                       u" (IDFOAIE, NRMAS) VALUES (6, \"Y\")"_s);
        const QString foi = table(m_data, u"Foi.dbf"_s);
        QCOMPARE(SqlEngine::open(u"SELECT * FROM "_s + foi + u" WHERE COST=0"_s).rowCount(), 0);
        QCOMPARE(SqlEngine::open(u"SELECT * FROM "_s + foi + u" WHERE COST+0=0"_s).rowCount(), 2);
        const ResultSet sums =
            SqlEngine::open(u"SELECT SUM(COST) AS C, COUNT(COST) AS N FROM "_s + foi);
        QVERIFY(sums.isNull(0, 0));
        QCOMPARE(sums.text(0, 1), u"0"_s);
    }

    void sheetUpdateChangesOnlyItsSheetAndKeepsTheIncome() {
        insert(sheet(16, QDate(2007, 1, 19), u"08:00"_s));
        insert(Sheet());
        SqlEngine::run(income(m_data, u"17"_s, u"+150"_s));
        Sheet changed;
        changed.date = QDate(2007, 2, 1);
        changed.hour = u"09:30"_s;
        changed.vehicle = u"CJ01XYZ"_s;
        changed.driver2 = u"SOFER B"_s;
        changed.km = u"200"_s;
        changed.cost = u"63"_s;
        QCOMPARE(SqlEngine::run(updateSheet(m_data, changed)), 1);
        const ResultSet r = SqlEngine::open(sheets(m_data));
        QCOMPARE(columnTexts(r, u"IDFOAIE"_s), QStringList({u"16"_s, u"17"_s}));
        QCOMPARE(columnTexts(r, u"NRMAS"_s), QStringList({u"B12ABC"_s, u"CJ01XYZ"_s}));
        QCOMPARE(r.date(1, r.columnIndex(u"DATAX")), QDate(2007, 2, 1));
        QCOMPARE(describe(r, 1, u"SOFER2"_s), u"SOFER B"_s);
        QCOMPARE(r.number(1, r.columnIndex(u"TOTALVEN")), 150.0);
        QCOMPARE(r.number(1, r.columnIndex(u"COST")), 63.0);
        QCOMPARE(r.date(0, r.columnIndex(u"DATAX")), QDate(2007, 1, 19));
    }

    void deletingASheetTakesItsLines() {
        insert(sheet(16, QDate(2007, 1, 19), u"08:00"_s));
        insert(Sheet());
        for (int i = 1; i <= 5; ++i) {
            SqlEngine::run(insertLine(m_data, QString::number(40 + i), i % 2 ? u"17"_s : u"16"_s,
                                      u"PLECARE"_s, u"39102.5"_s + QString::number(i), u"10"_s));
        }
        const QString where = u"IDFOAIE=17"_s;
        QCOMPARE(SqlEngine::run(deleteWhere(m_data, u"Foi.dbf"_s, where)), 1);
        QCOMPARE(SqlEngine::run(deleteWhere(m_data, u"Sosiri.dbf"_s, where)), 3);
        QCOMPARE(columnTexts(SqlEngine::open(sheets(m_data)), u"IDFOAIE"_s), QStringList{u"16"_s});
        QCOMPARE(columnTexts(SqlEngine::open(lines(m_data)), u"IDSOS"_s),
                 QStringList({u"42"_s, u"44"_s}));
        // Deleted records are gone for every later statement.
        QCOMPARE(SqlEngine::run(deleteWhere(m_data, u"Sosiri.dbf"_s, where)), 0);
        QCOMPARE(SqlEngine::run(income(m_data, u"17"_s, u"+1"_s)), 0);
    }

    void orderByIsStableWithNullFirst() {
        const QDate d(2007, 3, 1);
        insert(sheet(1, d, u"10:00"_s, u"C"_s));
        insert(sheet(2, d.addDays(-1), u"12:00"_s, u"A"_s));
        insert(sheet(3, d, u"10:00"_s, u"B"_s));
        insert(sheet(4, d, u"09:00"_s, u"A"_s));
        insert(sheet(5, d, u"10:00"_s, u"A"_s));
        SqlEngine::run(u"INSERT INTO "_s + table(m_data, u"Foi.dbf"_s) +
                       u" (IDFOAIE, ORA, NRMAS) VALUES (6, \"23:00\", \"\")"_s);
        QCOMPARE(columnTexts(SqlEngine::open(sheets(m_data)), u"IDFOAIE"_s),
                 QStringList({u"6"_s, u"2"_s, u"4"_s, u"1"_s, u"3"_s, u"5"_s}));
        QCOMPARE(columnTexts(SqlEngine::open(sheets(m_data, u"NRMAS"_s)), u"IDFOAIE"_s),
                 QStringList({u"6"_s, u"2"_s, u"4"_s, u"5"_s, u"3"_s, u"1"_s}));
        QCOMPARE(
            columnTexts(SqlEngine::open(sheets(m_data, u"NRMAS DESC, IDFOAIE"_s)), u"IDFOAIE"_s),
            QStringList({u"1"_s, u"3"_s, u"2"_s, u"4"_s, u"5"_s, u"6"_s}));
    }

    void linesComeInTimeOrder() {
        const QStringList times{u"39102.75"_s, u"39102.5868"_s, u"39101"_s, u"39102.6"_s};
        for (int i = 0; i < times.size(); ++i)
            SqlEngine::run(
                insertLine(m_data, QString::number(i + 1), u"17"_s, u"SOSIRE"_s, times[i], u"1"_s));
        QCOMPARE(columnTexts(SqlEngine::open(lines(m_data)), u"IDSOS"_s),
                 QStringList({u"3"_s, u"2"_s, u"4"_s, u"1"_s}));
    }

    void pickListHoldsEachValueOnceInOrder() {
        const QStringList vehicles{u"CJ02"_s, u"B12ABC"_s, u"CJ02"_s,
                                   u""_s,     u"AB01"_s,   u"B12ABC"_s};
        for (int i = 0; i < vehicles.size(); ++i)
            insert(sheet(i + 1, QDate(2007, 1, 1 + i), u"10:00"_s, vehicles[i]));
        const ResultSet all = SqlEngine::open(pickList(m_data, u"NRMAS"_s));
        QCOMPARE(all.columnCount(), 1);
        QCOMPARE(columnTexts(all, u"NRMAS"_s),
                 QStringList({u""_s, u"AB01"_s, u"B12ABC"_s, u"CJ02"_s}));
        const ResultSet some = SqlEngine::open(pickList(m_data, u"NRMAS"_s, u"IDFOAIE<=3"_s));
        QCOMPARE(columnTexts(some, u"NRMAS"_s), QStringList({u"B12ABC"_s, u"CJ02"_s}));
        QVERIFY(SqlEngine::open(pickList(m_data, u"SOFER2"_s)).rowCount() == 1);
    }

    // Names and plates as a Romanian reader files them: Ă after A, Â after Ă, Î after I,
    // Ş after S, Ţ after T, small letters with their capitals, blanks and digits first.
    void textsComeInRomanianOrder_data() {
        QTest::addColumn<QString>("tail");
        QTest::addColumn<QString>("ids");
        QTest::newRow("drivers") << u"ORDER BY SOFER1"_s << u"6 5 12 8 7 3 2 9 10 11 4 1"_s;
        // Equal names keep the table's order either way round.
        QTest::newRow("drivers in capitals only")
            << u"WHERE IDFOAIE<>10 ORDER BY SOFER1"_s << u"6 5 12 8 7 3 2 9 11 4 1"_s;
        QTest::newRow("drivers descending")
            << u"ORDER BY SOFER1 DESC"_s << u"1 4 11 10 2 9 3 7 8 12 5 6"_s;
        QTest::newRow("plates") << u"ORDER BY NRMAS, IDFOAIE"_s << u"2 9 10 1 3 4 7 8 5 6 12 11"_s;
        QTest::newRow("after a text the same in every row")
            << u"ORDER BY SOFER2, SOFER1, IDFOAIE DESC"_s << u"6 5 12 8 7 3 9 2 10 11 4 1"_s;
        QTest::newRow("then a number")
            << u"ORDER BY SOFER2, IDFOAIE DESC"_s << u"12 11 10 9 8 7 6 5 4 3 2 1"_s;
        QTest::newRow("a range takes the letters between")
            << u"WHERE SOFER1>=\"S\" AND SOFER1<\"T\" ORDER BY IDFOAIE"_s << u"2 3 9 10"_s;
        QTest::newRow("a small letter within the capitals")
            << u"WHERE SOFER1>\"ionescu ion\" AND SOFER1<=\"ŞERBAN ANA\" ORDER BY IDFOAIE"_s
            << u"2 3 7 9"_s;
    }
    void textsComeInRomanianOrder() {
        QFETCH(QString, tail);
        QFETCH(QString, ids);
        const QList<std::pair<QString, QString>> sheets = {
            {u"ZAHARIA ION"_s, u"B 100 XY"_s},  {u"ŞERBAN ANA"_s, u"AG 01 SZZ"_s},
            {u"STAN ION"_s, u"B 12 ABC"_s},     {u"ŢARĂ MIHAI"_s, u"B 12 ABC"_s},
            {u"ĂLĂCESCU DAN"_s, u"b 12 abd"_s}, {u"ANDREI PAUL"_s, u"B12ABC"_s},
            {u"ÎNCU VLAD"_s, u"b 12 abc"_s},    {u"IONESCU ION"_s, u"b 12 abc"_s},
            {u"ŞERBAN ANA"_s, u"AG 01 ŞAB"_s},  {u"Şerban Ana"_s, u"AG 01 TAA"_s},
            {u"TUDOR ELENA"_s, u"ţ 1"_s},       {u"ÂRCU DAN"_s, u"Ţ 1"_s},
        };
        for (int i = 0; i < sheets.size(); ++i) {
            Sheet s = sheet(i + 1, QDate(2007, 1, 1), u"10:00"_s, sheets[i].second);
            s.driver1 = sheets[i].first;
            insert(s);
        }
        const ResultSet r = SqlEngine::open(u"SELECT IDFOAIE, SOFER1, NRMAS FROM "_s +
                                            table(m_data, u"Foi.dbf"_s) + u'\n' + tail);
        QCOMPARE(columnTexts(r, u"IDFOAIE"_s).join(u' '), ids);
    }

    // A pick list and a grouping hold every name once, in the same order; names that differ
    // only in case stay apart.
    void distinctAndGroupsFollowTheRomanianOrder() {
        const QStringList drivers = {u"ZAHARIA"_s,  u"ŞERBAN"_s,  u"STAN"_s,   u"ŢARĂ"_s,
                                     u"ĂLĂCESCU"_s, u"ANDREI"_s,  u"ŞERBAN"_s, u"Şerban"_s,
                                     u"ÎNCU"_s,     u"IONESCU"_s, u"ÂRCU"_s,   u"TUDOR"_s};
        for (int i = 0; i < drivers.size(); ++i) {
            Sheet s = sheet(i + 1, QDate(2007, 1, 1), u"10:00"_s);
            s.driver1 = drivers[i];
            insert(s);
        }
        const QStringList ordered = {u"ANDREI"_s, u"ĂLĂCESCU"_s, u"ÂRCU"_s,   u"IONESCU"_s,
                                     u"ÎNCU"_s,   u"STAN"_s,     u"ŞERBAN"_s, u"Şerban"_s,
                                     u"TUDOR"_s,  u"ŢARĂ"_s,     u"ZAHARIA"_s};
        QCOMPARE(columnTexts(SqlEngine::open(pickList(m_data, u"SOFER1"_s)), u"SOFER1"_s), ordered);
        const ResultSet groups =
            SqlEngine::open(u"SELECT SOFER1, COUNT(*) AS N FROM "_s + table(m_data, u"Foi.dbf"_s) +
                            u"\nGROUP BY SOFER1"_s);
        QCOMPARE(columnTexts(groups, u"SOFER1"_s), ordered);
        QCOMPARE(columnTexts(groups, u"N"_s),
                 QStringList({u"1"_s, u"1"_s, u"1"_s, u"1"_s, u"1"_s, u"1"_s, u"2"_s, u"1"_s,
                              u"1"_s, u"1"_s, u"1"_s}));
        const ResultSet extremes = SqlEngine::open(u"SELECT MIN(SOFER1), MAX(SOFER1) FROM "_s +
                                                   table(m_data, u"Foi.dbf"_s));
        QCOMPARE(extremes.text(0, 0), u"ANDREI"_s);
        QCOMPARE(extremes.text(0, 1), u"ZAHARIA"_s);
    }

    void periodSummaryIncludesBothEnds() {
        struct Row {
            int id;
            QDate date;
            const char *income;
            const char *cost;
        } rows[] = {
            {1, QDate(2004, 4, 30), "+100", "9"}, {2, QDate(2004, 5, 1), "+10.5", "1.25"},
            {3, QDate(2004, 5, 15), "+7", "2"},   {4, QDate(2004, 5, 1), "+20", "3.5"},
            {5, QDate(2004, 5, 31), "+1", "0.5"}, {6, QDate(2004, 6, 1), "+1000", "99"},
        };
        for (const Row &r : rows) {
            Sheet s = sheet(r.id, r.date, u"10:00"_s);
            s.cost = QString::fromLatin1(r.cost);
            insert(s);
            SqlEngine::run(income(m_data, s.id, QString::fromLatin1(r.income)));
        }
        const ResultSet r = SqlEngine::open(period(m_data, QDate(2004, 5, 1), QDate(2004, 5, 31)));
        QCOMPARE(r.columnCount(), 3);
        QCOMPARE(r.column(0).name, u"DATAX"_s);
        QCOMPARE(r.column(0).type, ColumnType::Date);
        QCOMPARE(r.column(1).name, u"TV"_s);
        QCOMPARE(r.column(2).name, u"TC"_s);
        QCOMPARE(r.column(1).type, ColumnType::Number);
        QCOMPARE(r.rowCount(), 3);
        QCOMPARE(r.date(0, 0), QDate(2004, 5, 1));
        QCOMPARE(r.number(0, 1), 30.5);
        QCOMPARE(r.number(0, 2), 4.75);
        QCOMPARE(r.date(1, 0), QDate(2004, 5, 15));
        QCOMPARE(r.date(2, 0), QDate(2004, 5, 31));
        QCOMPARE(r.number(2, 1), 1.0);
        QCOMPARE(r.text(2, 2), u"0.5"_s);
        QCOMPARE(SqlEngine::open(period(m_data, QDate(2005, 1, 1), QDate(2005, 12, 31))).rowCount(),
                 0);
    }

    void aggregatesWithoutGroups() {
        for (int i = 1; i <= 4; ++i) {
            Sheet s = sheet(i, QDate(2007, 1, i), u"10:00"_s, i == 2 ? u"Z"_s : u"M"_s);
            insert(s);
        }
        SqlEngine::run(u"INSERT INTO "_s + table(m_data, u"Foi.dbf"_s) +
                       u" (IDFOAIE) VALUES (9)"_s);
        const ResultSet r = SqlEngine::open(
            u"SELECT COUNT(*), COUNT(DATAX) AS N, MIN(DATAX), MAX(NRMAS), SUM(IDFOAIE), "_s
            u"AVG(TKM) FROM "_s +
            table(m_data, u"Foi.dbf"_s));
        QCOMPARE(r.rowCount(), 1);
        QCOMPARE(r.number(0, 0), 5.0);
        QCOMPARE(r.column(1).name, u"N"_s);
        QCOMPARE(r.number(0, 1), 4.0);
        QCOMPARE(r.date(0, 2), QDate(2007, 1, 1));
        QCOMPARE(r.text(0, 3), u"Z"_s);
        QCOMPARE(r.number(0, 4), 19.0);
        QCOMPARE(r.number(0, 5), 120.0);
        const ResultSet none = SqlEngine::open(
            u"SELECT SUM(TKM) FROM "_s + table(m_data, u"Foi.dbf"_s) + u" WHERE IDFOAIE > 100"_s);
        QCOMPARE(none.rowCount(), 1);
        QVERIFY(none.isNull(0, 0));
    }

    void conditions_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("ids");
        QTest::newRow("equal") << u"IDFOAIE=2"_s << u"2"_s;
        QTest::newRow("constant left") << u"3<IDFOAIE"_s << u"4 5"_s;
        QTest::newRow("not equal") << u"IDFOAIE<>2 AND IDFOAIE!=3"_s << u"1 4 5"_s;
        QTest::newRow("or and parentheses")
            << u"(IDFOAIE=1 OR IDFOAIE=5) AND TKM>=100"_s << u"1 5"_s;
        QTest::newRow("not") << u"NOT IDFOAIE<=3"_s << u"4 5"_s;
        QTest::newRow("arithmetic") << u"(TKM - 100) / 20 * IDFOAIE = 9"_s << u"3"_s;
        QTest::newRow("unary minus") << u"-IDFOAIE < -4"_s << u"5"_s;
        QTest::newRow("text") << u"NRMAS=\"B2\""_s << u"2"_s;
        QTest::newRow("text single quotes") << u"NRMAS='B2'"_s << u"2"_s;
        QTest::newRow("text order") << u"NRMAS>=\"B3\""_s << u"3 4"_s;
        QTest::newRow("trailing blanks") << u"NRMAS=\"B2   \""_s << u"2"_s;
        QTest::newRow("empty text") << u"NRMAS=\"\""_s << u"5"_s;
        QTest::newRow("is null") << u"SOFER2 IS NULL AND NRMAS IS NOT NULL"_s << u"1 2 3 4"_s;
        QTest::newRow("null date") << u"DATAX IS NULL"_s << u"5"_s;
        QTest::newRow("date range") << QStringLiteral("DATAX>=%1 AND DATAX<%2")
                                           .arg(quoted(TextForm::date(QDate(2007, 1, 2))),
                                                quoted(TextForm::date(QDate(2007, 1, 4))))
                                    << u"2 3"_s;
        QTest::newRow("iso date") << u"DATAX=\"2007-01-03\""_s << u"3"_s;
        QTest::newRow("quoted number") << u"IDFOAIE=\"4\""_s << u"4"_s;
        QTest::newRow("null compares unknown") << u"DATAX<>\"2007-01-01\""_s << u"2 3 4"_s;
        QTest::newRow("lower case keywords") << u"idfoaie = 2 or nrmas = \"B4\""_s << u"2 4"_s;
    }

    void conditions() {
        QFETCH(QString, where);
        QFETCH(QString, ids);
        for (int i = 1; i <= 4; ++i) {
            Sheet s = sheet(i, QDate(2007, 1, i), u"10:00"_s, u'B' + QString::number(i));
            s.km = QString::number(100 + 20 * i);
            insert(s);
        }
        SqlEngine::run(u"INSERT INTO "_s + table(m_data, u"Foi.dbf"_s) +
                       u" (IDFOAIE, TKM) VALUES (5, 300)"_s);
        const ResultSet r =
            SqlEngine::open(u"SELECT IDFOAIE FROM "_s + table(m_data, u"Foi.dbf"_s) +
                            u"\nWHERE "_s + where + u"\nORDER BY IDFOAIE"_s);
        QCOMPARE(columnTexts(r, u"IDFOAIE"_s).join(u' '), ids);
    }

    void quotesInsideNamesAreStoredAndFoundAgain_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("double quote") << u"O\"NEIL"_s;
        QTest::newRow("single quote") << u"D'ARC"_s;
        QTest::newRow("both") << u"\"'\"\"'"_s;
        QTest::newRow("romanian letters") << u"\u0218TEF\u0102NESCU \u0162"_s;
    }

    void quotesInsideNamesAreStoredAndFoundAgain() {
        QFETCH(QString, name);
        Sheet s;
        s.driver1 = TextForm::quoted(name).mid(1).chopped(1);
        s.driver2 = u"X"_s;
        insert(s);
        const ResultSet r = SqlEngine::open(u"SELECT SOFER1 FROM "_s + table(m_data, u"Foi.dbf"_s) +
                                            u" WHERE SOFER1="_s + TextForm::quoted(name));
        QCOMPARE(r.rowCount(), 1);
        // Comma-below letters are kept as their cedilla forms.
        QString stored = name;
        stored.replace(QChar(0x0218), QChar(0x015E)).replace(QChar(0x021A), QChar(0x0162));
        QCOMPARE(r.text(0, 0), stored);
        const ResultSet single =
            SqlEngine::open(u"SELECT SOFER1 FROM "_s + table(m_data, u"Foi.dbf"_s) +
                            u" WHERE SOFER1="_s + TextForm::filterQuoted(name));
        QCOMPARE(single.rowCount(), 1);
    }

    void insertWithoutColumnListFillsInOrder() {
        QCOMPARE(SqlEngine::run(u"INSERT INTO "_s + table(m_data, u"Sosiri.dbf"_s) +
                                u" VALUES (1, 2, \"PLECARE\", 39102.5, -12.5), (2, 2, NULL, NULL, "
                                u"\"7\")"_s),
                 2);
        const ResultSet r = SqlEngine::open(lines(m_data));
        QCOMPARE(r.rowCount(), 2);
        // The line without a time sorts first.
        QVERIFY(r.isNull(0, 2));
        QVERIFY(r.isNull(0, 3));
        QCOMPARE(r.number(0, 4), 7.0);
        QCOMPARE(r.text(1, 2), u"PLECARE"_s);
        QCOMPARE(r.number(1, 3), 39102.5);
        QCOMPARE(r.number(1, 4), -12.5);
    }

    void backslashesAndCaseReachTheSameTable() {
        QString path = m_data + u"\\foi.DBF"_s;
        QCOMPARE(SqlEngine::findTable(path), m_data + u"/FOI.DBF"_s);
        QCOMPARE(SqlEngine::findTable(m_data + u"/Sosiri.dbf"_s), m_data + u"/Sosiri.DBF"_s);
        QVERIFY(SqlEngine::findTable(m_data + u"/Nimic.dbf"_s).isEmpty());
        SqlEngine::run(u"INSERT INTO \""_s + path + u"\" (IDFOAIE) VALUES (1)"_s);
        QCOMPARE(SqlEngine::open(sheets(m_data)).rowCount(), 1);
        QVERIFY(!QFile::exists(m_data + u"/Foi.dbf"_s) || QFile::exists(m_data + u"/FOI.DBF"_s));
    }

    void valuesThatDoNotFitAreRefusedAndNothingIsWritten_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("table");
        const QString foi = table(u"%1"_s, u"Foi.dbf"_s);
        const QString sos = table(u"%1"_s, u"Sosiri.dbf"_s);
        QTest::newRow("plate too long")
            << u"INSERT INTO "_s + foi + u" (IDFOAIE, NRMAS) VALUES (1, \"B123456789\")"_s
            << u"FOI.DBF"_s;
        QTest::newRow("income too large")
            << u"INSERT INTO "_s + foi + u" (IDFOAIE, TOTALVEN) VALUES (1, 10000000)"_s
            << u"FOI.DBF"_s;
        QTest::newRow("identifier too long")
            << u"INSERT INTO "_s + foi + u" (IDFOAIE) VALUES (123456789012)"_s << u"FOI.DBF"_s;
        QTest::newRow("second row bad")
            << u"INSERT INTO "_s + sos + u" (IDSOS, SUMA) VALUES (1, 5), (2, 123456789)"_s
            << u"Sosiri.DBF"_s;
        QTest::newRow("unreadable date")
            << u"INSERT INTO "_s + foi + u" (IDFOAIE, DATAX) VALUES (1, \"32.13.2007\")"_s
            << u"FOI.DBF"_s;
        QTest::newRow("text for a number")
            << u"INSERT INTO "_s + foi + u" (IDFOAIE, TKM) VALUES (1, \"doi\")"_s << u"FOI.DBF"_s;
        QTest::newRow("update overflows")
            << u"UPDATE "_s + foi + u" SET TOTALVEN=TOTALVEN*100000 WHERE IDFOAIE>=0"_s
            << u"FOI.DBF"_s;
        QTest::newRow("update unknown column")
            << u"UPDATE "_s + foi + u" SET TOTAL=1"_s << u"FOI.DBF"_s;
        QTest::newRow("delete bad condition")
            << u"DELETE FROM "_s + foi + u" WHERE NRMAS=3"_s << u"FOI.DBF"_s;
        QTest::newRow("character outside the code page")
            << u"INSERT INTO "_s + foi + u" (NRMAS) VALUES (\"\u4E2D\")"_s << u"FOI.DBF"_s;
    }

    void valuesThatDoNotFitAreRefusedAndNothingIsWritten() {
        QFETCH(QString, statement);
        QFETCH(QString, table);
        Sheet s;
        s.id = u"1"_s;
        insert(s);
        SqlEngine::run(income(m_data, u"1"_s, u"+9999"_s));
        SqlEngine::run(insertLine(m_data, u"1"_s, u"1"_s, u"PLECARE"_s, u"45000.1234"_s, u"1"_s));
        const QString path = m_data + u'/' + table;
        const QByteArray before = fileBytes(path);
        QVERIFY(!before.isEmpty());
        QVERIFY_THROWS_EXCEPTION(Error, SqlEngine::run(statement.arg(m_data)));
        QCOMPARE(fileBytes(path), before);
        QVERIFY(!QFile::exists(path + u".jnl"_s));
    }

    void timeOfTheLatestDayFits() {
        SqlEngine::run(
            insertLine(m_data, u"1"_s, u"1"_s, u"PLECARE"_s, u"45000.1234"_s, u"-99999.99"_s));
        const ResultSet r = SqlEngine::open(lines(m_data));
        QCOMPARE(r.number(0, 3), 45000.1234);
        QCOMPARE(r.number(0, 4), -99999.99);
    }

    void errorsSayWhatWasExpectedAndWhere_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("message");
        const QString foi = table(u"%1"_s, u"Foi.dbf"_s);
        QTest::newRow("misspelt FROM")
            << u"SELECT *\nFORM "_s + foi + u"\nORDER BY DATAX"_s
            << u"Eroare de sintaxa la linia 2, coloana 1: se astepta FROM, s-a gasit FORM."_s;
        QTest::newRow("missing comma")
            << u"UPDATE "_s + foi + u"\nSET TKM=1\n  CONSUM=2\nWHERE IDFOAIE=1"_s
            << u"Eroare de sintaxa la linia 3, coloana 3: se astepta sfarsitul instructiunii, "
               u"s-a gasit CONSUM."_s;
        QTest::newRow("unterminated text")
            << u"INSERT INTO "_s + foi + u"\n(NRMAS)\nVALUES (\"B12)"_s
            << u"Eroare de sintaxa la linia 3, coloana 9: textul inceput aici nu se incheie"_s;
        QTest::newRow("missing table")
            << u"DELETE FROM WHERE IDFOAIE=1"_s
            << u"Eroare de sintaxa la linia 1, coloana 13: se astepta calea tabelei intre "
               u"ghilimele, s-a gasit WHERE."_s;
        QTest::newRow("end too early")
            << u"SELECT * FROM "_s + foi + u" WHERE IDFOAIE="_s
            << u"se astepta o valoare, un nume de coloana sau \"(\", s-a gasit sfarsitul "
               u"instructiunii."_s;
        QTest::newRow("unknown column")
            << u"SELECT *\nFROM "_s + foi + u"\nORDER BY DATA"_s
            << u"Eroare la linia 3, coloana 10: coloana DATA nu exista in tabela FOI.DBF."_s;
        QTest::newRow("unreadable date")
            << u"SELECT * FROM "_s + foi + u"\nWHERE DATAX>=\"1 mai\""_s
            << u"Eroare la linia 2, coloana 14: data \"1 mai\" nu poate fi citita"_s;
        QTest::newRow("too few values")
            << u"INSERT INTO "_s + foi + u" (IDFOAIE, NRMAS)\nVALUES (1)"_s
            << u"Eroare la linia 2, coloana 8: se asteptau 2 valori, s-au gasit 1."_s;
        QTest::newRow("text too long")
            << u"INSERT INTO "_s + foi + u" (IDFOAIE, ORA)\nVALUES (1,\n \"14:05:00\")"_s
            << u"Eroare la linia 3, coloana 2: Textul \"14:05:00\" nu incape in coloana ORA"_s;
        QTest::newRow("type mismatch") << u"SELECT * FROM "_s + foi + u" WHERE DATAX > 5"_s
                                       << u"nu se poate compara o data cu un numar."_s;
        QTest::newRow("missing table file") << u"SELECT * FROM \"%1/Lipsa.dbf\""_s << u"tabela "_s;
        QTest::newRow("stray character") << u"SELECT * FROM "_s + foi + u" WHERE IDFOAIE=1 & 2"_s
                                         << u"caracterul \"&\" nu era asteptat."_s;
        QTest::newRow("run a select") << u"SELECT * FROM "_s + foi << u"SELECT"_s;
    }

    void errorsSayWhatWasExpectedAndWhere() {
        QFETCH(QString, statement);
        QFETCH(QString, message);
        if (statement.contains(u"%1"))
            statement = statement.arg(m_data);
        QString got;
        try {
            if (QTest::currentDataTag() == QByteArrayView("run a select"))
                SqlEngine::run(statement);
            else if (statement.startsWith(u"SELECT"))
                SqlEngine::open(statement);
            else
                SqlEngine::run(statement);
        } catch (const EngineError &e) {
            got = e.message();
        }
        QVERIFY2(got.contains(message), qPrintable(got));
    }

    void deleteWithoutConditionMarksEverything() {
        for (int i = 1; i <= 3; ++i)
            insert(sheet(i, QDate(2007, 1, i), u"10:00"_s));
        QCOMPARE(SqlEngine::run(u"DELETE FROM "_s + table(m_data, u"Foi.dbf"_s)), 3);
        QCOMPARE(SqlEngine::open(sheets(m_data)).rowCount(), 0);
        insert(sheet(4, QDate(2007, 1, 4), u"10:00"_s));
        QCOMPARE(columnTexts(SqlEngine::open(sheets(m_data)), u"IDFOAIE"_s), QStringList{u"4"_s});
    }

    void packRemovesDeletedRecordsAndKeepsTheName() {
        for (int i = 1; i <= 5; ++i)
            insert(sheet(i, QDate(2007, 1, i), u"10:00"_s));
        SqlEngine::run(deleteWhere(m_data, u"Foi.dbf"_s, u"IDFOAIE=2 OR IDFOAIE=4"_s));
        const qint64 before = QFileInfo(m_data + u"/FOI.DBF"_s).size();
        SqlEngine::pack(m_data + u"/Foi.dbf"_s);
        QVERIFY(QFile::exists(m_data + u"/FOI.DBF"_s));
        QCOMPARE(QDir(m_data).entryList(QDir::Files).filter(u"foi"_s, Qt::CaseInsensitive),
                 QStringList{u"FOI.DBF"_s});
        QCOMPARE(QFileInfo(m_data + u"/FOI.DBF"_s).size(), before - 2 * 183);
        QCOMPARE(columnTexts(SqlEngine::open(sheets(m_data)), u"IDFOAIE"_s),
                 QStringList({u"1"_s, u"3"_s, u"5"_s}));
        QVERIFY_THROWS_EXCEPTION(EngineError, SqlEngine::pack(m_data + u"/Lipsa.dbf"_s));
    }
};

QTEST_GUILESS_MAIN(TestSqlEngine)
#include "tst_sqlengine.moc"
