// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

class QFile;

namespace velmora {

// The rollback journal of a change made in place (UPDATE, DELETE): before a byte of the table
// changes, the original bytes of every region about to change, and the table's size, are
// written beside it to "<table file>.jnl", closed by a checksummed trailer and pushed to the
// disk. Once the table's new bytes are on disk the journal is removed. A journal still there
// at the next access means the change was interrupted: the old bytes go back. A journal
// without a valid trailer was itself interrupted, before the table was touched, and is dropped.
class DbfJournal {
public:
    explicit DbfJournal(const QString &tablePath);

    static QString pathFor(const QString &tablePath);

    // The original bytes of a region about to change.
    void add(qint64 offset, QByteArrayView original);
    // Writes the complete journal to disk; from then on the table may change.
    void write(qint64 originalSize);
    // Puts the original bytes back into the open table and cuts it to its original size.
    void restore(QFile &table) const;
    void remove();

    // Rolls back the interrupted change a complete journal describes and removes the journal;
    // drops an incomplete one. Raises a FileError when the table cannot be restored (the
    // journal then stays for the next attempt).
    static void recover(const QString &tablePath);

private:
    // The payload of a complete, intact journal file; nothing for any other.
    [[nodiscard]] static std::optional<QByteArray> parse(QByteArrayView file);

    QString m_tablePath;
    QString m_path;
    QByteArray m_regions;
    quint32 m_regionCount = 0;
    qint64 m_originalSize = 0;
};

} // namespace velmora
