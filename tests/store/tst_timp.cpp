// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/textform.h"
#include "store/text/timp.h"

#include <QTest>

using namespace velmora;

// A time typed in the line editor, stored to four decimals of a day (8.64 s), must read back
// as the minute that was typed wherever it is shown.
class TestTimp : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data() {
        QTest::addColumn<QTime>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QTime>("readBack");
        QTest::addColumn<QString>("hour");
        // 14:05:00 is 0.586805... of a day: stored 39102.5868, which is 14:04:59.52.
        QTest::newRow("whole minute") << QTime(14, 5) << "39102.5868" << QTime(14, 5) << "14:05";
        // 14:05:30 is stored 39102.5872, 14:05:34.08: far from a minute, kept as read.
        QTest::newRow("half minute")
            << QTime(14, 5, 30) << "39102.5872" << QTime(14, 5, 34, 80) << "14:05";
        // Either side of a minute, within the snap: the minute itself comes back.
        QTest::newRow("just before a minute")
            << QTime(14, 4, 57) << "39102.5868" << QTime(14, 5) << "14:05";
        QTest::newRow("just after a minute")
            << QTime(14, 5, 3) << "39102.5868" << QTime(14, 5) << "14:05";
        QTest::newRow("a minute's last seconds")
            << QTime(14, 5, 59) << "39102.5875" << QTime(14, 6) << "14:06";
        // Exactly half a step (1 min 48 s is 12.5 steps): the even neighbour.
        QTest::newRow("half step down")
            << QTime(0, 1, 48) << "39102.0012" << QTime(0, 1, 43, 680) << "00:01";
        QTest::newRow("half step up")
            << QTime(0, 5, 24) << "39102.0038" << QTime(0, 5, 28, 320) << "00:05";
        QTest::newRow("midnight") << QTime(0, 0) << "39102" << QTime(0, 0) << "00:00";
        QTest::newRow("seconds after midnight")
            << QTime(0, 0, 4) << "39102" << QTime(0, 0) << "00:00";
        QTest::newRow("one minute to midnight")
            << QTime(23, 59) << "39102.9993" << QTime(23, 59) << "23:59";
        // The day's last step, 23:59:51.36, is as far as a time of day goes: what lies after
        // it stays on the same day instead of rounding to the next midnight.
        QTest::newRow("last step")
            << QTime(23, 59, 52) << "39102.9999" << QTime(23, 59, 51, 360) << "23:59";
        QTest::newRow("23:59:56") << QTime(23, 59, 56) << "39102.9999" << QTime(23, 59, 51, 360)
                                  << "23:59";
        QTest::newRow("23:59:57") << QTime(23, 59, 57) << "39102.9999" << QTime(23, 59, 51, 360)
                                  << "23:59";
        QTest::newRow("last millisecond")
            << QTime(23, 59, 59, 999) << "39102.9999" << QTime(23, 59, 51, 360) << "23:59";
    }
    void roundTrip() {
        QFETCH(QTime, typed);
        QFETCH(QString, stored);
        QFETCH(QTime, readBack);
        QFETCH(QString, hour);
        const QDate day(2007, 1, 20);
        const double timp = Timp::fromDateTime(day, typed);
        QCOMPARE(TextForm::fourDecimal(timp), stored);
        const double reread = stored.toDouble();
        QCOMPARE(Timp::date(reread), day);
        QCOMPARE(Timp::time(reread), readBack);
        QCOMPARE(TextForm::hour(Timp::time(reread)), hour);
        // Within half a step of what was typed, except after the day's last step.
        const int drift = qAbs(Timp::time(reread).msecsTo(typed));
        QVERIFY2(drift <= 4320 || (stored.endsWith(u".9999") && drift < 8640),
                 qPrintable(QString::number(drift)));
    }

    // Far from 1899 the day number has many digits; the time still decides the decimals
    // alone, and the date stays the one typed.
    void otherDays_data() {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QTime>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("epoch") << QDate(1899, 12, 30) << QTime(23, 59, 58) << "0.9999";
        QTest::newRow("day before epoch") << QDate(1899, 12, 29) << QTime(12, 0) << "-0.5";
        QTest::newRow("2026") << QDate(2026, 12, 31) << QTime(23, 59, 57) << "46387.9999";
        QTest::newRow("9999") << QDate(9999, 12, 31) << QTime(23, 59, 57) << "2958465.9999";
    }
    void otherDays() {
        QFETCH(QDate, day);
        QFETCH(QTime, typed);
        QFETCH(QString, stored);
        const double timp = Timp::fromDateTime(day, typed);
        QCOMPARE(TextForm::fourDecimal(timp), stored);
        QCOMPARE(Timp::date(timp), day);
    }
};

QTEST_GUILESS_MAIN(TestTimp)
#include "tst_timp.moc"
