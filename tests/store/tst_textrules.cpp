// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/textrules.h"

#include <QTest>

using namespace velmora;

class TestTextRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void trim_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("blanks only") << QStringLiteral("   ") << QString();
        QTest::newRow("controls at both ends")
            << QStringLiteral("\t\r\n\x01 ION POP \x1f\t") << QStringLiteral("ION POP");
        QTest::newRow("inner blanks kept") << QStringLiteral("  A  B  ") << QStringLiteral("A  B");
        QTest::newRow("no-break space is not trimmed")
            << QStringLiteral("\u00A0A\u00A0") << QStringLiteral("\u00A0A\u00A0");
        QTest::newRow("code 33 is kept") << QStringLiteral("!A!") << QStringLiteral("!A!");
    }
    void trim() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(TextRules::trim(text), expected);
    }

    void joinConditions_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("three conditions")
            << QStringLiteral("(NRMAS='B*')(SOFER1='ION*')(LOCPARC='DEPOU*')")
            << QStringLiteral("(NRMAS='B*') AND (SOFER1='ION*') AND (LOCPARC='DEPOU*')");
        QTest::newRow("blanks only") << QStringLiteral(" \t  ") << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("single condition trimmed")
            << QStringLiteral("  (NRMAS='B 01 ABC')  ") << QStringLiteral("(NRMAS='B 01 ABC')");
        QTest::newRow("two conditions with blanks around")
            << QStringLiteral("\t(A='1')(B='2') ") << QStringLiteral("(A='1') AND (B='2')");
        QTest::newRow("empty parentheses back to back")
            << QStringLiteral("()()()") << QStringLiteral("() AND () AND ()");
        QTest::newRow("separated by a blank stays as typed")
            << QStringLiteral("(A='1') (B='2')") << QStringLiteral("(A='1') (B='2')");
    }
    void joinConditions() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(TextRules::joinConditions(text), expected);
    }

    void squashSpaces_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two words, blanks around and between")
            << QStringLiteral("  POPESCU   ION  ") << QStringLiteral("POPESCU ION");
        QTest::newRow("blanks only") << QStringLiteral("     ") << QString();
        QTest::newRow("already single") << QStringLiteral("A B C") << QStringLiteral("A B C");
        QTest::newRow("long inner run") << QStringLiteral("A          B") << QStringLiteral("A B");
        QTest::newRow("several runs")
            << QStringLiteral("STR.  MARE  NR.   5") << QStringLiteral("STR. MARE NR. 5");
        QTest::newRow("controls trimmed at the ends")
            << QStringLiteral("\t DEPOU  1 \r\n") << QStringLiteral("DEPOU 1");
        QTest::newRow("inner tab is not a blank")
            << QStringLiteral("A\t\tB") << QStringLiteral("A\t\tB");
        QTest::newRow("diacritics kept") << QStringLiteral("\u015ETEFAN  \u0102LE\u0162")
                                         << QStringLiteral("\u015ETEFAN \u0102LE\u0162");
    }
    void squashSpaces() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(TextRules::squashSpaces(text), expected);
    }

    void upperCase_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("letters") << QStringLiteral("popescu ion") << QStringLiteral("POPESCU ION");
        QTest::newRow("Romanian letters") << QStringLiteral("\u0219\u021B\u0103\u00E2\u00EE\u015F")
                                          << QStringLiteral("\u0218\u021A\u0102\u00C2\u00CE\u015E");
        QTest::newRow("digits and marks") << QStringLiteral("b-12'x") << QStringLiteral("B-12'X");
        // One character for one: a caret in the field never moves.
        QTest::newRow("sharp s keeps its length")
            << QStringLiteral("stra\u00DFe") << QStringLiteral("STRA\u00DFE");
    }
    void upperCase() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(TextRules::upperCase(text), expected);
    }
};

QTEST_GUILESS_MAIN(TestTextRules)
#include "tst_textrules.moc"
