// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/typedentry.h"

#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

const QLocale kRomanian(QLocale::Romanian, QLocale::Romania);
const QLocale kAmerican(QLocale::English, QLocale::UnitedStates);

} // namespace

class TestTypedEntry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dates_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("date");
        const QDate jan3(2027, 1, 3);
        const QDate none;
        QTest::newRow("as printed") << kRomanian << u"03.01.2027"_s << jan3;
        QTest::newRow("without zeros") << kRomanian << u"3.1.2027"_s << jan3;
        QTest::newRow("digits") << kRomanian << u"03012027"_s << jan3;
        QTest::newRow("blanks around") << kRomanian << u" 03.01.2027 "_s << jan3;
        QTest::newRow("other separators") << kRomanian << u"3/1-2027"_s << jan3;
        QTest::newRow("29 February, leap year")
            << kRomanian << u"29.02.2028"_s << QDate(2028, 2, 29);
        QTest::newRow("29 February, other year") << kRomanian << u"29.02.2027"_s << none;
        QTest::newRow("31 February") << kRomanian << u"31.02.2026"_s << none;
        QTest::newRow("day 0") << kRomanian << u"00.01.2027"_s << none;
        QTest::newRow("month 13") << kRomanian << u"12.13.2026"_s << none;
        QTest::newRow("two-digit year") << kRomanian << u"03.01.27"_s << none;
        QTest::newRow("year 0") << kRomanian << u"03.01.0000"_s << none;
        QTest::newRow("three digits of a day") << kRomanian << u"003.01.2027"_s << none;
        QTest::newRow("two parts") << kRomanian << u"03.01"_s << none;
        QTest::newRow("four parts") << kRomanian << u"03.01.20.27"_s << none;
        QTest::newRow("seven digits") << kRomanian << u"3012027"_s << none;
        QTest::newRow("a letter") << kRomanian << u"03.ian.2027"_s << none;
        QTest::newRow("empty") << kRomanian << QString() << none;
        // The order is the short format's own: month first in the United States.
        QTest::newRow("month first") << kAmerican << u"1/3/2027"_s << jan3;
        QTest::newRow("month first, digits") << kAmerican << u"01032027"_s << jan3;
        QTest::newRow("month first, 31 February") << kAmerican << u"2/31/2026"_s << none;
        // The C locale names the month: its own text reads back, and so do the digits.
        QTest::newRow("month named") << QLocale::c() << u"3 Jan 2027"_s << jan3;
        QTest::newRow("month named, digits") << QLocale::c() << u"3.1.2027"_s << jan3;
        QTest::newRow("month named, 31 February") << QLocale::c() << u"31 Feb 2026"_s << none;
        QTest::newRow("month named, no such month") << QLocale::c() << u"3 Jav 2027"_s << none;
    }
    void dates() {
        QFETCH(QLocale, locale);
        QFETCH(QString, typed);
        QFETCH(QDate, date);
        QCOMPARE(TypedEntry::date(typed, locale), date);
    }

    void times_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QTime>("time");
        const QTime none;
        QTest::newRow("HH:mm") << u"07:45"_s << QTime(7, 45);
        QTest::newRow("H:mm") << u"7:45"_s << QTime(7, 45);
        QTest::newRow("HH:mm:ss") << u"07:45:30"_s << QTime(7, 45, 30);
        QTest::newRow("with points") << u"7.45"_s << QTime(7, 45);
        QTest::newRow("four digits") << u"0745"_s << QTime(7, 45);
        QTest::newRow("six digits") << u"074530"_s << QTime(7, 45, 30);
        QTest::newRow("midnight") << u"00:00"_s << QTime(0, 0);
        QTest::newRow("last second") << u"23:59:59"_s << QTime(23, 59, 59);
        QTest::newRow("25:10") << u"25:10"_s << none;
        QTest::newRow("24:00") << u"24:00"_s << none;
        QTest::newRow("23:60") << u"23:60"_s << none;
        QTest::newRow("one minute digit") << u"7:5"_s << none;
        QTest::newRow("three hour digits") << u"007:45"_s << none;
        QTest::newRow("hour alone") << u"7"_s << none;
        QTest::newRow("three digits") << u"745"_s << none;
        QTest::newRow("a letter") << u"7h45"_s << none;
        QTest::newRow("empty") << QString() << none;
    }
    void times() {
        QFETCH(QString, typed);
        QFETCH(QTime, time);
        QCOMPARE(TypedEntry::time(typed), time);
    }

    // While typing, what may still become a value is let through; a letter never is.
    void mayBecome_data() {
        QTest::addColumn<bool>("date");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("may");
        QTest::newRow("date: nothing yet") << true << QString() << true;
        QTest::newRow("date: a day") << true << u"03"_s << true;
        QTest::newRow("date: day and point") << true << u"03."_s << true;
        QTest::newRow("date: impossible but whole") << true << u"31.02.2026"_s << true;
        QTest::newRow("date: nine digits") << true << u"030120271"_s << false;
        QTest::newRow("date: four parts") << true << u"03.01.20.2"_s << false;
        QTest::newRow("date: a letter") << true << u"03.i"_s << false;
        QTest::newRow("date: month named") << true << u"3 Ja"_s << true;
        QTest::newRow("hour: nothing yet") << false << QString() << true;
        QTest::newRow("hour: 7:") << false << u"7:"_s << true;
        QTest::newRow("hour: impossible but whole") << false << u"25:10"_s << true;
        QTest::newRow("hour: seven digits") << false << u"0745301"_s << false;
        QTest::newRow("hour: a date separator") << false << u"07/45"_s << false;
    }
    void mayBecome() {
        QFETCH(bool, date);
        QFETCH(QString, typed);
        QFETCH(bool, may);
        const QLocale locale = typed.contains(u'J') ? QLocale::c() : kRomanian;
        QCOMPARE(date ? TypedEntry::mayBecomeDate(typed, locale) : TypedEntry::mayBecomeTime(typed),
                 may);
    }

    void dateOrder() {
        using P = TypedEntry::Part;
        QCOMPARE(TypedEntry::dateOrder(kRomanian), (std::array<P, 3>{P::Day, P::Month, P::Year}));
        QCOMPARE(TypedEntry::dateOrder(kAmerican), (std::array<P, 3>{P::Month, P::Day, P::Year}));
        QCOMPARE(TypedEntry::dateOrder(QLocale(QLocale::Japanese, QLocale::Japan)),
                 (std::array<P, 3>{P::Year, P::Month, P::Day}));
    }

    // The part the arrow keys change: the one the cursor touches.
    void parts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("part");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::newRow("before the day") << u"20.01.2007"_s << 0 << 0 << 0 << 2;
        QTest::newRow("after the day") << u"20.01.2007"_s << 2 << 0 << 0 << 2;
        QTest::newRow("before the month") << u"20.01.2007"_s << 3 << 1 << 3 << 2;
        QTest::newRow("inside the year") << u"20.01.2007"_s << 8 << 2 << 6 << 4;
        QTest::newRow("at the end") << u"20.01.2007"_s << 10 << 2 << 6 << 4;
        QTest::newRow("among separators") << u"20. 01. 2007"_s << 3 << 0 << 0 << 2;
        QTest::newRow("seconds") << u"07:45:30"_s << 7 << 2 << 6 << 2;
        QTest::newRow("digits only") << u"0745"_s << 3 << 0 << 0 << 4;
        QTest::newRow("month named") << u"3 Jan 2027"_s << 4 << 1 << 2 << 3;
        QTest::newRow("empty") << QString() << 0 << 0 << -1 << 0;
    }
    void parts() {
        QFETCH(QString, text);
        QFETCH(int, position);
        QFETCH(int, part);
        QFETCH(int, start);
        QFETCH(int, length);
        QCOMPARE(TypedEntry::partAt(text, position), part);
        QCOMPARE(TypedEntry::partSpan(text, part), std::make_pair(start, length));
    }
};

QTEST_GUILESS_MAIN(TestTypedEntry)
#include "tst_typedentry.moc"
