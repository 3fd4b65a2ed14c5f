// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/workfolder.h"

#include "store/dbf/datalock.h"
#include "store/dbf/faultpoint.h"
#include "store/text/error.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace velmora {

namespace {

// The random part QTemporaryDir puts in place of "XXXXXX".
constexpr int kRandomLength = 6;

QString prefixOf(WorkFolder::Kind kind) {
    switch (kind) {
    case WorkFolder::Kind::Backup:
        return QStringLiteral("Data.salvare-");
    case WorkFolder::Kind::Staging:
        return QStringLiteral("Data.restaurare-");
    case WorkFolder::Kind::Aside:
        break;
    }
    return QStringLiteral("Data.vechi-");
}

QString lockPath(const QString &folder) {
    return folder + u'/' + DataLock::lockFileName();
}

} // namespace

WorkFolder::WorkFolder(QString path, Platform::LockHandle lock)
    : m_path(std::move(path))
    , m_lock(lock) {}

WorkFolder::WorkFolder(WorkFolder &&other) noexcept
    : m_path(std::move(other.m_path))
    , m_lock(std::exchange(other.m_lock, Platform::kNoLock)) {}

WorkFolder &WorkFolder::operator=(WorkFolder &&other) noexcept {
    if (this != &other) {
        release();
        m_path = std::move(other.m_path);
        m_lock = std::exchange(other.m_lock, Platform::kNoLock);
    }
    return *this;
}

WorkFolder::~WorkFolder() {
    release();
}

void WorkFolder::release() {
    Platform::closeLockFile(m_lock);
    m_lock = Platform::kNoLock;
}

WorkFolder WorkFolder::create(const QString &programDir, Kind kind) {
    FaultPoint::hit();
    QTemporaryDir dir(programDir + u'/' + prefixOf(kind) + QString(kRandomLength, u'X'));
    if (!dir.isValid())
        throw FileError(
            QStringLiteral("Directorul de lucru nu poate fi creat in %1: %2")
                .arg(QDir::toNativeSeparators(programDir), Platform::reason(dir.errorString())));
    dir.setAutoRemove(false);
    QString reason;
    const Platform::LockHandle lock = Platform::openLockFile(lockPath(dir.path()), &reason);
    // Its name must reach the disk before a journal names it.
    if (lock == Platform::kNoLock || !Platform::tryLockFile(lock, true) ||
        !Platform::syncDirectory(programDir, &reason)) {
        Platform::closeLockFile(lock);
        QDir(dir.path()).removeRecursively();
        throw FileError(QStringLiteral("Directorul de lucru %1 nu poate fi folosit: %2")
                            .arg(QDir::toNativeSeparators(dir.path()), reason));
    }
    return WorkFolder(dir.path(), lock);
}

WorkFolder WorkFolder::adopt(const QString &programDir, const QString &name) {
    return WorkFolder(programDir + u'/' + name, Platform::kNoLock);
}

QString WorkFolder::name() const {
    return QFileInfo(m_path).fileName();
}

void WorkFolder::remove() {
    FaultPoint::hit();
    release();
    QDir dir(m_path);
    if (dir.exists() && !dir.removeRecursively())
        throw FileError(QStringLiteral("Directorul de lucru %1 nu poate fi sters.")
                            .arg(QDir::toNativeSeparators(m_path)));
}

bool WorkFolder::isWorkFolder(const QString &name, Kind *kind) {
    for (const Kind candidate : {Kind::Backup, Kind::Staging, Kind::Aside}) {
        const QString prefix = prefixOf(candidate);
        if (name.size() != prefix.size() + kRandomLength || !name.startsWith(prefix))
            continue;
        for (const QChar c : QStringView(name).sliced(prefix.size())) {
            if (c.unicode() > 127 || !c.isLetterOrNumber())
                return false;
        }
        if (kind)
            *kind = candidate;
        return true;
    }
    return false;
}

QList<WorkFolder::Stale> WorkFolder::findStale(const QString &programDir, const QStringList &keep) {
    QList<Stale> stale;
    const QStringList names =
        QDir(programDir)
            .entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                       QDir::Name);
    for (const QString &name : names) {
        Kind kind = Kind::Backup;
        if (!isWorkFolder(name, &kind) || keep.contains(name))
            continue;
        const QString path = programDir + u'/' + name;
        // Its owner holds the lock for as long as it lives; a kill drops it.
        const Platform::LockHandle lock = Platform::openLockFile(lockPath(path), nullptr);
        const bool free = lock != Platform::kNoLock && Platform::tryLockFile(lock, true);
        Platform::closeLockFile(lock);
        if (!free)
            continue;
        const QStringList content = QDir(path).entryList(QDir::AllEntries | QDir::Hidden |
                                                         QDir::System | QDir::NoDotAndDotDot);
        const bool hadFiles = content.size() > (content.contains(DataLock::lockFileName()) ? 1 : 0);
        stale.append({path, kind, hadFiles});
    }
    return stale;
}

} // namespace velmora
