// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/datarecovery.h"

#include "backup/dataswap.h"
#include "backup/restorejournal.h"
#include "backup/workfolder.h"
#include "store/dbf/datalock.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <memory>
#include <optional>

namespace velmora {

namespace {

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

bool anyWorkFolder(const QString &programDir) {
    const QStringList names =
        QDir(programDir).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    return std::any_of(names.cbegin(), names.cend(),
                       [](const QString &name) { return WorkFolder::isWorkFolder(name); });
}

QString finished(const RestoreJournal &journal, const DataSwap::Outcome &outcome) {
    if (outcome.direction == RestoreJournal::Direction::Forward)
        return QStringLiteral("Restaurarea din %1 a fost intrerupta; acum a fost dusa la capat, "
                              "iar directorul de date contine fisierele arhivei.")
            .arg(shown(journal.archive));
    return QStringLiteral("Restaurarea din %1 a fost intrerupta si nu a putut fi dusa la capat "
                          "(%2); directorul de date a fost adus inapoi la starea dinainte de "
                          "restaurare.")
        .arg(shown(journal.archive), outcome.reason);
}

} // namespace

QStringList DataRecovery::recover(const QString &programDir) {
    const QString dataDir = programDir + QStringLiteral("/Data");
    const bool journal = RestoreJournal::exists(dataDir);
    if (!journal && !anyWorkFolder(programDir))
        return {};
    std::unique_ptr<DataLock> lock;
    if (journal) {
        lock = std::make_unique<DataLock>(dataDir, DataLock::Mode::Restore);
    } else {
        // Left-over folders are no hurry: they wait while another program works.
        lock = DataLock::tryLock(dataDir, DataLock::Mode::Restore);
        if (!lock)
            return {};
    }

    QStringList notes;
    QStringList inJournal;
    if (const std::optional<RestoreJournal> found = RestoreJournal::read(dataDir)) {
        inJournal = {found->staging, found->aside};
        WorkFolder staging = WorkFolder::adopt(programDir, found->staging);
        WorkFolder aside = WorkFolder::adopt(programDir, found->aside);
        // A new identity again: whoever worked on the old files before the kill must not go on
        // writing into the new ones.
        lock->renewDataSet();
        notes.append(finished(*found, DataSwap::carryOut(programDir, *found, staging, aside)));
    }
    for (const WorkFolder::Stale &stale : WorkFolder::findStale(programDir, inJournal)) {
        WorkFolder folder = WorkFolder::adopt(programDir, QFileInfo(stale.path).fileName());
        switch (stale.kind) {
        case WorkFolder::Kind::Backup:
            folder.remove();
            notes.append(QStringLiteral("O salvare a fost intrerupta; copia de lucru a datelor "
                                        "din %1 a fost stearsa.")
                             .arg(shown(stale.path)));
            break;
        case WorkFolder::Kind::Staging:
            folder.remove();
            if (stale.hadFiles)
                notes.append(QStringLiteral("O restaurare a fost intrerupta inainte sa schimbe "
                                            "directorul de date, care a ramas neschimbat; "
                                            "fisierele ei de lucru din %1 au fost sterse.")
                                 .arg(shown(stale.path)));
            break;
        case WorkFolder::Kind::Aside:
            // Files set aside that no journal names were left by an older version of the
            // program: they may be the only copy of the old data.
            if (!stale.hadFiles) {
                folder.remove();
                break;
            }
            notes.append(QStringLiteral("Directorul %1 pastreaza fisierele de date de dinaintea "
                                        "unei restaurari intrerupte. Verificati-le si stergeti "
                                        "directorul cand nu mai aveti nevoie de ele.")
                             .arg(shown(stale.path)));
            break;
        }
    }
    return notes;
}

} // namespace velmora
