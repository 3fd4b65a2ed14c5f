// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/documentopener.h"
#include "reports/printouterror.h"
#include "reports/printoutfiles.h"
#include "reports/rtffiller.h"
#include "reports/sheetplaceholders.h"
#include "reports/sheetprintout.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"

#include "filebytes.h"
#include "tripfixture.h"

#include <QDir>
#include <QRegularExpression>
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

} // namespace

class TestSheetPrintout : public QObject {
    Q_OBJECT

    std::unique_ptr<TripFixture> m_trips;

    Sheet sheet() const {
        Sheet s;
        s.km = QStringLiteral("123");
        return s;
    }

    SheetPrintout printout() const { return SheetPrintout(m_trips->programDir()); }

    void installTemplate() {
        QVERIFY(QFile::copy(QStringLiteral(VELMORA_TEMPLATE),
                            m_trips->programDir() + QStringLiteral("/Foaie.rtf")));
    }

private Q_SLOTS:
    void init() {
        m_trips = std::make_unique<TripFixture>();
        m_trips->addSheet(sheet(), QStringLiteral("150"));
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
        QCOMPARE(all.size(), 14 + 15 * 8);
        const auto row = [&](int n) {
            return all.mid(14 + (n - 1) * 8, 8);
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
        QCOMPARE(all.size(), 14 + 17 * 8);
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
            QVERIFY2(templ.contains(p.tag), qPrintable(p.tag));
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
