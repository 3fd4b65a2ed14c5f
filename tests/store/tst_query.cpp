// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/query/query.h"
#include "store/text/error.h"
#include "store/text/textform.h"
#include "store/text/timp.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <map>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// Two tables shaped like the program's own, in a temporary directory, filled through
// statements as the windows fill them.
class Tables {
public:
    Tables() {
        m_sx.setSql({u"CREATE TABLE \"%1\""_s.arg(foi()), u"("_s, u"IDFOAIE   DECIMAL(10,0),"_s,
                     u"ORA       CHAR(5),"_s, u"NRMAS     CHAR(9),"_s, u"DATAX     DATE,"_s,
                     u"SOFER1    CHAR(32),"_s, u"SOFER2    CHAR(32),"_s, u"LOCPARC   CHAR(40),"_s,
                     u"TOTALVEN  DECIMAL(8,2),"_s, u"TKM       DECIMAL(8,0),"_s,
                     u"CONSUM    DECIMAL(6,2),"_s, u"PRETL     DECIMAL(6,2),"_s,
                     u"COST      DECIMAL(8,2) )"_s});
        m_sx.execSql();
        m_sx.setSql({u"CREATE TABLE \"%1\""_s.arg(sosiri()), u"("_s, u"IDSOS      DECIMAL(10,0),"_s,
                     u"IDFOAIE    DECIMAL(10,0),"_s, u"PLESOS     CHAR(32),"_s,
                     u"TIMP       DECIMAL(9,4),"_s, u"SUMA       DECIMAL(8,2) )"_s});
        m_sx.execSql();
    }

    QString foi() const { return m_dir.path() + u"/Foi.dbf"_s; }
    QString sosiri() const { return m_dir.path() + u"/Sosiri.dbf"_s; }

    void addSheet(int id, QDate date, const QString &ora, const QString &nrmas,
                  const QString &sofer1, const QString &sofer2 = QString(), double total = 0) {
        m_sx.setSql({u"INSERT INTO \"%1\""_s.arg(foi()),
                     u"(IDFOAIE, ORA, NRMAS, DATAX, SOFER1, SOFER2, TOTALVEN)"_s,
                     u"VALUES (%1, %2, %3, %4, %5, %6, %7)"_s.arg(id).arg(
                         TextForm::quoted(ora), TextForm::quoted(nrmas),
                         TextForm::quoted(TextForm::date(date)), TextForm::quoted(sofer1),
                         TextForm::quoted(sofer2), TextForm::general(total))});
        m_sx.execSql();
    }

    void addLine(int idsos, int idfoaie, double timp, const QString &plesos = u"PLECARE"_s,
                 double suma = 0) {
        m_sx.setSql(
            {u"INSERT INTO \"%1\""_s.arg(sosiri()), u"(IDSOS, IDFOAIE, PLESOS, TIMP, SUMA)"_s,
             u"VALUES (%1, %2, %3, %4, %5)"_s.arg(idsos).arg(idfoaie).arg(
                 TextForm::quoted(plesos), TextForm::fourDecimal(timp), TextForm::general(suma))});
        m_sx.execSql();
    }

    QStringList fx() const {
        return {u"SELECT *"_s, u"FROM \"%1\""_s.arg(foi()), u"ORDER BY DATAX, ORA"_s};
    }
    QStringList px() const {
        return {u"SELECT *"_s, u"FROM \"%1\""_s.arg(sosiri()), u"ORDER BY TIMP"_s};
    }

private:
    QTemporaryDir m_dir;
    Query m_sx;
};

// The values of one column over the visible rows, walking the cursor as the windows do.
QList<int> walk(Query &query, QStringView column) {
    QList<int> values;
    query.first();
    while (!query.eof()) {
        values.append(static_cast<int>(query.number(column)));
        query.next();
    }
    return values;
}

double timpAt(int day, int hour, int minute) {
    return Timp::fromDateTime(QDate(2024, 3, 1).addDays(day), QTime(hour, minute));
}

} // namespace

class TestQuery : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cursorOnEmptyResult() {
        Tables tables;
        Query px;
        px.setSql(tables.px());
        px.open();
        QVERIFY(px.isOpen());
        QVERIFY(px.isEmpty());
        QCOMPARE(px.recordCount(), 0);
        QCOMPARE(px.recNo(), -1);
        QVERIFY(px.eof() && px.bof());
        px.next();
        px.prior();
        px.last();
        QCOMPARE(px.recNo(), -1);
        QVERIFY(px.eof() && px.bof());
        QVERIFY_THROWS_EXCEPTION(EngineError, px.value(u"IDSOS"));
        QVERIFY_THROWS_EXCEPTION(EngineError, px.number(u"SUMA"));
        QVERIFY_THROWS_EXCEPTION(EngineError, px.moveTo(0));
        QVERIFY(!px.valueAt(0, 0).isValid());
        QVERIFY(px.textAt(0, 0).isNull());
    }

    void cursorWalksVisibleRows() {
        Tables tables;
        tables.addLine(1, 1, timpAt(0, 12, 0));
        tables.addLine(2, 1, timpAt(0, 8, 0));
        tables.addLine(3, 1, timpAt(1, 8, 0));
        Query px;
        px.setSql(tables.px());
        QSignalSpy scrolled(&px, &Query::afterScroll);
        px.open();
        QCOMPARE(scrolled.count(), 1);
        QCOMPARE(px.recNo(), 0);
        QVERIFY(px.bof() && !px.eof());

        QCOMPARE(walk(px, u"IDSOS"), (QList<int>{2, 1, 3}));
        QCOMPARE(px.recNo(), 2);
        QVERIFY(px.eof() && !px.bof());

        scrolled.clear();
        px.next(); // already on the last row: no move
        QCOMPARE(scrolled.count(), 0);
        QCOMPARE(px.recNo(), 2);
        px.prior();
        QCOMPARE(px.recNo(), 1);
        QVERIFY(!px.eof() && !px.bof());
        px.prior();
        px.prior(); // on the first row already
        QCOMPARE(px.recNo(), 0);
        QVERIFY(px.bof());
        QCOMPARE(scrolled.count(), 2);
        px.last();
        QCOMPARE(px.recNo(), 2);
        QVERIFY(px.eof());
        QCOMPARE(px.number(u"IDSOS"), 3.0);
        px.moveTo(1);
        QCOMPARE(px.number(u"idsos"), 1.0);
        QCOMPARE(scrolled.count(), 4);
        QVERIFY_THROWS_EXCEPTION(EngineError, px.moveTo(3));
        QCOMPARE(px.recNo(), 1);

        px.close();
        QVERIFY(!px.isOpen());
        QCOMPARE(px.recordCount(), 0);
        QCOMPARE(px.recNo(), -1);
        QVERIFY_THROWS_EXCEPTION(EngineError, px.value(u"IDSOS"));
    }

    void fieldsAreTyped() {
        Tables tables;
        tables.addSheet(7, QDate(2024, 5, 17), u"09:30"_s, u"B12ABC"_s, u"D'ARCY ION"_s, QString(),
                        150.5);
        Query fx;
        fx.setSql(tables.fx());
        fx.open();
        QCOMPARE(fx.text(u"NRMAS"), u"B12ABC"_s);
        QCOMPARE(fx.value(u"nrmas"), QVariant(u"B12ABC"_s));
        QCOMPARE(fx.text(u"SOFER1"), u"D'ARCY ION"_s);
        QCOMPARE(fx.text(u"SOFER2"), QString());
        QCOMPARE(fx.number(u"TOTALVEN"), 150.5);
        QCOMPARE(fx.text(u"TOTALVEN"), u"150.5"_s);
        QCOMPARE(fx.value(u"IDFOAIE"), QVariant(7.0));
        QCOMPARE(fx.date(u"DATAX"), QDate(2024, 5, 17));
        QCOMPARE(fx.value(u"DATAX"), QVariant(QDate(2024, 5, 17)));
        QVERIFY(fx.isNull(u"COST"));
        QVERIFY(!fx.value(u"COST").isValid());
        QVERIFY(!fx.isNull(u"TOTALVEN"));
        QVERIFY_THROWS_EXCEPTION(EngineError, fx.value(u"NUMAR"));

        const int nrmas = fx.fieldIndex(u"NrMas");
        QVERIFY(nrmas >= 0);
        QCOMPARE(fx.fieldName(nrmas), u"NRMAS"_s);
        QCOMPARE(fx.fieldType(fx.fieldIndex(u"DATAX")), ColumnType::Date);
        QCOMPARE(fx.fieldType(fx.fieldIndex(u"TKM")), ColumnType::Number);
        QCOMPARE(fx.textAt(0, nrmas), u"B12ABC"_s);
        QCOMPARE(fx.textAt(0, fx.fieldIndex(u"DATAX")), TextForm::date(QDate(2024, 5, 17)));
        QCOMPARE(fx.valueAt(0, fx.fieldIndex(u"TOTALVEN")), QVariant(150.5));
        QVERIFY(!fx.valueAt(1, nrmas).isValid());
        QCOMPARE(fx.fieldIndex(u"NUMAR"), -1);
    }

    void filterKeepsOrderAndMovesToFirst() {
        Tables tables;
        tables.addLine(1, 2, timpAt(3, 8, 0));
        tables.addLine(2, 1, timpAt(0, 8, 0));
        tables.addLine(3, 2, timpAt(1, 8, 0));
        tables.addLine(4, 2, timpAt(2, 8, 0));
        tables.addLine(5, 1, timpAt(4, 8, 0));
        Query px;
        px.setSql(tables.px());
        px.open();
        px.last();
        QSignalSpy scrolled(&px, &Query::afterScroll);
        QSignalSpy reset(&px, &Query::rowsReset);

        px.setFilter(u"IDFOAIE=2"_s);
        QCOMPARE(scrolled.count(), 0); // set, but not switched on
        QCOMPARE(px.recordCount(), 5);
        px.setFiltered(true);
        QCOMPARE(scrolled.count(), 1);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(px.recNo(), 0);
        QVERIFY(px.bof());
        QCOMPARE(px.number(u"IDSOS"), 3.0);
        QCOMPARE(walk(px, u"IDSOS"), (QList<int>{3, 4, 1}));
        QCOMPARE(px.resultRow(0), 1);

        px.setFiltered(true); // no change
        QCOMPARE(reset.count(), 1);
        px.setFilter(u"IDFOAIE=1"_s);
        QCOMPARE(px.recNo(), 0);
        QCOMPARE(walk(px, u"IDSOS"), (QList<int>{2, 5}));

        px.moveTo(1);
        scrolled.clear();
        px.setFiltered(false);
        QCOMPARE(scrolled.count(), 1);
        QCOMPARE(px.recNo(), 0);
        QCOMPARE(walk(px, u"IDSOS"), (QList<int>{2, 3, 4, 1, 5}));
        QCOMPARE(px.filter(), u"IDFOAIE=1"_s);

        px.setFilter(u"IDFOAIE=-1"_s);
        QCOMPARE(px.recordCount(), 5); // still switched off
        px.setFiltered(true);
        QVERIFY(px.isEmpty());
        QCOMPARE(px.recNo(), -1);
        QVERIFY(px.eof() && px.bof());
        QVERIFY_THROWS_EXCEPTION(EngineError, px.value(u"IDSOS"));

        px.setFilter(QString()); // no expression: every row passes
        QCOMPARE(px.recordCount(), 5);
        QVERIFY(px.isFiltered());
    }

    void searchFilters_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QList<int>>("sheets");
        QTest::newRow("driver and vehicle")
            << u"((SOFER1='SOF*') OR (SOFER2='SOF*')) AND (NRMAS='B12*')"_s << QList<int>{1, 3};
        QTest::newRow("driver") << u"((SOFER1='SOF*') OR (SOFER2='SOF*'))"_s
                                << QList<int>{1, 3, 4, 5};
        QTest::newRow("vehicle") << u"(NRMAS='B12*')"_s << QList<int>{1, 2, 3};
        QTest::newRow("quote in the name") << u"(SOFER1='D''ARC*')"_s << QList<int>{5};
        QTest::newRow("case-sensitive") << u"(SOFER1='sof*')"_s << QList<int>{};
        QTest::newRow("nothing matches") << u"(NRMAS='Z*')"_s << QList<int>{};
    }

    void searchFilters() {
        QFETCH(QString, expression);
        QFETCH(QList<int>, sheets);
        Tables tables;
        tables.addSheet(1, QDate(2024, 1, 1), u"08:00"_s, u"B12ABC"_s, u"SOFRONIE"_s);
        tables.addSheet(2, QDate(2024, 1, 2), u"08:00"_s, u"B12XYZ"_s, u"ION"_s, u"VASILE"_s);
        tables.addSheet(3, QDate(2024, 1, 3), u"08:00"_s, u"B123"_s, u"ION"_s, u"SOFIA"_s);
        tables.addSheet(4, QDate(2024, 1, 4), u"08:00"_s, u"CJ01AAA"_s, u"SOF"_s);
        tables.addSheet(5, QDate(2024, 1, 5), u"08:00"_s, u"B1"_s, u"D'ARCY"_s, u"SOF"_s);
        Query fx;
        fx.setSql(tables.fx());
        // A search set while the list is closed is in force when it opens.
        fx.setFilter(expression);
        fx.setFiltered(true);
        fx.open();
        QCOMPARE(walk(fx, u"IDFOAIE"), sheets);
        fx.close();
        fx.open();
        QCOMPARE(fx.recordCount(), sheets.size());
    }

    void refusedFilterLeavesPreviousInForce_data() {
        QTest::addColumn<QString>("expression");
        QTest::newRow("syntax") << u"IDFOAIE="_s;
        QTest::newRow("unknown column") << u"(NUMAR=3)"_s;
        QTest::newRow("unclosed quote") << u"(PLESOS='PLE*)"_s;
    }

    void refusedFilterLeavesPreviousInForce() {
        QFETCH(QString, expression);
        Tables tables;
        tables.addLine(1, 1, timpAt(0, 8, 0));
        tables.addLine(2, 2, timpAt(1, 8, 0));
        tables.addLine(3, 2, timpAt(2, 8, 0));
        Query px;
        px.setSql(tables.px());
        px.open();
        px.setFilter(u"IDFOAIE=2"_s);
        px.setFiltered(true);
        px.next();
        QSignalSpy scrolled(&px, &Query::afterScroll);
        try {
            px.setFilter(expression);
            QFAIL("the filter was accepted");
        } catch (const EngineError &e) {
            QVERIFY2(e.message().contains(u"pozitia"_s), qPrintable(e.message()));
        }
        QCOMPARE(px.filter(), u"IDFOAIE=2"_s);
        QCOMPARE(px.recNo(), 1);
        QCOMPARE(px.number(u"IDSOS"), 3.0);
        QCOMPARE(scrolled.count(), 0);
        QCOMPARE(walk(px, u"IDSOS"), (QList<int>{2, 3}));
    }

    void filterNamingAnUnknownColumnRefusesToOpen() {
        Tables tables;
        Query px;
        px.setSql(tables.px());
        px.setFilter(u"NUMAR=3"_s); // cannot be checked against columns yet
        px.setFiltered(true);
        QVERIFY_THROWS_EXCEPTION(EngineError, px.open());
        QVERIFY(!px.isOpen());
        px.setFiltered(false);
        px.open();
        QVERIFY(px.isOpen());
        QVERIFY_THROWS_EXCEPTION(EngineError, px.setFiltered(true));
        QVERIFY(!px.isFiltered());
    }

    void locate() {
        Tables tables;
        tables.addSheet(10, QDate(2024, 1, 1), u"08:00"_s, u"B12ABC"_s, u"ION"_s);
        tables.addSheet(11, QDate(2024, 1, 2), u"08:00"_s, u"CJ01"_s, u"VASILE"_s);
        tables.addSheet(12, QDate(2024, 1, 3), u"08:00"_s, u"B12ABC"_s, u"SOFIA"_s);
        Query fx;
        fx.setSql(tables.fx());
        fx.open();
        QSignalSpy scrolled(&fx, &Query::afterScroll);

        // Identifiers are remembered in text form and found again by them.
        QVERIFY(fx.locate(u"IDFOAIE", u"12"_s));
        QCOMPARE(fx.recNo(), 2);
        QCOMPARE(scrolled.count(), 1);
        QVERIFY(fx.locate(u"idfoaie", 11.0));
        QCOMPARE(fx.recNo(), 1);
        QVERIFY(fx.locate(u"NRMAS", u"B12ABC"_s)); // the first match, without the padding
        QCOMPARE(fx.recNo(), 0);
        QVERIFY(fx.locate(u"DATAX", QDate(2024, 1, 3)));
        QCOMPARE(fx.recNo(), 2);
        QCOMPARE(scrolled.count(), 4);

        QVERIFY(!fx.locate(u"IDFOAIE", u"13"_s));
        QVERIFY(!fx.locate(u"NRMAS", u"B12"_s)); // exact, not a prefix
        QVERIFY(!fx.locate(u"IDFOAIE", u"x"_s));
        QCOMPARE(fx.recNo(), 2);
        QCOMPARE(scrolled.count(), 4);
        QVERIFY_THROWS_EXCEPTION(EngineError, fx.locate(u"NUMAR", 1));

        // A row the filter hides is not found; the cursor stays.
        fx.setFilter(u"(NRMAS='B12*')"_s);
        fx.setFiltered(true);
        fx.last();
        QVERIFY(!fx.locate(u"IDFOAIE", u"11"_s));
        QCOMPARE(fx.recNo(), 1);
        QVERIFY(fx.locate(u"IDFOAIE", u"10"_s));
        QCOMPARE(fx.recNo(), 0);
    }

    // The lower list's calc fields: the date and hour of TIMP, filled per row on demand.
    // Numbers of 18 digits that a double cannot tell apart: the record filter (by scan and by
    // its index), locate and the typed value see each one exactly.
    void filterAndLocateSeeExactNumbers() {
        QTemporaryDir dir;
        const QString table = dir.path() + u"/BIG.DBF"_s;
        Query sx;
        sx.setSql({u"CREATE TABLE \"%1\" (ID DECIMAL(2,0), V DECIMAL(18,0), C DECIMAL(8,2))"_s.arg(
            table)});
        sx.execSql();
        const QStringList values{u"999999999999999998"_s, u"999999999999999999"_s,
                                 u"999999999999999998"_s};
        for (qsizetype i = 0; i < values.size(); ++i) {
            sx.setSql({u"INSERT INTO \"%1\" (ID, V, C) VALUES (%2, %3, %4)"_s.arg(table)
                           .arg(i + 1)
                           .arg(values[i])
                           .arg(i == 1 ? u"0.3"_s : u"0.1+0.2"_s)});
            sx.execSql();
        }
        Query q;
        q.setSql({u"SELECT * FROM \"%1\" ORDER BY V, ID"_s.arg(table)});
        q.open();
        QCOMPARE(q.decimal(u"V").toString(), values[0]);
        q.last();
        QCOMPARE(q.decimal(u"V").toString(), values[1]);
        q.setFilter(u"V=999999999999999999"_s);
        q.setFiltered(true);
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.decimal(u"ID"), Decimal::fromUnits(2));
        q.setFilter(u"(V<999999999999999999) AND (C=0.3)"_s);
        QCOMPARE(q.recordCount(), 2);
        q.setFiltered(false);
        QVERIFY(q.locate(u"V", u"999999999999999999"_s));
        QCOMPARE(q.decimal(u"ID"), Decimal::fromUnits(2));
        q.first();
        QVERIFY(!q.locate(u"V", u"999999999999999997"_s));
        QCOMPARE(q.recNo(), 0);
    }

    void calcFields() {
        Tables tables;
        const double morning = Timp::fromDateTime(QDate(2024, 3, 1), QTime(7, 5));
        const double afternoon = Timp::fromDateTime(QDate(2024, 3, 2), QTime(14, 5));
        QCOMPARE(TextForm::fourDecimal(afternoon), u"45353.5868"_s); // 14:04:59.5 as stored
        tables.addLine(1, 1, morning);
        tables.addLine(2, 1, afternoon);
        tables.addLine(3, 2, afternoon + 1);
        Query px;
        px.setSql(tables.px());
        px.addCalcField(u"ZIUA"_s, 10);
        px.addCalcField(u"ORA"_s, 5);
        int calls = 0;
        px.setCalcHandler([&calls](Query::CalcRow &row) {
            ++calls;
            const double timp = row.number(u"TIMP");
            row.setText(u"ZIUA", TextForm::date(Timp::date(timp)));
            row.setText(u"ORA", TextForm::hour(Timp::time(timp)));
        });
        px.open();
        QCOMPARE(calls, 0);

        const int ziua = px.fieldIndex(u"ziua");
        const int ora = px.fieldIndex(u"ORA");
        QVERIFY(px.isCalcField(ziua) && px.isCalcField(ora));
        QVERIFY(!px.isCalcField(px.fieldIndex(u"TIMP")));
        QCOMPARE(px.fieldType(ora), ColumnType::Text);
        QCOMPARE(px.fieldCount(), 7);
        QCOMPARE(px.fieldName(ziua), u"ZIUA"_s);

        QCOMPARE(px.text(u"ORA"), u"07:05"_s);
        QCOMPARE(px.text(u"ZIUA"), TextForm::date(QDate(2024, 3, 1)));
        QCOMPARE(calls, 1);
        px.next();
        QCOMPARE(px.value(u"ORA"), QVariant(u"14:05"_s));
        QCOMPARE(px.text(u"ZIUA"), TextForm::date(QDate(2024, 3, 2)));
        QCOMPARE(px.textAt(2, ziua), TextForm::date(QDate(2024, 3, 3)));
        QCOMPARE(px.textAt(2, ora), u"14:05"_s);
        QVERIFY(calls <= 3);

        // Filtered: the calc values follow the row they belong to.
        px.setFilter(u"IDFOAIE=2"_s);
        px.setFiltered(true);
        QCOMPARE(px.text(u"ZIUA"), TextForm::date(QDate(2024, 3, 3)));
        QCOMPARE(px.textAt(0, ora), u"14:05"_s);

        // A calc text longer than its column is cut to the column's size.
        Query cut;
        cut.setSql(tables.px());
        cut.addCalcField(u"ORA"_s, 5);
        cut.setCalcHandler([](Query::CalcRow &row) {
            row.setText(u"ORA", u"14:05:33"_s);
            QCOMPARE(row.text(u"ORA"), u"14:05"_s);
        });
        cut.open();
        QCOMPARE(cut.text(u"ORA"), u"14:05"_s);
    }

    void afterScrollOnEveryMove() {
        Tables tables;
        tables.addLine(1, 1, timpAt(0, 8, 0));
        tables.addLine(2, 1, timpAt(1, 8, 0));
        Query px;
        px.setSql(tables.px());
        QSignalSpy scrolled(&px, &Query::afterScroll);
        px.close(); // not open: nothing moves
        px.first();
        px.last();
        QCOMPARE(scrolled.count(), 0);
        px.open();
        QCOMPARE(scrolled.count(), 1);
        px.open(); // already open
        QCOMPARE(scrolled.count(), 1);
        px.next();
        QCOMPARE(scrolled.count(), 2);
        px.setFilter(u"IDFOAIE=1"_s);
        px.setFiltered(true);
        QCOMPARE(scrolled.count(), 3);
        px.setFilter(u"IDFOAIE=1"_s); // applied again, back to the first row
        QCOMPARE(scrolled.count(), 4);
        QVERIFY(px.locate(u"IDSOS", 2));
        QCOMPARE(scrolled.count(), 5);
        px.close();
        QCOMPARE(scrolled.count(), 6);
        px.open();
        QCOMPARE(scrolled.count(), 7);
        px.setSql(tables.px()); // a new statement closes the result
        QCOMPARE(scrolled.count(), 8);
        QVERIFY(!px.isOpen());
    }

    void disabledControlsHearOneResetAtTheEnd() {
        Tables tables;
        tables.addLine(1, 1, timpAt(0, 8, 0));
        tables.addLine(2, 2, timpAt(1, 8, 0));
        Query px;
        px.setSql(tables.px());
        QSignalSpy reset(&px, &Query::rowsReset);
        QSignalSpy current(&px, &Query::currentChanged);
        QSignalSpy scrolled(&px, &Query::afterScroll);

        px.disableControls();
        px.disableControls();
        QVERIFY(px.controlsDisabled());
        px.open();
        px.next();
        px.setFilter(u"IDFOAIE=2"_s);
        px.setFiltered(true);
        QCOMPARE(reset.count(), 0);
        QCOMPARE(current.count(), 0);
        QCOMPARE(scrolled.count(), 3); // the handlers still run
        px.enableControls();
        QCOMPARE(reset.count(), 0);
        px.enableControls();
        QVERIFY(!px.controlsDisabled());
        QCOMPARE(reset.count(), 1);
        px.enableControls(); // one too many: ignored
        QCOMPARE(reset.count(), 1);

        // Nothing changed while disabled: nothing to reload.
        px.disableControls();
        px.enableControls();
        QCOMPARE(reset.count(), 1);

        // Enabled: each change is told as it happens.
        current.clear();
        px.setFiltered(false);
        QCOMPARE(reset.count(), 2);
        px.next();
        QCOMPARE(current.count(), 2);
    }

    void replacingALineClosesTheResult() {
        Tables tables;
        tables.addSheet(1, QDate(2024, 1, 2), u"08:00"_s, u"CJ01"_s, u"ION"_s);
        tables.addSheet(2, QDate(2024, 1, 1), u"08:00"_s, u"B12"_s, u"VASILE"_s);
        tables.addSheet(3, QDate(2024, 1, 3), u"08:00"_s, u"AB99"_s, u"SOFIA"_s);
        Query fx;
        fx.setSql(tables.fx());
        fx.open();
        QCOMPARE(walk(fx, u"IDFOAIE"), (QList<int>{2, 1, 3}));
        QSignalSpy scrolled(&fx, &Query::afterScroll);
        fx.replaceLine(2, u"ORDER BY NRMAS"_s);
        QVERIFY(!fx.isOpen());
        QCOMPARE(scrolled.count(), 1);
        QCOMPARE(fx.sql().at(2), u"ORDER BY NRMAS"_s);
        QCOMPARE(fx.sqlText(), fx.sql().join(u'\n'));
        fx.open();
        QCOMPARE(walk(fx, u"IDFOAIE"), (QList<int>{3, 2, 1}));
        QVERIFY_THROWS_EXCEPTION(EngineError, fx.replaceLine(3, u"WHERE IDFOAIE=1"_s));
        QVERIFY(fx.isOpen());
        fx.addLine(QString());
        QVERIFY(!fx.isOpen());
        fx.open();
        fx.clearSql();
        QVERIFY(!fx.isOpen());
        QVERIFY(fx.sql().isEmpty());
    }

    void refusedStatementsRaise() {
        Tables tables;
        Query sx;
        sx.setSql({u"INSERT INTO \"%1\""_s.arg(tables.sosiri()), u"(NUMAR)"_s, u"VALUES (1)"_s});
        QVERIFY_THROWS_EXCEPTION(EngineError, sx.execSql());
        sx.setSql({u"SELECT *"_s, u"FROM \"%1\""_s.arg(tables.sosiri() + u".lipsa"_s)});
        QVERIFY_THROWS_EXCEPTION(EngineError, sx.open());
        QVERIFY(!sx.isOpen());
    }

    // The records window's wiring: the lower list follows the selected sheet.
    void lowerListFollowsUpper() {
        Tables tables;
        tables.addSheet(1, QDate(2024, 1, 1), u"08:00"_s, u"B1"_s, u"ION"_s);
        tables.addSheet(2, QDate(2024, 1, 2), u"08:00"_s, u"B2"_s, u"ION"_s);
        tables.addLine(1, 1, timpAt(0, 8, 0));
        tables.addLine(2, 2, timpAt(1, 8, 0));
        tables.addLine(3, 2, timpAt(1, 9, 0));
        Query fx;
        Query px;
        fx.setSql(tables.fx());
        px.setSql(tables.px());
        QObject::connect(&fx, &Query::afterScroll, &px, [&] {
            if (!fx.isOpen() || fx.isEmpty())
                px.setFilter(u"IDFOAIE=-1"_s);
            else
                px.setFilter(u"IDFOAIE="_s + TextForm::general(fx.number(u"IDFOAIE")));
            px.setFiltered(true);
        });
        px.open();
        fx.open();
        QCOMPARE(walk(px, u"IDSOS"), (QList<int>{1}));
        fx.last();
        QCOMPARE(walk(px, u"IDSOS"), (QList<int>{2, 3}));
        fx.close();
        QVERIFY(px.isEmpty());
        QCOMPARE(px.filter(), u"IDFOAIE=-1"_s);
    }

    // Refiltering through the index must give what a scan gives, however often it runs.
    void indexedRefilterMatchesBruteForce() {
        Tables tables;
        QRandomGenerator random(1899);
        for (int idsos = 1; idsos <= 600; ++idsos) {
            tables.addLine(idsos, random.bounded(1, 80),
                           timpAt(random.bounded(30), 0, 0) + random.bounded(96) / 96.0);
        }
        Query px;
        px.setSql(tables.px());
        px.open();
        std::map<int, QList<int>> expected; // sheet -> its lines in TIMP order
        const int idfoaie = px.fieldIndex(u"IDFOAIE");
        const int idsos = px.fieldIndex(u"IDSOS");
        for (qsizetype r = 0; r < px.recordCount(); ++r) {
            expected[static_cast<int>(px.valueAt(r, idfoaie).toDouble())].append(
                static_cast<int>(px.valueAt(r, idsos).toDouble()));
        }

        px.setFiltered(true);
        for (int round = 0; round < 400; ++round) {
            const int sheet = random.bounded(-1, 82);
            px.setFilter(u"IDFOAIE=%1"_s.arg(sheet));
            const QList<int> want = expected.count(sheet) ? expected[sheet] : QList<int>{};
            QCOMPARE(px.recordCount(), want.size());
            QCOMPARE(px.recNo(), want.isEmpty() ? -1 : 0);
            QCOMPARE(walk(px, u"IDSOS"), want);
            if (round % 50 == 0) {
                // A scanning filter in between must not disturb the index.
                px.setFilter(u"IDFOAIE>=%1 AND IDFOAIE<=%1"_s.arg(sheet));
                QCOMPARE(walk(px, u"IDSOS"), want);
            }
        }
        // Locating by the indexed column finds the first row in the list's order.
        px.setFiltered(false);
        for (int round = 0; round < 50; ++round) {
            const int sheet = random.bounded(1, 80);
            const bool present = expected.count(sheet) > 0;
            QCOMPARE(px.locate(u"IDFOAIE", sheet), present);
            if (present) {
                QCOMPARE(px.number(u"IDSOS"), expected[sheet].first());
                QCOMPARE(px.locate(u"IDFOAIE", u"%1"_s.arg(sheet)), true);
            }
        }

        // After reopening, the index is built on the new result.
        tables.addLine(601, 5, 0);
        px.close();
        px.open();
        px.setFiltered(true);
        px.setFilter(u"IDFOAIE=5"_s);
        QCOMPARE(px.number(u"IDSOS"), 601.0);
        QCOMPARE(px.recordCount(), expected[5].size() + 1);
    }
};

QTEST_GUILESS_MAIN(TestQuery)
#include "tst_query.moc"
