// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/singleinstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

using namespace velmora;

namespace {

// Each test owns a title no other run of the tests uses.
QString uniqueTitle() {
    return QStringLiteral("Velmora test ") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

void putBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void secondCopyAsksTheFirstAndEnds() {
        const QString title = uniqueTitle();
        SingleInstance first(title);
        QSignalSpy activations(&first, &SingleInstance::activationRequested);
        QVERIFY(first.claim());
        QVERIFY(first.isOwner());

        SingleInstance second(title);
        QVERIFY(!second.claim());
        QVERIFY(!second.isOwner());
        QVERIFY(activations.wait(5000));

        SingleInstance third(title);
        QVERIFY(!third.claim());
        QTRY_COMPARE_WITH_TIMEOUT(activations.count(), 2, 5000);
    }

    void differentTitlesBothRun() {
        SingleInstance a(uniqueTitle());
        SingleInstance b(uniqueTitle());
        QVERIFY(a.claim());
        QVERIFY(b.claim());
        QVERIFY(a.lockFilePath() != b.lockFilePath());
        QVERIFY(a.serverName() != b.serverName());
    }

    void endedOwnerFreesTheTitle() {
        const QString title = uniqueTitle();
        {
            SingleInstance first(title);
            QVERIFY(first.claim());
            QVERIFY(QFile::exists(first.lockFilePath()));
        }
        SingleInstance next(title);
        QVERIFY(next.claim());
    }

    void foreignMessageIsIgnored() {
        const QString title = uniqueTitle();
        SingleInstance owner(title);
        QSignalSpy activations(&owner, &SingleInstance::activationRequested);
        QVERIFY(owner.claim());
        auto *server = owner.findChild<QLocalServer *>();
        QVERIFY(server);
        QSignalSpy connections(server, &QLocalServer::newConnection);
        // The owner's end of a connection goes once its request has been read.
        const auto handled = [&](int count) {
            return connections.count() == count && server->findChildren<QLocalSocket *>().isEmpty();
        };

        QLocalSocket stranger;
        stranger.connectToServer(owner.serverName());
        QVERIFY(stranger.waitForConnected(5000));
        stranger.write("HELLO THERE, ANYONE HOME?\n");
        QVERIFY(stranger.waitForBytesWritten(5000));
        stranger.disconnectFromServer();
        QTRY_VERIFY_WITH_TIMEOUT(handled(1), 5000);
        QCOMPARE(activations.count(), 0);

        SingleInstance second(title);
        QVERIFY(!second.claim());
        QTRY_COMPARE_WITH_TIMEOUT(activations.count(), 1, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(handled(2), 5000);
        QCOMPARE(activations.count(), 1);
    }

    void lockOfACrashedCopyDoesNotBlock_data() {
        QTest::addColumn<bool>("readableLock");
        QTest::newRow("lock naming a dead process") << true;
        QTest::newRow("lock that cannot be read") << false;
    }
    void lockOfACrashedCopyDoesNotBlock() {
        QFETCH(bool, readableLock);
        const QString title = uniqueTitle();
        SingleInstance probe(title);
        const QString lockPath = probe.lockFilePath();

        QByteArray content = "garbage\x01\x02 not a lock";
        if (readableLock) {
            // A real lock file, its owner's number then replaced by one no process has.
            QLockFile lock(lockPath);
            QVERIFY(lock.tryLock(0));
            QFile file(lockPath);
            QVERIFY(file.open(QIODevice::ReadOnly));
            content = file.readAll();
            file.close();
            lock.unlock();
            const qsizetype lineEnd = content.indexOf('\n');
            QVERIFY(lineEnd > 0);
            content = QByteArray("2147483646") + content.mid(lineEnd);
        }
        putBytes(lockPath, content);
#ifndef Q_OS_WIN
        // The socket the crashed copy listened on stays behind as well.
        putBytes(QDir::tempPath() + u'/' + probe.serverName(), "stale");
#endif

        SingleInstance restarted(title);
        QSignalSpy activations(&restarted, &SingleInstance::activationRequested);
        QVERIFY(restarted.claim());
        // It holds the lock itself, not merely runs beside the old one.
        QFile file(lockPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readLine().trimmed(), QByteArray::number(QCoreApplication::applicationPid()));
        file.close();

        // The new owner answers later copies.
        SingleInstance later(title);
        QVERIFY(!later.claim());
        QVERIFY(activations.wait(5000));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
