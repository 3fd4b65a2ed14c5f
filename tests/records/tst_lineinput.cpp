// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/lineinput.h"

#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

// What the line editor's amount must pass: SUMA holds it, and TOTALVEN holds the sheet's
// income with it.
class TestLineInput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lineAmount_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("otherLines");
        QTest::addColumn<QString>("problem");
        const QString tooLarge = u"Suma prea mare! Cel mult 999999.99 lei."_s;
        const auto noRoom = [](const char *room) {
            return u"Suma prea mare! Venitul total al foii ar depasi 999999.99 lei: pe aceasta "
                   u"foaie mai incap cel mult %1 lei."_s.arg(QLatin1String(room));
        };
        QTest::newRow("nothing") << u"0"_s << u"0"_s << QString();
        QTest::newRow("largest amount") << u"999999.99"_s << u"0"_s << QString();
        QTest::newRow("rounded down into SUMA") << u"999999.994"_s << u"0"_s << QString();
        QTest::newRow("one cent more") << u"1000000"_s << u"0"_s << tooLarge;
        QTest::newRow("rounded up past SUMA") << u"999999.995"_s << u"0"_s << tooLarge;
        QTest::newRow("too large whatever the sheet") << u"123456789"_s << u"5"_s << tooLarge;
        QTest::newRow("fills the sheet") << u"99.99"_s << u"999900"_s << QString();
        QTest::newRow("a cent past the sheet") << u"100"_s << u"999900"_s << noRoom("99.99");
        QTest::newRow("full sheet") << u"0.01"_s << u"999999.99"_s << noRoom("0");
        QTest::newRow("full sheet, nothing added") << u"0"_s << u"999999.99"_s << QString();
        // SUMA keeps half a cent as the even cent, 0: nothing is added to the total.
        QTest::newRow("full sheet, half a cent") << u"0.005"_s << u"999999.99"_s << QString();
        QTest::newRow("full sheet, more than half a cent")
            << u"0.006"_s << u"999999.99"_s << noRoom("0");
    }
    void lineAmount() {
        QFETCH(QString, amount);
        QFETCH(QString, otherLines);
        QFETCH(QString, problem);
        const auto got =
            LineInput::amountProblem(*Fixed4::parse(amount), *Fixed4::parse(otherLines));
        QCOMPARE(got.value_or(QString()), problem);
    }

    // A changed line gives back its own stored amount: on a full sheet it may keep what it
    // had, not a cent more.
    void changedLineMayTakeBackItsOwnAmount_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("problem");
        QTest::newRow("the same amount") << u"100"_s << QString();
        QTest::newRow("less") << u"40.5"_s << QString();
        QTest::newRow("a cent more")
            << u"100.01"_s
            << u"Suma prea mare! Venitul total al foii ar depasi 999999.99 lei: pe aceasta "
               u"foaie mai incap cel mult 100 lei."_s;
    }
    void changedLineMayTakeBackItsOwnAmount() {
        QFETCH(QString, amount);
        QFETCH(QString, problem);
        const Fixed4 others =
            LineInput::otherLines(*Fixed4::parse(u"999999.99"_s), *Fixed4::parse(u"100"_s));
        QCOMPARE(others.toString(), u"999899.99"_s);
        QCOMPARE(LineInput::amountProblem(*Fixed4::parse(amount), others).value_or(QString()),
                 problem);
    }

    // The amount is written as SUMA keeps it, so the line and the total agree to the cent.
    void storedToTheCent() {
        QCOMPARE(LineInput::stored(*Fixed4::parse(u"12.345"_s)).toString(), u"12.34"_s);
        QCOMPARE(LineInput::stored(*Fixed4::parse(u"12.355"_s)).toString(), u"12.36"_s);
        QCOMPARE(LineInput::otherLines(*Fixed4::parse(u"250"_s)).toString(), u"250"_s);
    }
};

QTEST_GUILESS_MAIN(TestLineInput)
#include "tst_lineinput.moc"
