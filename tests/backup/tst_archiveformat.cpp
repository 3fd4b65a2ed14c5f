// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivebytes.h"
#include "backup/archiveformat.h"
#include "filebytes.h"
#include "store/text/error.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

// The archive as bytes: what the writer puts down, and that the reader gets the files back.
// Compressed bytes are never compared (zlib versions differ); inflated ones are.
class TestArchiveFormat : public QObject {
    Q_OBJECT

    static QString dataOf(const QTemporaryDir &dir) { return dir.filePath(u"Data"_s); }

    static void makeData(const QTemporaryDir &dir) { QVERIFY(QDir(dir.path()).mkpath(u"Data"_s)); }

    static QStringList namesIn(const QString &dir) {
        return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

private Q_SLOTS:
    void layoutOfOneTable() {
        QTemporaryDir program;
        makeData(program);
        const QByteArray content = tableLike(1000, 5);
        putBytes(dataOf(program) + u"/Foi.dbf"_s, content);
        const QString archive = program.filePath(u"a.vmr"_s);

        QCOMPARE(ArchiveFormat::compressFiles(ArchiveFormat::listFileDir(program.path()), archive),
                 1);

        const QByteArray bytes = bytesOf(archive);
        const QByteArray head = QByteArray::fromHex("01000000"
                                                    "0c000000") +
                                QByteArray("Data\\Foi.dbf") +
                                QByteArray::fromHex("e8030000"
                                                    "78da");
        QCOMPARE(bytes.left(head.size()), head);
        // The member's stream runs to the archive's last byte, checksum included.
        QCOMPARE(inflateWhole(bytes.mid(head.size() - 2), content.size()), content);
    }

    void listingLeavesOutWhatIsNotData() {
        QTemporaryDir program;
        makeData(program);
        const QString data = dataOf(program);
        putBytes(data + u"/Foi.dbf"_s, "f");
        putBytes(data + u"/Velm.ini"_s, "v");
        putBytes(data + u"/Gol.txt"_s, "");
        putBytes(data + u"/Foi.dbf.jnl"_s, "journal");
        putBytes(data + u"/Sosiri.dbf.tmp"_s, "half a pack");
        putBytes(data + u"/Velm.ini.velmora-tmp"_s, "half a counter");
        putBytes(data + u"/.velmora.lock"_s, "lock");
        QVERIFY(QDir(data).mkdir(u"Vechi"_s));
        putBytes(data + u"/Vechi/Foi.dbf"_s, "old");

        const QStringList files = ArchiveFormat::listFileDir(program.path());
        QCOMPARE(files, QStringList({data + u"/Foi.dbf"_s, data + u"/Velm.ini"_s}));
    }

    void emptyDataWritesNoArchive() {
        QTemporaryDir program;
        makeData(program);
        putBytes(dataOf(program) + u"/Gol.dbf"_s, "");
        const QString archive = program.filePath(u"a.vmr"_s);
        QCOMPARE(ArchiveFormat::compressFiles(ArchiveFormat::listFileDir(program.path()), archive),
                 0);
        QVERIFY(!QFile::exists(archive));
    }

    void roundTripIntoAnotherProgramDirectory() {
        QTemporaryDir from;
        makeData(from);
        // Large members on both sides of a small one: the second must start right after the
        // first's trailer, which lies well past the first 64 KB read.
        QByteArray noise(300 * 1024, Qt::Uninitialized);
        for (qsizetype i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919) ^ (i >> 3) ^ (i * i >> 7));
        const QList<std::pair<QString, QByteArray>> files = {
            {u"Foi.dbf"_s, tableLike(3 * 1000 * 1000, 1)},
            {u"Poze.bin"_s, noise},
            {u"Velm.ini"_s, "[IDFOAIE]\r\nIDFOAIE=5\r\n"},
            {u"Sosiri.dbf"_s, tableLike(700 * 1024, 2)},
        };
        for (const auto &[name, content] : files)
            putBytes(dataOf(from) + u'/' + name, content);
        const QString archive = from.filePath(u"a.vmr"_s);
        QCOMPARE(ArchiveFormat::compressFiles(ArchiveFormat::listFileDir(from.path()), archive), 4);

        QTemporaryDir to;
        QList<std::pair<int, int>> steps;
        const QList<ArchiveFormat::Member> members =
            ArchiveFormat::decompressFiles(archive, to.path(), [&](int position, int maximum) {
                steps.append({position, maximum});
            });

        QCOMPARE(members.size(), 4);
        QCOMPARE(steps, (QList<std::pair<int, int>>{{1, 4}, {2, 4}, {3, 4}, {4, 4}}));
        for (const auto &[name, content] : files) {
            QCOMPARE(bytesOf(to.filePath(name)), content);
            QVERIFY(members.contains(ArchiveFormat::Member{name, content.size()}));
        }
        QCOMPARE(ArchiveFormat::verify(archive), members);
    }

    void compressReportsEachMember() {
        QTemporaryDir program;
        makeData(program);
        putBytes(dataOf(program) + u"/A"_s, "a");
        putBytes(dataOf(program) + u"/B"_s, "b");
        QList<std::pair<int, int>> steps;
        ArchiveFormat::compressFiles(ArchiveFormat::listFileDir(program.path()),
                                     program.filePath(u"a.vmr"_s), [&](int p, int m) {
                                         steps.append({p, m});
                                     });
        QCOMPARE(steps, (QList<std::pair<int, int>>{{0, 2}, {1, 2}}));
    }

    void namesInCp1250() {
        QTemporaryDir program;
        makeData(program);
        const QString name = QStringLiteral("Fi\u015Fier \u0103\u00EE\u00E2.txt");
        putBytes(dataOf(program) + u'/' + name, "x");
        const QString archive = program.filePath(u"a.vmr"_s);
        ArchiveFormat::compressFiles(ArchiveFormat::listFileDir(program.path()), archive);
        // ş ă î â in cp1250.
        QVERIFY(bytesOf(archive).contains(QByteArray("Data\\Fi\xBA"
                                                     "ier \xE3\xEE\xE2.txt")));
        QTemporaryDir to;
        ArchiveFormat::decompressFiles(archive, to.path());
        QCOMPARE(namesIn(to.path()), QStringList{name});
    }

    // A failed save keeps the archive that was there.
    void failedSaveKeepsTheOldArchive() {
        QTemporaryDir program;
        makeData(program);
        putBytes(dataOf(program) + u"/Foi.dbf"_s, tableLike(200 * 1000, 3));
        const QString archive = program.filePath(u"a.vmr"_s);
        putBytes(archive, "old archive");
        QStringList files = ArchiveFormat::listFileDir(program.path());
        files.append(dataOf(program) + u"/Gone.dbf"_s);
        QVERIFY_THROWS_EXCEPTION(FileError, ArchiveFormat::compressFiles(files, archive));
        QCOMPARE(bytesOf(archive), QByteArray("old archive"));
        QCOMPARE(QDir(program.path()).entryList(QDir::Files), QStringList{u"a.vmr"_s});
    }

    // A file that is no archive at all is called that, not a damaged archive with an
    // impossible member count; an archive damaged after its beginning is still "damaged".
    void whatIsNoArchiveIsSaidToBeNone_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("said");
        const QString none = u"nu este o salvare Velmora"_s;
        const QString damaged = u"este deteriorata"_s;
        const QByteArray sound =
            int32le(2) + member("Data\\Foi.dbf", tableLike(3000, 1)) + member("Data\\V.ini", "v");
        QTest::newRow("text") << QByteArray("Lista de cumparaturi: paine, lapte.\n") << none;
        QTest::newRow("a picture") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << none;
        QTest::newRow("a zip file") << QByteArray("PK\x03\x04\x14\0\0\0\x08\0abcdefgh", 18) << none;
        QTest::newRow("empty") << QByteArray() << none;
        QTest::newRow("three bytes") << QByteArray("\x01\0\0", 3) << none;
        QTest::newRow("a name outside Data")
            << int32le(1) + member("Foi.dbf", tableLike(100, 1)) << none;
        QTest::newRow("a count beyond the file") << int32le(90) + sound.mid(4) << damaged;
        QTest::newRow("cut inside the first stream") << sound.left(40) << damaged;
        QTest::newRow("cut inside the second member") << sound.chopped(3) << damaged;
    }

    void whatIsNoArchiveIsSaidToBeNone() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, said);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"ales.vmr"_s);
        putBytes(path, bytes);
        try {
            ArchiveFormat::verify(path);
            QFAIL("accepted");
        } catch (const ArchiveError &e) {
            QVERIFY2(e.message().contains(said), qPrintable(e.message()));
            QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)), qPrintable(e.message()));
        }
    }

    void emptyDirectoryKeepsSubdirectories() {
        QTemporaryDir dir;
        putBytes(dir.filePath(u"a"_s), "a");
        putBytes(dir.filePath(u".b"_s), "b");
        QVERIFY(QDir(dir.path()).mkdir(u"sub"_s));
        putBytes(dir.filePath(u"sub/c"_s), "c");
        QCOMPARE(ArchiveFormat::emptyDirectory(dir.path()), QStringList());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{u"sub"_s});
        QCOMPARE(bytesOf(dir.filePath(u"sub/c"_s)), QByteArray("c"));
    }
};

QTEST_GUILESS_MAIN(TestArchiveFormat)
#include "tst_archiveformat.moc"
