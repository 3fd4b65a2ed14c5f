// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/decimal.h"
#include "store/text/textform.h"

#include <QTest>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

class TestDecimal : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value"); // shortest form; empty when refused
        QTest::addColumn<bool>("tooLong");
        QTest::newRow("money") << u" 150.50 "_s << u"150.5"_s << false;
        QTest::newRow("negative") << u"-0.05"_s << u"-0.05"_s << false;
        QTest::newRow("plus") << u"+7"_s << u"7"_s << false;
        QTest::newRow("eighteen digits")
            << u"999999999999999999"_s << u"999999999999999999"_s << false;
        QTest::newRow("eighteen with decimals")
            << u"12345678.9012345678"_s << u"12345678.9012345678"_s << false;
        QTest::newRow("trailing zeros beyond eighteen")
            << u"1.00000000000000000000000"_s << u"1"_s << false;
        QTest::newRow("leading zeros") << u"000000000000000000000042"_s << u"42"_s << false;
        QTest::newRow("exponent") << u"1.5e3"_s << u"1500"_s << false;
        QTest::newRow("nineteen digits") << u"1000000000000000000"_s << QString() << true;
        QTest::newRow("nineteen significant") << u"1.000000000000000001"_s << QString() << true;
        QTest::newRow("307 digits") << u"2"_s + QString(306, u'0') << QString() << true;
        QTest::newRow("nineteen decimals") << u"0.0000000000000000001"_s << QString() << true;
        QTest::newRow("letters") << u"12a"_s << QString() << false;
        QTest::newRow("lone point") << u"."_s << QString() << false;
        QTest::newRow("empty") << QString() << QString() << false;
        QTest::newRow("two points") << u"1.2.3"_s << QString() << false;
    }

    void parse() {
        QFETCH(QString, text);
        QFETCH(QString, value);
        QFETCH(bool, tooLong);
        bool long_ = !tooLong;
        const std::optional<Decimal> d = Decimal::parse(text, &long_);
        QCOMPARE(d.has_value(), !value.isEmpty());
        QCOMPARE(long_, tooLong);
        if (d)
            QCOMPARE(d->toString(), value);
    }

    void arithmeticIsExactOrRefused() {
        const Decimal tenth = *Decimal::parse(u"0.1");
        Decimal sum;
        for (int i = 0; i < 10; ++i)
            sum = *Decimal::add(sum, tenth);
        QCOMPARE(sum, Decimal::fromUnits(1));
        QCOMPARE(
            Decimal::subtract(*Decimal::parse(u"92373.92"), *Decimal::parse(u"0.02"))->toString(),
            u"92373.9"_s);
        QCOMPARE(Decimal::multiply(*Decimal::parse(u"1.5"), *Decimal::parse(u"6.67"))->toString(),
                 u"10.005"_s);
        QCOMPARE(Decimal::divide(Decimal::fromUnits(10), Decimal::fromUnits(4))->toString(),
                 u"2.5"_s);
        QCOMPARE(Decimal::divide(Decimal::fromUnits(2), Decimal::fromUnits(3))->toString(),
                 u"0.666666666666666667"_s);
        const Decimal big = *Decimal::parse(u"999999999999999999");
        QVERIFY(Decimal::add(big, big));
        const Decimal huge = Decimal::fromUnits(std::numeric_limits<qint64>::max());
        QVERIFY(!Decimal::add(huge, Decimal::fromUnits(1)));
        QVERIFY(!Decimal::add(huge, *Decimal::parse(u"0.5")));
        QVERIFY(!Decimal::multiply(big, big));
        QVERIFY(!Decimal::fromUnits(std::numeric_limits<qint64>::min()).negated());
    }

    void roundsHalfToEvenOnTheDecimalValue_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QString>("rounded");
        // In binary floating point these three lie on the other side of the half.
        QTest::newRow("1.015") << u"1.015"_s << 2 << u"1.02"_s;
        QTest::newRow("10.005") << u"10.005"_s << 2 << u"10.00"_s;
        QTest::newRow("1.255") << u"1.255"_s << 2 << u"1.26"_s;
        QTest::newRow("negative half") << u"-2.5"_s << 0 << u"-2"_s;
        QTest::newRow("above half") << u"0.12501"_s << 2 << u"0.13"_s;
        QTest::newRow("to zero") << u"-0.004"_s << 2 << u"0.00"_s;
        QTest::newRow("widened") << u"3"_s << 4 << u"3.0000"_s;
    }

    void roundsHalfToEvenOnTheDecimalValue() {
        QFETCH(QString, value);
        QFETCH(int, scale);
        QFETCH(QString, rounded);
        QByteArray out;
        Decimal::parse(value)->rescaled(scale)->appendFixed(out);
        QCOMPARE(QString::fromLatin1(out), rounded);
    }

    // Per-kilometre figures: the exact quotient rounded once, half to even, to a given number
    // of decimals, whatever the sizes of the two numbers.
    void quotientRoundedOnce_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QString>("quotient"); // exactly scale decimals; empty when refused
        QTest::newRow("half down to even") << u"10"_s << u"4"_s << 0 << u"2"_s;
        QTest::newRow("half up to even") << u"14"_s << u"4"_s << 0 << u"4"_s;
        QTest::newRow("eighth to two decimals") << u"1"_s << u"8"_s << 2 << u"0.12"_s;
        QTest::newRow("three eighths") << u"3"_s << u"8"_s << 2 << u"0.38"_s;
        QTest::newRow("negative half") << u"-1"_s << u"8"_s << 2 << u"-0.12"_s;
        QTest::newRow("negative divisor") << u"1"_s << u"-8"_s << 2 << u"-0.12"_s;
        QTest::newRow("both negative") << u"-3"_s << u"-8"_s << 2 << u"0.38"_s;
        QTest::newRow("repeating") << u"2"_s << u"3"_s << 3 << u"0.667"_s;
        QTest::newRow("lei per km") << u"37.80"_s << u"120"_s << 3 << u"0.315"_s;
        QTest::newRow("half a thousandth") << u"0.50"_s << u"1000"_s << 3 << u"0.000"_s;
        QTest::newRow("one and a half thousandths") << u"1.50"_s << u"1000"_s << 3 << u"0.002"_s;
        QTest::newRow("divisor with decimals") << u"1.5"_s << u"0.25"_s << 1 << u"6.0"_s;
        QTest::newRow("just below the half")
            << u"0.013499999999999999"_s << u"1"_s << 3 << u"0.013"_s;
        // 0.0135 less 3e-19: a quotient cut to 18 decimals first would round to 0.014.
        QTest::newRow("a half only after cutting")
            << u"13499999999999754"_s << u"999999999999981800"_s << 3 << u"0.013"_s;
        QTest::newRow("below the last decimal")
            << u"1"_s << u"3e18"_s << 18 << u"0.000000000000000000"_s;
        QTest::newRow("rounded up into the last decimal")
            << u"2"_s << u"3e18"_s << 18 << u"0.000000000000000001"_s;
        QTest::newRow("divisor beyond any numerator") << u"5"_s << u"9e19"_s << 0 << u"0"_s;
        QTest::newRow("too large") << u"999999999999999999"_s << u"1"_s << 3 << QString();
        QTest::newRow("by zero") << u"1"_s << u"0"_s << 2 << QString();
    }

    void quotientRoundedOnce() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, scale);
        QFETCH(QString, quotient);
        const std::optional<Decimal> q =
            Decimal::divide(*Decimal::parse(a), *Decimal::parse(b), scale);
        QCOMPARE(q.has_value(), !quotient.isEmpty());
        if (!q)
            return;
        QCOMPARE(q->scale(), scale);
        QByteArray out;
        q->appendFixed(out);
        QCOMPARE(QString::fromLatin1(out), quotient);
    }

    // Remainders so large that ten of them no longer fit in 64 bits.
    void quotientOfLargeUnits() {
        const Decimal a = Decimal::fromUnits(4'000'000'000'000'000'000);
        const Decimal b = Decimal::fromUnits(7'000'000'000'000'000'000);
        QByteArray out;
        Decimal::divide(a, b, 6)->appendFixed(out);
        QCOMPARE(out, QByteArray("0.571429"));
        out.clear();
        Decimal::divide(b, a, 18)->appendFixed(out);
        QCOMPARE(out, QByteArray("1.750000000000000000"));
    }

    void ordersByValueWhateverTheScale() {
        const QStringList ascending{u"-1e19"_s,
                                    u"-999999999999999999"_s,
                                    u"-1.5"_s,
                                    u"-1.05"_s,
                                    u"0"_s,
                                    u"0.000000000000000001"_s,
                                    u"1.4999"_s,
                                    u"1.5"_s,
                                    u"999999999999999999"_s,
                                    u"1e20"_s};
        for (qsizetype i = 0; i < ascending.size(); ++i) {
            const std::optional<Decimal> a = Decimal::parse(ascending[i]);
            QVERIFY2(a, qPrintable(ascending[i]));
            for (qsizetype j = 0; j < ascending.size(); ++j) {
                const Decimal b = *Decimal::parse(ascending[j]);
                QCOMPARE(Decimal::compare(*a, b), i < j ? -1 : (i > j ? 1 : 0));
                const auto [wa, fa] = a->split();
                const auto [wb, fb] = b.split();
                if (i < j)
                    QVERIFY(wa < wb || (wa == wb && fa <= fb));
            }
        }
        QCOMPARE(*Decimal::parse(u"1.50"), *Decimal::parse(u"1.5"));
    }

    void storedFormKeepsValueAndNull() {
        char buffer[Decimal::kStoredSize];
        const Decimal d = *Decimal::parse(u"-98784.18");
        d.store(buffer);
        QCOMPARE(Decimal::load(buffer)->toString(), u"-98784.18"_s);
        Decimal::storeNull(buffer);
        QVERIFY(!Decimal::load(buffer));
    }

    void generalFormShowsExactDigits_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("general");
        QTest::newRow("sum of a year") << u"78007152.00"_s << u"78007152"_s;
        QTest::newRow("cents") << u"98784.18"_s << u"98784.18"_s;
        QTest::newRow("fifteen digits") << u"1234567890123.45"_s << u"1234567890123.45"_s;
        QTest::newRow("sixteen digits") << u"1234567890123456"_s << u"1.23456789012346e+15"_s;
        QTest::newRow("tiny") << u"0.000001"_s << u"1e-06"_s;
        QTest::newRow("zero") << u"-0.00"_s << u"0"_s;
    }

    void generalFormShowsExactDigits() {
        QFETCH(QString, value);
        QFETCH(QString, general);
        QCOMPARE(TextForm::general(*Decimal::parse(value)), general);
    }
};

QTEST_GUILESS_MAIN(TestDecimal)
#include "tst_decimal.moc"
