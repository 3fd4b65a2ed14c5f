// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dbf/datalock.h"

#include "store/dbf/faultpoint.h"
#include "store/text/error.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QRandomGenerator>
#include <QThread>
#include <atomic>

namespace velmora {

namespace {

std::atomic<int> g_waitMs{4000};

// What this process holds, per directory.
struct Held {
    Platform::LockHandle handle = Platform::kNoLock;
    DataLock::Mode mode = DataLock::Mode::Shared;
    int count = 0;
};

QMutex g_mutex;
QHash<QString, Held> &held() {
    static QHash<QString, Held> map;
    return map;
}

// The identity of the data set this process works on, per directory: the first one found.
QHash<QString, QByteArray> &known() {
    static QHash<QString, QByteArray> map;
    return map;
}

// Resolving a directory's links costs a system call per path component, on every statement;
// the answer is kept per spelling, under g_mutex. A directory that does not exist yet is not
// kept, so that it resolves again once created.
QString keyOf(const QString &dataDir) {
    static QHash<QString, QString> resolved;
    if (const auto it = resolved.constFind(dataDir); it != resolved.constEnd())
        return *it;
    const QFileInfo info(dataDir);
    QString key = info.canonicalFilePath();
    const bool exists = !key.isEmpty();
    if (!exists)
        key = QDir::cleanPath(info.absoluteFilePath());
#ifdef Q_OS_WIN
    key = key.toLower();
#endif
    if (exists) {
        if (resolved.size() >= 64)
            resolved.clear();
        resolved.insert(dataDir, key);
    }
    return key;
}

[[noreturn]] void busy(const QString &dataDir) {
    throw EngineError(QStringLiteral("Baza de date din %1 este folosita de alt program. "
                                     "Incercati din nou dupa ce acesta termina.")
                          .arg(QDir::toNativeSeparators(dataDir)));
}

[[noreturn]] void interruptedRestore(const QString &dataDir) {
    throw EngineError(QStringLiteral("Restaurarea bazei de date din %1 a fost intrerupta si nu "
                                     "a fost inca dusa la capat. Porniti din nou programul (sau "
                                     "velmora-tool init) ca sa fie incheiata.")
                          .arg(QDir::toNativeSeparators(dataDir)));
}

[[noreturn]] void replaced(const QString &dataDir) {
    throw EngineError(QStringLiteral("Baza de date din %1 a fost inlocuita de o restaurare facuta "
                                     "de alt program; modificarea nu a fost scrisa. Porniti din "
                                     "nou programul ca sa lucrati cu datele restaurate.")
                          .arg(QDir::toNativeSeparators(dataDir)));
}

// Under g_mutex, with the system's lock just taken: what may stop this holder before it
// reads or writes anything.
void admit(const QString &dataDir, const QString &key, DataLock::Mode mode,
           Platform::LockHandle handle) {
    if (mode != DataLock::Mode::Restore &&
        QFileInfo::exists(dataDir + u'/' + DataLock::restoreMarkerName())) {
        Platform::closeLockFile(handle);
        interruptedRestore(dataDir);
    }
    const QByteArray identity = Platform::readIdentity(handle);
    const auto first = known().constFind(key);
    if (first == known().constEnd()) {
        known().insert(key, identity);
        return;
    }
    if (mode == DataLock::Mode::Exclusive && !identity.isEmpty() && identity != *first) {
        Platform::closeLockFile(handle);
        replaced(dataDir);
    }
}

bool writes(DataLock::Mode mode) {
    return mode != DataLock::Mode::Shared;
}

} // namespace

DataLock::DataLock(const QString &dataDir, Mode mode)
    : DataLock(dataDir, mode, g_waitMs.load()) {}

DataLock::DataLock(const QString &dataDir, Mode mode, int waitMs) {
    const QMutexLocker locker(&g_mutex);
    const QString key = keyOf(dataDir);
    auto it = held().find(key);
    if (it != held().end()) {
        if (writes(mode) && !writes(it->mode)) {
            throw EngineError(QStringLiteral("Baza de date din %1 este deschisa aici numai "
                                             "pentru citire; nu poate fi scrisa in aceeasi "
                                             "operatie.")
                                  .arg(QDir::toNativeSeparators(dataDir)));
        }
        ++it->count;
        m_key = key;
        return;
    }
    QString reason;
    const Platform::LockHandle handle = Platform::openLockFile(lockFilePath(dataDir), &reason);
    if (handle == Platform::kNoLock) {
        if (mode == Mode::Shared || !QFileInfo(dataDir).isDir())
            return;
        throw FileError(QStringLiteral("Fisierul de blocare %1 nu poate fi creat: %2")
                            .arg(QDir::toNativeSeparators(lockFilePath(dataDir)), reason));
    }
    const bool exclusive = writes(mode);
    const QDeadlineTimer deadline(waitMs);
    int pause = 1;
    while (!Platform::tryLockFile(handle, exclusive)) {
        if (deadline.hasExpired()) {
            Platform::closeLockFile(handle);
            busy(dataDir);
        }
        // Short naps: the other side's statements are short, and its lock is free between them.
        QThread::msleep(static_cast<unsigned long>(pause));
        pause = qMin(pause * 2, 8);
    }
    admit(dataDir, key, mode, handle);
    held().insert(key, Held{handle, mode, 1});
    m_key = key;
}

DataLock::~DataLock() {
    if (m_key.isEmpty())
        return;
    const QMutexLocker locker(&g_mutex);
    auto it = held().find(m_key);
    if (it == held().end() || --it->count > 0)
        return;
    Platform::closeLockFile(it->handle);
    held().erase(it);
}

void DataLock::renewDataSet() {
    const QMutexLocker locker(&g_mutex);
    const auto it = held().constFind(m_key);
    if (it == held().constEnd() || it->mode != Mode::Restore || it->handle == Platform::kNoLock)
        throw EngineError(QStringLiteral("Identitatea datelor se schimba numai in timpul unei "
                                         "restaurari."));
    QRandomGenerator *random = QRandomGenerator::system();
    const QByteArray identity =
        (QByteArray::number(random->generate64(), 16).rightJustified(16, '0') +
         QByteArray::number(random->generate64(), 16).rightJustified(16, '0'));
    FaultPoint::hit();
    QString reason;
    if (!Platform::writeIdentity(it->handle, identity, &reason))
        throw FileError(QStringLiteral("Fisierul de blocare %1 nu poate fi scris: %2")
                            .arg(QDir::toNativeSeparators(m_key + u'/' + lockFileName()), reason));
    known().insert(m_key, identity);
}

std::unique_ptr<DataLock> DataLock::tryLock(const QString &dataDir, Mode mode) {
    try {
        return std::unique_ptr<DataLock>(new DataLock(dataDir, mode, 0));
    } catch (const EngineError &) {
        return nullptr;
    }
}

bool DataLock::isHeldElsewhere(const QString &dataDir) {
    if (!QFileInfo(dataDir).isDir())
        return false;
    const Platform::LockHandle handle = Platform::openLockFile(lockFilePath(dataDir), nullptr);
    if (handle == Platform::kNoLock)
        return false;
    const bool free = Platform::tryLockFile(handle, true);
    Platform::closeLockFile(handle);
    return !free;
}

QString DataLock::lockFilePath(const QString &dataDir) {
    return dataDir + u'/' + lockFileName();
}

QString DataLock::directoryOf(const QString &tablePath) {
    return QFileInfo(tablePath).absolutePath();
}

int DataLock::waitMilliseconds() {
    return g_waitMs.load();
}

void DataLock::setWaitMilliseconds(int ms) {
    g_waitMs.store(ms);
}

} // namespace velmora
