// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dbf/tablepath.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

namespace velmora {

QString TablePath::normalized(const QString &written) {
    QString path = written;
    path.replace(u'\\', u'/');
    return path;
}

namespace {

// The program names its tables Foi.dbf and Sosiri.dbf while they were created as FOI.DBF and
// Sosiri.DBF, so on a file system that minds case every statement would list the directory.
// What a listing found is kept per written path and trusted while that file exists.
QMutex g_foundMutex;
QHash<QString, QString> &found() {
    static QHash<QString, QString> map;
    return map;
}

} // namespace

QString TablePath::find(const QString &written) {
    const QString path = normalized(written);
    if (path.isEmpty() || path.endsWith(u'/'))
        return {};
    const QFileInfo exact(path);
    if (exact.isFile())
        return path;
    {
        const QMutexLocker locker(&g_foundMutex);
        const auto it = found().constFind(path);
        if (it != found().constEnd()) {
            if (QFileInfo(*it).isFile())
                return *it;
            found().erase(it);
        }
    }
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString dirPath = slash < 0 ? QStringLiteral(".") : path.left(slash + 1);
    const QString name = path.mid(slash + 1);
    const QDir dir(dirPath);
    const QStringList entries =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            const QString result = slash < 0 ? entry : path.left(slash + 1) + entry;
            const QMutexLocker locker(&g_foundMutex);
            if (found().size() >= 64)
                found().clear();
            found().insert(path, result);
            return result;
        }
    }
    return {};
}

QString TablePath::fileName(const QString &path) {
    const QString p = normalized(path);
    return p.mid(p.lastIndexOf(u'/') + 1);
}

} // namespace velmora
