// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/datarestore.h"

#include "backup/datarecovery.h"
#include "backup/dataswap.h"
#include "backup/restorejournal.h"
#include "backup/workfolder.h"
#include "store/dbf/datalock.h"
#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

namespace velmora {

namespace {

// The steps before the journal is written change nothing in Data; their error says so, and
// the work folders made so far go with it. A kill leaves the folders to the next start.
class BeforeTheSwap {
public:
    std::optional<WorkFolder> staging;
    std::optional<WorkFolder> aside;

    template <typename Step>
    auto run(Step step) {
        try {
            return step();
        } catch (const ArchiveError &error) {
            throw ArchiveError(clearedAway(error));
        } catch (const EngineError &error) {
            throw EngineError(clearedAway(error));
        } catch (const FileError &error) {
            throw FileError(clearedAway(error));
        }
    }

private:
    QString clearedAway(const Error &error) {
        for (std::optional<WorkFolder> *folder : {&aside, &staging}) {
            try {
                if (*folder)
                    (*folder)->remove();
            } catch (const FileError &) {
                // Left for the next start, which removes what no one holds.
            }
            folder->reset();
        }
        return error.message() + QStringLiteral("\r\nDirectorul de date a ramas neschimbat.");
    }
};

} // namespace

QList<ArchiveFormat::Member> DataRestore::restore(const QString &archivePath,
                                                  const QString &programDir,
                                                  const ArchiveFormat::Progress &progress) {
    const QString dataDir = programDir + QStringLiteral("/Data");
    BeforeTheSwap before;
    before.run([&] {
        if (!QDir().mkpath(dataDir))
            throw FileError(QStringLiteral("Directorul de date %1 nu poate fi creat.")
                                .arg(QDir::toNativeSeparators(dataDir)));
        // What an earlier backup or restore left half done goes first.
        DataRecovery::recover(programDir);
        // Another program on this data directory (the program, a tool's statement) refuses
        // the restore before the archive is even read.
        // A restore replaces whatever data set is there, so it takes the lock as a restore.
        const DataLock probe(dataDir, DataLock::Mode::Restore);
    });
    // The folder is made under Data's lock, so that no start takes it for abandoned.
    before.run([&] {
        const DataLock lock(dataDir, DataLock::Mode::Shared);
        before.staging.emplace(WorkFolder::create(programDir, WorkFolder::Kind::Staging));
    });
    const QList<ArchiveFormat::Member> members = before.run([&] {
        QList<ArchiveFormat::Member> unpacked =
            ArchiveFormat::decompressFiles(archivePath, before.staging->path(), progress);
        QString reason;
        if (!Platform::syncDirectory(before.staging->path(), &reason))
            throw FileError(QStringLiteral("Directorul %1 nu poate fi scris pe disc: %2")
                                .arg(QDir::toNativeSeparators(before.staging->path()), reason));
        return unpacked;
    });

    // From here to the end no statement of another program runs: none sees Data half
    // replaced, and none that was in the middle of its work goes on with the new files.
    std::optional<DataLock> lock;
    RestoreJournal journal;
    before.run([&] {
        lock.emplace(dataDir, DataLock::Mode::Restore);
        // A restore another program left half done while this one was unpacking.
        if (RestoreJournal::exists(dataDir))
            DataRecovery::recover(programDir);
        before.aside.emplace(WorkFolder::create(programDir, WorkFolder::Kind::Aside));
        // Absolute: the next start, which may tell of it, may run from another folder.
        journal.archive = QFileInfo(archivePath).absoluteFilePath();
        journal.staging = before.staging->name();
        journal.aside = before.aside->name();
        for (const ArchiveFormat::Member &member : members)
            journal.members.append(member.fileName);
        lock->renewDataSet();
        journal.write(dataDir);
    });

    const DataSwap::Outcome outcome =
        DataSwap::carryOut(programDir, journal, *before.staging, *before.aside);
    if (outcome.direction == RestoreJournal::Direction::Back)
        throw FileError(QStringLiteral("Restaurarea nu a putut fi facuta: %1; directorul de date "
                                       "a ramas cum era.")
                            .arg(outcome.reason));
    return members;
}

} // namespace velmora
