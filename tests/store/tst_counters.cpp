// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/counters.h"
#include "store/dbf/atomicfile.h"
#include "store/dbf/faultpoint.h"
#include "store/inifile.h"
#include "store/text/error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "filebytes.h"

using namespace velmora;

class TestCounters : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

    void setCounter(const QString &name, const QByteArray &value) {
        putBytes(m_path, "[INDEX]\r\n" + name.toLatin1() + "=" + value + "\r\n");
    }

private Q_SLOTS:
    void init() {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("Velm.ini"));
        QFile::remove(m_path);
        QDir(AtomicFile::temporaryPath(m_path)).removeRecursively();
        FaultPoint::disarm();
    }

    void freshFileStartsAtOne() {
        const Counters counters(m_path);
        QCOMPARE(counters.next(Counters::sheets()), QStringLiteral("1"));
        QCOMPARE(bytesOf(m_path), QByteArray("[INDEX]\r\nIDFOAIE=2\r\n"));
        QCOMPARE(counters.next(Counters::lines()), QStringLiteral("1"));
        QCOMPARE(bytesOf(m_path), QByteArray("[INDEX]\r\nIDFOAIE=2\r\nIDSOS=2\r\n"));
    }

    void handsOutTheTextAsStored() {
        setCounter(Counters::sheets(), "007");
        const Counters counters(m_path);
        QCOMPARE(counters.next(Counters::sheets()), QStringLiteral("007"));
        QCOMPARE(IniFile(m_path).read(u"INDEX", u"IDFOAIE"), QStringLiteral("8"));
        QCOMPARE(counters.next(Counters::sheets()), QStringLiteral("8"));
        QCOMPARE(IniFile(m_path).read(u"INDEX", u"IDFOAIE"), QStringLiteral("9"));
    }

    void counterChangedBetweenCallsIsSeen() {
        const Counters counters(m_path);
        QCOMPARE(counters.next(Counters::lines()), QStringLiteral("1"));
        setCounter(Counters::lines(), "40");
        QCOMPARE(counters.next(Counters::lines()), QStringLiteral("40"));
        QCOMPARE(IniFile(m_path).read(u"INDEX", u"IDSOS"), QStringLiteral("41"));
    }

    void acceptedValues_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("handedOut");
        QTest::addColumn<QString>("following");
        QTest::newRow("blanks around") << QByteArray(" \t 12 ") << "12"
                                       << "13";
        QTest::newRow("plus sign") << QByteArray("+5") << "+5"
                                   << "6";
        QTest::newRow("negative") << QByteArray("-3") << "-3"
                                  << "-2";
        QTest::newRow("minus one") << QByteArray("-1") << "-1"
                                   << "0";
        QTest::newRow("long run of zeros")
            << QByteArray("000000000000000000042") << "000000000000000000042"
            << "43";
        QTest::newRow("last with a successor") << QByteArray("2147483646") << "2147483646"
                                               << "2147483647";
        QTest::newRow("smallest") << QByteArray("-2147483648") << "-2147483648"
                                  << "-2147483647";
    }
    void acceptedValues() {
        QFETCH(QByteArray, stored);
        QFETCH(QString, handedOut);
        QFETCH(QString, following);
        setCounter(Counters::sheets(), stored);
        QCOMPARE(Counters(m_path).next(Counters::sheets()), handedOut);
        QCOMPARE(IniFile(m_path).read(u"INDEX", u"IDFOAIE"), following);
    }

    void refusedValues_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("letters") << QByteArray("abc");
        QTest::newRow("decimal") << QByteArray("1.5");
        QTest::newRow("trailing letters") << QByteArray("12abc");
        QTest::newRow("inner blank") << QByteArray("1 2");
        QTest::newRow("sign alone") << QByteArray("-");
        QTest::newRow("hexadecimal") << QByteArray("0x10");
        QTest::newRow("beyond 32 bits") << QByteArray("2147483648");
        QTest::newRow("far beyond 32 bits") << QByteArray("99999999999999999999999");
        QTest::newRow("below 32 bits") << QByteArray("-2147483649");
        QTest::newRow("no successor") << QByteArray("2147483647");
    }
    void refusedValues() {
        QFETCH(QByteArray, stored);
        const QByteArray before = "; kept\r\n[INDEX]\r\nIDFOAIE=" + stored + "\r\nIDSOS=9\r\n";
        putBytes(m_path, before);
        try {
            Counters(m_path).next(Counters::sheets());
            QFAIL("no error raised");
        } catch (const CountersError &e) {
            QVERIFY(e.message().contains(QStringLiteral("IDFOAIE")));
        }
        QCOMPARE(bytesOf(m_path), before);
    }

    void tooLargeValuesSaySo_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("beyond 32 bits") << QByteArray("2147483648");
        QTest::newRow("far beyond 32 bits") << QByteArray("99999999999999999999999");
        QTest::newRow("below 32 bits") << QByteArray("-2147483649");
    }
    void tooLargeValuesSaySo() {
        QFETCH(QByteArray, stored);
        setCounter(Counters::sheets(), stored);
        try {
            Counters(m_path).next(Counters::sheets());
            QFAIL("no error raised");
        } catch (const CountersError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("prea mare")), qPrintable(e.message()));
            QVERIFY2(!e.message().contains(QStringLiteral("nu este un numar intreg")),
                     qPrintable(e.message()));
        }
    }

    // Some editors save the file as UTF-8 with a byte-order mark before "[INDEX]".
    void byteOrderMarkHidesNoSection() {
        const QByteArray mark = "\xEF\xBB\xBF";
        putBytes(m_path, mark + "[INDEX]\r\nIDFOAIE=5\r\n[B12ABC]\r\nCONSUM=7.5\r\n");
        const Counters counters(m_path);
        QCOMPARE(IniFile(m_path).read(u"index", u"IDFOAIE"), QStringLiteral("5"));
        QCOMPARE(counters.next(Counters::sheets()), QStringLiteral("5"));
        QCOMPARE(counters.next(Counters::lines()), QStringLiteral("1"));
        QCOMPARE(bytesOf(m_path),
                 mark + "[INDEX]\r\nIDFOAIE=6\r\nIDSOS=2\r\n[B12ABC]\r\nCONSUM=7.5\r\n");
    }

    void threeSheetsAndFiveLines() {
        const Counters counters(m_path);
        QStringList handed;
        for (int sheet = 0; sheet < 3; ++sheet)
            handed << counters.next(Counters::sheets());
        for (int line = 0; line < 5; ++line)
            handed << counters.next(Counters::lines());
        QCOMPARE(handed.join(u','), QStringLiteral("1,2,3,1,2,3,4,5"));
        QCOMPARE(bytesOf(m_path), QByteArray("[INDEX]\r\nIDFOAIE=4\r\nIDSOS=6\r\n"));
    }

    void vehicleNamedIndexSharesTheSection() {
        const Counters counters(m_path);
        const IniFile ini(m_path);
        QCOMPARE(counters.next(Counters::sheets()), QStringLiteral("1"));
        ini.write(u"INDEX", u"CONSUM", u"8.5");
        ini.write(u"index", u"PRETL", u"7.25");
        QCOMPARE(counters.next(Counters::sheets()), QStringLiteral("2"));
        QCOMPARE(counters.next(Counters::lines()), QStringLiteral("1"));
        ini.write(u"INDEX", u"CONSUM", u"9");
        QCOMPARE(bytesOf(m_path),
                 QByteArray("[INDEX]\r\nIDFOAIE=3\r\nCONSUM=9\r\nPRETL=7.25\r\nIDSOS=2\r\n"));
        QCOMPARE(ini.read(u"INDEX", u"PRETL"), QStringLiteral("7.25"));
    }

    void unwritableFileHandsOutNothing() {
        setCounter(Counters::sheets(), "5");
        const QByteArray before = bytesOf(m_path);
        QVERIFY(QDir().mkpath(AtomicFile::temporaryPath(m_path)));
        QVERIFY_THROWS_EXCEPTION(CountersError, Counters(m_path).next(Counters::sheets()));
        QCOMPARE(bytesOf(m_path), before);
        QVERIFY(QDir(AtomicFile::temporaryPath(m_path)).removeRecursively());
        // The identifier that could not be handed out is the next one given.
        QCOMPARE(Counters(m_path).next(Counters::sheets()), QStringLiteral("5"));
    }

    void killDuringNextLeavesOldOrNew() {
        const QByteArray before = "[INDEX]\r\nIDFOAIE=7\r\n";
        const QByteArray after = "[INDEX]\r\nIDFOAIE=8\r\n";
        int kills = 0;
        for (int step = 1;; ++step) {
            putBytes(m_path, before);
            FaultPoint::arm(step);
            QString id;
            try {
                id = Counters(m_path).next(Counters::sheets());
            } catch (const SimulatedKill &) {
                ++kills;
            }
            FaultPoint::disarm();
            const QByteArray now = bytesOf(m_path);
            if (!id.isEmpty()) {
                QCOMPARE(id, QStringLiteral("7"));
                QCOMPARE(now, after);
                break;
            }
            QVERIFY2(now == before || now == after,
                     qPrintable(QStringLiteral("step %1").arg(step)));
        }
        QVERIFY(kills >= 3);
    }

    void reserveTakesABlock() {
        const Counters counters(m_path);
        const Counters::Block fresh = counters.reserve(Counters::lines(), 5);
        QCOMPARE(fresh.first, QStringLiteral("1"));
        QCOMPARE(fresh.count, 5);
        QCOMPARE(fresh.id(4), QStringLiteral("5"));
        QCOMPARE(IniFile(m_path).read(u"INDEX", u"IDSOS"), QStringLiteral("6"));

        setCounter(Counters::sheets(), "007");
        const Counters::Block block = counters.reserve(Counters::sheets(), 3);
        QCOMPARE(block.first, QStringLiteral("007"));
        QCOMPARE(block.id(0), QStringLiteral("007"));
        QCOMPARE(block.id(1), QStringLiteral("8"));
        QCOMPARE(block.id(2), QStringLiteral("9"));
        QCOMPARE(IniFile(m_path).read(u"INDEX", u"IDFOAIE"), QStringLiteral("10"));
        QCOMPARE(counters.next(Counters::sheets()), QStringLiteral("10"));
    }

    void reserveStopsAtTheLargestCounter() {
        setCounter(Counters::sheets(), "2147483645");
        const QByteArray before = bytesOf(m_path);
        QVERIFY_THROWS_EXCEPTION(CountersError, Counters(m_path).reserve(Counters::sheets(), 3));
        QCOMPARE(bytesOf(m_path), before);
        QVERIFY_THROWS_EXCEPTION(InputError, Counters(m_path).reserve(Counters::sheets(), 0));
        QCOMPARE(bytesOf(m_path), before);
        const Counters::Block block = Counters(m_path).reserve(Counters::sheets(), 2);
        QCOMPARE(block.id(1), QStringLiteral("2147483646"));
        QCOMPARE(IniFile(m_path).read(u"INDEX", u"IDFOAIE"), QStringLiteral("2147483647"));
        QVERIFY_THROWS_EXCEPTION(CountersError, Counters(m_path).next(Counters::sheets()));
    }
};

QTEST_GUILESS_MAIN(TestCounters)
#include "tst_counters.moc"
