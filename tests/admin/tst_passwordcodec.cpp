// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin/passwordcodec.h"
#include "store/settings.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"

#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

class TestPasswordCodec : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(settingsDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    }

    void knownExample() {
        const QByteArray codes = PasswordCodec::encodeBytes("abc");
        const QList<int> expected{72, 149, 96,  44,  115, 72, 97,  65,
                                  60, 92,  147, 112, 141, 98, 107, 99};
        QList<int> got;
        for (const char c : codes)
            got << static_cast<unsigned char>(c);
        QCOMPARE(got, expected);
        // Password length + 12 inserted + the blank in front.
        QCOMPARE(codes.size(), 3 + 12 + 1);
        // As text, the characters of those bytes in the code page.
        QCOMPARE(PasswordCodec::encode(u"abc"), Cp1250::decode(codes));
        QCOMPARE(PasswordCodec::encode(u"abc").at(1), QChar(0x2022)); // byte 149
    }

    void lengthStaysInRange_data() {
        QTest::addColumn<int>("length");
        QTest::newRow("1") << 1;
        QTest::newRow("8") << 8;
        QTest::newRow("32") << 32;
    }

    void lengthStaysInRange() {
        QFETCH(int, length);
        QRandomGenerator random(20240601u + static_cast<quint32>(length));
        int shortest = 1000, longest = 0;
        for (int n = 0; n < 400; ++n) {
            QByteArray password;
            for (int i = 0; i < length; ++i)
                password.append(static_cast<char>(random.bounded(33, 256)));
            const QByteArray encoded = PasswordCodec::encodeBytes(password);
            shortest = std::min(shortest, static_cast<int>(encoded.size()));
            longest = std::max(longest, static_cast<int>(encoded.size()));
            for (qsizetype i = 0; i + 1 < encoded.size(); ++i) {
                // Every character either comes from the password or was inserted (32 to 181).
                const int c = static_cast<unsigned char>(encoded[i]);
                QVERIFY((c >= 32 && c <= 181) || password.contains(encoded[i]));
            }
        }
        QVERIFY(shortest >= length + 7);
        QVERIFY(longest <= length + 36);
        if (length == 32) {
            QVERIFY(shortest >= 39);
            QVERIFY(longest <= 68);
        }
    }

    void sameTextSameEncoding() {
        const QString password = QStringLiteral("Parola_Sefului 2024!");
        QCOMPARE(PasswordCodec::encode(password), PasswordCodec::encode(password));
        QVERIFY(PasswordCodec::encode(password) != PasswordCodec::encode(u"parola_Sefului 2024!"));
        QVERIFY(PasswordCodec::encode(password) != PasswordCodec::encode(password + u' '));
    }

    void matches() {
        const QString stored = PasswordCodec::encode(u"Secret");
        QVERIFY(PasswordCodec::matches(u"Secret", stored));
        QVERIFY(!PasswordCodec::matches(u"secret", stored));
        QVERIFY(!PasswordCodec::matches(u"Secret ", stored));
        QVERIFY(!PasswordCodec::matches(u"", stored));
        QVERIFY(!PasswordCodec::matches(u"Secret\u4E2D", stored));
    }

    void romanianLettersWorkOnTheirBytes() {
        // Comma-below and cedilla forms are the same byte, hence the same password.
        QCOMPARE(PasswordCodec::encode(u"\u0219oim"), PasswordCodec::encode(u"\u015Foim"));
        QCOMPARE(PasswordCodec::encode(u"\u0219oim"),
                 Cp1250::decode(PasswordCodec::encodeBytes("\xBAoim")));
    }

    void foreignCharacterRefused() {
        QVERIFY_THROWS_EXCEPTION(InputError, PasswordCodec::encode(u"parola\u03A9"));
        try {
            PasswordCodec::encode(u"tainic\u03A9");
            QFAIL("no error");
        } catch (const InputError &error) {
            QVERIFY(error.message().contains(QChar(0x03A9)));
            // The password itself is never shown.
            QVERIFY(!error.message().contains(QStringLiteral("tainic")));
        }
    }

    void settingsKeepTheEncodedText() {
        // Every character the encoding can produce, the blank in front and the rare bytes
        // 127 to 181 among them, comes back from the settings store unchanged.
        QByteArray all;
        for (int c = 32; c <= 255; ++c)
            all.append(static_cast<char>(c));
        const QString text = Cp1250::decode(all);
        Settings::write(QStringLiteral("Erori"), text);
        QCOMPARE(Settings::read(QStringLiteral("Erori")), text);

        QRandomGenerator random(7);
        for (int n = 0; n < 200; ++n) {
            QString password;
            for (int i = 0, length = random.bounded(1, 33); i < length; ++i)
                password += QChar(char16_t(random.bounded(32, 127)));
            const QString encoded = PasswordCodec::encode(password);
            Settings::write(QStringLiteral("Erori"), encoded);
            QCOMPARE(Settings::read(QStringLiteral("Erori")), encoded);
            QVERIFY(PasswordCodec::matches(password, Settings::read(QStringLiteral("Erori"))));
        }
    }
};

QTEST_GUILESS_MAIN(TestPasswordCodec)
#include "tst_passwordcodec.moc"
