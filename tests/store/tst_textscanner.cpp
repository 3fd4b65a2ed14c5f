// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/textscanner.h"

#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

// The reading that statements and record filters share: where a name or a number ends, and
// quoted text with its doubled quotes undone.
class TestTextScanner : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ends_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("nameEnd");
        QTest::addColumn<int>("numberEnd");
        QTest::newRow("name then blank") << u"SOFER1 = 'A'"_s << 0 << 6 << 0;
        QTest::newRow("underscore and letters") << u"_ŞOFER_2)"_s << 0 << 8 << 0;
        QTest::newRow("whole number") << u"125 AND"_s << 0 << 3 << 3;
        QTest::newRow("decimals") << u"12.50)"_s << 0 << 2 << 5;
        QTest::newRow("point first") << u".5"_s << 0 << 0 << 2;
        QTest::newRow("trailing point") << u"7."_s << 0 << 1 << 2;
        QTest::newRow("digit run into letters") << u"12AB"_s << 0 << 4 << 2;
        QTest::newRow("from the middle") << u"(TKM>10)"_s << 1 << 4 << 1;
        QTest::newRow("at the end") << u"A"_s << 1 << 1 << 1;
        // Other scripts' digits are letters' kin for a name, never a number.
        QTest::newRow("arabic-indic digit") << u"١٢"_s << 0 << 2 << 0;
    }
    void ends() {
        QFETCH(QString, text);
        QFETCH(int, from);
        QFETCH(int, nameEnd);
        QFETCH(int, numberEnd);
        QCOMPARE(TextScanner::nameEnd(text, from), nameEnd);
        QCOMPARE(TextScanner::numberEnd(text, from), numberEnd);
    }

    void quoted_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QString>("inside");
        QTest::addColumn<int>("end");
        QTest::newRow("single quotes") << u"'ION' AND"_s << 0 << true << u"ION"_s << 5;
        QTest::newRow("double quotes") << u"= \"B 12\""_s << 2 << true << u"B 12"_s << 8;
        QTest::newRow("doubled quote") << u"'D''ARC'"_s << 0 << true << u"D'ARC"_s << 8;
        QTest::newRow("the other quote is a letter")
            << u"\"O'NEIL\""_s << 0 << true << u"O'NEIL"_s << 8;
        QTest::newRow("empty") << u"''"_s << 0 << true << QString() << 2;
        QTest::newRow("only a doubled quote") << u"''''"_s << 0 << true << u"'"_s << 4;
        QTest::newRow("line break inside") << u"'A\nB'"_s << 0 << true << u"A\nB"_s << 5;
        QTest::newRow("never closed") << u"'ION"_s << 0 << false << QString() << 0;
        QTest::newRow("doubled quote at the end") << u"'ION''"_s << 0 << false << QString() << 0;
    }
    void quoted() {
        QFETCH(QString, text);
        QFETCH(int, from);
        QFETCH(bool, closed);
        QFETCH(QString, inside);
        QFETCH(int, end);
        const auto got = TextScanner::quoted(text, from);
        QCOMPARE(got.has_value(), closed);
        if (got) {
            QCOMPARE(got->text, inside);
            QCOMPARE(got->end, end);
        }
    }
};

QTEST_GUILESS_MAIN(TestTextScanner)
#include "tst_textscanner.moc"
