// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/printoutfiles.h"

#include "reports/printouterror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace velmora {

PrintoutFiles::PrintoutFiles(QString directory)
    : m_directory(std::move(directory)) {
    while (m_directory.size() > 1 && m_directory.endsWith(u'/') &&
           !m_directory.endsWith(QStringLiteral(":/")))
        m_directory.chop(1);
}

QString PrintoutFiles::defaultDirectory() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:/");
#else
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
#endif
}

QString PrintoutFiles::path(int number) const {
    const QString name = QStringLiteral("Rap%1.rtf").arg(number);
    return m_directory.endsWith(u'/') ? m_directory + name : m_directory + u'/' + name;
}

QString PrintoutFiles::choose() const {
    const bool driveC = m_directory.compare(QStringLiteral("C:/"), Qt::CaseInsensitive) == 0;
    const QString refused = driveC ? QStringLiteral("Nu pot scrie pe partitia C: !")
                                   : QStringLiteral("Nu pot scrie in dosarul %1 !")
                                         .arg(QDir::toNativeSeparators(m_directory));
    if (m_directory.isEmpty() || !QDir().mkpath(m_directory))
        throw PrintoutError(refused);
    for (int n = 1; n <= kCount; ++n) {
        const QString candidate = path(n);
        const QFileInfo info(candidate);
        if (!info.exists() && !info.isSymLink())
            return candidate;
        if (!info.isDir() && QFile::remove(candidate))
            return candidate;
    }
    throw PrintoutError(refused);
}

} // namespace velmora
