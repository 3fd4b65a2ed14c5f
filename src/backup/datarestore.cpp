// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/datarestore.h"

#include "backup/datafiles.h"
#include "store/dbf/datalock.h"
#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <optional>

namespace velmora {

namespace {

struct Move {
    QString from;
    QString to;
};

// Undoes the moves made so far, newest first. False when one of them cannot be undone.
bool undo(const QList<Move> &moves) {
    bool ok = true;
    for (auto it = moves.crbegin(); it != moves.crend(); ++it)
        ok = Platform::replaceFile(it->to, it->from, nullptr) && ok;
    return ok;
}

QTemporaryDir besideData(const QString &programDir, const QString &what) {
    QTemporaryDir dir(programDir + QStringLiteral("/Data.") + what + QStringLiteral("-XXXXXX"));
    if (!dir.isValid())
        throw FileError(
            QStringLiteral("Directorul de lucru pentru restaurare nu poate fi creat "
                           "in %1: %2")
                .arg(QDir::toNativeSeparators(programDir), Platform::reason(dir.errorString())));
    return dir;
}

// Runs a step before anything in Data has changed; its error says so.
template <typename Step>
auto unchangedOnError(Step step) {
    const QString unchanged = QStringLiteral("\r\nDirectorul de date a ramas neschimbat.");
    try {
        return step();
    } catch (const ArchiveError &error) {
        throw ArchiveError(error.message() + unchanged);
    } catch (const EngineError &error) {
        throw EngineError(error.message() + unchanged);
    } catch (const FileError &error) {
        throw FileError(error.message() + unchanged);
    }
}

} // namespace

QList<ArchiveFormat::Member> DataRestore::restore(const QString &archivePath,
                                                  const QString &programDir,
                                                  const ArchiveFormat::Progress &progress) {
    const QString dataDir = programDir + QStringLiteral("/Data");
    if (!QDir().mkpath(dataDir))
        throw FileError(QStringLiteral("Directorul de date %1 nu poate fi creat.")
                            .arg(QDir::toNativeSeparators(dataDir)));
    // Another program on this data directory (the program, a tool's statement) refuses the
    // restore before the archive is even read.
    unchangedOnError([&] { const DataLock probe(dataDir, DataLock::Mode::Exclusive); });
    // Beside Data, on the same disk, so that moving the files in is a rename.
    const QTemporaryDir staging =
        unchangedOnError([&] { return besideData(programDir, QStringLiteral("restaurare")); });
    const QList<ArchiveFormat::Member> members = unchangedOnError(
        [&] { return ArchiveFormat::decompressFiles(archivePath, staging.path(), progress); });
    // No statement may see Data half replaced; the moves take milliseconds.
    std::optional<DataLock> lock;
    unchangedOnError([&] { lock.emplace(dataDir, DataLock::Mode::Exclusive); });
    swapIn(programDir, staging.path(), members);
    return members;
}

void DataRestore::swapIn(const QString &programDir, const QString &stagingDir,
                         const QList<ArchiveFormat::Member> &members) {
    const QString dataDir = programDir + QStringLiteral("/Data");
    QTemporaryDir aside = besideData(programDir, QStringLiteral("vechi"));
    QList<Move> moves;
    const auto fail = [&](const QString &path, const QString &reason) {
        if (!undo(moves)) {
            // The old files are not lost: say where they wait.
            aside.setAutoRemove(false);
            throw FileError(QStringLiteral("Restaurarea s-a oprit la %1 (%2), iar fisierele "
                                           "vechi nu au putut fi puse la loc; ele se afla in %3.")
                                .arg(QDir::toNativeSeparators(path), reason,
                                     QDir::toNativeSeparators(aside.path())));
        }
        throw FileError(QStringLiteral("Fisierul %1 nu poate fi inlocuit (%2); directorul de "
                                       "date a ramas cum era.")
                            .arg(QDir::toNativeSeparators(path), reason));
    };

    const QFileInfoList current =
        QDir(dataDir).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo &entry : current) {
        if (DataFiles::isLock(entry.fileName()))
            continue;
        const Move move{entry.absoluteFilePath(), aside.filePath(entry.fileName())};
        QString reason;
        if (!Platform::replaceFile(move.from, move.to, &reason))
            fail(move.from, reason);
        moves.append(move);
    }
    for (const ArchiveFormat::Member &member : members) {
        const Move move{stagingDir + u'/' + member.fileName, dataDir + u'/' + member.fileName};
        QString reason;
        if (!Platform::replaceFile(move.from, move.to, &reason))
            fail(move.to, reason);
        moves.append(move);
    }
    Platform::syncDirectory(dataDir);
}

} // namespace velmora
