// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/sheetstatements.h"
#include "store/text/textform.h"

#include <QTest>

using namespace velmora;

class TestSheetStatements : public QObject {
    Q_OBJECT

    const QString dir = QStringLiteral("/opt/velmora/Data");
    const SheetStatements statements{dir};

    static SheetValues sheet() {
        SheetValues s;
        s.id = QStringLiteral("17");
        s.date = QDate(2007, 1, 20);
        s.hour = QTime(14, 5, 41);
        s.vehicle = QStringLiteral("B12ABC");
        s.driver1 = QStringLiteral("SOFER A");
        s.parking = QStringLiteral("PARCARE 1");
        s.km = QStringLiteral("120");
        s.consumption = QStringLiteral("7.5");
        s.price = QStringLiteral("4.2");
        s.cost = QStringLiteral("37.8");
        return s;
    }

    QString date() const { return TextForm::quoted(TextForm::date(QDate(2007, 1, 20))); }

private Q_SLOTS:
    void insertSheetLineByLine() {
        const QStringList expected = {
            QStringLiteral("INSERT INTO \"/opt/velmora/Data/Foi.dbf\""),
            QStringLiteral("(IDFOAIE,DATAX,ORA,NRMAS,SOFER1,SOFER2,LOCPARC,TOTALVEN,"),
            QStringLiteral("TKM,CONSUM,PRETL,COST)"),
            QStringLiteral("VALUES ("),
            QStringLiteral("17,") + date() + QStringLiteral(",\"14:05\","),
            QStringLiteral("\"B12ABC\","),
            QStringLiteral("\"SOFER A\","),
            QStringLiteral("\"\","),
            QStringLiteral("\"PARCARE 1\","),
            QStringLiteral("0,120,"),
            QStringLiteral("7.5,"),
            QStringLiteral("4.2,"),
            QStringLiteral("37.8)"),
        };
        QCOMPARE(statements.insertSheet(sheet()), expected);
    }

    void updateSheetLeavesIncomeAlone() {
        const QStringList lines = statements.updateSheet(sheet());
        QCOMPARE(lines.size(), 12);
        QCOMPARE(lines.first(), QStringLiteral("UPDATE \"/opt/velmora/Data/Foi.dbf\""));
        QCOMPARE(lines[1], QStringLiteral("SET DATAX=") + date() + u',');
        QCOMPARE(lines[2], QStringLiteral("ORA=\"14:05\","));
        QCOMPARE(lines[10], QStringLiteral("COST=37.8"));
        QCOMPARE(lines.last(), QStringLiteral("WHERE IDFOAIE=17"));
        QVERIFY(!lines.join(u'\n').contains(QStringLiteral("TOTALVEN")));
    }

    void quoteInsideANameIsDoubled() {
        SheetValues s = sheet();
        s.driver1 = QStringLiteral("O\"NEIL");
        QCOMPARE(statements.insertSheet(s)[6], QStringLiteral("\"O\"\"NEIL\","));
        QCOMPARE(statements.updateSheet(s)[4], QStringLiteral("SOFER1=\"O\"\"NEIL\","));
    }

    void lineStatements() {
        const LineValues line{QStringLiteral("41"), QStringLiteral("17"), QStringLiteral("PLECARE"),
                              QStringLiteral("39102.5868"), QStringLiteral("150")};
        QCOMPARE(statements.insertLine(line),
                 QStringList({QStringLiteral("INSERT INTO \"/opt/velmora/Data/Sosiri.dbf\""),
                              QStringLiteral("(IDSOS, IDFOAIE, PLESOS, TIMP, SUMA )"),
                              QStringLiteral("VALUES("), QStringLiteral("41,17,"),
                              QStringLiteral("\"PLECARE\","), QStringLiteral("39102.5868,"),
                              QStringLiteral("150 )")}));
        QCOMPARE(statements.updateLine(line),
                 QStringList({QStringLiteral("UPDATE \"/opt/velmora/Data/Sosiri.dbf\""),
                              QStringLiteral("SET PLESOS=\"PLECARE\","),
                              QStringLiteral("TIMP=39102.5868,"), QStringLiteral("SUMA=150"),
                              QStringLiteral("WHERE IDSOS=41")}));
        QCOMPARE(statements.deleteLine(QStringLiteral("41")),
                 QStringList({QStringLiteral("DELETE FROM \"/opt/velmora/Data/Sosiri.dbf\""),
                              QStringLiteral("WHERE IDSOS=41")}));
    }

    void incomeUpdates_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("set");
        QTest::newRow("add") << statements.addIncome(QStringLiteral("17"), QStringLiteral("150"))
                             << "SET TOTALVEN=TOTALVEN+150";
        QTest::newRow("change") << statements.changeIncome(QStringLiteral("17"),
                                                           QStringLiteral("200"),
                                                           QStringLiteral("150"))
                                << "SET TOTALVEN=TOTALVEN+200-150";
        QTest::newRow("remove") << statements.removeIncome(QStringLiteral("17"),
                                                           QStringLiteral("150.5"))
                                << "SET TOTALVEN=TOTALVEN-150.5";
    }

    void incomeUpdates() {
        QFETCH(QStringList, lines);
        QFETCH(QString, set);
        QCOMPARE(lines, QStringList({QStringLiteral("UPDATE \"/opt/velmora/Data/Foi.dbf\""), set,
                                     QStringLiteral("WHERE IDFOAIE=17")}));
    }

    void deleteSheetTakesItsLines() {
        QCOMPARE(statements.deleteSheet(QStringLiteral("17")),
                 QStringList({QStringLiteral("DELETE FROM \"/opt/velmora/Data/Foi.dbf\""),
                              QStringLiteral("WHERE IDFOAIE=17")}));
        QCOMPARE(statements.deleteSheetLines(QStringLiteral("17")),
                 QStringList({QStringLiteral("DELETE FROM \"/opt/velmora/Data/Sosiri.dbf\""),
                              QStringLiteral("WHERE IDFOAIE=17")}));
    }
};

QTEST_GUILESS_MAIN(TestSheetStatements)
#include "tst_sheetstatements.moc"
