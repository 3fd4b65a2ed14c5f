// SPDX-License-Identifier: GPL-3.0-or-later
#include "filebytes.h"
#include "store/programlocation.h"
#include "store/text/error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

// Where the data lives: beside a program that can write its own folder, in the user's data
// location for an installed one, with the installed template copied there once.
class TestProgramLocation : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_home;

    // An installed layout under the temporary root: bin/ and share/velmora/Foaie.rtf.
    QString installedBin(const QByteArray &templateBytes) {
        const QString bin = m_root.filePath(QStringLiteral("usr/bin"));
        QDir().mkpath(bin);
        QDir().mkpath(m_root.filePath(QStringLiteral("usr/share/velmora")));
        if (!templateBytes.isNull())
            putBytes(m_root.filePath(QStringLiteral("usr/share/velmora/Foaie.rtf")), templateBytes);
        return bin;
    }

    QString userDir() const { return m_home + QStringLiteral("/Velmora test"); }

private Q_SLOTS:
    void init() {
        QVERIFY(m_root.isValid());
        // The user's data location follows XDG_DATA_HOME, read at every call.
        m_home = m_root.filePath(QStringLiteral("home-data"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home));
        QCoreApplication::setOrganizationName(QString());
        QCoreApplication::setApplicationName(QStringLiteral("Velmora test"));
    }

    void cleanup() {
        QDir(m_root.path()).removeRecursively();
        QDir().mkpath(m_root.path());
    }

    void writableFolderKeepsTheDataBesideTheProgram() {
        const QString folder = m_root.filePath(QStringLiteral("portable"));
        QVERIFY(QDir().mkpath(folder));
        const ProgramLocation location(folder);
        QVERIFY(location.isPortable());
        QCOMPARE(location.programDir(), folder);
        location.prepare();
        QVERIFY(!QFileInfo::exists(m_home));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void unwritableFolderUsesTheUserDataLocation_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("read-only folder") << QStringLiteral("read-only");
#ifdef Q_OS_LINUX
        QTest::newRow("folder no one can write") << QStringLiteral("proc");
#endif
        QTest::newRow("installed layout, writable bin") << QStringLiteral("installed");
    }

    void unwritableFolderUsesTheUserDataLocation() {
        QFETCH(QString, kind);
        QString folder;
        if (kind == QStringLiteral("read-only")) {
            folder = m_root.filePath(QStringLiteral("locked"));
            QVERIFY(QDir().mkpath(folder));
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            if (ProgramLocation::canCreateFilesIn(folder)) {
                QFile::setPermissions(folder,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("this user writes into read-only folders (root); the /proc row covers it");
            }
        } else if (kind == QStringLiteral("proc")) {
            folder = QStringLiteral("/proc");
        } else {
            folder = installedBin({});
            QVERIFY(ProgramLocation::canCreateFilesIn(folder));
        }
        const ProgramLocation location(folder);
        if (kind == QStringLiteral("read-only"))
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!location.isPortable());
        QCOMPARE(location.programDir(), userDir());
        QVERIFY(!QFileInfo::exists(userDir()));

        location.prepare();
        QVERIFY(QFileInfo(userDir()).isDir());
        QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/Data")));
    }

    void templateIsCopiedOnceAndNeverReplaced() {
        const QString bin = installedBin("{\\rtf1 installed}");
        const ProgramLocation location(bin);
        location.prepare();
        const QString copy = userDir() + QStringLiteral("/Foaie.rtf");
        QCOMPARE(bytesOf(copy), QByteArray("{\\rtf1 installed}"));

        // The user edits their copy; a newer package brings another template.
        putBytes(copy, "{\\rtf1 mine}");
        putBytes(location.installedTemplate(), "{\\rtf1 newer}");
        ProgramLocation(bin).prepare();
        QCOMPARE(bytesOf(copy), QByteArray("{\\rtf1 mine}"));
        QCOMPARE(QDir(userDir()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("Foaie.rtf")});
    }

    void missingInstalledTemplateIsNoError() {
        const ProgramLocation location(installedBin({}));
        location.prepare();
        QVERIFY(QFileInfo(userDir()).isDir());
        QVERIFY(!QFileInfo::exists(userDir() + QStringLiteral("/Foaie.rtf")));
    }

    void userDataLocationThatCannotBeMadeIsAnError() {
        // A file where the data folder's parent should be.
        putBytes(m_home, "not a folder");
        const ProgramLocation location(installedBin("{\\rtf1 x}"));
        QVERIFY_THROWS_EXCEPTION(FileError, location.prepare());
        QCOMPARE(bytesOf(m_home), QByteArray("not a folder"));
    }

    // The installed template cannot be read (a folder stands where the file should be): the
    // start-up's error says why in the user's words, and no copy is made.
    void unreadableInstalledTemplateSaysWhyInRomanian() {
        const QString bin = installedBin({});
        QVERIFY(QDir().mkpath(m_root.filePath(QStringLiteral("usr/share/velmora/Foaie.rtf"))));
        const ProgramLocation location(bin);
        try {
            location.prepare();
            QFAIL("no error raised");
        } catch (const FileError &e) {
            QVERIFY2(e.message().endsWith(QStringLiteral(": este un director")),
                     qPrintable(e.message()));
        }
        QVERIFY(!QFileInfo::exists(userDir() + QStringLiteral("/Foaie.rtf")));
    }
};

QTEST_GUILESS_MAIN(TestProgramLocation)
#include "tst_programlocation.moc"
