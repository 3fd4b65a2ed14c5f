// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dbf/atomicfile.h"

#include "store/dbf/faultpoint.h"
#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QDir>
#include <QFileInfo>

namespace velmora {

namespace {

[[noreturn]] void fail(const QString &path, const QString &reason) {
    throw FileError(QStringLiteral("Fisierul %1 nu poate fi scris: %2")
                        .arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

const QString kTemporarySuffix = QStringLiteral(".velmora-tmp");

AtomicFile::AtomicFile(QString path)
    : m_path(std::move(path))
    , m_temp(temporaryPath(m_path)) {
    refuseReadOnly(m_path);
    FaultPoint::hit();
    if (!m_temp.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail(m_path, Platform::reason(m_temp));
    if (QFileInfo::exists(m_path))
        m_temp.setPermissions(QFile::permissions(m_path));
}

QString AtomicFile::temporaryPath(const QString &path) {
    return path + kTemporarySuffix;
}

bool AtomicFile::isTemporary(const QString &fileName) {
    return fileName.endsWith(kTemporarySuffix, Qt::CaseInsensitive);
}

QStringList AtomicFile::removeStale(const QString &dir) {
    QStringList removed;
    const QStringList names =
        QDir(dir).entryList({u'*' + kTemporarySuffix}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        FaultPoint::hit();
        if (QFile::remove(dir + u'/' + name))
            removed.append(name);
    }
    return removed;
}

void AtomicFile::refuseReadOnly(const QString &path) {
    if (Platform::isReadOnly(path))
        throwReadOnly(path);
}

void AtomicFile::throwReadOnly(const QString &path) {
    throw FileError(QStringLiteral("Fisierul %1 este numai pentru citire; nu a fost "
                                   "schimbat. Dati-i drept de scriere si reluati operatia.")
                        .arg(QDir::toNativeSeparators(path)));
}

AtomicFile::~AtomicFile() {
    if (!m_committed) {
        m_temp.close();
        m_temp.remove();
    }
}

void AtomicFile::write(QByteArrayView bytes) {
    FaultPoint::hit();
    if (m_temp.write(bytes.data(), bytes.size()) != bytes.size())
        fail(m_path, Platform::reason(m_temp));
}

void AtomicFile::commit() {
    FaultPoint::hit();
    if (!Platform::syncFile(m_temp))
        fail(m_path, Platform::reason(m_temp));
    m_temp.close();
    FaultPoint::hit();
    QString reason;
    if (!Platform::replaceFile(m_temp.fileName(), m_path, &reason))
        fail(m_path, reason);
    m_committed = true;
    // The rename itself must reach the disk too, or a power cut could bring the old file back.
    if (!Platform::syncDirectory(QFileInfo(m_path).absolutePath(), &reason))
        fail(m_path, reason);
}

void AtomicFile::replace(const QString &path, QByteArrayView content) {
    AtomicFile file(path);
    file.write(content);
    file.commit();
}

} // namespace velmora
