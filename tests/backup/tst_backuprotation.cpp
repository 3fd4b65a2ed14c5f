// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/backuprotation.h"
#include "filebytes.h"
#include "store/text/error.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

// Dated archives in one folder: the newest N stay, nothing else in the folder is touched, and
// a backup that fails removes nothing.
class TestBackupRotation : public QObject {
    Q_OBJECT

    // Files the user keeps beside the archives, and names that only look like ours.
    const QStringList m_strangers = {
        QStringLiteral("notes.txt"),
        QStringLiteral("Velmora-2020-01-01-0000.vmr.tmp"),
        QStringLiteral("Velmora-2020-13-01-0000.vmr"), // no thirteenth month
        QStringLiteral("Velmora-2020-01-01-2460.vmr"), // no such minute
        QStringLiteral("velmora-2020-01-01-0000.vmr"),
        QStringLiteral("Velmora-2020-01-01-000.vmr"),
        QStringLiteral("Velmora-copie.vmr"),
        QStringLiteral("Copie Velmora-2020-01-01-0000.vmr"),
    };

    static QDateTime at(int day, int hour = 3) { return {QDate(2026, 11, day), QTime(hour, 0)}; }

    static QStringList archives(const QTemporaryDir &dir) {
        QStringList names = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
        names.removeIf(
            [](const QString &name) { return !BackupRotation::momentOf(name).isValid(); });
        return names;
    }

    void fill(const QTemporaryDir &dir, int days) {
        for (int day = 1; day <= days; ++day) {
            const QString path = dir.filePath(BackupRotation::archiveName(at(day)));
            putBytes(path, "old");
            // Modification times run the other way: the order is the names'.
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(-day),
                                     QFileDevice::FileModificationTime));
        }
        for (const QString &name : m_strangers)
            putBytes(dir.filePath(name), "mine");
        // A folder bearing an archive's name is not one.
        QVERIFY(QDir(dir.path()).mkdir(BackupRotation::archiveName(at(1, 1))));
    }

    static BackupRotation::WriteArchive writer(QByteArray content = "new") {
        return [content](const QString &path) {
            putBytes(path, content);
        };
    }

private Q_SLOTS:
    void namesCarryTheMoment() {
        const QDateTime when(QDate(2026, 3, 7), QTime(9, 5, 42));
        QCOMPARE(BackupRotation::archiveName(when), QStringLiteral("Velmora-2026-03-07-0905.vmr"));
        QCOMPARE(BackupRotation::momentOf(QStringLiteral("Velmora-2026-03-07-0905.vmr")),
                 QDateTime(QDate(2026, 3, 7), QTime(9, 5), Qt::UTC));
        for (const QString &name : m_strangers)
            QVERIFY2(!BackupRotation::momentOf(name).isValid(), qPrintable(name));
    }

    void theNewestAreKept_data() {
        QTest::addColumn<int>("existing");
        QTest::addColumn<int>("keep");
        QTest::newRow("fewer than kept") << 3 << 30;
        QTest::newRow("exactly full") << 29 << 30;
        QTest::newRow("one too many") << 30 << 30;
        QTest::newRow("many too many") << 28 << 5;
        QTest::newRow("keep one") << 4 << 1;
    }

    void theNewestAreKept() {
        QFETCH(int, existing);
        QFETCH(int, keep);
        QTemporaryDir dir;
        fill(dir, existing);
        const QString made = BackupRotation::backUp(dir.path(), keep, at(30, 12), writer());
        QCOMPARE(made, dir.filePath(QStringLiteral("Velmora-2026-11-30-1200.vmr")));
        QCOMPARE(bytesOf(made), QByteArray("new"));

        QStringList expected;
        for (int day = std::max(1, existing - keep + 2); day <= existing; ++day)
            expected.append(BackupRotation::archiveName(at(day)));
        expected.append(QStringLiteral("Velmora-2026-11-30-1200.vmr"));
        QCOMPARE(archives(dir), expected);
        for (const QString &name : m_strangers)
            QCOMPARE(bytesOf(dir.filePath(name)), QByteArray("mine"));
        QVERIFY(QFileInfo(dir.filePath(BackupRotation::archiveName(at(1, 1)))).isDir());
    }

    void aFailedBackupRemovesNothing() {
        QTemporaryDir dir;
        fill(dir, 10);
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
        QVERIFY_THROWS_EXCEPTION(FileError,
                                 BackupRotation::backUp(dir.path(), 2, at(30), [](const QString &) {
                                     throw FileError(QStringLiteral("Disc plin."));
                                 }));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    }

    void theNewArchiveStaysWhenOthersAreDatedLater() {
        // Archives made while the clock ran a year ahead.
        QTemporaryDir dir;
        for (int day = 1; day <= 3; ++day)
            putBytes(dir.filePath(BackupRotation::archiveName(at(day).addYears(1))), "ahead");
        const QString made = BackupRotation::backUp(dir.path(), 2, at(30), writer());
        QCOMPARE(archives(dir), QStringList({QStringLiteral("Velmora-2026-11-30-0300.vmr"),
                                             BackupRotation::archiveName(at(3).addYears(1))}));
        QCOMPARE(bytesOf(made), QByteArray("new"));
    }

    void theFolderIsMadeWhenMissing() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("Velmora-salvari/zilnic"));
        const QString made = BackupRotation::backUp(folder, 30, at(30), writer());
        QCOMPARE(QDir(folder).entryList(QDir::Files),
                 QStringList{QStringLiteral("Velmora-2026-11-30-0300.vmr")});
        QCOMPARE(bytesOf(made), QByteArray("new"));
    }

    void keepingNoneIsRefused() {
        QTemporaryDir dir;
        fill(dir, 3);
        bool written = false;
        QVERIFY_THROWS_EXCEPTION(
            Error, BackupRotation::backUp(dir.path(), 0, at(30),
                                          [&written](const QString &) { written = true; }));
        QVERIFY(!written);
        QCOMPARE(archives(dir).size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestBackupRotation)
#include "tst_backuprotation.moc"
