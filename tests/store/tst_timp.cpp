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
        QTest::newRow("midnight") << QTime(0, 0) << "39102" << QTime(0, 0) << "00:00";
        QTest::newRow("one minute to midnight")
            << QTime(23, 59) << "39102.9993" << QTime(23, 59) << "23:59";
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
        QVERIFY(qAbs(Timp::time(reread).msecsTo(typed)) <= 4320);
    }
};

QTEST_GUILESS_MAIN(TestTimp)
#include "tst_timp.moc"
