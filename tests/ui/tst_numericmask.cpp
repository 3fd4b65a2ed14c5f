// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/fixed4.h"
#include "ui/numericmask.h"

#include <QTest>

using namespace velmora;

namespace {

Fixed4 fixed(const char *text) {
    return Fixed4::parse(QString::fromLatin1(text)).value();
}

} // namespace

class TestNumericMask : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Keys as characters: digits, '-', '.', '\b' Backspace, '\x7f' Delete.
    void keys_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("expectedCaret");

        // Consum, PretL: mask 333.22, six characters, three decimals.
        QTest::newRow("consum 1234 over 0") << "333.22" << 8 << "0" << 1 << 0 << 0 << "1234"
                                            << "1234" << 4;
        QTest::newRow("consum seventh refused") << "333.22" << 8 << "0" << 1 << 0 << 0 << "1234567"
                                                << "123456" << 6;
        QTest::newRow("consum three decimals") << "333.22" << 8 << "0" << 1 << 0 << 0 << "1.234"
                                               << "1.234" << 5;
        QTest::newRow("consum fourth decimal refused")
            << "333.22" << 8 << "0" << 1 << 0 << 0 << "1.2345"
            << "1.234" << 5;
        QTest::newRow("consum digits before point free")
            << "333.22" << 8 << "0" << 1 << 0 << 0 << "1234.5"
            << "1234.5" << 6;
        QTest::newRow("digit over 0 with caret at 0") << "333.22" << 8 << "0" << 0 << 0 << 0 << "5"
                                                      << "5" << 1;
        // Suma: mask 33233.22, MaxLength 8.
        QTest::newRow("suma eight digits") << "33233.22" << 8 << "0" << 1 << 0 << 0 << "12345678"
                                           << "12345678" << 8;
        QTest::newRow("suma ninth refused") << "33233.22" << 8 << "0" << 1 << 0 << 0 << "123456789"
                                            << "12345678" << 8;
        QTest::newRow("maxlength binds before the mask")
            << "33233.22" << 5 << "0" << 1 << 0 << 0 << "123456"
            << "12345" << 5;
        QTest::newRow("point at maxlength refused")
            << "33233.22" << 5 << "12345" << 5 << 0 << 0 << "."
            << "12345" << 5;
        QTest::newRow("decimal twice gives one") << "33233.22" << 8 << "0" << 1 << 0 << 0 << "1.."
                                                 << "1." << 2;
        QTest::newRow("second point elsewhere") << "33233.22" << 8 << "12.3" << 1 << 0 << 0 << "."
                                                << "12.3" << 1;
        QTest::newRow("point after 0") << "33233.22" << 8 << "0" << 1 << 0 << 0 << "."
                                       << "0." << 2;
        QTest::newRow("point into the middle") << "33233.22" << 8 << "1234" << 2 << 0 << 0 << "."
                                               << "12.34" << 3;
        QTest::newRow("point too far from the end")
            << "33233.22" << 8 << "12345" << 1 << 0 << 0 << "."
            << "12345" << 1;
        // Minus.
        QTest::newRow("minus at 0 positive mask") << "333.22" << 8 << "12" << 0 << 0 << 0 << "-"
                                                  << "12" << 0;
        QTest::newRow("minus not at 0") << "-333.22" << 8 << "12" << 1 << 0 << 0 << "-"
                                        << "12" << 1;
        QTest::newRow("minus on 0 empties") << "333.22" << 8 << "0" << 1 << 0 << 0 << "-"
                                            << "" << 0;
        QTest::newRow("minus negative mask") << "-333.22" << 8 << "12" << 0 << 0 << 0 << "-"
                                             << "-12" << 1;
        QTest::newRow("minus once only") << "-333.22" << 8 << "-12" << 0 << 0 << 0 << "-"
                                         << "-12" << 0;
        QTest::newRow("lone minus admitted") << "-333.22" << 8 << "" << 0 << 0 << 0 << "-5"
                                             << "-5" << 2;
        QTest::newRow("nothing in front of the sign")
            << "-333.22" << 8 << "-5" << 0 << 0 << 0 << "1"
            << "-5" << 0;
        QTest::newRow("minus at maxlength") << "-333.22" << 2 << "12" << 0 << 0 << 0 << "-"
                                            << "12" << 0;
        // Whole masks and no mask.
        QTest::newRow("whole mask no point") << "55555" << 8 << "12" << 2 << 0 << 0 << "."
                                             << "12" << 2;
        QTest::newRow("no mask no point") << "0" << 0 << "12" << 2 << 0 << 0 << "."
                                          << "12" << 2;
        QTest::newRow("no mask any length") << "0" << 0 << "0" << 1 << 0 << 0 << "123456789012"
                                            << "123456789012" << 12;
        QTest::newRow("no mask minus anywhere at 0") << "0" << 0 << "12" << 0 << 0 << 0 << "-"
                                                     << "-12" << 1;
        // Backspace and Delete.
        QTest::newRow("backspace") << "333.22" << 8 << "123" << 2 << 0 << 0 << "\b"
                                   << "13" << 1;
        QTest::newRow("backspace at 0") << "333.22" << 8 << "123" << 0 << 0 << 0 << "\b"
                                        << "123" << 0;
        QTest::newRow("backspace to empty") << "333.22" << 8 << "5" << 1 << 0 << 0 << "\b"
                                            << "" << 0;
        QTest::newRow("delete") << "333.22" << 8 << "123" << 1 << 0 << 0 << "\x7f"
                                << "13" << 1;
        QTest::newRow("delete at end") << "333.22" << 8 << "123" << 3 << 0 << 0 << "\x7f"
                                       << "123" << 3;
        // A text set by the program beyond the mask can only be cut by a selection.
        QTest::newRow("backspace checks the mask")
            << "333.22" << 8 << "1.23456" << 7 << 0 << 0 << "\b"
            << "1.23456" << 7;
        QTest::newRow("selection cuts a long text")
            << "333.22" << 8 << "1.23456" << 7 << 5 << 2 << "\b"
            << "1.234" << 5;
        // Selections.
        QTest::newRow("select all and 7") << "333.22" << 8 << "123.5" << 5 << 0 << 5 << "7"
                                          << "7" << 1;
        QTest::newRow("select all and backspace") << "333.22" << 8 << "123.5" << 5 << 0 << 5 << "\b"
                                                  << "" << 0;
        QTest::newRow("select all and delete") << "333.22" << 8 << "123.5" << 0 << 0 << 5 << "\x7f"
                                               << "" << 0;
        QTest::newRow("selection replaced by a digit")
            << "333.22" << 8 << "1234" << 3 << 1 << 2 << "9"
            << "194" << 2;
        QTest::newRow("refused key undoes the removal")
            << "333.22" << 8 << "1.234" << 1 << 0 << 1 << "-"
            << "1.234" << 1;
        QTest::newRow("stopped key keeps the removal")
            << "333.22" << 8 << "12.34" << 1 << 0 << 1 << "."
            << "2.34" << 0;
        QTest::newRow("point on whole mask keeps selection")
            << "55555" << 8 << "123" << 3 << 0 << 3 << "."
            << "123" << 3;
        QTest::newRow("select all and minus") << "333.22" << 8 << "12" << 2 << 0 << 2 << "-"
                                              << "12" << 2;
    }

    void keys() {
        QFETCH(QString, mask);
        QFETCH(int, maxLength);
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        QFETCH(int, expectedCaret);

        const NumericMask rule(Fixed4::parse(mask).value(), maxLength);
        NumericMask::State state{text, caret, selLength > 0 ? selStart : caret, selLength};
        for (const QChar key : keys)
            state = rule.press(state, key);
        QCOMPARE(state.text, expected);
        QCOMPARE(state.caret, expectedCaret);
    }

    void exceeds_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("exceeds");

        QTest::newRow("no mask") << "0"
                                 << "-1.23456789" << false;
        QTest::newRow("empty") << "333.22"
                               << "" << false;
        QTest::newRow("lone minus, negative mask") << "-333.22"
                                                   << "-" << false;
        QTest::newRow("lone minus, positive mask") << "333.22"
                                                   << "-" << true;
        QTest::newRow("sign on positive mask") << "333.22"
                                               << "-1" << true;
        QTest::newRow("length of the mask") << "333.22"
                                            << "123456" << false;
        QTest::newRow("longer than the mask") << "333.22"
                                              << "1234567" << true;
        QTest::newRow("sign counts in the length") << "-333.22"
                                                   << "-123456" << false;
        QTest::newRow("three decimals for two") << "33233.22"
                                                << "1.234" << false;
        QTest::newRow("four decimals") << "33233.22"
                                       << "1.2345" << true;
        QTest::newRow("one decimal mask admits two") << "12.5"
                                                     << "1.25" << false;
        QTest::newRow("one decimal mask refuses three") << "12.5"
                                                        << "1.256" << true;
        QTest::newRow("whole mask, a point") << "55555"
                                             << "1.2" << true;
        QTest::newRow("whole mask, no point") << "55555"
                                              << "12345" << false;
    }

    void exceeds() {
        QFETCH(QString, mask);
        QFETCH(QString, text);
        QFETCH(bool, exceeds);
        QCOMPARE(NumericMask(Fixed4::parse(mask).value()).exceeds(text), exceeds);
    }

    void maskShape() {
        NumericMask rule(fixed("33233.22"));
        QCOMPARE(rule.maskText(), QStringLiteral("33233.22"));
        QCOMPARE(rule.decimalsAdmitted(), 3);
        rule.setMask(fixed("55555.55"));
        QCOMPARE(rule.decimalsAdmitted(), 3);
        rule.setMask(fixed("-12"));
        QCOMPARE(rule.maskText(), QStringLiteral("-12"));
        QCOMPARE(rule.decimalsAdmitted(), 0);
    }

    void value_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("units");

        QTest::newRow("empty") << "" << qint64(0);
        QTest::newRow("minus alone") << "-" << qint64(0);
        QTest::newRow("point alone") << "." << qint64(0);
        QTest::newRow("amount") << "1234.5" << qint64(12345000);
        QTest::newRow("three decimals") << "1.234" << qint64(12340);
        QTest::newRow("trailing point") << "12." << qint64(120000);
        QTest::newRow("negative") << "-0.5" << qint64(-5000);
    }

    void value() {
        QFETCH(QString, text);
        QFETCH(qint64, units);
        QCOMPARE(NumericMask::value(text).units(), units);
    }

    void intact() {
        QVERIFY(NumericMask::intact(u"", u"0"));
        QVERIFY(NumericMask::intact(u"0", u"0"));
        QVERIFY(NumericMask::intact(u"", u"0.00"));
        QVERIFY(!NumericMask::intact(u"", u"5"));
        QVERIFY(!NumericMask::intact(u"5", u"0"));
        QVERIFY(!NumericMask::intact(u"0.0", u"0"));
    }
};

QTEST_GUILESS_MAIN(TestNumericMask)
#include "tst_numericmask.moc"
