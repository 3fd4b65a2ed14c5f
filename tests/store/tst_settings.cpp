// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/settings.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

// The native store is the registry on Windows, which a path cannot redirect; these tests
// run where the native store is a file.
class TestSettings : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    void redirect(const QString &path) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
    }

private Q_SLOTS:
    void initTestCase() {
#ifdef Q_OS_WIN
        QSKIP("The registry cannot be redirected to a temporary directory.");
#endif
        QVERIFY(m_dir.isValid());
    }

    void init() {
        redirect(m_dir.path());
    }

    void missingValueReadsEmpty() {
        QCOMPARE(Settings::read(QStringLiteral("NIMIC")), QString());
        QVERIFY(Settings::read(QStringLiteral("NIMIC")).isEmpty());
    }

    void roundTrip_data() {
        QTest::addColumn<QString>("value");
        QByteArray high;
        for (int b = 127; b <= 181; ++b)
            high.append(static_cast<char>(b));
        QTest::newRow("bytes 127 to 181") << Cp1250::decode(high);
        QTest::newRow("program directory") << QStringLiteral("/opt/Velmora v.1.01/bin");
        QTest::newRow("title") << QStringLiteral("Velmora v.1.01");
        QTest::newRow("Romanian letters")
            << QStringLiteral("\u0102\u00C2\u00CE\u015E\u0162\u0103\u00E2\u00EE\u015F\u0163");
        QTest::newRow("blanks and separators kept") << QStringLiteral("  a;b,c=d\\e\"f  ");
        QTest::newRow("empty") << QString();
    }
    void roundTrip() {
        QFETCH(QString, value);
        Settings::write(QStringLiteral("Erori"), value);
        QCOMPARE(Settings::read(QStringLiteral("Erori")), value);
        // Another value of the key is not disturbed.
        Settings::write(QStringLiteral("VER"), QStringLiteral("Velmora v.1.01"));
        QCOMPARE(Settings::read(QStringLiteral("Erori")), value);
    }

    void everyHighByteAlone() {
        for (int b = 127; b <= 181; ++b) {
            const QString value = QString(Cp1250::toChar(static_cast<unsigned char>(b))) + u'7';
            Settings::write(QStringLiteral("Erori"), value);
            QVERIFY2(Settings::read(QStringLiteral("Erori")) == value,
                     qPrintable(QStringLiteral("byte %1").arg(b)));
        }
    }

    void rewriteReplaces() {
        Settings::write(QStringLiteral("CALE"), QStringLiteral("/a"));
        Settings::write(QStringLiteral("CALE"), QStringLiteral("/b"));
        QCOMPARE(Settings::read(QStringLiteral("CALE")), QStringLiteral("/b"));
    }

    void refusedWriteRaises() {
        // The store's folder cannot be made under a plain file.
        const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        redirect(blocker + QStringLiteral("/sub"));
        QVERIFY_THROWS_EXCEPTION(SettingsError,
                                 Settings::write(QStringLiteral("CALE"), QStringLiteral("/x")));
        QCOMPARE(Settings::read(QStringLiteral("CALE")), QString());
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
