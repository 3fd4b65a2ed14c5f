// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dbf/dbftable.h"

#include "store/dbf/atomicfile.h"
#include "store/dbf/dbfjournal.h"
#include "store/dbf/faultpoint.h"
#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <limits>

namespace velmora {

namespace {

// Result rows are addressed by 32-bit offsets.
constexpr qint64 kMaxFileSize = std::numeric_limits<quint32>::max();

QString nativePath(const QString &path) {
    return QDir::toNativeSeparators(path);
}

struct Run {
    quint32 first;
    quint32 count;
    qsizetype index; // position of the first record in the caller's buffers
};

std::vector<Run> runsOf(const std::vector<quint32> &records) {
    std::vector<Run> runs;
    for (qsizetype i = 0; i < static_cast<qsizetype>(records.size()); ++i) {
        if (!runs.empty() && runs.back().first + runs.back().count == records[i] &&
            runs.back().index + runs.back().count == i) {
            ++runs.back().count;
        } else {
            runs.push_back({records[i], 1, i});
        }
    }
    return runs;
}

} // namespace

DbfTable::DbfTable(const QString &path, Access access)
    : m_path(path)
    , m_file(path) {
    DbfJournal::recover(path);
    const auto mode = access == Access::Read ? QIODevice::ReadOnly : QIODevice::ReadWrite;
    // Opening first and asking the open file saves two path look-ups on every statement; a
    // file refused for writing is then asked by name, for the clearer message.
    if (!m_file.open(mode | QIODevice::Unbuffered)) {
        if (access == Access::Write)
            AtomicFile::refuseReadOnly(path);
        throw EngineError(QStringLiteral("Tabela %1 nu poate fi deschisa: %2")
                              .arg(nativePath(path), Platform::reason(m_file)));
    }
    if (access == Access::Write && Platform::isReadOnly(m_file)) {
        m_file.close();
        AtomicFile::throwReadOnly(path);
    }
    const qint64 size = m_file.size();
    QByteArray head = m_file.read(DbfHeader::kPrefixSize);
    const qint64 declared = DbfHeader::declaredLength(head);
    if (declared > head.size())
        head.append(m_file.read(qMin(declared, size) - head.size()));
    m_header = DbfHeader::parse(head, size, path);
    if (m_header.recordsEnd() > kMaxFileSize) {
        throw EngineError(
            QStringLiteral("Tabela %1 este prea mare (peste 4 GB).").arg(nativePath(path)));
    }
    if (access == Access::Write && m_header.cutShort()) {
        // A write now would cover what follows the whole records; pack first keeps it aside.
        throw EngineError(QStringLiteral("Tabela %1 este incompleta: antetul numara %2 "
                                         "inregistrari, dar fisierul le cuprinde intregi numai "
                                         "pe primele %3. Pana la repararea ei, pe care o face "
                                         "pornirea programului (sau velmora-tool pack), tabela "
                                         "poate fi numai citita.")
                              .arg(nativePath(path))
                              .arg(m_header.declaredRecordCount)
                              .arg(m_header.recordCount));
    }
}

DbfTable::~DbfTable() {}

void DbfTable::fail(const QString &what) const {
    throw FileError(
        QStringLiteral("Tabela %1 %2: %3").arg(nativePath(m_path), what, Platform::reason(m_file)));
}

QByteArray DbfTable::readAll() {
    const qint64 end = m_header.recordsEnd();
    QByteArray data(end, Qt::Uninitialized);
    if (end >= (qint64(4) << 20))
        Platform::adviseLargeBuffer(data.data(), end);
    if (!m_file.seek(0))
        fail(QStringLiteral("nu poate fi citita"));
    qint64 done = 0;
    while (done < end) {
        const qint64 n = m_file.read(data.data() + done, end - done);
        if (n <= 0)
            fail(QStringLiteral("nu poate fi citita"));
        done += n;
    }
    return data;
}

void DbfTable::readRecords(quint32 first, quint32 count, char *out) {
    const qint64 bytes = static_cast<qint64>(count) * m_header.recordLength;
    if (!m_file.seek(m_header.recordOffset(first)))
        fail(QStringLiteral("nu poate fi citita"));
    qint64 done = 0;
    while (done < bytes) {
        const qint64 n = m_file.read(out + done, bytes - done);
        if (n <= 0)
            fail(QStringLiteral("nu poate fi citita"));
        done += n;
    }
}

void DbfTable::append(QByteArrayView records) {
    const int length = m_header.recordLength;
    const qint64 count = records.size() / length;
    if (count == 0)
        return;
    const qint64 at = m_header.recordsEnd();
    if (m_header.recordCount + count > std::numeric_limits<quint32>::max() ||
        at + records.size() + 1 > kMaxFileSize) {
        throw EngineError(QStringLiteral("Tabela %1 nu mai poate primi inregistrari (ar depasi "
                                         "4 GB).")
                              .arg(nativePath(m_path)));
    }
    QByteArray data;
    data.reserve(records.size() + 1);
    data.append(records.data(), records.size());
    data.append(DbfHeader::kEndOfFile);

    // What lies behind the last record now: on a failed write it goes back, so even the end
    // mark stays where it was.
    const qint64 oldSize = m_file.size();
    QByteArray oldTail;
    if (oldSize > at && m_file.seek(at))
        oldTail = m_file.read(qMin<qint64>(oldSize - at, data.size()));

    FaultPoint::hit();
    bool written = m_file.seek(at) && m_file.write(data) == data.size();
    if (written) {
        FaultPoint::hit();
        written = Platform::syncFile(m_file);
    }
    if (!written) {
        const QString reason = Platform::reason(m_file);
        if (m_file.seek(at))
            m_file.write(oldTail);
        m_file.resize(oldSize);
        throw FileError(
            QStringLiteral("Tabela %1 nu poate fi scrisa: %2").arg(nativePath(m_path), reason));
    }
    const auto newCount = static_cast<quint32>(m_header.recordCount + count);
    const QByteArray stamp = DbfHeader::stamp(QDate::currentDate(), newCount);
    FaultPoint::hit();
    if (!m_file.seek(1) || m_file.write(stamp) != stamp.size())
        fail(QStringLiteral("nu poate fi scrisa"));
    m_header.recordCount = newCount;
    // The count is the commit point: until it is on the disk, a power cut takes the records
    // back, and the statement must not be reported done before that.
    FaultPoint::hit();
    if (!Platform::syncFile(m_file))
        fail(QStringLiteral("nu poate fi scrisa"));
}

void DbfTable::rewrite(const std::vector<quint32> &records, const QByteArray &original,
                       const QByteArray &changed) {
    if (records.empty())
        return;
    const int length = m_header.recordLength;
    const std::vector<Run> runs = runsOf(records);

    if (!m_file.seek(0))
        fail(QStringLiteral("nu poate fi citita"));
    const QByteArray prefix = m_file.read(DbfHeader::kPrefixSize);
    DbfJournal journal(m_path);
    journal.add(0, prefix);
    for (const Run &r : runs) {
        journal.add(m_header.recordOffset(r.first),
                    QByteArrayView(original.constData() + r.index * length, r.count * length));
    }
    journal.write(m_file.size());

    try {
        for (const Run &r : runs) {
            FaultPoint::hit();
            const qint64 bytes = static_cast<qint64>(r.count) * length;
            if (!m_file.seek(m_header.recordOffset(r.first)) ||
                m_file.write(changed.constData() + r.index * length, bytes) != bytes) {
                fail(QStringLiteral("nu poate fi scrisa"));
            }
        }
        const QByteArray stamp = DbfHeader::stamp(QDate::currentDate(), m_header.recordCount);
        FaultPoint::hit();
        if (!m_file.seek(1) || m_file.write(stamp) != stamp.size())
            fail(QStringLiteral("nu poate fi scrisa"));
        FaultPoint::hit();
        if (!Platform::syncFile(m_file))
            fail(QStringLiteral("nu poate fi scrisa"));
    } catch (const Error &) {
        // A real write error: put the old bytes back now. Should that fail too, the journal
        // stays and the next access restores them.
        try {
            journal.restore(m_file);
            journal.remove();
        } catch (const Error &) {
        }
        throw;
    }
    // The journal's removal is this change's commit point: should a power cut bring the
    // journal back, the next access would roll the change back.
    journal.remove();
    QString reason;
    if (!Platform::syncDirectory(QFileInfo(m_path).absolutePath(), &reason))
        throw FileError(
            QStringLiteral("Tabela %1 nu poate fi scrisa: %2").arg(nativePath(m_path), reason));
}

void DbfTable::create(const QString &path, const QList<Column> &columns) {
    const QList<Column> laid = DbfHeader::layout(columns);
    QByteArray file = DbfHeader::build(laid, QDate::currentDate());
    file.append(DbfHeader::kEndOfFile);
    AtomicFile::replace(path, file);
}

namespace {

// A name beside the table that no file has yet: "<table>.cut-<date>-<time>".
QString sideFileFor(const QString &path) {
    const QString base = path + QStringLiteral(".cut-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString side = base;
    for (int n = 2; QFileInfo::exists(side); ++n)
        side = base + u'-' + QString::number(n);
    return side;
}

} // namespace

qsizetype DbfTable::pack(const QString &path, QStringList *repairs) {
    // What a killed pack left beside the table is of no use to anyone.
    const QString staleTemp = AtomicFile::temporaryPath(path);
    if (QFileInfo::exists(staleTemp)) {
        FaultPoint::hit();
        QFile::remove(staleTemp);
    }
    QByteArray out;
    qsizetype removed = 0;
    QString repair;
    {
        DbfTable table(path, Access::Read);
        const DbfHeader &h = table.header();
        const QByteArray data = table.readAll();
        const qint64 fileSize = table.m_file.size();
        char last = 0;
        if (fileSize > h.recordsEnd() && table.m_file.seek(h.recordsEnd()))
            table.m_file.getChar(&last);

        out.reserve(data.size() + 1);
        out.append(data.constData(), h.headerLength);
        quint32 kept = 0;
        for (quint32 i = 0; i < h.recordCount; ++i) {
            const char *record = data.constData() + h.recordOffset(i);
            if (*record == DbfHeader::kDeleted)
                continue;
            out.append(record, h.recordLength);
            ++kept;
        }
        removed = h.recordCount - kept;
        if (!h.cutShort() && removed == 0 && fileSize == h.recordsEnd() + 1 &&
            last == DbfHeader::kEndOfFile)
            return 0;
        out.replace(1, 7, DbfHeader::stamp(QDate::currentDate(), kept));
        out.append(DbfHeader::kEndOfFile);

        if (h.cutShort()) {
            const qint64 tailSize = fileSize - h.recordsEnd();
            repair = QStringLiteral("Tabela %1 era incompleta: antetul numara %2 inregistrari, "
                                    "dar fisierul le cuprindea intregi numai pe primele %3, "
                                    "care au fost pastrate.")
                         .arg(nativePath(path))
                         .arg(h.declaredRecordCount)
                         .arg(h.recordCount);
            if (tailSize > 0) {
                if (!table.m_file.seek(h.recordsEnd()))
                    table.fail(QStringLiteral("nu poate fi citita"));
                const QByteArray tail = table.m_file.read(tailSize);
                if (tail.size() != tailSize)
                    table.fail(QStringLiteral("nu poate fi citita"));
                // The cut-off bytes go aside before the table changes, so nothing is lost.
                const QString side = sideFileFor(path);
                AtomicFile::replace(side, tail);
                repair += QStringLiteral(" Cei %1 octeti de dupa ele au fost mutati in fisierul "
                                         "%2.")
                              .arg(tailSize)
                              .arg(nativePath(side));
            }
        }
    }
    AtomicFile::replace(path, out);
    if (repairs && !repair.isEmpty())
        repairs->append(repair);
    return removed;
}

} // namespace velmora
