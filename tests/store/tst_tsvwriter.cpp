// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dbf/dbffield.h"
#include "store/query/tsvwriter.h"
#include "store/text/textform.h"

#include <QRandomGenerator>
#include <QTest>
#include <cstring>

using namespace velmora;

class TestTsvWriter : public QObject {
    Q_OBJECT

    // The one value of a numeric field as the writer prints it.
    static QByteArray written(const QByteArray &field) {
        QList<Column> columns;
        columns.append(
            {QStringLiteral("N"), ColumnType::Number, 'N', static_cast<int>(field.size()), 4, 0});
        const QByteArray all = TsvWriter::toByteArray(ResultSet(columns, field, {0}));
        return all.sliced(2).chopped(1);
    }

private Q_SLOTS:
    void writesHeaderAndTypedRows() {
        QList<Column> columns;
        columns.append({QStringLiteral("NUME"), ColumnType::Text, 'C', 12, 0, 0});
        columns.append({QStringLiteral("SUMA"), ColumnType::Number, 'N', 10, 2, 12});
        columns.append({QStringLiteral("DATAX"), ColumnType::Date, 'D', 8, 0, 22});
        columns.append(
            {QStringLiteral("TV"), ColumnType::Number, 'N', Decimal::kStoredSize, 0, 30, true});
        const int width = 30 + Decimal::kStoredSize;
        QByteArray data;
        auto addRow = [&](const char *name, const char *sum, const char *date,
                          std::optional<Decimal> tv) {
            QByteArray row(width, ' ');
            std::memcpy(row.data(), name, std::strlen(name));
            std::memcpy(row.data() + 12 + 10 - std::strlen(sum), sum, std::strlen(sum));
            std::memcpy(row.data() + 22, date, std::strlen(date));
            if (tv)
                tv->store(row.data() + 30);
            else
                Decimal::storeNull(row.data() + 30);
            data += row;
        };
        addRow("IONESCU", "150.50", "20070120", Decimal::fromUnits(3780, 2));
        addRow("A\tB\\C\xAA", "", "        ", Decimal::fromUnits(3, 1));
        addRow("", "-0.00", "20070231", Decimal::fromUnits(250));
        addRow("", "", "", std::nullopt);
        const ResultSet result(columns, data, {0, width, 2 * width, 3 * width});
        QCOMPARE(TsvWriter::toByteArray(result), QByteArray("NUME\tSUMA\tDATAX\tTV\n"
                                                            "IONESCU\t150.5\t2007-01-20\t37.8\n"
                                                            "A\\tB\\\\C\xC5\x9E\t\t\t0.3\n"
                                                            "\t0\t\t250\n"
                                                            "\t\t\t\n"));
    }

    void emptyResultHasOnlyTheHeader() {
        QList<Column> columns;
        columns.append({QStringLiteral("IDFOAIE"), ColumnType::Number, 'N', 11, 0, 0});
        QCOMPARE(TsvWriter::toByteArray(ResultSet(columns, {}, {})), QByteArray("IDFOAIE\n"));
    }

    void chunksAddUpToTheWhole() {
        QList<Column> columns;
        columns.append({QStringLiteral("N"), ColumnType::Number, 'N', 5, 0, 0});
        QByteArray data;
        std::vector<quint32> rows;
        for (int i = 0; i < 1000; ++i) {
            rows.push_back(static_cast<quint32>(data.size()));
            data += QByteArray::number(i).rightJustified(5, ' ');
        }
        const ResultSet result(columns, data, rows);
        QByteArray joined;
        int chunks = 0;
        TsvWriter::write(
            result, [&](const QByteArray &c) { joined += c, ++chunks; }, 100);
        QVERIFY(chunks > 10);
        QCOMPARE(joined, TsvWriter::toByteArray(result));
        QVERIFY(joined.endsWith("\n999\n"));
    }

    void numberFastPathAgreesWithTheGeneralForm_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("padded") << QByteArray("     37.80");
        QTest::newRow("whole") << QByteArray("        17");
        QTest::newRow("zero decimals") << QByteArray("    120.00");
        QTest::newRow("below one") << QByteArray("     0.500");
        QTest::newRow("point first") << QByteArray("      .25");
        QTest::newRow("negative") << QByteArray("   -150.50");
        QTest::newRow("negative zero") << QByteArray("     -0.00");
        QTest::newRow("leading zeros") << QByteArray("   007");
        QTest::newRow("sixteen digits") << QByteArray("1234567890.123456");
        QTest::newRow("exponent") << QByteArray("  1.5e3");
        QTest::newRow("timp") << QByteArray("39102.5868");
    }

    void numberFastPathAgreesWithTheGeneralForm() {
        QFETCH(QByteArray, field);
        QCOMPARE(QString::fromLatin1(written(field)), TextForm::general(*DbfField::number(field)));
    }

    void numberFastPathOnRandomFields() {
        QRandomGenerator random(7);
        for (int i = 0; i < 20000; ++i) {
            const int decimals = random.bounded(5);
            const double value =
                (random.bounded(2000000000) - 1000000000) / std::pow(10.0, random.bounded(8));
            const QByteArray field =
                QByteArray::number(value, 'f', decimals).rightJustified(20, ' ');
            QCOMPARE(QString::fromLatin1(written(field)),
                     TextForm::general(*DbfField::number(field)));
        }
    }
};

QTEST_GUILESS_MAIN(TestTsvWriter)
#include "tst_tsvwriter.moc"
