// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivebytes.h"
#include "backup/archiveformat.h"
#include "backup/datarestore.h"
#include "backup/datasnapshot.h"
#include "filebytes.h"
#include "store/dbf/datalock.h"
#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// Every file under a directory, with its bytes, to compare a whole tree before and after;
// the engine's lock file, which any access creates, is not part of the picture.
QMap<QString, QByteArray> tree(const QString &root, bool withLock = false) {
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        if (relative == DataLock::lockFileName() && !withLock)
            continue;
        files.insert(relative, it.fileInfo().isDir() ? QByteArray("<dir>") : bytesOf(path));
    }
    return files;
}

const QByteArray kSheets = tableLike(5000, 1);
const QByteArray kLines = tableLike(90 * 1024, 2);
const QByteArray kCounters = "[IDFOAIE]\r\nIDFOAIE=41\r\n";

QByteArray soundArchive() {
    return int32le(3) + member("Data\\Foi.dbf", kSheets) + member("Data\\Sosiri.dbf", kLines) +
           member("Data\\Velm.ini", kCounters);
}

} // namespace

// A restore either brings back the archive's files exactly, or leaves Data as it was.
class TestDataRestore : public QObject {
    Q_OBJECT

    QTemporaryDir m_program;

    QString data() const { return m_program.filePath(u"Data"_s); }
    QString archive() const { return m_program.filePath(u"copie.vmr"_s); }

    void fillData() {
        QDir(data()).removeRecursively();
        QVERIFY(QDir(m_program.path()).mkpath(u"Data/Vechi"_s));
        putBytes(data() + u"/Foi.dbf"_s, "old sheets");
        putBytes(data() + u"/Extra.txt"_s, "not in the archive");
        putBytes(data() + u"/Vechi/Foi.dbf"_s, "kept aside by the user");
    }

    // Only Data, the archive and nothing left over from a restore in the program directory.
    void noLeftovers() {
        QCOMPARE(QDir(m_program.path())
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name),
                 QStringList({u"Data"_s, u"copie.vmr"_s}));
    }

private Q_SLOTS:
    void restoreBringsBackExactlyTheArchive() {
        fillData();
        putBytes(data() + u"/Foi.dbf.jnl"_s, "a stale journal of the old table");
        putBytes(data() + u"/Sosiri.dbf.velmora-tmp"_s, "a replacement that never finished");
        putBytes(data() + DataLock::lockFileName().prepend(u'/'), "held");
        putBytes(archive(), soundArchive());

        const QList<ArchiveFormat::Member> members =
            DataRestore::restore(archive(), m_program.path());

        QCOMPARE(members.size(), 3);
        const QMap<QString, QByteArray> expected = {
            {u"Foi.dbf"_s, kSheets},
            {u"Sosiri.dbf"_s, kLines},
            {u"Velm.ini"_s, kCounters},
            {u"Vechi"_s, "<dir>"},
            {u"Vechi/Foi.dbf"_s, "kept aside by the user"},
        };
        QCOMPARE(tree(data()), expected);
        // The lock file stays where it is; it now carries the data set's new identity.
        const QByteArray identity = bytesOf(data() + DataLock::lockFileName().prepend(u'/'));
        QCOMPARE(identity.size(), 32);
        QVERIFY(identity != "held");
        noLeftovers();
    }

    void restoreCreatesAMissingDataDirectory() {
        QTemporaryDir other;
        putBytes(other.filePath(u"a.vmr"_s), soundArchive());
        DataRestore::restore(other.filePath(u"a.vmr"_s), other.path());
        QCOMPARE(bytesOf(other.filePath(u"Data/Velm.ini"_s)), kCounters);
    }

    void saveThenRestoreElsewhere() {
        fillData();
        putBytes(data() + u"/Sosiri.dbf"_s, kLines);
        putBytes(data() + u"/Gol.dbf"_s, "");
        putBytes(data() + u"/Sosiri.dbf.tmp"_s, "half a pack");
        QCOMPARE(DataSnapshot::save(m_program.path(), archive()), 3);

        QTemporaryDir other;
        DataRestore::restore(archive(), other.path());
        const QMap<QString, QByteArray> expected = {
            {u"Foi.dbf"_s, "old sheets"},
            {u"Extra.txt"_s, "not in the archive"},
            {u"Sosiri.dbf"_s, kLines},
        };
        QCOMPARE(tree(other.filePath(u"Data"_s)), expected);
    }

    void saveOfEmptyDataWritesNothing() {
        QDir(data()).removeRecursively();
        QVERIFY(QDir(m_program.path()).mkpath(u"Data"_s));
        putBytes(data() + u"/Gol.dbf"_s, "");
        putBytes(archive(), "earlier archive");
        QCOMPARE(DataSnapshot::save(m_program.path(), archive()), 0);
        QCOMPARE(bytesOf(archive()), QByteArray("earlier archive"));
    }

    void damagedArchiveChangesNothing_data() {
        QTest::addColumn<QByteArray>("bytes");

        const QByteArray sound = soundArchive();
        const QByteArray sheets = member("Data\\Foi.dbf", kSheets);
        const QByteArray sheetsStream = zlibStream(kSheets);
        const qsizetype firstStream = 4 + 4 + 12 + 4;

        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("inside the count") << sound.left(3);
        QTest::newRow("count 0") << int32le(0);
        QTest::newRow("count -1") << int32le(-1) + sheets;
        QTest::newRow("count beyond the file") << int32le(0x7fffffff) + sheets;
        QTest::newRow("one member more than there are") << int32le(2) + sheets;
        QTest::newRow("inside a name length") << sound.left(6);
        QTest::newRow("inside a name") << sound.left(12);
        QTest::newRow("inside a size") << sound.left(firstStream - 2);
        QTest::newRow("inside the stream") << sound.left(firstStream + 20);
        QTest::newRow("last trailer byte missing") << sound.chopped(1);
        QTest::newRow("bytes after the last member") << sound + QByteArray("X");
        QTest::newRow("name length -1") << int32le(1) + int32le(-1) + sheets.mid(4);
        QTest::newRow("name length huge") << int32le(1) + int32le(0x40000000) + sheets.mid(4);
        QTest::newRow("name length 0") << int32le(1) + int32le(0) + int32le(5) + sheetsStream;

        QByteArray corrupt = sound;
        corrupt[firstStream + 40] = char(corrupt[firstStream + 40] ^ 0x55);
        QTest::newRow("deflate data changed") << corrupt;
        QByteArray checksum = sound;
        const qsizetype lastAdler = firstStream + sheetsStream.size() - 1;
        checksum[lastAdler] = char(checksum[lastAdler] ^ 1);
        QTest::newRow("checksum changed") << checksum;

        const QByteArrayList hostile = {"..\\Foi.dbf", "Data\\..\\Foi.dbf", "Data\\Sub\\Foi.dbf",
                                        "Data\\/x",    "Data/Foi.dbf",      "C:\\Foi.dbf",
                                        "\\\\srv\\x",  "/etc/passwd",       "Data\\",
                                        "Data\\..",    "Data\\.",           "Data\\C:x",
                                        "Data\\a\x01", "Data\\NUL.dbf",     "Data\\x.",
                                        "Foi.dbf",     "Data\\Foi.dbf.jnl", "Data\\Foi.dbf.tmp"};
        for (const QByteArray &name : hostile)
            QTest::addRow("name %s", name.constData()) << int32le(1) + member(name, kSheets);
        // 200 bytes 0xC8 (C with caron in cp1250) fit the archive, but take 400 bytes in UTF-8.
        QTest::newRow("name too long for the file system")
            << int32le(1) + member("Data\\" + QByteArray(200, '\xC8'), kSheets);

        QTest::newRow("size 0") << int32le(1) + member("Data\\Foi.dbf", 0, zlibStream(""));
        QTest::newRow("size -1") << int32le(1) + member("Data\\Foi.dbf", -1, sheetsStream);
        QTest::newRow("size smaller than the data")
            << int32le(1) + member("Data\\Foi.dbf", qint32(kSheets.size() - 1), sheetsStream);
        QTest::newRow("size larger than the data")
            << int32le(1) + member("Data\\Foi.dbf", qint32(kSheets.size() + 1), sheetsStream);
        QTest::newRow("size beyond any stream")
            << int32le(1) + member("Data\\Foi.dbf", 0x7fffffff, sheetsStream);
        QTest::newRow("same name twice") << int32le(2) + sheets + member("Data\\FOI.DBF", "other");
        QTest::newRow("zlib header asks for a dictionary")
            << int32le(1) + member("Data\\Foi.dbf", 3, QByteArray::fromHex("78bb00000000"));
        QTest::newRow("raw deflate without zlib header")
            << int32le(1) + member("Data\\Foi.dbf", qint32(kSheets.size()), sheetsStream.mid(2));
    }

    void damagedArchiveChangesNothing() {
        QFETCH(QByteArray, bytes);
        fillData();
        putBytes(archive(), bytes);
        const QMap<QString, QByteArray> before = tree(data());

        QVERIFY_THROWS_EXCEPTION(ArchiveError, ArchiveFormat::verify(archive()));
        QVERIFY_THROWS_EXCEPTION(ArchiveError, DataRestore::restore(archive(), m_program.path()));

        QCOMPARE(tree(data()), before);
        noLeftovers();
    }

    void fileThatCannotBeReplacedChangesNothing() {
        fillData();
        // A directory where the archive has a file: the move into Data fails halfway, after
        // the old files were set aside and other new ones moved in.
        QVERIFY(QDir(data()).mkdir(u"Velm.ini"_s));
        putBytes(archive(), soundArchive());
        const QMap<QString, QByteArray> before = tree(data());

        QVERIFY_THROWS_EXCEPTION(FileError, DataRestore::restore(archive(), m_program.path()));

        QCOMPARE(tree(data()), before);
        noLeftovers();
    }

    // A directory whose new names cannot be made to reach the disk stops the restore
    // before anything in Data moves, and says why.
    void aDirectorySyncThatFailsChangesNothing() {
#ifdef Q_OS_WIN
        QSKIP("Windows has no directory sync");
#else
        fillData();
        putBytes(archive(), soundArchive());
        const QMap<QString, QByteArray> before = tree(data());
        Platform::failDirectorySync(Platform::DirectoryCall::Sync, EIO);
        QString message;
        try {
            DataRestore::restore(archive(), m_program.path());
        } catch (const FileError &e) {
            message = e.message();
        }
        Platform::failDirectorySync(Platform::DirectoryCall::Sync, 0);
        QVERIFY2(message.contains(u"eroare de citire sau scriere pe disc"_s), qPrintable(message));
        QCOMPARE(tree(data()), before);
        noLeftovers();
#endif
    }

    void missingArchiveIsAFileError() {
        fillData();
        const QMap<QString, QByteArray> before = tree(data());
        QVERIFY_THROWS_EXCEPTION(
            FileError, DataRestore::restore(m_program.filePath(u"nu.vmr"_s), m_program.path()));
        QCOMPARE(tree(data()), before);
    }
};

QTEST_GUILESS_MAIN(TestDataRestore)
#include "tst_datarestore.moc"
