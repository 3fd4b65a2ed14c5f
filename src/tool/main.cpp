// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-tool: the data work of the program without its windows.
// Exit status: 0 done, 1 an error (its message on stderr), 2 wrong usage.

#include "backup/archiveformat.h"
#include "backup/backuprotation.h"
#include "backup/datarecovery.h"
#include "backup/datarestore.h"
#include "backup/datasnapshot.h"
#include "records/samplegenerator.h"
#include "reports/sheetprintout.h"
#include "store/datastore.h"
#include "store/programlocation.h"
#include "store/query/tsvwriter.h"
#include "store/sql/sqlengine.h"
#include "store/text/error.h"
#include "store/text/textform.h"
#include "tool/exportcommand.h"
#include "tool/reporthelper.h"
#include "tool/tooloutput.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <optional>

using namespace velmora;

namespace {

constexpr int kDone = ToolOutput::kDone;

int usage(const QString &problem) {
    return ToolOutput::usage(problem);
}

const char kHelp[] =
    "Usage: velmora-tool COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  init PROGRAMDIR       create Data and the missing tables, then pack both tables\n"
    "  sql                   run one statement read from standard input; a SELECT prints its\n"
    "                        rows as tab-separated lines, the column names first\n"
    "  pack PROGRAMDIR       remove the deleted rows of both tables for good\n"
    "  generate PROGRAMDIR --sheets N --lines L [--seed S]\n"
    "                        add N made-up sheets with about L departures and arrivals each\n"
    "  print-sheet PROGRAMDIR IDFOAIE OUT.rtf\n"
    "                        the trip sheet's printout through PROGRAMDIR/Foaie.rtf\n"
    "  report PROGRAMDIR FROM TO OUT.pdf\n"
    "                        the period summary as PDF; dates in the short date format\n"
    "  export PROGRAMDIR WHAT OUT.csv [--from DATE --to DATE] [--by vehicle|driver|month]\n"
    "         [--driver TEXT] [--vehicle TEXT] [--standard]\n"
    "                        WHAT as CSV: sheets (those the records window's search by\n"
    "                        driver and vehicle shows, optionally of a period), lines (their\n"
    "                        departures and arrivals), period (the period summary) or profit\n"
    "                        (income, fuel and result by vehicle, first driver or month);\n"
    "                        period and profit need --from and --to; Excel (Romania) form\n"
    "                        unless --standard\n"
    "  backup PROGRAMDIR ARCHIVE\n"
    "                        save the data directory into the archive (written beside it and\n"
    "                        renamed over it once complete)\n"
    "  backup [PROGRAMDIR] --to FOLDER --keep N\n"
    "                        save it into FOLDER/Velmora-YYYY-MM-DD-HHMM.vmr, then remove the\n"
    "                        oldest archives of that name beyond the newest N; without\n"
    "                        PROGRAMDIR, the one that \"where\" prints\n"
    "  restore PROGRAMDIR ARCHIVE\n"
    "                        replace the data directory's files with the archive's, once the\n"
    "                        whole archive has been checked; a damaged one changes nothing\n"
    "  verify ARCHIVE        check the whole archive; print each member's name and size\n"
    "  where                 print the program directory the program uses when started from\n"
    "                        the folder of this tool\n"
    "  --help                this text\n";

int runSql() {
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Intrarea standard nu poate fi citita."));
    // Taken as given: an error's line number counts the blank lines before the statement too.
    const QString statement = QString::fromUtf8(in.readAll());
    static const QRegularExpression select(QStringLiteral("^\\s*SELECT\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (!select.match(statement).hasMatch()) {
        SqlEngine::run(statement);
        return kDone;
    }
    const ResultSet result = SqlEngine::open(statement);
    TsvWriter::write(result, [](const QByteArray &chunk) { ToolOutput::writeOut(chunk); });
    return kDone;
}

std::optional<qint64> number(const QString &text, qint64 low, qint64 high) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

int runGenerate(const QStringList &args) {
    if (args.isEmpty())
        return usage(QStringLiteral("generate: missing PROGRAMDIR"));
    std::optional<qint64> sheets;
    std::optional<qint64> lines;
    qint64 seed = 1;
    for (qsizetype i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return usage(QStringLiteral("generate: %1 needs a value").arg(args[i]));
        const QString &value = args[i + 1];
        if (args[i] == QStringLiteral("--sheets"))
            sheets = number(value, 0, std::numeric_limits<qint32>::max());
        else if (args[i] == QStringLiteral("--lines"))
            lines = number(value, 0, 10000);
        else if (args[i] == QStringLiteral("--seed"))
            seed = number(value, 0, std::numeric_limits<quint32>::max()).value_or(-1);
        else
            return usage(QStringLiteral("generate: unknown option %1").arg(args[i]));
        if ((args[i] == QStringLiteral("--sheets") && !sheets) ||
            (args[i] == QStringLiteral("--lines") && !lines) || seed < 0)
            return usage(
                QStringLiteral("generate: %1 is not a valid value for %2").arg(value, args[i]));
    }
    if (!sheets || !lines)
        return usage(QStringLiteral("generate: --sheets and --lines are required"));

    DataStore store(args.first());
    store.ensureDataDir();
    store.createTables();
    SampleGenerator generator(store, QDate(QDate::currentDate().year(), 1, 1));
    const SampleGenerator::Summary summary = generator.generate(
        static_cast<qint32>(*sheets), static_cast<qint32>(*lines), static_cast<quint32>(seed));
    ToolOutput::printOut(QStringLiteral("%1 sheets, %2 departures and arrivals added")
                             .arg(QString::number(summary.sheets), QString::number(summary.lines)));
    return kDone;
}

int runPrintSheet(const QStringList &args) {
    if (args.size() != 3)
        return usage(QStringLiteral("print-sheet: expected PROGRAMDIR IDFOAIE OUT.rtf"));
    SheetPrintout(args[0]).write(args[1], args[2]);
    return kDone;
}

// The program directory the program beside this tool uses.
QString programDir() {
    return ProgramLocation(QCoreApplication::applicationDirPath()).programDir();
}

// The data directory into the archive; an error when there is nothing to save. Each file
// left out is said on stderr; the count is that of the members written.
int saveData(const QString &programDir, const QString &archive) {
    QStringList skipped;
    const int members = DataSnapshot::save(programDir, archive, {}, &skipped);
    for (const QString &file : skipped)
        ToolOutput::printErr(QStringLiteral("Atentie: ") + file);
    if (members == 0)
        throw ArchiveError(
            QStringLiteral("Directorul de date %1 nu contine niciun fisier de "
                           "salvat; arhiva nu a fost scrisa.")
                .arg(QDir::toNativeSeparators(programDir + QStringLiteral("/Data"))));
    return members;
}

// backup PROGRAMDIR --to FOLDER --keep N: a dated archive, then only the newest N kept.
int runBackupIntoFolder(const QStringList &args) {
    QString folder;
    std::optional<qint64> keep;
    for (qsizetype i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return usage(QStringLiteral("backup: %1 needs a value").arg(args[i]));
        const QString &value = args[i + 1];
        if (args[i] == QStringLiteral("--to")) {
            folder = value;
        } else if (args[i] == QStringLiteral("--keep")) {
            keep = number(value, 1, 1000000);
            if (!keep)
                return usage(QStringLiteral("backup: --keep needs a whole number of at least 1, "
                                            "not %1")
                                 .arg(value));
        } else {
            return usage(QStringLiteral("backup: unknown option %1").arg(args[i]));
        }
    }
    if (folder.isEmpty() || !keep)
        return usage(QStringLiteral("backup: expected PROGRAMDIR --to FOLDER --keep N"));
    int members = 0;
    const QString made = BackupRotation::backUp(
        folder, static_cast<int>(*keep), QDateTime::currentDateTime(),
        [&](const QString &archive) { members = saveData(args[0], archive); });
    ToolOutput::printOut(QStringLiteral("%1 files saved into %2")
                             .arg(QString::number(members), QDir::toNativeSeparators(made)));
    return kDone;
}

int runArchive(const QString &command, const QStringList &args) {
    if (command == QStringLiteral("verify")) {
        if (args.size() != 1)
            return usage(QStringLiteral("verify: expected ARCHIVE"));
        for (const ArchiveFormat::Member &member : ArchiveFormat::verify(args[0]))
            ToolOutput::printOut(
                QStringLiteral("Data\\%1\t%2").arg(member.fileName, QString::number(member.size)));
        return kDone;
    }
    if (command == QStringLiteral("backup") && args.size() >= 2 &&
        args[1].startsWith(QStringLiteral("--")))
        return runBackupIntoFolder(args);
    // Without PROGRAMDIR: the program's own, as "where" prints it (the daily timer's form).
    if (command == QStringLiteral("backup") && !args.isEmpty() &&
        args[0].startsWith(QStringLiteral("--")))
        return runBackupIntoFolder(QStringList{programDir()} + args);
    if (args.size() != 2)
        return usage(QStringLiteral("%1: expected PROGRAMDIR ARCHIVE").arg(command));
    if (command == QStringLiteral("backup")) {
        ToolOutput::printOut(QStringLiteral("%1 files saved").arg(saveData(args[0], args[1])));
        return kDone;
    }
    const QList<ArchiveFormat::Member> members = DataRestore::restore(args[1], args[0]);
    ToolOutput::printOut(QStringLiteral("%1 files restored").arg(members.size()));
    return kDone;
}

// Whatever a killed restore or backup left is dealt with before a command touches Data, and
// said on stderr.
void recoverFirst(const QString &command, const QStringList &rest) {
    static const QStringList onProgramDir = {
        QStringLiteral("init"),   QStringLiteral("pack"),        QStringLiteral("generate"),
        QStringLiteral("report"), QStringLiteral("print-sheet"), QStringLiteral("backup"),
        QStringLiteral("restore")};
    if (!onProgramDir.contains(command) || rest.isEmpty())
        return;
    QString dir = rest.first();
    if (dir.startsWith(u'-')) {
        // The daily timer's backup names no PROGRAMDIR: it saves the program's own.
        if (command != QStringLiteral("backup"))
            return;
        dir = programDir();
    }
    for (const QString &note : DataRecovery::recover(dir))
        ToolOutput::printErr(note);
}

int run(const QStringList &args) {
    if (args.isEmpty())
        return usage(QStringLiteral("missing COMMAND"));
    const QString &command = args.first();
    const QStringList rest = args.mid(1);
    recoverFirst(command, rest);
    if (command == QStringLiteral("--help") || command == QStringLiteral("-h")) {
        ToolOutput::writeOut(kHelp);
        return kDone;
    }
    if (command == QStringLiteral("sql")) {
        if (!rest.isEmpty())
            return usage(QStringLiteral("sql takes no arguments; the statement comes on stdin"));
        return runSql();
    }
    if (command == QStringLiteral("init") || command == QStringLiteral("pack")) {
        if (rest.size() != 1)
            return usage(QStringLiteral("%1: expected PROGRAMDIR").arg(command));
        DataStore store(rest.first());
        const QStringList repairs =
            command == QStringLiteral("init") ? store.initialize() : store.packTables();
        for (const QString &repair : repairs)
            ToolOutput::printOut(repair);
        return kDone;
    }
    if (command == QStringLiteral("generate"))
        return runGenerate(rest);
    if (command == QStringLiteral("print-sheet"))
        return runPrintSheet(rest);
    if (command == QStringLiteral("report"))
        return ReportHelper::forward(rest);
    if (command == QStringLiteral("export"))
        return ExportCommand::run(rest);
    if (command == QStringLiteral("backup") || command == QStringLiteral("restore") ||
        command == QStringLiteral("verify"))
        return runArchive(command, rest);
    if (command == QStringLiteral("where")) {
        if (!rest.isEmpty())
            return usage(QStringLiteral("where takes no arguments"));
        ToolOutput::printOut(QDir::toNativeSeparators(programDir()));
        return kDone;
    }
    return usage(QStringLiteral("unknown command: %1").arg(command));
}

} // namespace

int main(int argc, char *argv[]) {
    const QCoreApplication application(argc, argv);
    // The program's own name, so that the user's data location is the program's.
    QCoreApplication::setApplicationName(QStringLiteral("Velmora v.1.01"));
    return ToolOutput::guarded([] { return run(QCoreApplication::arguments().mid(1)); });
}
