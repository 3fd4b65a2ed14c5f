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
                qint64 wa = 0, wb = 0;
                quint64 fa = 0, fb = 0;
                a->split(wa, fa);
                b.split(wb, fb);
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
