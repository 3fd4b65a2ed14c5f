// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dbf/atomicfile.h"
#include "store/dbf/faultpoint.h"
#include "store/inifile.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "filebytes.h"

using namespace velmora;

class TestIniFile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

private Q_SLOTS:
    void init() {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("Velm.ini"));
        QFile::remove(m_path);
        QFile::remove(AtomicFile::temporaryPath(m_path));
        QDir(AtomicFile::temporaryPath(m_path)).removeRecursively();
        QDir(m_path).removeRecursively();
        FaultPoint::disarm();
    }

    void read_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QByteArray index = "[INDEX]\r\nIDFOAIE=4\r\nIDSOS=6\r\n";
        QTest::newRow("exact") << index << "INDEX"
                               << "IDSOS"
                               << "6";
        QTest::newRow("section in other case") << index << "index"
                                               << "IDFOAIE"
                                               << "4";
        QTest::newRow("key in other case") << index << "INDEX"
                                           << "IdSos"
                                           << "6";
        QTest::newRow("cp1250 letters in other case")
            << QByteArray("[B 01 \xAA\xC3\xDE]\r\nCONSUM=8.5\r\n")
            << QStringLiteral("b 01 \u015F\u0103\u0163") << "consum"
            << "8.5";
        QTest::newRow("comma-below letters find their cedilla forms")
            << QByteArray("[\xAA\xDE]\r\nK=1\r\n") << QStringLiteral("\u0218\u021A") << "K"
            << "1";
        QTest::newRow("blanks around names and value")
            << QByteArray("  [ INDEX ]  \r\n \t IDFOAIE \t= \t 12 \t \r\n") << " INDEX\t"
            << "  IDFOAIE "
            << "12";
        QTest::newRow("first of two sections") << QByteArray("[A]\r\nK=1\r\n[a]\r\nK=2\r\n") << "A"
                                               << "K"
                                               << "1";
        QTest::newRow("first of two keys") << QByteArray("[A]\r\nK=1\r\nk=2\r\n") << "A"
                                           << "K"
                                           << "1";
        QTest::newRow("key of another section") << QByteArray("[A]\r\nK=1\r\n[B]\r\nJ=2\r\n") << "B"
                                                << "K"
                                                << "";
        QTest::newRow("key before any section") << QByteArray("K=1\r\n[A]\r\nJ=2\r\n") << "A"
                                                << "K"
                                                << "";
        QTest::newRow("missing section") << index << "CONSUM"
                                         << "IDFOAIE"
                                         << "";
        QTest::newRow("missing key") << index << "INDEX"
                                     << "PRETL"
                                     << "";
        QTest::newRow("name is not a prefix")
            << QByteArray("[INDEXX]\r\nIDFOAIEX=1\r\n[INDEX]\r\nIDFOAIEX=2\r\n") << "INDEX"
            << "IDFOAIE"
            << "";
        QTest::newRow("empty value") << QByteArray("[A]\r\nK=\r\n") << "A"
                                     << "K"
                                     << "";
        QTest::newRow("value holding =") << QByteArray("[A]\r\nK=a=b\r\n") << "A"
                                         << "K"
                                         << "a=b";
        QTest::newRow("LF endings, last line open") << QByteArray("[A]\nK=1\nJ=2") << "A"
                                                    << "J"
                                                    << "2";
        QTest::newRow("CR endings") << QByteArray("[A]\rK=1\rJ=2\r") << "A"
                                    << "J"
                                    << "2";
        QTest::newRow("comment is no key") << QByteArray("[A]\r\n;K=1\r\n") << "A"
                                           << ";K"
                                           << "";
        QTest::newRow("line without = is no key") << QByteArray("[A]\r\nK\r\nJ=2\r\n") << "A"
                                                  << "K"
                                                  << "";
        QTest::newRow("text after the section name")
            << QByteArray("[A] ; vehicle\r\nK=1\r\n") << "A"
            << "K"
            << "1";
        QTest::newRow("unclosed bracket is no section")
            << QByteArray("[A]\r\nK=1\r\n[B\r\nK=2\r\n") << "A"
            << "K"
            << "1";
        QTest::newRow("cp1250 value") << QByteArray("[A]\r\nK=\xAA\xBA\x81\xFF\r\n") << "A"
                                      << "K" << QStringLiteral("\u015E\u015F\u0081\u02D9");
        QTest::newRow("name the code page cannot hold") << index << QStringLiteral("\u03A9") << "K"
                                                        << "";
    }
    void read() {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        putBytes(m_path, content);
        QCOMPARE(IniFile(m_path).read(section, key), expected);
        QCOMPARE(bytesOf(m_path), content);
    }

    void readOfMissingOrUnreadableFileIsEmpty() {
        QCOMPARE(IniFile(m_path).read(u"INDEX", u"IDFOAIE"), QString());
        QVERIFY(!QFile::exists(m_path));
        QVERIFY(QDir().mkpath(m_path));
        QCOMPARE(IniFile(m_path).read(u"INDEX", u"IDFOAIE"), QString());
    }

    void write_data() {
        QTest::addColumn<QByteArray>("before"); // null: no file
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("new file") << QByteArray() << "INDEX"
                                  << "IDFOAIE"
                                  << "2" << QByteArray("[INDEX]\r\nIDFOAIE=2\r\n");
        QTest::newRow("empty file") << QByteArray("") << "INDEX"
                                    << "IDFOAIE"
                                    << "2" << QByteArray("[INDEX]\r\nIDFOAIE=2\r\n");
        QTest::newRow("new section at the end after an empty line")
            << QByteArray("[A]\r\nK=1\r\n") << "B"
            << "X"
            << "5" << QByteArray("[A]\r\nK=1\r\n\r\n[B]\r\nX=5\r\n");
        QTest::newRow("new section after an open last line")
            << QByteArray("[A]\r\nK=1") << "B"
            << "X"
            << "5" << QByteArray("[A]\r\nK=1\r\n\r\n[B]\r\nX=5\r\n");
        QTest::newRow("new section after a blank last line")
            << QByteArray("[A]\nK=1\n\n") << "B"
            << "X"
            << "5" << QByteArray("[A]\nK=1\n\n[B]\r\nX=5\r\n");
        QTest::newRow("new key after the last key of its section")
            << QByteArray("[A]\r\nK=1\r\n; note\r\n\r\n[B]\r\nX=5\r\n") << "a"
            << "J"
            << "2" << QByteArray("[A]\r\nK=1\r\nJ=2\r\n; note\r\n\r\n[B]\r\nX=5\r\n");
        QTest::newRow("new key in a section without keys")
            << QByteArray("[A]\r\n\r\n[B]\r\n") << "A"
            << "J"
            << "2" << QByteArray("[A]\r\nJ=2\r\n\r\n[B]\r\n");
        QTest::newRow("new key after an open last line")
            << QByteArray("[A]\nK=1") << "A"
            << "J"
            << "2" << QByteArray("[A]\nK=1\r\nJ=2\r\n");
        QTest::newRow("value replaced in place, key keeps its spelling")
            << QByteArray("; head\n[index]\n  idfoaie = 7 \nIDSOS=3\n") << "INDEX"
            << "IDFOAIE"
            << "8" << QByteArray("; head\n[index]\nidfoaie=8\r\nIDSOS=3\n");
        QTest::newRow("only the first key of the first section")
            << QByteArray("[A]\r\nK=1\r\nK=2\r\n[a]\r\nK=3\r\n") << "a"
            << "k"
            << "9" << QByteArray("[A]\r\nK=9\r\nK=2\r\n[a]\r\nK=3\r\n");
        QTest::newRow("other lines kept byte for byte")
            << QByteArray("\x01\xFF junk \r\n;c\n[A] x\r\n  odd line \t\r\nK=1\n\n[B]\rY=2\r")
            << "B"
            << "Y"
            << "3"
            << QByteArray("\x01\xFF junk \r\n;c\n[A] x\r\n  odd line \t\r\nK=1\n\n[B]\rY=3\r\n");
        QTest::newRow("vehicle section INDEX beside the counters")
            << QByteArray("[INDEX]\r\nIDFOAIE=4\r\nIDSOS=6\r\n") << "INDEX"
            << "CONSUM"
            << "8.5" << QByteArray("[INDEX]\r\nIDFOAIE=4\r\nIDSOS=6\r\nCONSUM=8.5\r\n");
        QTest::newRow("cp1250 section and value")
            << QByteArray() << QStringLiteral("B 01 \u0218\u0102\u0162") << "CONSUM"
            << QStringLiteral("\u0219\u0103")
            << QByteArray("[B 01 \xAA\xC3\xDE]\r\nCONSUM=\xBA\xE3\r\n");
        QTest::newRow("names and value written trimmed") << QByteArray() << " A "
                                                         << "\tK "
                                                         << "  5 " << QByteArray("[A]\r\nK=5\r\n");
        QTest::newRow("empty value") << QByteArray("[A]\r\nK=1\r\n") << "A"
                                     << "K"
                                     << "" << QByteArray("[A]\r\nK=\r\n");
    }
    void write() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        if (!before.isNull())
            putBytes(m_path, before);
        IniFile(m_path).write(section, key, value);
        QCOMPARE(bytesOf(m_path), after);
        QCOMPARE(IniFile(m_path).read(section, key),
                 Cp1250::decode(Cp1250::encode(value.trimmed())));
        QVERIFY(!QFile::exists(AtomicFile::temporaryPath(m_path)));
    }

    void everyCodePageCharacterRoundTrips() {
        QByteArray bytes;
        for (int b = 33; b < 256; ++b)
            bytes.append(static_cast<char>(b));
        const QString value = Cp1250::decode(bytes);
        IniFile file(m_path);
        file.write(u"A", u"K", value);
        QCOMPARE(file.read(u"A", u"K"), value);
        QCOMPARE(bytesOf(m_path), QByteArray("[A]\r\nK=") + bytes + "\r\n");
    }

    void refusedInput_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("section outside the code page") << QStringLiteral("B \u4E2D") << "K"
                                                       << "1";
        QTest::newRow("key outside the code page") << "A" << QStringLiteral("\u03A9") << "1";
        QTest::newRow("value outside the code page") << "A"
                                                     << "K" << QStringLiteral("1\u20BD");
        QTest::newRow("empty section") << " "
                                       << "K"
                                       << "1";
        QTest::newRow("empty key") << "A"
                                   << ""
                                   << "1";
        QTest::newRow("section with ]") << "A]B"
                                        << "K"
                                        << "1";
        QTest::newRow("key with =") << "A"
                                    << "K=J"
                                    << "1";
        QTest::newRow("key looking like a section") << "A"
                                                    << "[K"
                                                    << "1";
        QTest::newRow("value with a line break") << "A"
                                                 << "K"
                                                 << "1\r\n[B]";
    }
    void refusedInput() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QVERIFY_THROWS_EXCEPTION(InputError, IniFile(m_path).write(section, key, value));
        QVERIFY(!QFile::exists(m_path));

        const QByteArray before = "[A]\r\nK=0\r\n";
        putBytes(m_path, before);
        FaultPoint::arm(0);
        QVERIFY_THROWS_EXCEPTION(InputError, IniFile(m_path).write(section, key, value));
        QCOMPARE(FaultPoint::hits(), 0);
        QCOMPARE(bytesOf(m_path), before);
    }

    void unwritableFileRaisesAndKeepsTheOld() {
        const QByteArray before = "[INDEX]\r\nIDFOAIE=7\r\n";
        putBytes(m_path, before);
        // The replacement is written beside the file; a directory in its place blocks it.
        QVERIFY(QDir().mkpath(AtomicFile::temporaryPath(m_path)));
        QVERIFY_THROWS_EXCEPTION(CountersError, IniFile(m_path).write(u"INDEX", u"IDFOAIE", u"8"));
        QCOMPARE(bytesOf(m_path), before);
    }

    void unreadableFileIsNotOverwritten() {
        QVERIFY(QDir().mkpath(m_path));
        QVERIFY_THROWS_EXCEPTION(CountersError, IniFile(m_path).write(u"INDEX", u"IDFOAIE", u"2"));
        QVERIFY(QFileInfo(m_path).isDir());
    }

    void leftoverTemporaryFileDoesNotBlock() {
        putBytes(m_path, "[A]\r\nK=1\r\n");
        putBytes(AtomicFile::temporaryPath(m_path), "half a wri");
        IniFile(m_path).write(u"A", u"K", u"2");
        QCOMPARE(bytesOf(m_path), QByteArray("[A]\r\nK=2\r\n"));
        QVERIFY(!QFile::exists(AtomicFile::temporaryPath(m_path)));
    }

    void killAtEveryStepLeavesOldOrNew_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("value replaced") << QByteArray("; x\r\n[INDEX]\r\nIDFOAIE=7\r\nIDSOS=3\r\n")
                                        << QByteArray("; x\r\n[INDEX]\r\nIDFOAIE=8\r\nIDSOS=3\r\n");
        QTest::newRow("file created") << QByteArray() << QByteArray("[INDEX]\r\nIDFOAIE=8\r\n");
    }
    void killAtEveryStepLeavesOldOrNew() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        int kills = 0;
        for (int step = 1;; ++step) {
            QFile::remove(m_path);
            if (!before.isNull())
                putBytes(m_path, before);
            FaultPoint::arm(step);
            bool killed = false;
            try {
                IniFile(m_path).write(u"INDEX", u"IDFOAIE", u"8");
            } catch (const SimulatedKill &) {
                killed = true;
            }
            FaultPoint::disarm();
            const QByteArray now = bytesOf(m_path);
            const QString value = IniFile(m_path).read(u"INDEX", u"IDFOAIE");
            if (!killed) {
                QCOMPARE(now, after);
                break;
            }
            ++kills;
            QVERIFY2(now == before || now == after,
                     qPrintable(QStringLiteral("step %1").arg(step)));
            QVERIFY(value == QStringLiteral("8") ||
                    value == (before.isNull() ? QString() : QStringLiteral("7")));
            // What a kill leaves must not stop the next write.
            IniFile(m_path).write(u"INDEX", u"IDFOAIE", u"8");
            QCOMPARE(bytesOf(m_path), after);
        }
        QVERIFY(kills >= 3);
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
