// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/restorejournal.h"

#include "backup/datafiles.h"
#include "backup/membername.h"
#include "backup/workfolder.h"
#include "store/dbf/atomicfile.h"
#include "store/dbf/datalock.h"
#include "store/dbf/faultpoint.h"
#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmora {

namespace {

constexpr char kHead[] = "Velmora restaurare 1";
constexpr char kEnd[] = "sfarsit";

[[noreturn]] void unreadable(const QString &path, const QString &why) {
    throw FileError(QStringLiteral("Jurnalul restaurarii %1 nu poate fi folosit (%2). Fisierele "
                                   "directorului de date si ale directoarelor Data.restaurare-... "
                                   "si Data.vechi-... de langa el au ramas neatinse.")
                        .arg(QDir::toNativeSeparators(path), why));
}

} // namespace

QString RestoreJournal::path(const QString &dataDir) {
    return dataDir + u'/' + DataLock::restoreMarkerName();
}

bool RestoreJournal::exists(const QString &dataDir) {
    return QFileInfo::exists(path(dataDir));
}

std::optional<RestoreJournal> RestoreJournal::read(const QString &dataDir) {
    const QString file = path(dataDir);
    if (Platform::kindOf(file) == Platform::FileKind::Missing)
        return std::nullopt;
    QFile in;
    QString reason;
    if (!Platform::openRegularFile(file, in, &reason))
        unreadable(file, reason);
    const QList<QByteArray> lines = in.readAll().split('\n');
    if (lines.size() < 5 || lines.first() != kHead || lines.at(lines.size() - 2) != kEnd ||
        !lines.last().isEmpty())
        unreadable(file, QStringLiteral("nu este complet"));

    RestoreJournal journal;
    bool direction = false;
    bool phase = false;
    for (qsizetype i = 1; i < lines.size() - 2; ++i) {
        const QString line = QString::fromUtf8(lines[i]);
        const qsizetype equals = line.indexOf(u'=');
        const QString key = line.left(equals);
        const QString value = equals < 0 ? QString() : line.mid(equals + 1);
        if (key == QLatin1String("directie") && value == QLatin1String("inainte")) {
            journal.direction = Direction::Forward;
            direction = true;
        } else if (key == QLatin1String("directie") && value == QLatin1String("inapoi")) {
            journal.direction = Direction::Back;
            direction = true;
        } else if (key == QLatin1String("faza") && value == QLatin1String("deoparte")) {
            journal.phase = Phase::SettingAside;
            phase = true;
        } else if (key == QLatin1String("faza") && value == QLatin1String("aducere")) {
            journal.phase = Phase::BringingIn;
            phase = true;
        } else if (key == QLatin1String("motiv")) {
            journal.reason = value;
        } else if (key == QLatin1String("arhiva")) {
            journal.archive = value;
        } else if (key == QLatin1String("pregatire")) {
            journal.staging = value;
        } else if (key == QLatin1String("vechi")) {
            journal.aside = value;
        } else if (key == QLatin1String("fisier")) {
            // Only plain files directly in Data: a journal never moves anything elsewhere.
            if (!MemberName::isPlain(value) || DataFiles::isEngineOwn(value))
                unreadable(
                    file,
                    QStringLiteral("numele \"%1\" nu este al unui fisier de date").arg(value));
            journal.members.append(value);
        } else {
            unreadable(file, QStringLiteral("linia \"%1\" nu este inteleasa").arg(line));
        }
    }
    WorkFolder::Kind staging = WorkFolder::Kind::Backup;
    WorkFolder::Kind aside = WorkFolder::Kind::Backup;
    if (!direction || !phase)
        unreadable(file, QStringLiteral("nu spune cum sa continue"));
    if (!WorkFolder::isWorkFolder(journal.staging, &staging) ||
        staging != WorkFolder::Kind::Staging || !WorkFolder::isWorkFolder(journal.aside, &aside) ||
        aside != WorkFolder::Kind::Aside)
        unreadable(file, QStringLiteral("nu numeste directoarele de lucru"));
    return journal;
}

void RestoreJournal::write(const QString &dataDir) const {
    QByteArray text = QByteArray(kHead) + '\n';
    text += direction == Direction::Forward ? "directie=inainte\n" : "directie=inapoi\n";
    text += phase == Phase::SettingAside ? "faza=deoparte\n" : "faza=aducere\n";
    // Only told to the user; a line break in them must not end the line.
    const auto oneLine = [](QString value) {
        return value.replace(u'\n', u' ').replace(u'\r', u' ').toUtf8();
    };
    text += "arhiva=" + oneLine(archive) + '\n';
    if (!reason.isEmpty())
        text += "motiv=" + oneLine(reason) + '\n';
    text += "pregatire=" + staging.toUtf8() + '\n';
    text += "vechi=" + aside.toUtf8() + '\n';
    for (const QString &member : members)
        text += "fisier=" + member.toUtf8() + '\n';
    text += QByteArray(kEnd) + '\n';
    AtomicFile::replace(path(dataDir), text);
}

void RestoreJournal::remove(const QString &dataDir) {
    FaultPoint::hit();
    const QString file = path(dataDir);
    if (!QFile::remove(file) && Platform::kindOf(file) != Platform::FileKind::Missing)
        throw FileError(QStringLiteral("Jurnalul restaurarii %1 nu poate fi sters: %2")
                            .arg(QDir::toNativeSeparators(file), Platform::lastReason()));
    QString reason;
    if (!Platform::syncDirectory(dataDir, &reason))
        throw FileError(QStringLiteral("Jurnalul restaurarii %1 nu poate fi sters: %2")
                            .arg(QDir::toNativeSeparators(file), reason));
}

} // namespace velmora
