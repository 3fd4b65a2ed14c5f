// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivebytes.h"
#include "backup/memberdeflater.h"
#include "store/text/error.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

using namespace velmora;

// The member stream must be one zlib stream that any reader inflates back to the bytes,
// whatever the number of threads and wherever the block cuts fall.
class TestMemberDeflater : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void streamInflates_data() {
        QTest::addColumn<qsizetype>("size");
        QTest::addColumn<int>("threads");
        QTest::addColumn<bool>("random");

        const qsizetype block = 64 * 1024;
        const qsizetype sizes[] = {1, block - 1, block, block + 1, 3 * block + 17, 2 * 1000 * 1000};
        for (const qsizetype size : sizes) {
            for (const int threads : {1, 2, 3}) {
                QTest::addRow("%lld bytes, %d threads, table", qlonglong(size), threads)
                    << size << threads << false;
            }
            QTest::addRow("%lld bytes, 2 threads, random", qlonglong(size)) << size << 2 << true;
        }
    }

    void streamInflates() {
        QFETCH(qsizetype, size);
        QFETCH(int, threads);
        QFETCH(bool, random);

        QByteArray input = tableLike(size, 7);
        if (random) {
            QRandomGenerator generator(11);
            for (char &c : input)
                c = char(generator.bounded(256));
        }
        QBuffer source(&input);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QByteArray stream;
        QBuffer out(&stream);
        QVERIFY(out.open(QIODevice::WriteOnly));
        MemberDeflater(threads, 64 * 1024).compress(source, size, out, QStringLiteral("x"));

        QCOMPARE(stream.left(2), QByteArray("\x78\xDA"));
        QCOMPARE(inflateWhole(stream, size), input);
    }

    void readsOnlyTheMembersBytes() {
        QByteArray input = tableLike(300 * 1024, 3) + QByteArray("NEXT");
        QBuffer source(&input);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QByteArray stream;
        QBuffer out(&stream);
        QVERIFY(out.open(QIODevice::WriteOnly));
        MemberDeflater(2, 64 * 1024).compress(source, input.size() - 4, out, QStringLiteral("x"));
        QCOMPARE(source.read(4), QByteArray("NEXT"));
        QCOMPARE(inflateWhole(stream, input.size() - 4), input.chopped(4));
    }

    // A file that shrinks while it is read is an error, not a short member.
    void shortSourceIsAnError_data() {
        QTest::addColumn<qsizetype>("have");
        QTest::addColumn<qsizetype>("claimed");
        QTest::newRow("one block") << qsizetype(1000) << qsizetype(5000);
        QTest::newRow("many blocks") << qsizetype(300 * 1024) << qsizetype(500 * 1024);
    }
    void shortSourceIsAnError() {
        QFETCH(qsizetype, have);
        QFETCH(qsizetype, claimed);
        QByteArray input = tableLike(have, 1);
        QBuffer source(&input);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QByteArray stream;
        QBuffer out(&stream);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QVERIFY_THROWS_EXCEPTION(
            FileError,
            MemberDeflater(2, 64 * 1024).compress(source, claimed, out, QStringLiteral("x")));
    }
};

QTEST_GUILESS_MAIN(TestMemberDeflater)
#include "tst_memberdeflater.moc"
