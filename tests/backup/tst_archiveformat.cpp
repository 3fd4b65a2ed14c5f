// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivebytes.h"
#include "backup/archiveformat.h"
#include "filebytes.h"
#include "goldenfile.h"
#include "store/text/error.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace velmora;
using namespace Qt::StringLiterals;
using velmora::test::goldenBytes;
using velmora::test::goldenPath;
using velmora::test::regeneratingGoldenFiles;

// The archive as bytes: what the writer puts down, and that the reader gets the files back.
// Compressed bytes are compared only against the golden archive, and only with the zlib that
// made it (another zlib may compress the same bytes otherwise); inflated ones always are.
class TestArchiveFormat : public QObject {
    Q_OBJECT

    static QString dataOf(const QTemporaryDir &dir) { return dir.filePath(u"Data"_s); }

    static void makeData(const QTemporaryDir &dir) { QVERIFY(QDir(dir.path()).mkpath(u"Data"_s)); }

    static QStringList namesIn(const QString &dir) {
        return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    // The archive with every zlib stream replaced by the bytes it inflates to: the same for
    // two archives of the same files whatever zlib compressed them. Empty when a stream does
    // not inflate.
    static QByteArray inflatedForm(const QByteArray &archive) {
        const auto le32 = [&archive](qsizetype at) {
            return at + 4 <= archive.size() ? qFromLittleEndian<qint32>(archive.constData() + at)
                                            : -1;
        };
        const qint32 count = le32(0);
        QByteArray out = archive.left(4);
        qsizetype at = 4;
        for (qint32 i = 0; i < count; ++i) {
            const qint32 nameLength = le32(at);
            const qint32 size = le32(at + 4 + nameLength);
            if (nameLength < 0 || size < 0)
                return {};
            out += archive.mid(at, 4 + nameLength + 4);
            at += 4 + nameLength + 4;
            QByteArray content(size, Qt::Uninitialized);
            z_stream z{};
            if (inflateInit(&z) != Z_OK)
                return {};
            z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(archive.constData() + at));
            z.avail_in = uInt(archive.size() - at);
            z.next_out = reinterpret_cast<Bytef *>(content.data());
            z.avail_out = uInt(content.size());
            const int rc = inflate(&z, Z_FINISH);
            const qsizetype used = qsizetype(archive.size() - at) - qsizetype(z.avail_in);
            inflateEnd(&z);
            if (rc != Z_STREAM_END)
                return {};
            out += content;
            at += used;
        }
        return out + archive.mid(at);
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

    // A tiny data directory's archive, to the byte: framing, names, sizes and the level-9
    // zlib streams. The golden one must also still read, as every archive a user kept must.
    void tinyDataMakesTheGoldenArchive() {
        QTemporaryDir program;
        makeData(program);
        const QMap<QString, QByteArray> files{{u"FOI.DBF"_s, tableLike(700, 11)},
                                              {u"Sosiri.DBF"_s, tableLike(300, 12)},
                                              {u"Velm.ini"_s, "[IDFOAIE]\r\nIDFOAIE=3\r\n"}};
        for (auto file = files.begin(); file != files.end(); ++file)
            putBytes(dataOf(program) + u'/' + file.key(), file.value());
        const QString archive = program.filePath(u"a.vmr"_s);
        QCOMPARE(ArchiveFormat::compressFiles(ArchiveFormat::listFileDir(program.path()), archive),
                 3);
        const QByteArray made = bytesOf(archive);

        // The zlib that made the golden archive is written beside it.
        const QByteArray zlib = QByteArray(zlibVersion()) + '\n';
        if (regeneratingGoldenFiles() || goldenBytes(u"tiny-data.zlib"_s) == zlib) {
            VELMORA_COMPARE_GOLDEN(made, u"tiny-data.vmr"_s);
            VELMORA_COMPARE_GOLDEN(zlib, u"tiny-data.zlib"_s);
        } else {
            qInfo("zlib %s, not the one that made the golden archive: its streams are compared "
                  "inflated",
                  zlibVersion());
            const QByteArray form = inflatedForm(made);
            QVERIFY(!form.isEmpty());
            QCOMPARE(form, inflatedForm(goldenBytes(u"tiny-data.vmr"_s)));
        }

        QTemporaryDir to;
        const QList<ArchiveFormat::Member> members =
            ArchiveFormat::decompressFiles(goldenPath(u"tiny-data.vmr"_s), to.path());
        QCOMPARE(members.size(), 3);
        QCOMPARE(namesIn(to.path()), QStringList(files.keys()));
        for (auto file = files.begin(); file != files.end(); ++file)
            QCOMPARE(bytesOf(to.filePath(file.key())), file.value());
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
