// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/singleinstance.h"

#include "store/dbf/platform.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

namespace velmora {

namespace {

const QByteArray kRequest = QByteArrayLiteral("VELMORA-ACTIVATE\n");

// A copy that has just taken the lock needs a moment before it listens; a copy that finds no
// listener after these tries takes the lock for dead.
constexpr int kConnectTries = 5;
constexpr int kConnectWaitMs = 300;
constexpr int kRetryPauseMs = 100;

// A name that is safe as a file and socket name everywhere, distinct per title and per user.
QString keyFor(const QString &title) {
    QString readable;
    for (const QChar ch : title) {
        const bool plain =
            (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') || (ch >= u'0' && ch <= u'9');
        readable += plain ? ch : QChar(u'_');
    }
    const QByteArray hash = QCryptographicHash::hash((title + u'\n' + QDir::homePath()).toUtf8(),
                                                     QCryptographicHash::Sha1);
    return readable.left(40) + u'-' + QString::fromLatin1(hash.toHex().left(16));
}

} // namespace

SingleInstance::SingleInstance(const QString &title, QObject *parent)
    : QObject(parent)
    , m_key(keyFor(title)) {}

SingleInstance::~SingleInstance() {
    if (m_server)
        m_server->close();
}

QString SingleInstance::lockFilePath() const {
    return QDir::tempPath() + u'/' + m_key + QStringLiteral(".lock");
}

bool SingleInstance::claim() {
    if (m_owner)
        return true;
    m_lock = std::make_unique<QLockFile>(lockFilePath());
    // A live owner keeps its lock however long it runs; only a dead owner's lock is stale.
    m_lock->setStaleLockTime(0);
    for (int round = 0; round < 2; ++round) {
        if (m_lock->tryLock(0)) {
            becomeOwner();
            return true;
        }
        if (m_lock->error() != QLockFile::LockFailedError)
            break;
        if (askOwnerToActivate())
            return false;
        // Nobody answers for the lock: its owner ended without removing it. The lock file goes
        // only when no live process still holds it.
        m_lock->removeStaleLockFile();
    }
    // The lock can neither be taken nor does anyone answer for it: start rather than stay
    // away.
    becomeOwner();
    return true;
}

bool SingleInstance::askOwnerToActivate() const {
    for (int attempt = 0; attempt < kConnectTries; ++attempt) {
        if (attempt > 0)
            QThread::msleep(kRetryPauseMs);
        QLocalSocket socket;
        socket.connectToServer(m_key);
        if (!socket.waitForConnected(kConnectWaitMs))
            continue;
        // The owner may only raise itself if the starting copy lets it.
        Platform::allowForegroundSwitch();
        socket.write(kRequest);
        if (!socket.waitForBytesWritten(kConnectWaitMs))
            continue;
        socket.disconnectFromServer();
        return true;
    }
    return false;
}

void SingleInstance::becomeOwner() {
    m_owner = true;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a crashed owner would refuse the name.
    QLocalServer::removeServer(m_key);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    // Without a listener the program still runs; later copies then take the lock for dead.
    m_server->listen(m_key);
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        auto read = [this, socket] {
            if (socket->bytesAvailable() < kRequest.size())
                return;
            const QByteArray request = socket->read(kRequest.size());
            if (socket->state() == QLocalSocket::ConnectedState)
                socket->disconnectFromServer();
            if (request == kRequest)
                Q_EMIT activationRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        // The request may arrive together with the end of the connection.
        connect(socket, &QLocalSocket::disconnected, this, read);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        read();
    }
}

} // namespace velmora
