// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dbf/tablepath.h"

#include <QDir>
#include <QFileInfo>

namespace velmora {

QString TablePath::normalized(const QString &written) {
    QString path = written;
    path.replace(u'\\', u'/');
    return path;
}

QString TablePath::find(const QString &written) {
    const QString path = normalized(written);
    if (path.isEmpty() || path.endsWith(u'/'))
        return {};
    const QFileInfo exact(path);
    if (exact.isFile())
        return path;
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString dirPath = slash < 0 ? QStringLiteral(".") : path.left(slash + 1);
    const QString name = path.mid(slash + 1);
    const QDir dir(dirPath);
    const QStringList entries =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return slash < 0 ? entry : path.left(slash + 1) + entry;
    }
    return {};
}

QString TablePath::fileName(const QString &path) {
    const QString p = normalized(path);
    return p.mid(p.lastIndexOf(u'/') + 1);
}

} // namespace velmora
