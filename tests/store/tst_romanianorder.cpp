// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/cp1250.h"
#include "store/text/romanianorder.h"

#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <cstring>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// The key of a text as the engine's sort makes it, for a field of the given width.
QByteArray keyOf(const QString &text, int width) {
    QByteArray key(RomanianOrder::keyWidth(width), Qt::Uninitialized);
    RomanianOrder::writeKey(Cp1250::encode(text), width, key.data());
    return key;
}

int keyCompare(const QString &a, const QString &b) {
    const int width = static_cast<int>(std::max(a.size(), b.size())) + 2;
    const int c = std::memcmp(keyOf(a, width).constData(), keyOf(b, width).constData(),
                              static_cast<size_t>(RomanianOrder::keyWidth(width)));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int byteCompare(const QString &a, const QString &b) {
    return RomanianOrder::compare(QByteArrayView(Cp1250::encode(a)),
                                  QByteArrayView(Cp1250::encode(b)));
}

QString charOf(int byte) {
    return QString(Cp1250::toChar(static_cast<unsigned char>(byte)));
}

// What a byte is, in the order the classes sort: blank, control, mark, digit, letter.
int classOf(int byte) {
    const QChar c = Cp1250::toChar(static_cast<unsigned char>(byte));
    if (byte == 0 || c == u' ' || c == QChar(0xA0))
        return 0;
    if (c.category() == QChar::Other_Control)
        return 1;
    if (c.isDigit())
        return 3;
    if (c.isLetter() && c.script() == QChar::Script_Latin)
        return 4;
    return 2;
}

} // namespace

class TestRomanianOrder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each text of a row comes before the next one, in all three forms of the comparison:
    // texts on screen, bytes of a table, and the engine's sort keys.
    void before_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("Ă after A") << u"AZ"_s << u"ĂA"_s;
        QTest::newRow("Â after Ă") << u"ĂZ"_s << u"ÂA"_s;
        QTest::newRow("B after Â") << u"ÂZ"_s << u"BA"_s;
        QTest::newRow("Î after I") << u"IZ"_s << u"ÎA"_s;
        QTest::newRow("J after Î") << u"ÎZ"_s << u"JA"_s;
        QTest::newRow("Ş (cedilla) after S") << u"SZ"_s << u"ŞA"_s;
        QTest::newRow("Ș (comma) after S") << u"SZ"_s << u"ȘA"_s;
        QTest::newRow("T after Ş") << u"ŞZ"_s << u"TA"_s;
        QTest::newRow("Ţ (cedilla) after T") << u"TZ"_s << u"ŢA"_s;
        QTest::newRow("Ț (comma) after T") << u"TZ"_s << u"ȚA"_s;
        QTest::newRow("U after Ț") << u"ȚZ"_s << u"UA"_s;
        QTest::newRow("ŞERBAN before ZAHARIA") << u"ŞERBAN"_s << u"ZAHARIA"_s;
        QTest::newRow("Ă before Ş") << u"ĂSTA"_s << u"ŞTEFAN"_s;
        QTest::newRow("small ş after capital S") << u"SZ"_s << u"şa"_s;
        QTest::newRow("small letters among capitals") << u"andrei"_s << u"BOGDAN"_s;
        QTest::newRow("capitals among small letters") << u"ŞERBAN"_s << u"zaharia"_s;
        QTest::newRow("small ă with capital Ă") << u"ăZ"_s << u"ÂA"_s;
        QTest::newRow("digits before letters") << u"9"_s << u"A"_s;
        QTest::newRow("digits before Ă") << u"Z9"_s << u"ZĂ"_s;
        QTest::newRow("marks before digits") << u"-"_s << u"0"_s;
        QTest::newRow("typographic quote before digits") << u"„ARDEALUL”"_s << u"1 DECEMBRIE"_s;
        QTest::newRow("typographic quote with the plain one") << u"„A"_s << u"\"B"_s;
        QTest::newRow("en dash with the hyphen") << u"A–A"_s << u"A-B"_s;
        QTest::newRow("blank before digits") << u"1 MAI"_s << u"10 MAI"_s;
        QTest::newRow("shorter text first") << u"POP"_s << u"POP ION"_s;
        QTest::newRow("blank before letters") << u"POP ION"_s << u"POPA"_s;
        QTest::newRow("no-break space with the blank") << u"A\u00A0A"_s << u"A B"_s;
        QTest::newRow("control before marks") << u"A\tZ"_s << u"A!A"_s;
        QTest::newRow("É with E") << u"ÉVA"_s << u"EVB"_s;
        QTest::newRow("Ö with O") << u"ÖZIL"_s << u"OZZ"_s;
        QTest::newRow("Ü with U") << u"MÜLLER"_s << u"MULLES"_s;
        QTest::newRow("Ç with C") << u"ÇAKIR"_s << u"CAZAN"_s;
        QTest::newRow("Ł with L") << u"ŁODZ"_s << u"LOE"_s;
        QTest::newRow("Đ with D") << u"ĐORĐE"_s << u"DORZ"_s;
        QTest::newRow("ß with S") << u"GROß"_s << u"GROT"_s;
        QTest::newRow("Ž with Z, after Z") << u"ZAHARIA"_s << u"ŽIŽEK"_s;
        QTest::newRow("capital before small") << u"ANA"_s << u"Ana"_s;
        QTest::newRow("then the first difference") << u"Ana"_s << u"ana"_s;
        QTest::newRow("plain before accented") << u"EVA"_s << u"ÉVA"_s;
        QTest::newRow("small plain before accented capital") << u"eva"_s << u"ÉVA"_s;
        QTest::newRow("letters before case") << u"ana"_s << u"ANB"_s;
    }
    void before() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QCOMPARE(RomanianOrder::compare(first, second), -1);
        QCOMPARE(RomanianOrder::compare(second, first), 1);
        QVERIFY(RomanianOrder::lessThan(first, second));
        QCOMPARE(byteCompare(first, second), -1);
        QCOMPARE(byteCompare(second, first), 1);
        QCOMPARE(keyCompare(first, second), -1);
        QCOMPARE(keyCompare(second, first), 1);
    }

    // Equal only as the tables hold them: padded with blanks or NUL bytes, or with the comma
    // and cedilla forms that are stored alike.
    void sameInATable_data() {
        QTest::addColumn<QByteArray>("a");
        QTest::addColumn<QByteArray>("b");
        QTest::newRow("padding blanks") << "POP"_ba
                                        << "POP     "_ba;
        QTest::newRow("padding NUL bytes") << QByteArray("POP\0\0", 5) << "POP  "_ba;
        QTest::newRow("blank and empty") << QByteArray() << "   "_ba;
        QTest::newRow("comma and cedilla")
            << Cp1250::encode(u"ȘTEFAN ȚUȚU"_s) << Cp1250::encode(u"ŞTEFAN ŢUŢU"_s);
    }
    void sameInATable() {
        QFETCH(QByteArray, a);
        QFETCH(QByteArray, b);
        QCOMPARE(RomanianOrder::compare(QByteArrayView(a), QByteArrayView(b)), 0);
        QCOMPARE(RomanianOrder::compare(QByteArrayView(b), QByteArrayView(a)), 0);
        QByteArray keyA(RomanianOrder::keyWidth(10), Qt::Uninitialized);
        QByteArray keyB(RomanianOrder::keyWidth(10), Qt::Uninitialized);
        RomanianOrder::writeKey(a, 10, keyA.data());
        RomanianOrder::writeKey(b, 10, keyB.data());
        QCOMPARE(keyA, keyB);
    }

    // Texts on screen that look alike still have one order, the same both ways round.
    void alikeOnScreenStillHaveOneOrder_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::newRow("comma and cedilla") << u"ȘERBAN"_s << u"ŞERBAN"_s;
        QTest::newRow("trailing blank") << u"ANA"_s << u"ANA "_s;
        QTest::newRow("beyond the code page") << u"ANA ☺"_s << u"ANA ♥"_s;
    }
    void alikeOnScreenStillHaveOneOrder() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        const int c = RomanianOrder::compare(a, b);
        QVERIFY(c != 0);
        QCOMPARE(RomanianOrder::compare(b, a), -c);
        QCOMPARE(RomanianOrder::compare(a, a), 0);
        // And they sort among the others where their letters say.
        QCOMPARE(RomanianOrder::compare(a, u"ZAHARIA"_s), -1);
        QCOMPARE(RomanianOrder::compare(u"0"_s, b), -1);
    }

    // Names typed in capitals, Romanian letters included, sort on the first half of their
    // keys alone; a small or accented letter needs the second half.
    void caseAndAccentsOnlyWhereTheyAre_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("has");
        QTest::newRow("capitals") << u"POPESCU ION"_s << false;
        QTest::newRow("Romanian capitals") << u"ŞTEFAN ŢĂRANU ÎNCU ÂRCU"_s << false;
        QTest::newRow("digits, blanks, marks") << u"B 12-ABC, (1)"_s << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("a small letter") << u"POPESCu"_s << true;
        QTest::newRow("a small Romanian letter") << u"ş"_s << true;
        QTest::newRow("an accented capital") << u"ÉVA"_s << true;
        QTest::newRow("a typographic quote") << u"„A"_s << true;
        QTest::newRow("a no-break space") << u"A\u00A0B"_s << true;
    }
    void caseAndAccentsOnlyWhereTheyAre() {
        QFETCH(QString, text);
        QFETCH(bool, has);
        const QByteArray bytes = Cp1250::encode(text);
        const int width = 30;
        const QByteArray key = keyOf(text, width);
        QByteArray letters(width, Qt::Uninitialized);
        QCOMPARE(RomanianOrder::writeLetters(bytes, width, letters.data()), has);
        QCOMPARE(letters, key.left(width));
        QCOMPARE(key.mid(width) == QByteArray(width, '\0'), !has);
    }

    void beyondTheCodePageAfterEveryLetter() {
        QCOMPARE(RomanianOrder::compare(u"ŽŽ"_s, u"Ω"_s), -1);
        QCOMPARE(RomanianOrder::compare(u"AΩ"_s, u"B"_s), -1);
    }

    // No two bytes (NUL and blank aside) sort alike, so two different texts never sort
    // together, and each class of character comes where a reader looks for it.
    void everyByteHasItsOwnPlace() {
        for (int x = 1; x < 256; ++x) {
            for (int y = x + 1; y < 256; ++y) {
                const QByteArray bx(1, static_cast<char>(x));
                const QByteArray by(1, static_cast<char>(y));
                const int c = RomanianOrder::compare(QByteArrayView(bx), QByteArrayView(by));
                QVERIFY2(c != 0, qPrintable(charOf(x) + u" = "_s + charOf(y)));
                QCOMPARE(RomanianOrder::compare(QByteArrayView(by), QByteArrayView(bx)), -c);
                if (classOf(x) != classOf(y)) {
                    QVERIFY2((c < 0) == (classOf(x) < classOf(y)),
                             qPrintable(charOf(x) + u" / "_s + charOf(y)));
                }
            }
        }
    }

    // Every accented letter of the code page that is not a letter of its own in Romanian sorts
    // with its plain letter.
    void accentedLettersSortWithTheirPlainLetter() {
        const QString ownLetters = u"ĂăÂâÎîŞşŢţ"_s;
        int checked = 0;
        for (int b = 0x80; b < 256; ++b) {
            const QChar c = Cp1250::toChar(static_cast<unsigned char>(b));
            const QString parts = c.decomposition();
            if (classOf(b) != 4 || ownLetters.contains(c) || parts.isEmpty() ||
                parts.at(0).unicode() >= 0x80)
                continue;
            const QString base = parts.left(1);
            QVERIFY2(RomanianOrder::compare(base + u'Z', QString(c) + u'A') > 0, qPrintable(c));
            QVERIFY2(RomanianOrder::compare(QString(c) + u'Z', base + u'A') > 0, qPrintable(c));
            ++checked;
        }
        QVERIFY(checked > 50);
    }

    void sortsAListAsADirectoryWould() {
        const QStringList expected = {
            u"„ARDEALUL”"_s, u"- FĂRĂ NUME -"_s, u"1 MAI"_s, u"10 MAI"_s,   u"ANA"_s,  u"Ana"_s,
            u"ana"_s,        u"ANDREI"_s,        u"AZOR"_s,  u"ĂLĂCESCU"_s, u"ÂRCU"_s, u"BOGDAN"_s,
            u"ÇAKIR"_s,      u"CAZAN"_s,         u"CĂLIN"_s, u"EVA"_s,      u"ÉVA"_s,  u"EVB"_s,
            u"IZVOR"_s,      u"ÎNCU"_s,          u"JIANU"_s, u"POP ION"_s,  u"POPA"_s, u"SZABO"_s,
            u"ŞERBAN"_s,     u"ȘTEFAN"_s,        u"TUDOR"_s, u"TZARA"_s,    u"ŢARĂ"_s, u"ȚUȚU"_s,
            u"ZAHARIA"_s,    u"zaharia"_s,       u"ŽIŽEK"_s,
        };
        QStringList shuffled = expected;
        std::shuffle(shuffled.begin(), shuffled.end(), QRandomGenerator(15));
        QVERIFY(shuffled != expected);

        QStringList byText = shuffled;
        std::sort(byText.begin(), byText.end(), &RomanianOrder::lessThan);
        QCOMPARE(byText, expected);

        QStringList byKey = shuffled;
        std::sort(byKey.begin(), byKey.end(),
                  [](const QString &a, const QString &b) { return keyCompare(a, b) < 0; });
        QCOMPARE(byKey, expected);
    }
};

QTEST_GUILESS_MAIN(TestRomanianOrder)
#include "tst_romanianorder.moc"
