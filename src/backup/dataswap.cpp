// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/dataswap.h"

#include "backup/workfolder.h"
#include "store/dbf/atomicfile.h"
#include "store/dbf/datalock.h"
#include "store/dbf/faultpoint.h"
#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace velmora {

namespace {

using Direction = RestoreJournal::Direction;
using Phase = RestoreJournal::Phase;

bool present(const QString &path) {
    return Platform::kindOf(path) != Platform::FileKind::Missing;
}

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// The files directly in a folder, links and pipes among them, in name order, without the
// lock file and the restore's own marker.
QStringList filesIn(const QString &dir) {
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    const QString marker = DataLock::restoreMarkerName();
    names.removeIf([&](const QString &name) {
        return name.compare(DataLock::lockFileName(), Qt::CaseInsensitive) == 0 || name == marker ||
               name == QFileInfo(AtomicFile::temporaryPath(marker)).fileName();
    });
    return names;
}

class Swap {
public:
    Swap(const QString &programDir, RestoreJournal &journal, WorkFolder &staging, WorkFolder &aside)
        : m_data(programDir + QStringLiteral("/Data"))
        , m_journal(journal)
        , m_staging(staging)
        , m_aside(aside) {}

    // Empty when every file of the archive is in Data; otherwise why it cannot get there.
    QString forward() {
        if (m_journal.phase == Phase::SettingAside) {
            // Nothing is set aside for a restore that could not be finished.
            for (const QString &member : m_journal.members) {
                if (!present(m_staging.filePath(member)))
                    return missing(member);
            }
            if (!QDir().mkpath(m_aside.path()))
                return QStringLiteral("directorul %1 nu poate fi creat").arg(shown(m_aside.path()));
            for (const QString &name : filesIn(m_data)) {
                if (const QString failed = move(m_data + u'/' + name, m_aside.filePath(name));
                    !failed.isEmpty())
                    return failed;
            }
            if (const QString failed = settle(m_aside.path()); !failed.isEmpty())
                return failed;
            m_journal.phase = Phase::BringingIn;
            m_journal.write(m_data);
        }
        for (const QString &member : m_journal.members) {
            const QString target = m_data + u'/' + member;
            if (present(m_staging.filePath(member))) {
                if (const QString failed = move(m_staging.filePath(member), target);
                    !failed.isEmpty())
                    return failed;
            } else if (!present(target)) {
                return missing(member);
            }
        }
        return settle(m_staging.path());
    }

    // Puts the old files back; a FileError when one cannot be.
    void back() {
        if (m_journal.phase == Phase::BringingIn) {
            if (!QDir().mkpath(m_staging.path()))
                stuck(
                    QStringLiteral("directorul %1 nu poate fi creat").arg(shown(m_staging.path())));
            // While bringing in, a file of the archive's name in Data is the archive's.
            for (const QString &member : m_journal.members) {
                const QString inData = m_data + u'/' + member;
                if (!present(m_staging.filePath(member)) && present(inData)) {
                    if (const QString failed = move(inData, m_staging.filePath(member));
                        !failed.isEmpty())
                        stuck(failed);
                }
            }
            if (const QString failed = settle(m_staging.path()); !failed.isEmpty())
                stuck(failed);
            m_journal.phase = Phase::SettingAside;
            m_journal.write(m_data);
        }
        for (const QString &name : filesIn(m_aside.path())) {
            if (const QString failed = move(m_aside.filePath(name), m_data + u'/' + name);
                !failed.isEmpty())
                stuck(failed);
        }
        if (const QString failed = settle(m_aside.path()); !failed.isEmpty())
            stuck(failed);
    }

    // The set not taken is emptied while the journal still says which it is, then the journal
    // goes, then the folders.
    void finish(const WorkFolder &notTaken) {
        for (const QString &name : filesIn(notTaken.path())) {
            FaultPoint::hit();
            QFile::remove(notTaken.filePath(name));
        }
        RestoreJournal::remove(m_data);
        m_staging.remove();
        m_aside.remove();
    }

private:
    static QString move(const QString &from, const QString &to) {
        FaultPoint::hit();
        QString reason;
        if (Platform::replaceFile(from, to, &reason))
            return {};
        return QStringLiteral("fisierul %1 nu poate fi mutat: %2").arg(shown(from), reason);
    }

    QString missing(const QString &member) const {
        return QStringLiteral("fisierul %1 al arhivei lipseste din %2")
            .arg(member, shown(m_staging.path()));
    }

    // The renames reach the disk, on both sides, before the journal says they are done.
    // Empty when they did; otherwise why not.
    QString settle(const QString &other) const {
        for (const QString &dir : {m_data, other}) {
            QString reason;
            if (!Platform::syncDirectory(dir, &reason))
                return QStringLiteral("directorul %1 nu poate fi scris pe disc: %2")
                    .arg(shown(dir), reason);
        }
        return {};
    }

    [[noreturn]] void stuck(const QString &reason) const {
        const QString why =
            m_journal.reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(m_journal.reason);
        throw FileError(
            QStringLiteral("Restaurarea din %1 nu a putut fi dusa la capat%2, iar fisierele "
                           "vechi nu au putut fi puse la loc: %3. Fisierele vechi se afla in %4, "
                           "cele ale arhivei in %5. Directorul de date nu poate fi folosit pana "
                           "cand nu sunt puse la loc; la urmatoarea pornire programul incearca "
                           "din nou.")
                .arg(shown(m_journal.archive), why, reason, shown(m_aside.path()),
                     shown(m_staging.path())));
    }

    QString m_data;
    RestoreJournal &m_journal;
    WorkFolder &m_staging;
    WorkFolder &m_aside;
};

} // namespace

DataSwap::Outcome DataSwap::carryOut(const QString &programDir, RestoreJournal journal,
                                     WorkFolder &staging, WorkFolder &aside) {
    Swap swap(programDir, journal, staging, aside);
    if (journal.direction == Direction::Forward) {
        const QString failed = swap.forward();
        if (failed.isEmpty()) {
            swap.finish(aside);
            return {Direction::Forward, {}};
        }
        journal.direction = Direction::Back;
        journal.reason = failed;
        journal.write(programDir + QStringLiteral("/Data"));
    }
    swap.back();
    swap.finish(staging);
    return {Direction::Back, journal.reason};
}

} // namespace velmora
