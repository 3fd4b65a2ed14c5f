// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/reportexport.h"
#include "export/sheetexport.h"
#include "reports/profitreport.h"

#include "exportfixture.h"
#include "filebytes.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

// One cell as LibreOffice keeps it in a flat OpenDocument spreadsheet.
struct Cell {
    QString type;  // float, date, time, string; empty for an empty cell
    QString value; // office:value, date-value or time-value
    QString text;  // what the cell shows, a tab as "\t"
    QString formula;
};
using Sheet = QList<QList<Cell>>;

// The first table of a .fods file.
Sheet readFods(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    Sheet sheet;
    bool inTable = false;
    Cell *cell = nullptr;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == u"table") {
            if (inTable)
                break;
        }
        if (!xml.isStartElement() && !xml.isCharacters())
            continue;
        if (xml.isCharacters()) {
            if (cell && !xml.isWhitespace())
                cell->text += xml.text();
            continue;
        }
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == u"table") {
            inTable = true;
        } else if (inTable && xml.name() == u"table-row") {
            sheet.append(QList<Cell>());
            cell = nullptr;
        } else if (inTable && xml.name() == u"table-cell" && !sheet.isEmpty()) {
            const int repeat = qMax(1, a.value(u"table:number-columns-repeated"_s).toInt());
            Cell c{a.value(u"office:value-type"_s).toString(),
                   {},
                   {},
                   a.value(u"table:formula"_s).toString()};
            for (const QString &name :
                 {u"office:value"_s, u"office:date-value"_s, u"office:time-value"_s}) {
                if (a.hasAttribute(name))
                    c.value = a.value(name).toString();
            }
            // A long run of empty cells fills the row to the sheet's edge; it says nothing.
            for (int i = 0; i < qMin(repeat, 64); ++i)
                sheet.last().append(c);
            cell = &sheet.last().last();
        } else if (cell && xml.name() == u"tab") {
            cell->text += u'\t';
        } else if (cell && xml.name() == u"s") {
            cell->text += QString(qMax(1, a.value(u"text:c"_s).toInt()), u' ');
        }
    }
    return sheet;
}

} // namespace

// The Romanian dialect opened by LibreOffice under Romanian settings (";" between fields,
// UTF-8, special numbers recognised, as its import dialog offers them): numbers come back as
// numbers, dates as dates, hours as times, ș and ț as the comma-below letters, and a text
// that starts like a formula stays text.
class TestSpreadsheetReadback : public QObject {
    Q_OBJECT

    test::ExportFixture m_data;
    QTemporaryDir m_profile;
    Sheet m_sheets;
    Sheet m_lines;
    Sheet m_profit;
    Sheet m_control;

    QString csv(const QString &name) const { return m_data.path(name + u".csv"_s); }

private Q_SLOTS:
    void initTestCase() {
        const QString soffice = QStandardPaths::findExecutable(u"soffice"_s);
        if (soffice.isEmpty())
            QSKIP("LibreOffice Calc (soffice) is not installed; scripts/setup.sh installs it "
                  "(libreoffice-calc-nogui)");
        SheetExport(m_data.dataDir(), {}).writeSheets(csv(u"sheets"_s), CsvDialect::romanian());
        SheetExport(m_data.dataDir(), {}).writeLines(csv(u"lines"_s), CsvDialect::romanian());
        ReportExport::writeProfit(ProfitReport::query(m_data.dataDir(), QDate(2024, 3, 1),
                                                      QDate(2024, 3, 3),
                                                      ProfitReport::Grouping::Vehicle),
                                  csv(u"profit"_s), CsvDialect::romanian());
        // Without the guard the same text is a formula under these settings: the guard is
        // what keeps it text.
        putBytes(csv(u"control"_s), "\xEF\xBB\xBFText\r\n=1+1\r\n");

        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, m_profile.path());
        env.insert(u"LC_ALL"_s, u"ro_RO.UTF-8"_s);
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        QStringList args{u"-env:UserInstallation="_s +
                             QUrl::fromLocalFile(m_profile.filePath(u"lo"_s)).toString(),
                         u"--headless"_s,
                         // 59 ";", 34 '"', 76 UTF-8, from line 1, 1048 Romanian, quoted
                         // fields not forced to text, special numbers (dates, times) detected.
                         u"--infilter=CSV:59,34,76,1,,1048,false,true"_s, u"--convert-to"_s,
                         u"fods"_s, u"--outdir"_s, m_data.programDir()};
        for (const QString &name : {u"sheets"_s, u"lines"_s, u"profit"_s, u"control"_s})
            args << csv(name);
        process.start(soffice, args);
        QVERIFY(process.waitForFinished(240000));
        QVERIFY2(process.exitCode() == 0, process.readAll().constData());
        m_sheets = readFods(m_data.path(u"sheets.fods"_s));
        m_lines = readFods(m_data.path(u"lines.fods"_s));
        m_profit = readFods(m_data.path(u"profit.fods"_s));
        m_control = readFods(m_data.path(u"control.fods"_s));
        QVERIFY(!m_sheets.isEmpty());
    }

    void guardIsNeeded() {
        QCOMPARE(m_control.size(), 2);
        QCOMPARE(m_control[1][0].formula, u"of:=1+1"_s);
    }

    void titlesAreText() {
        QCOMPARE(m_sheets[0][0].type, u"string"_s);
        QCOMPARE(m_sheets[0][0].text, u"Nr. foaie"_s);
        QCOMPARE(m_profit[0][7].text, u"Venit pe km (lei/km)"_s);
    }

    // Sheet 3, fourth in date order: every column in its own type.
    void sheetColumnsComeBackTyped() {
        const QList<Cell> &row = m_sheets[4];
        QCOMPARE(row[0].type, u"float"_s);
        QCOMPARE(row[0].value, u"3"_s);
        QCOMPARE(row[1].type, u"date"_s);
        QCOMPARE(row[1].value, u"2024-03-02"_s);
        QCOMPARE(row[2].type, u"time"_s);
        QCOMPARE(row[2].value, u"PT06H00M00S"_s);
        QCOMPARE(row[3].text, u"B10AAA"_s);
        QCOMPARE(row[4].type, u"string"_s);
        QCOMPARE(row[4].text, u"\u0218ERBAN ANA"_s);
        QCOMPARE(row[6].text, test::ExportFixture::quotedParking());
        const QStringList numbers{u"5"_s, u"80"_s, u"6.25"_s, u"7"_s, u"35"_s};
        for (int i = 0; i < numbers.size(); ++i) {
            QCOMPARE(row[7 + i].type, u"float"_s);
            QCOMPARE(row[7 + i].value, numbers[i]);
        }
    }

    void formulaLookalikeStaysText() {
        const Cell &parking = m_sheets[2][6];
        QCOMPARE(parking.type, u"string"_s);
        QVERIFY(parking.formula.isEmpty());
        QCOMPARE(parking.text, u"\t=DEPOU"_s);
    }

    void linesComeBackTyped() {
        QCOMPARE(m_lines.size(), 6);
        const QList<Cell> &first = m_lines[1];
        QCOMPARE(first[1].value, u"2024-02-28"_s);
        QCOMPARE(first[2].type, u"time"_s);
        QCOMPARE(first[2].value, u"PT10H20M00S"_s);
        const QList<Cell> &departure = m_lines[3];
        QCOMPARE(departure[0].value, u"1"_s);
        QCOMPARE(departure[4].type, u"float"_s);
        QCOMPARE(departure[4].value, u"150.5"_s);
    }

    // The per-kilometre values of a vehicle without kilometres are empty cells, the others
    // numbers with their decimals; the total is there.
    void profitComesBackTyped() {
        const QList<Cell> &noKm = m_profit[1];
        QCOMPARE(noKm[0].text, u"CJ20BBB"_s);
        QCOMPARE(noKm[6].type, u"float"_s);
        QCOMPARE(noKm[6].value, u"1.25"_s);
        for (int i = 7; i < 11; ++i)
            QVERIFY(i >= noKm.size() || noKm[i].type.isEmpty());
        const QList<Cell> &b10 = m_profit[2];
        QCOMPARE(b10[7].value, u"0.878"_s);
        QCOMPARE(b10[10].value, u"7"_s);
        QCOMPARE(m_profit[4][0].text, u"TOTAL"_s);
        QCOMPARE(m_profit[4][5].value, u"476.75"_s);
    }
};

QTEST_GUILESS_MAIN(TestSpreadsheetReadback)
#include "tst_spreadsheetreadback.moc"
