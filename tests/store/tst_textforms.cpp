// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/cp1250.h"
#include "store/text/error.h"
#include "store/text/fixed4.h"
#include "store/text/textform.h"
#include "store/text/timp.h"

#include <QTest>

using namespace velmora;

class TestTextForms : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cp1250RoundTripsEveryByte() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(static_cast<char>(b));
        const QString text = Cp1250::decode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(Cp1250::encode(text), all);
        // A few characters Romanian text relies on.
        QCOMPARE(Cp1250::toChar(0xAA), QChar(0x015E)); // Ş
        QCOMPARE(Cp1250::toChar(0xE3), QChar(0x0103)); // ă
        QCOMPARE(Cp1250::toChar(0x80), QChar(0x20AC)); // €
        QCOMPARE(Cp1250::toChar(0x81), QChar(0x0081)); // undefined byte
    }

    void cp1250StoresCommaBelowAsCedilla() {
        QCOMPARE(Cp1250::encode(u"\u0219\u021B\u0218\u021A"), QByteArray("\xBA\xFE\xAA\xDE"));
    }

    void cp1250RefusesForeignCharacters() {
        QCOMPARE(Cp1250::unencodable(u"IONESCU \u4E2D \u20AC"), QStringLiteral("\u4E2D"));
        QVERIFY_THROWS_EXCEPTION(InputError, Cp1250::encode(u"Ω"));
        try {
            Cp1250::encode(u"AB\u03A9");
            QFAIL("a character outside the code page was encoded");
        } catch (const InputError &e) {
            QVERIFY(e.message().contains(u"\u03A9"));
        }
    }

    void cp1250Utf8MatchesDecode() {
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            all.append(static_cast<char>(b));
        QByteArray out;
        Cp1250::appendUtf8(out, all);
        QCOMPARE(out, Cp1250::decode(all).toUtf8());
    }

    void fourDecimal_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 150.0 << "150";
        QTest::newRow("one decimal") << 150.5 << "150.5";
        QTest::newRow("four") << 25.8741 << "25.8741";
        QTest::newRow("rounded") << 25.87416 << "25.8742";
        QTest::newRow("cost") << 120.0 / 100 * 7.5 * 4.2 << "37.8";
        QTest::newRow("litres") << 123.0 * 7.5 / 100 << "9.225";
        // Binary fractions whose fifth decimal is an exact half.
        QTest::newRow("half to even down") << 1.03125 << "1.0312";
        QTest::newRow("half to even up") << 2.09375 << "2.0938";
        QTest::newRow("negative") << -2.5 << "-2.5";
        QTest::newRow("negative zero") << -0.00001 << "0";
        QTest::newRow("timp") << 39102.5868 << "39102.5868";
    }

    void fourDecimal() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(TextForm::fourDecimal(value), text);
    }

    void general_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 250.0 << "250";
        QTest::newRow("decimal") << 150.5 << "150.5";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("fifteen digits") << 0.1 + 0.2 << "0.3";
        QTest::newRow("large") << 123456789012345.0 << "123456789012345";
        QTest::newRow("small fixed") << 0.00002 << "0.00002";
        QTest::newRow("half") << 2.5 << "2.5";
    }

    void general() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(TextForm::general(value), text);
    }

    void twoDigit() {
        QCOMPARE(TextForm::twoDigit(7), QStringLiteral("07"));
        QCOMPARE(TextForm::twoDigit(0), QStringLiteral("00"));
        QCOMPARE(TextForm::twoDigit(12), QStringLiteral("12"));
    }

    void quoting() {
        QCOMPARE(TextForm::quoted(u"O\"NEIL"), QStringLiteral("\"O\"\"NEIL\""));
        QCOMPARE(TextForm::quoted(u""), QStringLiteral("\"\""));
        QCOMPARE(TextForm::filterQuoted(u"D'ARC*"), QStringLiteral("'D''ARC*'"));
    }

    void dateRoundTripsInEveryLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("C") << "C";
        QTest::newRow("ro_RO") << "ro_RO";
        QTest::newRow("en_US two-digit year") << "en_US";
        QTest::newRow("de_DE") << "de_DE";
        QTest::newRow("ja_JP") << "ja_JP";
    }

    void dateRoundTripsInEveryLocale() {
        QFETCH(QString, locale);
        const QLocale l(locale);
        // A two-digit year would read 1999 back as 2099 or the like.
        for (const QDate d :
             {QDate(2007, 1, 20), QDate(1999, 12, 31), QDate(2004, 5, 1), QDate(2050, 7, 9)}) {
            const QString text = TextForm::date(d, l);
            QCOMPARE(TextForm::parseDate(text, l), d);
        }
        QVERIFY(TextForm::dateFormat(l).contains(QStringLiteral("yyyy")));
        QVERIFY(!TextForm::dateFormat(l).contains(QStringLiteral("yyyyyy")));
    }

    void parseDateAcceptsIsoAndRefusesGarbage() {
        QCOMPARE(TextForm::parseDate(u"2004-05-01"), QDate(2004, 5, 1));
        QCOMPARE(TextForm::parseDate(u"1.5.2004", QLocale(QStringLiteral("ro_RO"))),
                 QDate(2004, 5, 1));
        QVERIFY(!TextForm::parseDate(u"maine").isValid());
        QVERIFY(!TextForm::parseDate(u"").isValid());
    }

    void hour() {
        QCOMPARE(TextForm::hour(QTime(7, 5, 59)), QStringLiteral("07:05"));
        QCOMPARE(TextForm::hour(QTime(23, 0)), QStringLiteral("23:00"));
    }

    void fixed4Parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("units");
        QTest::addColumn<bool>("valid");
        QTest::newRow("whole") << "12" << qint64(120000) << true;
        QTest::newRow("decimals") << "7.5" << qint64(75000) << true;
        QTest::newRow("leading point") << ".5" << qint64(5000) << true;
        QTest::newRow("trailing point") << "5." << qint64(50000) << true;
        QTest::newRow("blanks") << " 1.25 " << qint64(12500) << true;
        QTest::newRow("negative") << "-1.5" << qint64(-15000) << true;
        QTest::newRow("five decimals half even") << "0.00005" << qint64(0) << true;
        QTest::newRow("five decimals half odd") << "0.00015" << qint64(2) << true;
        QTest::newRow("above half") << "0.000051" << qint64(1) << true;
        QTest::newRow("empty") << "" << qint64(0) << false;
        QTest::newRow("minus alone") << "-" << qint64(0) << false;
        QTest::newRow("point alone") << "." << qint64(0) << false;
        QTest::newRow("comma") << "1,5" << qint64(0) << false;
        QTest::newRow("letters") << "12a" << qint64(0) << false;
        QTest::newRow("too large") << "99999999999999999999" << qint64(0) << false;
    }

    void fixed4Parse() {
        QFETCH(QString, text);
        QFETCH(qint64, units);
        QFETCH(bool, valid);
        const auto value = Fixed4::parse(text);
        QCOMPARE(value.has_value(), valid);
        if (valid)
            QCOMPARE(value->units(), units);
    }

    void fixed4Text() {
        QCOMPARE(Fixed4::fromUnits(1234500).toString(), QStringLiteral("123.45"));
        QCOMPARE(Fixed4::fromUnits(-5).toString(), QStringLiteral("-0.0005"));
        QCOMPARE(Fixed4::fromUnits(0).toString(), QStringLiteral("0"));
        QCOMPARE(Fixed4::fromUnits(std::numeric_limits<qint64>::min()).toString(),
                 QStringLiteral("-922337203685477.5808"));
    }

    void timpOfAKnownMoment() {
        const double timp = Timp::fromDateTime(QDate(2007, 1, 20), QTime(14, 5));
        QCOMPARE(TextForm::fourDecimal(timp), QStringLiteral("39102.5868"));
        QCOMPARE(Timp::date(timp), QDate(2007, 1, 20));
        QCOMPARE(Timp::time(timp), QTime(14, 5));
    }

    void timpReadsWithinHalfAStep_data() {
        QTest::addColumn<QTime>("entered");
        QTest::addColumn<QString>("shown");
        QTest::newRow("whole minute") << QTime(14, 5) << "14:05";
        QTest::newRow("half minute") << QTime(14, 5, 30) << "14:05";
        QTest::newRow("midnight") << QTime(0, 0) << "00:00";
        QTest::newRow("last minute") << QTime(23, 59) << "23:59";
        QTest::newRow("seconds") << QTime(7, 5, 13) << "07:05";
    }

    void timpReadsWithinHalfAStep() {
        QFETCH(QTime, entered);
        QFETCH(QString, shown);
        const double timp = Timp::fromDateTime(QDate(2026, 3, 1), entered);
        const QTime back = Timp::time(timp);
        QCOMPARE(TextForm::hour(back), shown);
        QVERIFY(qAbs(back.msecsTo(entered)) <= 4320);
        QCOMPARE(Timp::date(timp), QDate(2026, 3, 1));
    }
};

QTEST_GUILESS_MAIN(TestTextForms)
#include "tst_textforms.moc"
