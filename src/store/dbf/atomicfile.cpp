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

AtomicFile::AtomicFile(QString path)
    : m_path(std::move(path))
    , m_temp(m_path + QStringLiteral(".tmp")) {
    FaultPoint::hit();
    if (!m_temp.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail(m_path, m_temp.errorString());
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
        fail(m_path, m_temp.errorString());
}

void AtomicFile::commit() {
    FaultPoint::hit();
    if (!Platform::syncFile(m_temp))
        fail(m_path, m_temp.errorString());
    m_temp.close();
    FaultPoint::hit();
    QString reason;
    if (!Platform::replaceFile(m_temp.fileName(), m_path, &reason))
        fail(m_path, reason);
    m_committed = true;
    // The rename itself must reach the disk too, or a power cut could bring the old file back.
    Platform::syncDirectory(QFileInfo(m_path).absolutePath());
}

void AtomicFile::replace(const QString &path, QByteArrayView content) {
    AtomicFile file(path);
    file.write(content);
    file.commit();
}

} // namespace velmora
