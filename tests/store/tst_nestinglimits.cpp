// SPDX-License-Identifier: GPL-3.0-or-later
// Statements and record filters nested or chained far beyond anything the windows compose:
// each is either answered correctly or refused with a message, never a crash of the stack.

#include "store/query/query.h"
#include "store/query/recordfilter.h"
#include "store/sql/sqlengine.h"
#include "store/sql/sqlparser.h"
#include "store/text/error.h"

#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

QString repeated(const QString &piece, int times) {
    QString out;
    out.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

// The terms "ID=0", "ID=1", ... joined by the word.
QString chainOf(const QString &word, int terms, const QString &term = u"ID=%1"_s) {
    QStringList parts;
    parts.reserve(terms);
    for (int i = 0; i < terms; ++i)
        parts.append(term.arg(i));
    return parts.join(u' ' + word + u' ');
}

QString engineErrorOf(const std::function<void()> &call) {
    try {
        call();
    } catch (const EngineError &e) {
        return e.message();
    }
    return {};
}

} // namespace

class TestNestingLimits : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_table;

    QString select(const QString &where) const {
        return u"SELECT ID FROM \""_s + m_table + u"\"\nWHERE "_s + where;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_table = m_dir.filePath(u"T.dbf"_s);
        SqlEngine::run(u"CREATE TABLE \""_s + m_table + u"\" (ID DECIMAL(6,0), NAME CHAR(8))"_s);
        SqlEngine::run(u"INSERT INTO \""_s + m_table +
                       u"\" VALUES (5, \"A\"), (29999, \"B\"), (40000, \"C\")"_s);
    }

    void deepStatementsAreRefusedWhereTheyGetTooDeep_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("place");
        // The WHERE clause starts on line 2, column 7.
        QTest::newRow("10000 parentheses")
            << repeated(u"("_s, 10000) + u"ID=5"_s + repeated(u")"_s, 10000) << u"coloana 207"_s;
        QTest::newRow("100000 unary minus")
            << u"ID="_s + repeated(u"-"_s, 100000) + u"5"_s << u"coloana 210"_s;
        QTest::newRow("100000 NOT") << repeated(u"NOT "_s, 100000) + u"ID=5"_s << u"coloana 807"_s;
        QTest::newRow("30000 additions")
            << u"ID="_s + repeated(u"1+"_s, 30000) + u"1"_s << u"linia 2"_s;
        QTest::newRow("aggregate in parentheses")
            << repeated(u"SUM("_s, 300) + u"ID"_s + repeated(u")"_s, 300) << u"linia 2"_s;
    }
    void deepStatementsAreRefusedWhereTheyGetTooDeep() {
        QFETCH(QString, where);
        QFETCH(QString, place);
        const QString message = engineErrorOf([&] { SqlParser::parse(select(where)); });
        QVERIFY2(message.contains(u"prea multe niveluri"_s), qPrintable(message.left(200)));
        QVERIFY2(message.contains(u"linia 2"_s) && message.contains(place),
                 qPrintable(message.left(200)));
    }

    void nestingWithinTheLimitIsAnsweredCorrectly() {
        const QString where = repeated(u"("_s, 150) + u"ID=--5"_s + repeated(u")"_s, 150) +
                              u" OR NOT NOT NOT ID<>40000"_s;
        const ResultSet rows = SqlEngine::open(select(where));
        QCOMPARE(rows.rowCount(), 2);
    }

    void longChainsOfOrAndAndAreAnsweredCorrectly() {
        const ResultSet ors = SqlEngine::open(select(chainOf(u"OR"_s, 30000)));
        QCOMPARE(ors.rowCount(), 2); // 5 and 29999, not 40000
        const ResultSet ands = SqlEngine::open(select(chainOf(u"AND"_s, 30000, u"ID<>%1"_s)));
        QCOMPARE(ands.rowCount(), 1); // only 40000 is none of 0..29999
    }

    void deepFiltersAreRefusedWithThePosition_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("position");
        QTest::newRow("100000 parentheses")
            << repeated(u"("_s, 100000) + u"ID=5"_s + repeated(u")"_s, 100000) << u"pozitia 201"_s;
        QTest::newRow("100000 NOT") << repeated(u"NOT "_s, 100000) + u"ID=5"_s << u"pozitia 801"_s;
    }
    void deepFiltersAreRefusedWithThePosition() {
        QFETCH(QString, filter);
        QFETCH(QString, position);
        const QString message = engineErrorOf([&] { RecordFilter parsed(filter); });
        QVERIFY2(message.contains(u"prea multe niveluri"_s), qPrintable(message.left(200)));
        QVERIFY2(message.contains(position), qPrintable(message.left(200)));
    }

    void longFilterChainsAreAnsweredCorrectly() {
        Query query;
        query.addLine(u"SELECT * FROM \""_s + m_table + u'"');
        query.open();
        query.setFilter(chainOf(u"OR"_s, 30000));
        query.setFiltered(true);
        QCOMPARE(query.recordCount(), 2);
        query.setFilter(u"("_s + chainOf(u"AND"_s, 30000, u"ID<>%1"_s) + u") AND NAME='C'"_s);
        QCOMPARE(query.recordCount(), 1);
        query.setFilter(repeated(u"("_s, 150) + u"NAME='B'"_s + repeated(u")"_s, 150));
        QCOMPARE(query.recordCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestNestingLimits)
#include "tst_nestinglimits.moc"
