// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/statements.h"

#include "store/dbf/faultpoint.h"
#include "store/sql/sqlengine.h"
#include "store/text/error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace velmora;
using namespace velmora::statements;
using namespace Qt::Literals::StringLiterals;

namespace {

using Snapshot = QList<QStringList>;
using Operation = std::function<void(const QString &dir)>;

// Every row of a table, in file order, as the engine reads it.
Snapshot snapshot(const QString &dir, const QString &name) {
    const ResultSet r = SqlEngine::open(u"SELECT * FROM "_s + table(dir, name));
    Snapshot rows;
    for (qsizetype i = 0; i < r.rowCount(); ++i) {
        QStringList row;
        for (int c = 0; c < r.columnCount(); ++c)
            row << (r.isNull(i, c) ? u"<null>"_s : r.text(i, c));
        rows << row;
    }
    return rows;
}

bool copyDir(const QString &from, const QString &to) {
    QDir().mkpath(to);
    for (const QString &name : QDir(from).entryList(QDir::Files)) {
        if (!QFile::copy(from + u'/' + name, to + u'/' + name))
            return false;
    }
    return true;
}

QStringList leftovers(const QString &dir) {
    QStringList names = QDir(dir).entryList(QDir::Files);
    names.removeIf([](const QString &n) { return n.endsWith(u".DBF", Qt::CaseInsensitive); });
    return names;
}

} // namespace

class TestCrashSafety : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_tmp;
    QString m_fixture;
    int m_case = 0;

    QString freshDir() {
        const QString dir = m_tmp.path() + u"/w"_s + QString::number(++m_case);
        if (!copyDir(m_fixture, dir))
            return {};
        return dir;
    }

    // Rolling back is itself killed at each of its steps, on copies of the directory a kill
    // left; every time, the next access must still find the old version.
    bool rollbackSurvivesKills(const QString &killed, const QString &tableName,
                               const Snapshot &before) {
        for (int j = 1; j < 100; ++j) {
            const QString dir = m_tmp.path() + u"/r"_s + QString::number(++m_case);
            if (!copyDir(killed, dir))
                return false;
            bool again = false;
            FaultPoint::arm(j);
            try {
                snapshot(dir, tableName);
            } catch (const SimulatedKill &) {
                again = true;
            }
            FaultPoint::disarm();
            if (snapshot(dir, tableName) != before) {
                QTest::qFail(qPrintable(u"a kill at step %1 of the rollback lost the old "
                                        u"version"_s.arg(j)),
                             __FILE__, __LINE__);
                return false;
            }
            if (!again)
                return true;
        }
        return false;
    }

    // Kills the operation at its first, second, ... step that changes a file, until it runs
    // through; after every kill the table, read afresh, must be exactly the old or exactly the
    // new one. Returns the number of kills that left a rollback journal behind.
    int killAtEveryStep(const QString &tableName, const Operation &operation) {
        const Snapshot before = snapshot(m_fixture, tableName);
        const QString done = freshDir();
        operation(done);
        const Snapshot after = snapshot(done, tableName);
        if (before == after) {
            QTest::qFail("the operation changes nothing", __FILE__, __LINE__);
            return -1;
        }
        int journals = 0;
        for (int k = 1; k < 1000; ++k) {
            const QString dir = freshDir();
            bool killed = false;
            FaultPoint::arm(k);
            try {
                operation(dir);
            } catch (const SimulatedKill &) {
                killed = true;
            }
            FaultPoint::disarm();
            const bool journal = !leftovers(dir).filter(u".jnl"_s).isEmpty();
            if (journal) {
                ++journals;
                if (!rollbackSurvivesKills(dir, tableName, before))
                    return -1;
            }
            const Snapshot now = snapshot(dir, tableName);
            if (now != before && now != after) {
                QTest::qFail(qPrintable(u"kill at step %1 left a mixed table"_s.arg(k)), __FILE__,
                             __LINE__);
                return -1;
            }
            if (!killed) {
                if (now != after)
                    QTest::qFail("the uninterrupted operation lost its change", __FILE__, __LINE__);
                if (!leftovers(dir).isEmpty())
                    QTest::qFail("files left beside the table", __FILE__, __LINE__);
                return journals;
            }
            // Whatever a kill left, the next statements work on the table.
            snapshot(dir, tableName);
            if (leftovers(dir).contains(tableName + u".jnl"_s))
                QTest::qFail("the journal outlived the recovery", __FILE__, __LINE__);
        }
        QTest::qFail("the operation never completed", __FILE__, __LINE__);
        return -1;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_tmp.isValid());
        m_fixture = m_tmp.path() + u"/fixture"_s;
        QVERIFY(QDir().mkpath(m_fixture));
        SqlEngine::run(createFoi(m_fixture));
        SqlEngine::run(createSosiri(m_fixture));
        for (int i = 1; i <= 5; ++i) {
            Sheet s;
            s.id = QString::number(i);
            s.date = QDate(2007, 1, i);
            SqlEngine::run(insertSheet(m_fixture, s));
        }
        for (int i = 1; i <= 8; ++i) {
            SqlEngine::run(insertLine(m_fixture, QString::number(i), QString::number(i % 3 + 1),
                                      u"PLECARE"_s, QString::number(39102 + i), u"150"_s));
        }
        SqlEngine::run(deleteWhere(m_fixture, u"Sosiri.dbf"_s, u"IDSOS=8"_s));
    }

    void insert() {
        Sheet s;
        s.id = u"99"_s;
        const int journals = killAtEveryStep(
            u"FOI.DBF"_s, [&](const QString &dir) { SqlEngine::run(insertSheet(dir, s)); });
        // Appending needs no journal: the header's count is the commit point.
        QCOMPARE(journals, 0);
    }

    void insertSeveralRows() {
        killAtEveryStep(u"Sosiri.DBF"_s, [](const QString &dir) {
            SqlEngine::run(u"INSERT INTO "_s + table(dir, u"Sosiri.dbf"_s) +
                           u" VALUES (20, 1, \"SOSIRE\", 39200.5, 10), (21, 1, \"SOSIRE\", "
                           u"39200.75, 20)"_s);
        });
    }

    void updateSeveralRecords() {
        const int journals = killAtEveryStep(u"FOI.DBF"_s, [](const QString &dir) {
            SqlEngine::run(u"UPDATE "_s + table(dir, u"Foi.dbf"_s) +
                           u"\nSET TOTALVEN=TOTALVEN+150, NRMAS=\"NOU\"\nWHERE IDFOAIE<>3"_s);
        });
        QVERIFY(journals > 0);
    }

    void updateIncome() {
        killAtEveryStep(u"FOI.DBF"_s, [](const QString &dir) {
            SqlEngine::run(income(dir, u"4"_s, u"+200-150"_s));
        });
    }

    void deleteSeveralRecords() {
        const int journals = killAtEveryStep(u"Sosiri.DBF"_s, [](const QString &dir) {
            SqlEngine::run(deleteWhere(dir, u"Sosiri.dbf"_s, u"IDFOAIE=2"_s));
        });
        QVERIFY(journals > 0);
    }

    void pack() {
        // Packing changes no row a statement sees, only the file's size.
        const int length = 1 + 11 + 11 + 32 + 11 + 10;
        const QString dir = freshDir();
        SqlEngine::run(deleteWhere(dir, u"Sosiri.dbf"_s, u"IDSOS=3 OR IDSOS=5"_s));
        const Snapshot before = snapshot(dir, u"Sosiri.DBF"_s);
        const qint64 sizeBefore = QFileInfo(dir + u"/Sosiri.DBF"_s).size();
        for (int k = 1; k < 100; ++k) {
            const QString work = m_tmp.path() + u"/pack"_s + QString::number(k);
            QVERIFY(copyDir(dir, work));
            bool killed = false;
            FaultPoint::arm(k);
            try {
                SqlEngine::pack(work + u"/sosiri.dbf"_s);
            } catch (const SimulatedKill &) {
                killed = true;
            }
            FaultPoint::disarm();
            QCOMPARE(snapshot(work, u"Sosiri.DBF"_s), before);
            const qint64 size = QFileInfo(work + u"/Sosiri.DBF"_s).size();
            if (!killed) {
                QVERIFY(size < sizeBefore);
                QVERIFY(k > 2);
                QVERIFY(leftovers(work).isEmpty());
                return;
            }
            QVERIFY(size == sizeBefore || size == sizeBefore - 3 * length);
            // A new pack after the kill finishes the job.
            SqlEngine::pack(work + u"/Sosiri.dbf"_s);
            QCOMPARE(QFileInfo(work + u"/Sosiri.DBF"_s).size(), sizeBefore - 3 * length);
            QCOMPARE(snapshot(work, u"Sosiri.DBF"_s), before);
        }
        QFAIL("pack never completed");
    }

    void createTable() {
        // The new table appears whole or not at all; after a kill, CREATE can run again.
        for (int k = 1; k < 100; ++k) {
            const QString dir = m_tmp.path() + u"/create"_s + QString::number(k);
            QVERIFY(QDir().mkpath(dir));
            bool killed = false;
            FaultPoint::arm(k);
            try {
                SqlEngine::run(createFoi(dir));
            } catch (const SimulatedKill &) {
                killed = true;
            }
            FaultPoint::disarm();
            if (QFile::exists(dir + u"/FOI.DBF"_s)) {
                QCOMPARE(SqlEngine::open(sheets(dir)).columnCount(), 12);
            } else {
                QVERIFY(killed);
                SqlEngine::run(createFoi(dir));
                QCOMPARE(SqlEngine::open(sheets(dir)).rowCount(), 0);
            }
            if (!killed) {
                QVERIFY(k > 2);
                QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList{u"FOI.DBF"_s});
                return;
            }
        }
        QFAIL("CREATE TABLE never completed");
    }

    void journalIsTrustedOnlyWhenComplete_data() {
        QTest::addColumn<int>("keep");
        QTest::addColumn<double>("total");
        QTest::newRow("complete") << 0 << 0.0;
        QTest::newRow("empty") << 1 << 7.0;
        QTest::newRow("head only") << 2 << 7.0;
        QTest::newRow("no trailer") << 3 << 7.0;
        QTest::newRow("one byte short") << 4 << 7.0;
        QTest::newRow("damaged byte") << 5 << 7.0;
    }

    void journalIsTrustedOnlyWhenComplete() {
        QFETCH(int, keep);
        QFETCH(double, total);
        const QString dir = freshDir();
        const QString journal = dir + u"/FOI.DBF.jnl"_s;
        // Open, write and flush the journal of an update, then stop before the table changes.
        FaultPoint::arm(4);
        QVERIFY_THROWS_EXCEPTION(SimulatedKill, SqlEngine::run(income(dir, u"1"_s, u"+1"_s)));
        FaultPoint::disarm();
        QFile f(journal);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray bytes = f.readAll();
        f.close();
        QVERIFY(f.remove());
        QVERIFY(bytes.size() > 60);
        // The table moves on; then the journal reappears, whole or as a kill while writing it
        // would have left it.
        SqlEngine::run(income(dir, u"1"_s, u"+7"_s));
        switch (keep) {
        case 1:
            bytes.clear();
            break;
        case 2:
            bytes = bytes.left(12);
            break;
        case 3:
            bytes.chop(32);
            break;
        case 4:
            bytes.chop(1);
            break;
        case 5:
            bytes[20] = static_cast<char>(bytes[20] ^ 0x55);
            break;
        default:
            break;
        }
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        const ResultSet r = SqlEngine::open(u"SELECT TOTALVEN FROM "_s + table(dir, u"Foi.dbf"_s) +
                                            u" WHERE IDFOAIE=1"_s);
        QCOMPARE(r.number(0, 0), total);
        QVERIFY(!QFile::exists(journal));
    }

    void completeJournalRollsBack() {
        const QString dir = freshDir();
        const Snapshot before = snapshot(dir, u"FOI.DBF"_s);
        // Kill after the first record was rewritten, before the second.
        int step = 0;
        for (int k = 1; k < 50 && step == 0; ++k) {
            const QString work = freshDir();
            FaultPoint::arm(k);
            try {
                SqlEngine::run(u"UPDATE "_s + table(work, u"Foi.dbf"_s) + u" SET TKM=1"_s);
            } catch (const SimulatedKill &) {
            }
            FaultPoint::disarm();
            QFile raw(work + u"/FOI.DBF"_s);
            QVERIFY(raw.open(QIODevice::ReadOnly));
            const bool changedOnDisk = raw.readAll().contains("        1 ");
            if (changedOnDisk && QFile::exists(work + u"/FOI.DBF.jnl"_s)) {
                step = k;
                QCOMPARE(snapshot(work, u"FOI.DBF"_s), before);
                QVERIFY(!QFile::exists(work + u"/FOI.DBF.jnl"_s));
            }
        }
        QVERIFY(step > 0);
    }
};

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
