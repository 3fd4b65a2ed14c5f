// SPDX-License-Identifier: GPL-3.0-or-later
// The trip-sheet printout of a 20-line sheet, through the shipped template as the records
// window's print button writes it, its pages drawn by LibreOffice (to PDF) and pdftoppm.
#include "records/sheetstatements.h"
#include "reports/documentopener.h"
#include "reports/printoutfiles.h"
#include "reports/sheetprintout.h"
#include "store/datastore.h"
#include "store/settings.h"
#include "store/sql/sqlengine.h"
#include "store/text/textform.h"
#include "store/text/timp.h"
#include "studio.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

using namespace velmora;
using velmora::shots::Studio;

namespace {

class KeepPath : public DocumentOpener {
public:
    void open(const QString &path) override { opened = path; }
    QString opened;
};

// Runs a program to its end; empty when it did, else what went wrong.
QString run(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return program + QStringLiteral(" cannot be started");
    if (!process.waitForFinished(180000)) {
        process.kill();
        process.waitForFinished(5000);
        return program + QStringLiteral(" did not finish");
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAll());
    return QString();
}

// A sheet of 20 departures and arrivals, with names and a parking place that hold
// Romanian letters and a brace. Returns its number.
QString sheetOfTwentyLines(const QString &programDir) {
    DataStore store(programDir);
    store.ensureDataDir();
    store.createTables();
    const SheetStatements statements(store.dataDir());
    SheetValues sheet;
    sheet.id = QStringLiteral("1027");
    sheet.date = QDate(2026, 12, 3);
    sheet.hour = QTime(7, 0);
    sheet.vehicle = QStringLiteral("B123VLM");
    sheet.driver1 = QStringLiteral("POPESCU \u0218TEFAN");
    sheet.driver2 = QStringLiteral("\u021AARANU MIHAI");
    sheet.parking = QStringLiteral("AUTOBAZA {NR. 2} BUCURE\u0218TI");
    sheet.km = QStringLiteral("348");
    sheet.consumption = QStringLiteral("7.9");
    sheet.price = QStringLiteral("7.32");
    sheet.cost = QStringLiteral("201.24");
    SqlEngine::run(statements.insertSheet(sheet).join(u'\n'));
    for (int i = 0; i < 20; ++i) {
        const QTime at = QTime(7, 5).addSecs(i * 1800);
        // 2137.50 lei in all.
        const QString amount =
            QStringLiteral("%1.%2").arg(40 + 7 * i).arg(i % 4 * 25, 2, 10, QChar(u'0'));
        const LineValues line{QString::number(5001 + i), sheet.id,
                              QString::fromLatin1(i % 2 ? "SOSIRE" : "PLECARE"),
                              TextForm::fourDecimal(Timp::fromDateTime(sheet.date, at)), amount};
        SqlEngine::run(statements.insertLine(line).join(u'\n'));
        SqlEngine::run(statements.addIncome(sheet.id, amount).join(u'\n'));
    }
    return sheet.id;
}

} // namespace

VELMORA_SCENE(sheet_printout, "sheet-printout.png") {
    const QString programDir = studio.programDir();
    const QString id = sheetOfTwentyLines(programDir);
    Settings::write(Settings::companyKey(),
                    QStringLiteral("Transporturi \u0218tef\u0103nescu & \u021Au\u021Buianu SRL"));
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/Foaie.rtf"),
                programDir + QStringLiteral("/Foaie.rtf"));

    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/velmora-printout-XXXXXX"));
    KeepPath opener;
    SheetPrintout(programDir).print(id, PrintoutFiles(work.path()), opener);
    // A profile of its own, so that a LibreOffice the user has open is not disturbed.
    const QString why =
        run(QStringLiteral("soffice"),
            {QStringLiteral("-env:UserInstallation=") +
                 QString::fromLatin1(
                     QUrl::fromLocalFile(work.filePath(QStringLiteral("profile"))).toEncoded()),
             QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
             QStringLiteral("--outdir"), work.path(), opener.opened});
    const QString pdf = work.filePath(QStringLiteral("Rap1.pdf"));
    const QString pages =
        why.isEmpty() ? run(QStringLiteral("pdftoppm"),
                            {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("100"),
                             pdf, work.filePath(QStringLiteral("page"))})
                      : why;
    const QStringList drawn =
        QDir(work.path()).entryList({QStringLiteral("page-*.png")}, QDir::Files, QDir::Name);
    if (!pages.isEmpty() || drawn.isEmpty()) {
        studio.saveImage(QImage(), QStringLiteral("sheet-printout.png"),
                         pages.isEmpty() ? QStringLiteral("no page drawn") : pages);
        return;
    }
    for (qsizetype page = 0; page < drawn.size(); ++page) {
        const QString file = page == 0 ? QStringLiteral("sheet-printout.png")
                                       : QStringLiteral("sheet-printout-%1.png").arg(page + 1);
        studio.saveImage(QImage(work.filePath(drawn[page])), file);
    }
}
