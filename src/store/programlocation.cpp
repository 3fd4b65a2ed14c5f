// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/programlocation.h"

#include "store/dbf/atomicfile.h"
#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace velmora {

namespace {

QString installedDataDir(const QString &executableDir) {
    return QDir::cleanPath(executableDir + QStringLiteral("/../share/velmora"));
}

} // namespace

ProgramLocation::ProgramLocation(const QString &executableDir)
    : m_executableDir(QDir::cleanPath(executableDir)) {
    // A bin folder with the installed data beside it is an installation even where its owner
    // (root, or a member of staff under /usr/local) could write into it: Data must not land
    // among the system's programs.
    const bool installed = QFileInfo(installedDataDir(m_executableDir)).isDir();
    m_portable = !installed && canCreateFilesIn(m_executableDir);
    m_programDir =
        m_portable
            ? m_executableDir
            : QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString ProgramLocation::installedTemplate() const {
    return installedDataDir(m_executableDir) + u'/' + templateName();
}

void ProgramLocation::prepare() const {
    if (m_programDir.isEmpty())
        throw FileError(QStringLiteral("Nu exista un director de date pentru utilizator."));
    if (!QDir().mkpath(m_programDir)) {
        throw FileError(QStringLiteral("Directorul %1 nu poate fi creat.")
                            .arg(QDir::toNativeSeparators(m_programDir)));
    }
    const QString target = m_programDir + u'/' + templateName();
    if (m_portable || QFileInfo::exists(target))
        return;
    QFile source(installedTemplate());
    if (!source.exists())
        return;
    if (!source.open(QIODevice::ReadOnly)) {
        throw FileError(
            QStringLiteral("Sablonul %1 nu poate fi citit: %2")
                .arg(QDir::toNativeSeparators(source.fileName()), Platform::reason(source)));
    }
    const QByteArray content = source.readAll();
    if (source.error() != QFileDevice::NoError) {
        throw FileError(
            QStringLiteral("Sablonul %1 nu poate fi citit: %2")
                .arg(QDir::toNativeSeparators(source.fileName()), Platform::reason(source)));
    }
    AtomicFile::replace(target, content);
}

bool ProgramLocation::canCreateFilesIn(const QString &folder) {
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(folder + QStringLiteral("/.velmora-XXXXXX"));
    return probe.open();
}

} // namespace velmora
