// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/csvwriter.h"
#include "store/dbf/atomicfile.h"
#include "store/dbf/column.h"
#include "store/text/error.h"

#include "csvparser.h"
#include "filebytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(velmora::CsvDialect)

namespace {

const CsvDialect kRomanian = CsvDialect::romanian();
const CsvDialect kStandard = CsvDialect::standard();

// One row of every kind of field.
void writeSample(CsvWriter &csv) {
    csv.titles({u"Nume"_s, u"Data"_s, u"Ora"_s, u"Venit (lei)"_s, u"Gol"_s});
    csv.text(u"\u015EERBAN \u0162ARA"_s);
    csv.date(QDate(2024, 3, 5));
    csv.hour(QTime(7, 45, 59));
    csv.number(Decimal::fromUnits(-123456, 2), 2);
    csv.number(std::nullopt, 2);
    csv.endRow();
}

} // namespace

class TestCsvWriter : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void dialectsHaveTheirNames() {
        QCOMPARE(kRomanian.name(), u"Excel (Romania)"_s);
        QCOMPARE(kStandard.name(), u"CSV standard"_s);
        QCOMPARE(CsvDialect::kinds().first(), CsvDialect::Kind::Romanian);
        QCOMPARE(CsvDialect(), kRomanian);
    }

    void romanianFileByteForByte() {
        CsvWriter csv(path(u"ro.csv"_s), kRomanian);
        writeSample(csv);
        csv.commit();
        QCOMPARE(bytesOf(path(u"ro.csv"_s)), QByteArray("\xEF\xBB\xBF"
                                                        "Nume;Data;Ora;Venit (lei);Gol\r\n"
                                                        "\xC8\x98"
                                                        "ERBAN \xC8\x9A"
                                                        "ARA;05.03.2024;07:45;-1234,56;\r\n"));
    }

    void standardFileByteForByte() {
        CsvWriter csv(path(u"std.csv"_s), kStandard);
        writeSample(csv);
        csv.commit();
        QCOMPARE(bytesOf(path(u"std.csv"_s)), QByteArray("Nume,Data,Ora,Venit (lei),Gol\n"
                                                         "\xC5\x9E"
                                                         "ERBAN \xC5\xA2"
                                                         "ARA,2024-03-05,07:45,-1234.56,\n"));
    }

    void textFields_data() {
        QTest::addColumn<CsvDialect>("dialect");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("plain") << kRomanian << u"AUTOBAZA NORD"_s << QByteArray("AUTOBAZA NORD");
        QTest::newRow("empty") << kRomanian << QString() << QByteArray();
        QTest::newRow("semicolon, Romanian")
            << kRomanian << u"DEPOU 1; POARTA 2"_s << QByteArray("\"DEPOU 1; POARTA 2\"");
        QTest::newRow("semicolon, standard")
            << kStandard << u"DEPOU 1; POARTA 2"_s << QByteArray("DEPOU 1; POARTA 2");
        QTest::newRow("comma, Romanian") << kRomanian << u"NORD, 2"_s << QByteArray("NORD, 2");
        QTest::newRow("comma, standard") << kStandard << u"NORD, 2"_s << QByteArray("\"NORD, 2\"");
        QTest::newRow("quote") << kRomanian << u"DEPOUL \"NORD\""_s
                               << QByteArray("\"DEPOUL \"\"NORD\"\"\"");
        QTest::newRow("line feed") << kStandard << u"A\nB"_s << QByteArray("\"A\nB\"");
        QTest::newRow("carriage return") << kRomanian << u"A\rB"_s << QByteArray("\"A\rB\"");
        QTest::newRow("minus inside") << kRomanian << u"DEPOU-1"_s << QByteArray("DEPOU-1");
        QTest::newRow("cedilla to comma below") << kRomanian << u"\u015F\u0163\u015E\u0162"_s
                                                << QByteArray("\xC8\x99\xC8\x9B\xC8\x98\xC8\x9A");
        QTest::newRow("cedilla kept") << kStandard << u"\u015F\u0163\u015E\u0162"_s
                                      << QByteArray("\xC5\x9F\xC5\xA3\xC5\x9E\xC5\xA2");
        QTest::newRow("other letters")
            << kRomanian << u"\u0102\u00C2\u00CE"_s << QByteArray("\xC4\x82\xC3\x82\xC3\x8E");
    }

    void textFields() {
        QFETCH(CsvDialect, dialect);
        QFETCH(QString, text);
        QFETCH(QByteArray, field);
        QCOMPARE(CsvWriter::textField(text, dialect), field);
    }

    // A text a spreadsheet would run as a formula is quoted, a tab before it, in both
    // dialects; what follows stays as it was, quotes doubled.
    void formulaGuard_data() {
        QTest::addColumn<CsvDialect>("dialect");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("equals") << kRomanian << u"=1+1"_s << QByteArray("\"\t=1+1\"");
        QTest::newRow("plus") << kRomanian << u"+40 722"_s << QByteArray("\"\t+40 722\"");
        QTest::newRow("minus") << kStandard << u"-ION-"_s << QByteArray("\"\t-ION-\"");
        QTest::newRow("at") << kStandard << u"@SUM(A1)"_s << QByteArray("\"\t@SUM(A1)\"");
        QTest::newRow("with a quote and a separator")
            << kRomanian << u"=HYPERLINK(\"x\";1)"_s << QByteArray("\"\t=HYPERLINK(\"\"x\"\";1)\"");
    }

    void formulaGuard() {
        QFETCH(CsvDialect, dialect);
        QFETCH(QString, text);
        QFETCH(QByteArray, field);
        QCOMPARE(CsvWriter::textField(text, dialect), field);
    }

    void numbers_data() {
        QTest::addColumn<CsvDialect>("dialect");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("comma") << kRomanian << u"0.5"_s << 2 << QByteArray("0,50");
        QTest::newRow("point") << kStandard << u"0.5"_s << 2 << QByteArray("0.50");
        QTest::newRow("no thousands separator")
            << kRomanian << u"1234567.8"_s << 2 << QByteArray("1234567,80");
        QTest::newRow("half to even") << kRomanian << u"0.125"_s << 2 << QByteArray("0,12");
        QTest::newRow("whole") << kRomanian << u"400"_s << 0 << QByteArray("400");
        QTest::newRow("negative, not guarded")
            << kRomanian << u"-0.55"_s << 2 << QByteArray("-0,55");
        QTest::newRow("no minus before zero")
            << kStandard << u"-0.001"_s << 2 << QByteArray("0.00");
    }

    void numbers() {
        QFETCH(CsvDialect, dialect);
        QFETCH(QString, value);
        QFETCH(int, decimals);
        QFETCH(QByteArray, field);
        {
            CsvWriter csv(path(u"n.csv"_s), dialect);
            csv.number(*Decimal::parse(value), decimals);
            csv.commit();
        }
        QByteArray bytes = bytesOf(path(u"n.csv"_s));
        bytes.remove(0, dialect.start().size());
        QCOMPARE(bytes, field + dialect.lineEnd());
    }

    // Numeric fields as tables hold them: the column's decimals kept, the plain text dBASE
    // writes taken over as it is, anything else read and written again the same way.
    void storedNumbers_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QByteArray>("romanian");
        QTest::newRow("money") << QByteArray("  150.50") << 2 << QByteArray("150,50");
        QTest::newRow("negative") << QByteArray("  -12.34") << 2 << QByteArray("-12,34");
        QTest::newRow("whole") << QByteArray("     120") << 0 << QByteArray("120");
        QTest::newRow("zero") << QByteArray("    0.00") << 2 << QByteArray("0,00");
        QTest::newRow("negative zero") << QByteArray("   -0.00") << 2 << QByteArray("0,00");
        QTest::newRow("leading zeros") << QByteArray("  007.50") << 2 << QByteArray("7,50");
        QTest::newRow("no digit before the point")
            << QByteArray("     .50") << 2 << QByteArray("0,50");
        QTest::newRow("fewer decimals than the column")
            << QByteArray("     1.5") << 2 << QByteArray("1,50");
        QTest::newRow("more decimals than the column")
            << QByteArray("   1.505") << 2 << QByteArray("1,505");
        QTest::newRow("blank is NULL") << QByteArray("        ") << 2 << QByteArray();
        QTest::newRow("stars are NULL") << QByteArray("********") << 2 << QByteArray();
    }

    void storedNumbers() {
        QFETCH(QByteArray, field);
        QFETCH(int, decimals);
        QFETCH(QByteArray, romanian);
        Column column;
        column.name = u"SUMA"_s;
        column.type = ColumnType::Number;
        column.dbfType = 'N';
        column.width = static_cast<int>(field.size());
        column.decimals = decimals;
        for (const CsvDialect dialect : {kRomanian, kStandard}) {
            {
                CsvWriter csv(path(u"stored.csv"_s), dialect);
                csv.storedNumber(column, field);
                csv.commit();
            }
            QByteArray expected = romanian;
            if (dialect == kStandard)
                expected.replace(',', '.');
            QCOMPARE(bytesOf(path(u"stored.csv"_s)),
                     dialect.start() + expected + dialect.lineEnd());
        }
    }

    // Whatever a field holds, the reader gets the same fields back.
    void readsBack() {
        const QStringList texts{
            u"A;B,C"_s, u"\"\""_s, u"a\r\nb"_s, u" lead and trail "_s, u"=cmd|' /C calc'!A0"_s,
            QString()};
        for (const CsvDialect dialect : {kRomanian, kStandard}) {
            {
                CsvWriter csv(path(u"back.csv"_s), dialect);
                for (const QString &text : texts)
                    csv.text(text);
                csv.endRow();
                csv.commit();
            }
            QByteArray bytes = bytesOf(path(u"back.csv"_s));
            bytes.remove(0, dialect.start().size());
            const test::CsvFile file = test::parseCsv(bytes, dialect.separator());
            QVERIFY(file.ok);
            QCOMPARE(file.records.size(), 1);
            QStringList expected = texts;
            expected[4].prepend(u'\t');
            QCOMPARE(file.records.first(), expected);
        }
    }

    // Until commit the old file stays; a writer dropped on an error leaves it as it was,
    // with nothing beside it.
    void replacesTheFileWhole() {
        const QString file = path(u"whole.csv"_s);
        putBytes(file, "old\n");
        {
            CsvWriter csv(file, kStandard);
            for (int i = 0; i < 100000; ++i) {
                csv.text(u"ROW"_s);
                csv.endRow();
            }
            QCOMPARE(bytesOf(file), QByteArray("old\n"));
        }
        QCOMPARE(bytesOf(file), QByteArray("old\n"));
        QVERIFY(!QFile::exists(AtomicFile::temporaryPath(file)));
        {
            CsvWriter csv(file, kStandard);
            csv.text(u"new"_s);
            csv.commit();
        }
        QCOMPARE(bytesOf(file), QByteArray("new\n"));
    }

    void unwritablePlaceIsAFileError() {
        const QString file = path(u"missing/folder/x.csv"_s);
        try {
            CsvWriter csv(file, kRomanian);
            QFAIL("a file in a missing folder was opened");
        } catch (const FileError &error) {
            QVERIFY2(error.message().startsWith(u"Fisierul "_s), qPrintable(error.message()));
            QVERIFY(error.message().contains(QDir::toNativeSeparators(file)));
        }
    }

    void readOnlyFileIsRefused() {
        const QString file = path(u"readonly.csv"_s);
        putBytes(file, "keep\n");
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner));
        QVERIFY_THROWS_EXCEPTION(FileError, CsvWriter(file, kRomanian));
        QCOMPARE(bytesOf(file), QByteArray("keep\n"));
    }
};

QTEST_GUILESS_MAIN(TestCsvWriter)
#include "tst_csvwriter.moc"
