// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/documentopener.h"
#include "reports/printouterror.h"
#include "reports/printoutfiles.h"
#include "reports/rtffiller.h"
#include "reports/sheetplaceholders.h"
#include "reports/sheetprintout.h"
#include "store/settings.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"

#include "filebytes.h"
#include "goldenfile.h"
#include "rtftext.h"
#include "tripfixture.h"

#include <QDir>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using velmora::statements::Sheet;

namespace {

class RecordingOpener : public DocumentOpener {
public:
    void open(const QString &path) override { opened.append(path); }
    QStringList opened;
};

QList<Placeholder> emptyRow(int n) {
    QList<Placeholder> row;
    for (const char letter : {'P', 'A', 'B', 'C', 'D', 'E', 'F', 'R'})
        row.append(
            {u'[' + QChar::fromLatin1(letter) + QString::number(n) + u']', QStringLiteral("-")});
    return row;
}

QString tagValue(const QList<Placeholder> &list, const QString &tag) {
    for (const Placeholder &p : list) {
        if (p.tag == tag)
            return p.value;
    }
    return QStringLiteral("<missing>");
}

// The rows of the departures and arrivals table as printed: nine cells, a number first.
QList<QStringList> lineRows(const rtftext::Printed &printed) {
    QList<QStringList> rows;
    for (const QStringList &cells : printed.rows) {
        bool number = false;
        if (cells.size() == 9)
            cells.first().toInt(&number);
        if (number)
            rows.append(cells);
    }
    return rows;
}

// The cell after the one holding label, in the first row that has it.
QString cellAfter(const rtftext::Printed &printed, const QString &label) {
    for (const QStringList &cells : printed.rows) {
        const qsizetype at = cells.indexOf(label);
        if (at >= 0 && at + 1 < cells.size())
            return cells[at + 1];
    }
    return QStringLiteral("<no %1>").arg(label);
}

qint64 cents(const QString &amount) {
    bool ok = false;
    const double value = amount.toDouble(&ok);
    return ok ? qRound64(value * 100) : -1;
}

// The template a user may have kept from before the printout grew past 15 rows.
QString fifteenRowTemplate() {
    return QFINDTESTDATA("data/fifteen-rows.rtf");
}

} // namespace

class TestSheetPrintout : public QObject {
    Q_OBJECT

    std::unique_ptr<TripFixture> m_trips;
    QTemporaryDir m_settings;

    Sheet sheet() const {
        Sheet s;
        s.km = QStringLiteral("123");
        return s;
    }

    SheetPrintout printout() const { return SheetPrintout(m_trips->programDir()); }

    void installTemplate(const QString &from = QStringLiteral(VELMORA_TEMPLATE)) {
        QVERIFY(!from.isEmpty());
        QVERIFY(QFile::copy(from, m_trips->programDir() + QStringLiteral("/Foaie.rtf")));
    }

    // Departures and arrivals in turn, every quarter of an hour from 06:00, with amounts
    // that need their cents; the sheet's income is their sum. Returns the sum in cents.
    qint64 addLines(const QString &sheetId, int count) {
        qint64 total = 0;
        for (int i = 0; i < count; ++i) {
            const QString amount = QStringLiteral("%1.%2").arg(10 + i).arg(i % 4 * 25);
            total += cents(amount);
            m_trips->addLine(sheetId, QString::fromLatin1(i % 2 ? "SOSIRE" : "PLECARE"),
                             QDate(2007, 1, 20), QTime(6, 0).addSecs(i * 900), amount);
        }
        return total;
    }

    // The printout of the sheet against a golden file of tests/reports/data, the sheet's date
    // written there as @DATAX@ (its form follows the user's regional settings). A printout
    // that differs is left in the temporary folder to be looked at.
    void compareWithFile(const QString &sheetId, QDate date, const QString &expectedFile) {
        const QString out = m_trips->programDir() + QStringLiteral("/out.rtf");
        printout().write(sheetId, out);
        QByteArray actual = bytesOf(out);
        // "[DATAX]" in capitals writes the date in capitals, as a month's name may be.
        actual.replace(Cp1250::encode(TextForm::date(date).toUpper()), "@DATAX@");
        VELMORA_COMPARE_GOLDEN(actual, expectedFile);
    }

    rtftext::Printed printed(const QString &sheetId) {
        const QString out = m_trips->programDir() + QStringLiteral("/out.rtf");
        printout().write(sheetId, out);
        return rtftext::read(bytesOf(out));
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_settings.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }

    void init() {
        m_trips = std::make_unique<TripFixture>();
        m_trips->addSheet(sheet(), QStringLiteral("150"));
        Settings::write(QStringLiteral("FIRMA"), QString());
    }

    void sheetWithoutLines() {
        QList<Placeholder> expected{
            {QStringLiteral("[DATAX]"), TextForm::date(QDate(2007, 1, 20))},
            {QStringLiteral("[L1]"), QStringLiteral("01")},
            {QStringLiteral("[Z1]"), QStringLiteral("20")},
            {QStringLiteral("[O1]"), QStringLiteral("14:05")},
            {QStringLiteral("[NRMAS]"), QStringLiteral("B12ABC")},
            {QStringLiteral("[SOF1]"), QStringLiteral("SOFER A")},
            {QStringLiteral("[SOF2]"), QString()},
            {QStringLiteral("[LOCPARC]"), QStringLiteral("PARCARE 1")},
            {QStringLiteral("[TOTVEN]"), QStringLiteral("150")},
            {QStringLiteral("[C]"), QStringLiteral("7.5")},
            {QStringLiteral("[TKM]"), QStringLiteral("123")},
            {QStringLiteral("[TL]"), QStringLiteral("9.225")},
            {QStringLiteral("[PRE]"), QStringLiteral("4.2")},
            {QStringLiteral("[TLEI]"), QStringLiteral("37.8")},
            {QStringLiteral("[AN1]"), QStringLiteral("2007")},
            {QStringLiteral("[IDFOAIE]"), QStringLiteral("17")},
            {QStringLiteral("[FIRMA]"), QString()},
        };
        for (int n = 1; n <= 15; ++n)
            expected += emptyRow(n);
        QCOMPARE(printout().placeholders(QStringLiteral("17")), expected);
    }

    void threeLines() {
        // Entered out of order, and a line of another sheet in between.
        m_trips->addLine(QStringLiteral("17"), QStringLiteral("SOSIRE"), QDate(2007, 1, 3),
                         QTime(18, 40), QStringLiteral("30"));
        m_trips->addLine(QStringLiteral("18"), QStringLiteral("PLECARE"), QDate(2007, 1, 3),
                         QTime(9, 0), QStringLiteral("1"));
        m_trips->addLine(QStringLiteral("17"), QStringLiteral("PLECARE"), QDate(2007, 1, 3),
                         QTime(7, 5), QStringLiteral("25.5"));
        m_trips->addLine(QStringLiteral("17"), QStringLiteral("Plecare"), QDate(2007, 1, 4),
                         QTime(0, 0), QStringLiteral("0"));
        const QList<Placeholder> all = printout().placeholders(QStringLiteral("17"));
        QCOMPARE(all.size(), 17 + 15 * 8);
        const auto row = [&](int n) {
            return all.mid(17 + (n - 1) * 8, 8);
        };
        const auto tags = [](const char *letters, int n) {
            QStringList out;
            for (const char *c = letters; *c; ++c)
                out << u'[' + QChar::fromLatin1(*c) + QString::number(n) + u']';
            return out;
        };
        const auto values = [](const QList<Placeholder> &r) {
            QStringList out;
            for (const Placeholder &p : r)
                out << p.value;
            return out;
        };
        const auto tagsOf = [](const QList<Placeholder> &r) {
            QStringList out;
            for (const Placeholder &p : r)
                out << p.tag;
            return out;
        };
        // A departure at 07:05 on the 3rd: columns D to F.
        QCOMPARE(tagsOf(row(1)), tags("PABCDEFR", 1));
        QCOMPARE(values(row(1)).join(u','), QStringLiteral("PLECARE,-,-,-,03,07,05,25.5"));
        // An arrival: columns A to C, the blank columns added first.
        QCOMPARE(tagsOf(row(2)), tags("PDEFABCR", 2));
        QCOMPARE(values(row(2)).join(u','), QStringLiteral("SOSIRE,-,-,-,03,18,40,30"));
        // Only "PLECARE" exactly is a departure.
        QCOMPARE(tagsOf(row(3)), tags("PDEFABCR", 3));
        QCOMPARE(values(row(3)).join(u','), QStringLiteral("Plecare,-,-,-,04,00,00,0"));
        for (int n = 4; n <= 15; ++n)
            QCOMPARE(row(n), emptyRow(n));
    }

    // The last seconds of a day print on that day, as the grid shows them.
    void aLineBeforeMidnightPrintsOnItsDay() {
        m_trips->addLine(QStringLiteral("17"), QStringLiteral("PLECARE"), QDate(2007, 1, 3),
                         QTime(23, 59, 57), QStringLiteral("5"));
        const QList<Placeholder> all = printout().placeholders(QStringLiteral("17"));
        QCOMPARE(tagValue(all, QStringLiteral("[D1]")), QStringLiteral("03"));
        QCOMPARE(tagValue(all, QStringLiteral("[E1]")), QStringLiteral("23"));
        QCOMPARE(tagValue(all, QStringLiteral("[F1]")), QStringLiteral("59"));
    }

    void seventeenLinesGoPastTheTemplateRows() {
        for (int i = 0; i < 17; ++i)
            m_trips->addLine(QStringLiteral("17"),
                             QString::fromLatin1(i % 2 ? "SOSIRE" : "PLECARE"), QDate(2007, 1, 20),
                             QTime(6, 0).addSecs(i * 600), QString::number(i));
        const QList<Placeholder> all = printout().placeholders(QStringLiteral("17"));
        QCOMPARE(all.size(), 17 + 17 * 8);
        QCOMPARE(all.last(), Placeholder({QStringLiteral("[R17]"), QStringLiteral("16")}));
        QCOMPARE(tagValue(all, QStringLiteral("[E17]")), QStringLiteral("08"));
        QCOMPARE(tagValue(all, QStringLiteral("[F17]")), QStringLiteral("40"));
        QVERIFY(!all.contains(Placeholder({QStringLiteral("[P16]"), QStringLiteral("-")})));
    }

    void litres_data() {
        QTest::addColumn<double>("km");
        QTest::addColumn<double>("consumption");
        QTest::addColumn<QString>("litres");
        QTest::newRow("123 km at 7.5") << 123.0 << 7.5 << "9.225";
        QTest::newRow("whole") << 120.0 << 7.5 << "9";
        QTest::newRow("km half to even, down") << 122.5 << 10.0 << "12.2";
        QTest::newRow("km half to even, up") << 123.5 << 10.0 << "12.4";
        QTest::newRow("litres half to even") << 3.0 << 0.005 << "0.0002";
        QTest::newRow("nothing") << 0.0 << 7.5 << "0";
    }

    void litres() {
        QFETCH(double, km);
        QFETCH(double, consumption);
        QFETCH(QString, litres);
        QCOMPARE(SheetPlaceholders::litres(km, consumption), litres);
    }

    void theTemplateFilled() {
        installTemplate();
        m_trips->addLine(QStringLiteral("17"), QStringLiteral("PLECARE"), QDate(2007, 1, 3),
                         QTime(7, 5), QStringLiteral("25.5"));
        const QString out = m_trips->programDir() + QStringLiteral("/out.rtf");
        printout().write(QStringLiteral("17"), out);
        const QByteArray bytes = bytesOf(out);
        const QString text = Cp1250::decode(bytes);
        // Every placeholder of the template is known and replaced.
        static const QRegularExpression placeholder(QStringLiteral("\\[[A-Za-z]+[0-9]*\\]"));
        QVERIFY2(!placeholder.match(text).hasMatch(),
                 qPrintable(placeholder.match(text).captured()));
        QVERIFY(text.contains(QStringLiteral("FOAIE DE PARCURS")));
        QVERIFY(text.contains(QStringLiteral("B12ABC")));
        QVERIFY(text.contains(QStringLiteral("9.225")));
        QVERIFY(text.contains(QStringLiteral("..........")));
        QCOMPARE(RtfFiller::braceBalance(text), 0);
        QVERIFY(bytes.startsWith("{\\rtf1"));
        QVERIFY(bytes.endsWith("}\r\n"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        // Every placeholder stands unbroken on one line of the template.
        const QString templ =
            Cp1250::decode(bytesOf(m_trips->programDir() + QStringLiteral("/Foaie.rtf")));
        for (const Placeholder &p : printout().placeholders(QStringLiteral("17")))
            QVERIFY2(templ.contains(p.tag, Qt::CaseInsensitive), qPrintable(p.tag));
    }

    void printGoesToTheFirstFreeFileAndOpensIt() {
        installTemplate();
        const QString folder = m_trips->programDir() + QStringLiteral("/docs/new");
        const PrintoutFiles files(folder);
        RecordingOpener opener;
        QCOMPARE(printout().print(QStringLiteral("17"), files, opener),
                 folder + QStringLiteral("/Rap1.rtf"));
        // The old printout is deleted and written anew.
        QCOMPARE(printout().print(QStringLiteral("17"), files, opener),
                 folder + QStringLiteral("/Rap1.rtf"));
        QCOMPARE(opener.opened, QStringList(2, folder + QStringLiteral("/Rap1.rtf")));
        QVERIFY(bytesOf(opener.opened.first()).startsWith("{\\rtf1"));
    }

    void aFileThatCannotBeDeletedIsPassedOver() {
        const QString folder = m_trips->programDir() + QStringLiteral("/docs");
        const PrintoutFiles files(folder);
        // A directory stands in for a printout the viewer holds locked.
        QVERIFY(QDir().mkpath(files.path(1) + QStringLiteral("/held")));
        putBytes(files.path(2), "old");
        QCOMPARE(files.choose(), files.path(2));
        QVERIFY(!QFile::exists(files.path(2)));
        for (int n = 2; n <= PrintoutFiles::kCount; ++n)
            QVERIFY(QDir().mkpath(files.path(n) + QStringLiteral("/held")));
        try {
            files.choose();
            QFAIL("no file could be used");
        } catch (const PrintoutError &e) {
            QCOMPARE(e.message(), QStringLiteral("Nu pot scrie in dosarul %1 !")
                                      .arg(QDir::toNativeSeparators(folder)));
        }
    }

    void missingTemplateIsNamed() {
        RecordingOpener opener;
        const QString folder = m_trips->programDir() + QStringLiteral("/docs");
        try {
            printout().print(QStringLiteral("17"), PrintoutFiles(folder), opener);
            QFAIL("printed without a template");
        } catch (const PrintoutError &e) {
            QCOMPARE(e.message(), QStringLiteral("Fisierul ") +
                                      QDir::toNativeSeparators(m_trips->programDir() +
                                                               QStringLiteral("/Foaie.rtf")) +
                                      QStringLiteral(" nu exista sau nu poate fi citit !!"));
            QCOMPARE(PrintoutError::title(), QStringLiteral("Raport"));
        }
        QVERIFY(opener.opened.isEmpty());
        QVERIFY(!QFile::exists(folder + QStringLiteral("/Rap1.rtf")));
    }

    // However many departures and arrivals a sheet has, every one prints, numbered in turn,
    // and the amounts printed add up to the total printed; the template keeps its 15 rows
    // for a shorter sheet. A template kept from before prints the same way.
    void everyLinePrints_data() {
        QTest::addColumn<QString>("templ");
        QTest::addColumn<int>("count");
        for (const int count : {0, 3, 15, 16, 20, 40}) {
            QTest::addRow("shipped template, %d lines", count)
                << QStringLiteral(VELMORA_TEMPLATE) << count;
            QTest::addRow("fifteen-row template, %d lines", count) << fifteenRowTemplate() << count;
        }
    }

    void everyLinePrints() {
        QFETCH(QString, templ);
        QFETCH(int, count);
        installTemplate(templ);
        Sheet s = sheet();
        s.id = QStringLiteral("21");
        const qint64 total = addLines(s.id, count);
        m_trips->addSheet(s, QString::number(total / 100.0, 'f', 2));

        const rtftext::Printed page = printed(s.id);
        const QList<QStringList> rows = lineRows(page);
        QCOMPARE(rows.size(), std::max(count, 15));
        qint64 sum = 0;
        for (int n = 1; n <= rows.size(); ++n) {
            const QStringList &cells = rows[n - 1];
            QCOMPARE(cells[0], QString::number(n));
            if (n > count) {
                QCOMPARE(cells.mid(1), QStringList(8, QStringLiteral("-")));
                continue;
            }
            QCOMPARE(cells[1], QString::fromLatin1(n % 2 ? "PLECARE" : "SOSIRE"));
            // A departure's time under "Plecare", an arrival's under "Sosire".
            const QTime at = QTime(6, 0).addSecs((n - 1) * 900);
            const QStringList when{QStringLiteral("20"), at.toString(QStringLiteral("HH")),
                                   at.toString(QStringLiteral("mm"))};
            QCOMPARE(cells.mid(n % 2 ? 2 : 5, 3), when);
            QCOMPARE(cells.mid(n % 2 ? 5 : 2, 3), QStringList(3, QStringLiteral("-")));
            sum += cents(cells[8]);
        }
        QCOMPARE(sum, total);
        QCOMPARE(cents(cellAfter(page, QStringLiteral("Total venit (lei)"))), total);
        // The table reaches its end: what follows it prints too.
        QVERIFY(page.text.contains(QStringLiteral("dispecerului la \u00eenapoiere.")));
    }

    // A template made for 15 rows, which knows none of the newer placeholders, prints a
    // sheet that fits as it always did: the same file to the byte.
    void aFifteenRowTemplatePrintsAsBefore() {
        installTemplate(fifteenRowTemplate());
        Settings::write(QStringLiteral("FIRMA"), QStringLiteral("Transporturi Vest"));
        Sheet s = sheet();
        s.id = QStringLiteral("23");
        s.driver1 = QStringLiteral("\u015ETEFAN POPA");
        s.driver2 = QStringLiteral("ION \u0162ARA");
        const qint64 total = addLines(s.id, 3);
        m_trips->addSheet(s, QString::number(total / 100.0, 'f', 2));
        compareWithFile(s.id, s.date, QStringLiteral("fifteen-rows-3-lines.rtf"));
    }

    // The shipped template filled for a sheet of 20 lines, to the byte: the heading with
    // company, number and year, every line in a row of its own, names escaped.
    void theShippedTemplateForTwentyLines() {
        installTemplate();
        Settings::write(
            QStringLiteral("FIRMA"),
            QStringLiteral("Transporturi \u0218tef\u0103nescu & \u021Au\u021Buianu SRL"));
        Sheet s = sheet();
        s.id = QStringLiteral("1027");
        s.driver1 = QStringLiteral("POPESCU \u0218TEFAN");
        s.driver2 = QStringLiteral("\u021AARANU {MIHAI}");
        s.parking = QStringLiteral("AUTOBAZA \\ NR. 2");
        const qint64 total = addLines(s.id, 20);
        m_trips->addSheet(s, QString::number(total / 100.0, 'f', 2));
        compareWithFile(s.id, s.date, QStringLiteral("shipped-20-lines.rtf"));
    }

    // The heading names the company, the sheet's number and the whole date.
    void headingCarriesCompanyNumberAndYear() {
        installTemplate();
        const QString company =
            QStringLiteral("Transporturi \u0218tefan & \u021Au\u021Bu {Est} SRL");
        Settings::write(QStringLiteral("FIRMA"), company);
        const QList<Placeholder> all = printout().placeholders(QStringLiteral("17"));
        QCOMPARE(tagValue(all, QStringLiteral("[AN1]")), QStringLiteral("2007"));
        QCOMPARE(tagValue(all, QStringLiteral("[IDFOAIE]")), QStringLiteral("17"));
        QCOMPARE(tagValue(all, QStringLiteral("[FIRMA]")), company);

        const QString text = printed(QStringLiteral("17")).text;
        // The code page writes the comma-below letters with a cedilla.
        QVERIFY2(text.contains(QStringLiteral(
                     "Unitatea: Transporturi \u015Etefan & \u0162u\u0163u {Est} SRL")),
                 qPrintable(text.left(300)));
        QVERIFY2(text.contains(QStringLiteral("FOAIE DE PARCURS nr. 17")),
                 qPrintable(text.left(300)));
        QVERIFY2(text.contains(QStringLiteral("ziua 20, luna 01, anul 2007")),
                 qPrintable(text.left(300)));
    }

    // A name or a parking place holding what RTF uses for its own structure prints as
    // typed, and the rest of the sheet after it still prints.
    void rtfCharactersInValuesPrintAsTyped_data() {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("parking");
        QTest::newRow("braces") << "POPESCU {ION}"
                                << "DEPOU } 2";
        QTest::newRow("opening brace alone") << "IONESCU {"
                                             << "DEPOU";
        QTest::newRow("backslash") << "POP\\ESCU"
                                   << "C:\\PARCARE\\";
        QTest::newRow("Romanian letters") << "\u015ETEFAN \u0162U\u0162U"
                                          << "\u00CENTRE \u00C2RE \u0102";
    }

    void rtfCharactersInValuesPrintAsTyped() {
        QFETCH(QString, driver);
        QFETCH(QString, parking);
        installTemplate();
        Sheet s = sheet();
        s.id = QStringLiteral("22");
        s.driver1 = driver;
        s.parking = parking;
        const qint64 total = addLines(s.id, 2);
        m_trips->addSheet(s, QString::number(total / 100.0, 'f', 2));
        const rtftext::Printed page = printed(s.id);
        QCOMPARE(cellAfter(page, QStringLiteral("\u015Eofer 1")), driver);
        QCOMPARE(cellAfter(page, QStringLiteral("Locul de parcare")), parking);
        QCOMPARE(lineRows(page).size(), 15);
        QCOMPARE(cents(cellAfter(page, QStringLiteral("Total venit (lei)"))), total);
    }

    void unknownOrMalformedSheet_data() {
        QTest::addColumn<QString>("id");
        QTest::newRow("no such sheet") << "99";
        QTest::newRow("not a number") << "17 OR IDFOAIE>0";
        QTest::newRow("empty") << "";
    }

    void unknownOrMalformedSheet() {
        QFETCH(QString, id);
        installTemplate();
        RecordingOpener opener;
        const PrintoutFiles files(m_trips->programDir() + QStringLiteral("/docs"));
        QVERIFY_THROWS_EXCEPTION(InputError, printout().print(id, files, opener));
        QVERIFY(opener.opened.isEmpty());
        QVERIFY(!QFile::exists(files.path(1)));
    }
};

QTEST_GUILESS_MAIN(TestSheetPrintout)
#include "tst_sheetprintout.moc"
