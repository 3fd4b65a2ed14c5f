#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>

namespace velmora {

// Replaces a file as a whole: the new content is written beside it, flushed and renamed over
// it, so the file is always either the old or the new version. Dropping the object without
// commit() leaves the old file as it was.
class AtomicFile {
public:
    explicit AtomicFile(QString path);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    void write(QByteArrayView bytes);
    void commit();

    // The whole job in one call.
    static void replace(const QString &path, QByteArrayView content);

private:
    QString m_path;
    QFile m_temp;
    bool m_committed = false;
};

} // namespace velmora
