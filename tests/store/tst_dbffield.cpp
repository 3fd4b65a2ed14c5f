// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dbf/dbffield.h"
#include "store/text/error.h"
#include "store/text/textform.h"

#include <QTest>
#include <cmath>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

Column numeric(int width, int decimals) {
    Column c;
    c.name = u"N"_s;
    c.type = ColumnType::Number;
    c.dbfType = 'N';
    c.width = width;
    c.decimals = decimals;
    return c;
}

} // namespace

class TestDbfField : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Currency fields of other programs' tables: eight bytes, least significant first, in
    // ten-thousandths. Both readers, the number and the exact decimal, agree.
    void currency_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("value");
        QTest::newRow("12.3456") << QByteArray::fromHex("40e2010000000000") << u"12.3456"_s;
        QTest::newRow("-1.5") << QByteArray::fromHex("68c5ffffffffffff") << u"-1.5"_s;
        QTest::newRow("zero") << QByteArray(8, '\0') << u"0"_s;
        QTest::newRow("high byte used")
            << QByteArray::fromHex("0000000000000001") << u"7205759403792.7936"_s;
    }
    void currency() {
        QFETCH(QByteArray, field);
        QFETCH(QString, value);
        Column column;
        column.name = u"Y"_s;
        column.type = ColumnType::Number;
        column.dbfType = 'Y';
        column.width = 8;
        const std::optional<Decimal> exact = DbfField::decimalOf(column, field);
        QVERIFY(exact);
        QCOMPARE(exact->toString(), value);
        const std::optional<double> number = DbfField::numberOf(column, field);
        QVERIFY(number);
        QCOMPARE(*number, value.toDouble());
    }

    void numbers_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<bool>("null");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("general");
        QTest::newRow("identifier") << QByteArray("         17") << false << 17.0 << u"17"_s;
        QTest::newRow("money") << QByteArray("    150.50") << false << 150.5 << u"150.5"_s;
        QTest::newRow("negative") << QByteArray("  -012.50") << false << -12.5 << u"-12.5"_s;
        QTest::newRow("minus zero") << QByteArray("     -0.00") << false << 0.0 << u"0"_s;
        QTest::newRow("plus sign") << QByteArray("+3        ") << false << 3.0 << u"3"_s;
        QTest::newRow("day number")
            << QByteArray(" 39102.5868") << false << 39102.5868 << u"39102.5868"_s;
        QTest::newRow("point first") << QByteArray("  .5") << false << 0.5 << u"0.5"_s;
        QTest::newRow("point last") << QByteArray("  7.") << false << 7.0 << u"7"_s;
        QTest::newRow("tenth") << QByteArray("0.1") << false << 0.1 << u"0.1"_s;
        QTest::newRow("small") << QByteArray("0.00001") << false << 1e-5 << u"0.00001"_s;
        QTest::newRow("smaller") << QByteArray("0.000001") << false << 1e-6 << u"1e-06"_s;
        QTest::newRow("fifteen digits")
            << QByteArray("123456789012345") << false << 123456789012345.0 << u"123456789012345"_s;
        QTest::newRow("sixteen digits") << QByteArray("1234567890123456") << false
                                        << 1234567890123456.0 << u"1.23456789012346e+15"_s;
        QTest::newRow("long fraction") << QByteArray("0.12345678901234567") << false
                                       << 0.12345678901234567 << u"0.123456789012346"_s;
        QTest::newRow("exponent") << QByteArray("  1.5e3") << false << 1500.0 << u"1500"_s;
        QTest::newRow("NUL padding") << QByteArray("42\0\0\0", 5) << false << 42.0 << u"42"_s;
        QTest::newRow("blanks") << QByteArray("          ") << true << 0.0 << QString();
        QTest::newRow("stars") << QByteArray("**********") << true << 0.0 << QString();
        QTest::newRow("NUL bytes") << QByteArray(6, '\0') << true << 0.0 << QString();
        QTest::newRow("not a number") << QByteArray("  12 34") << true << 0.0 << QString();
        QTest::newRow("lone minus") << QByteArray("   -") << true << 0.0 << QString();
    }

    void numbers() {
        QFETCH(QByteArray, field);
        QFETCH(bool, null);
        QFETCH(double, value);
        QFETCH(QString, general);
        const std::optional<double> n = DbfField::number(field);
        QCOMPARE(!n.has_value(), null);
        const QByteArray text = DbfField::generalText(numeric(int(field.size()), 2), field);
        QCOMPARE(QString::fromLatin1(text), general);
        if (n) {
            QCOMPARE(*n, value);
            // Trimming the field's own digits gives what formatting the value gives.
            QCOMPARE(QString::fromLatin1(text), TextForm::general(*n));
        }
        QByteArray appended("x");
        DbfField::appendGeneralText(appended, numeric(int(field.size()), 2), field);
        QCOMPARE(appended, "x" + text);
    }

    void writtenNumbersFitOrAreRefused_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("value");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("day number") << 11 << 4 << 45000.1234 << QByteArray(" 45000.1234");
        QTest::newRow("rounded half even") << 10 << 2 << 0.125 << QByteArray("      0.12");
        QTest::newRow("negative money") << 10 << 2 << -999999.99 << QByteArray("-999999.99");
        QTest::newRow("identifier") << 11 << 0 << 9999999999.0 << QByteArray(" 9999999999");
        QTest::newRow("too wide") << 10 << 2 << 10000000.0 << QByteArray();
        QTest::newRow("too wide negative") << 8 << 2 << -99999.5 << QByteArray();
    }

    void writtenNumbersFitOrAreRefused() {
        QFETCH(int, width);
        QFETCH(int, decimals);
        QFETCH(double, value);
        QFETCH(QByteArray, field);
        QByteArray out(width, '#');
        if (field.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(
                EngineError, DbfField::writeNumber(out.data(), numeric(width, decimals), value));
            QCOMPARE(out, QByteArray(width, '#'));
            return;
        }
        DbfField::writeNumber(out.data(), numeric(width, decimals), value);
        QCOMPARE(out, field);
        QCOMPARE(*DbfField::number(out),
                 std::nearbyint(value * std::pow(10, decimals)) / std::pow(10, decimals));
    }

    void dateKeys_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<int>("key");
        QTest::newRow("date") << QByteArray("20070120") << 20070120;
        QTest::newRow("blank") << QByteArray("        ") << 0;
        QTest::newRow("NUL") << QByteArray(8, '\0') << 0;
        QTest::newRow("month 13") << QByteArray("20071301") << 0;
        QTest::newRow("letters") << QByteArray("2007O120") << 0;
        // The characters either side of the digits, in every place.
        for (int at = 0; at < 8; ++at) {
            for (const int c : {0x2F, 0x3A, 0x20, 0xB0, 0x3F}) {
                QByteArray field("20070120");
                field[at] = static_cast<char>(c);
                QTest::addRow("byte %d at %d", c, at) << field << 0;
            }
        }
        QTest::newRow("day 0") << QByteArray("20070100") << 0;
        QTest::newRow("first") << QByteArray("00010101") << 10101;
        QTest::newRow("last") << QByteArray("99991231") << 99991231;
        QTest::newRow("longer field") << QByteArray("19991231  ") << 19991231;
    }

    // A field read as a decimal: what dBASE writes, read at once, and the other forms, read
    // the long way, give the same values.
    void decimals_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<qint64>("units");
        QTest::addColumn<int>("scale");
        QTest::newRow("right-aligned") << QByteArray("    150.50") << true << 15050ll << 2;
        QTest::newRow("negative") << QByteArray("     -0.05") << true << -5ll << 2;
        QTest::newRow("minus zero") << QByteArray("     -0.00") << true << 0ll << 2;
        QTest::newRow("whole") << QByteArray("       150") << true << 150ll << 0;
        QTest::newRow("point, no decimals") << QByteArray("       15.") << true << 15ll << 0;
        QTest::newRow("decimals only") << QByteArray("       .25") << true << 25ll << 2;
        QTest::newRow("18 digits")
            << QByteArray("123456789012.345678") << true << 123456789012345678ll << 6;
        QTest::newRow("leading zeros past 18")
            << QByteArray("0000000000000000001.5") << true << 15ll << 1;
        QTest::newRow("plus") << QByteArray("      +7.5") << true << 75ll << 1;
        QTest::newRow("left-aligned") << QByteArray("7.5       ") << true << 75ll << 1;
        QTest::newRow("NUL padding") << QByteArray("\0\0\0007.5", 6) << true << 75ll << 1;
        QTest::newRow("exponent") << QByteArray("     1.5e2") << true << 150ll << 0;
        QTest::newRow("blank") << QByteArray("          ") << false << 0ll << 0;
        QTest::newRow("overflow marks") << QByteArray("**********") << false << 0ll << 0;
        QTest::newRow("minus alone") << QByteArray("         -") << false << 0ll << 0;
        QTest::newRow("two points") << QByteArray("     1.2.3") << false << 0ll << 0;
        QTest::newRow("inner blank") << QByteArray("    1 2.50") << false << 0ll << 0;
    }

    void decimals() {
        QFETCH(QByteArray, field);
        QFETCH(bool, isNumber);
        QFETCH(qint64, units);
        QFETCH(int, scale);
        const std::optional<Decimal> value = DbfField::decimal(field);
        QCOMPARE(value.has_value(), isNumber);
        if (!isNumber)
            return;
        QCOMPARE(*value, Decimal::fromUnits(units, scale));
        // The text parser agrees on the value.
        QCOMPARE(*value, *Decimal::parse(QString::fromLatin1(field).remove(QChar(0))));
    }

    // Twenty digits are more than a Decimal holds exactly: read as the nearest 15-digit value,
    // as another program's field would be.
    void aTooLongFieldIsReadApproximately() {
        const std::optional<Decimal> value = DbfField::decimal("12345678901234567890");
        QVERIFY(value.has_value());
        QCOMPARE(value->toDouble(), 12345678901234567890.0);
    }

    void dateKeys() {
        QFETCH(QByteArray, field);
        QFETCH(int, key);
        QCOMPARE(DbfField::dateKey(field), key);
        QCOMPARE(DbfField::date(field).isValid(), key != 0);
    }
};

QTEST_GUILESS_MAIN(TestDbfField)
#include "tst_dbffield.moc"
