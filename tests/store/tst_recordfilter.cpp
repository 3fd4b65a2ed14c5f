// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dbf/dbffield.h"
#include "store/query/columnindex.h"
#include "store/query/recordfilter.h"
#include "store/text/error.h"
#include "store/text/textform.h"

#include <QRandomGenerator>
#include <QTest>
#include <optional>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

struct Row {
    QString name;
    QString sofer2;
    std::optional<double> id;
    std::optional<double> suma;
    QDate datax;
};

Column column(const char *name, ColumnType type, char dbfType, int width, int decimals,
              int offset) {
    Column c;
    c.name = QString::fromLatin1(name);
    c.type = type;
    c.dbfType = dbfType;
    c.width = width;
    c.decimals = decimals;
    c.offset = offset;
    return c;
}

// Rows laid out as a table file holds them: a deletion flag, then the fields.
ResultSet makeResult(const QList<Row> &rows) {
    const QList<Column> columns = {
        column("NAME", ColumnType::Text, 'C', 10, 0, 1),
        column("SOFER2", ColumnType::Text, 'C', 10, 0, 11),
        column("ID", ColumnType::Number, 'N', 6, 0, 21),
        column("SUMA", ColumnType::Number, 'N', 9, 2, 27),
        column("DATAX", ColumnType::Date, 'D', 8, 0, 36),
    };
    const int width = 44;
    QByteArray data(rows.size() * width, ' ');
    std::vector<quint32> offsets;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        char *out = data.data() + r * width;
        const Row &row = rows[r];
        DbfField::writeText(out + columns[0].offset, columns[0], row.name);
        DbfField::writeText(out + columns[1].offset, columns[1], row.sofer2);
        if (row.id)
            DbfField::writeNumber(out + columns[2].offset, columns[2], *row.id);
        if (row.suma)
            DbfField::writeNumber(out + columns[3].offset, columns[3], *row.suma);
        DbfField::writeDate(out + columns[4].offset, columns[4], row.datax);
        offsets.push_back(static_cast<quint32>(r * width));
    }
    return ResultSet(columns, data, std::move(offsets));
}

ResultSet sample() {
    return makeResult({
        {u"SOFIA"_s, u"ION"_s, 17, 2.5, QDate(2024, 1, 5)},
        {u"SOFER"_s, QString(), -1, 10, QDate(2024, 2, 1)},
        {u"ION"_s, u"SOFRON"_s, 3, std::nullopt, QDate()},
        {u"D'ARCY"_s, u"sofia"_s, 17, 0, QDate(2023, 12, 31)},
        {QString(), u"SOF"_s, 42, -3.25, QDate(2024, 1, 5)},
        {u"\u015EERBAN"_s, u"\u015EOFER"_s, 5, 1, QDate(2024, 3, 1)},
    });
}

QList<int> matching(const QString &expression, const ResultSet &result) {
    RecordFilter filter(expression);
    filter.bind(result.columns());
    QList<int> rows;
    for (qsizetype r = 0; r < result.rowCount(); ++r) {
        if (filter.matches(result, r))
            rows.append(static_cast<int>(r));
    }
    QList<int> selected;
    for (const quint32 r : filter.select(result))
        selected.append(static_cast<int>(r));
    if (selected != rows)
        qWarning("select() and matches() disagree");
    return selected == rows ? rows : QList<int>{-2};
}

} // namespace

class TestRecordFilter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void evaluates_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QList<int>>("rows");

        QTest::newRow("equality") << u"ID=17"_s << QList<int>{0, 3};
        QTest::newRow("negative constant") << u"ID=-1"_s << QList<int>{1};
        QTest::newRow("no such value") << u"ID=-7"_s << QList<int>{};
        QTest::newRow("name in any case, blanks around")
            << u"  ( id = 17 )  "_s << QList<int>{0, 3};
        QTest::newRow("not equal skips NULL") << u"SUMA<>0"_s << QList<int>{0, 1, 4, 5};
        QTest::newRow("less") << u"ID<3"_s << QList<int>{1};
        QTest::newRow("less or equal") << u"ID<=3"_s << QList<int>{1, 2};
        QTest::newRow("greater") << u"ID>17"_s << QList<int>{4};
        QTest::newRow("greater or equal") << u"ID>=17"_s << QList<int>{0, 3, 4};
        QTest::newRow("decimals") << u"SUMA=2.50"_s << QList<int>{0};
        QTest::newRow("negative decimals") << u"SUMA<0"_s << QList<int>{4};
        QTest::newRow("quoted number") << u"ID='17'"_s << QList<int>{0, 3};

        QTest::newRow("whole text") << u"NAME='SOFIA'"_s << QList<int>{0};
        QTest::newRow("trailing blanks of the constant") << u"NAME='SOFIA   '"_s << QList<int>{0};
        QTest::newRow("text is not a prefix without *") << u"NAME='SOF'"_s << QList<int>{};
        QTest::newRow("prefix") << u"NAME='SOF*'"_s << QList<int>{0, 1};
        QTest::newRow("prefix is case-sensitive") << u"SOFER2='SOF*'"_s << QList<int>{2, 4};
        QTest::newRow("lower-case prefix") << u"SOFER2='sof*'"_s << QList<int>{3};
        QTest::newRow("empty prefix matches all") << u"NAME='*'"_s << QList<int>{0, 1, 2, 3, 4, 5};
        QTest::newRow("blank text") << u"NAME=''"_s << QList<int>{4};
        QTest::newRow("star only with =") << u"NAME<>'SOF*'"_s << QList<int>{0, 1, 2, 3, 4, 5};
        QTest::newRow("cp1250 prefix") << u"NAME='\u015E*'"_s << QList<int>{5};
        QTest::newRow("comma-below stored as cedilla") << u"NAME='\u0218ERBAN'"_s << QList<int>{5};
        QTest::newRow("S is not S-cedilla") << u"NAME='S*'"_s << QList<int>{0, 1};
        QTest::newRow("from S on, S-cedilla too") << u"NAME>='S'"_s << QList<int>{0, 1, 5};
        QTest::newRow("text below") << u"NAME<'S'"_s << QList<int>{2, 3, 4};
        QTest::newRow("S-cedilla before T") << u"NAME<'T'"_s << QList<int>{0, 1, 2, 3, 4, 5};
        QTest::newRow("small letters among the capitals") << u"NAME<'ion'"_s << QList<int>{2, 3, 4};
        QTest::newRow("doubled quote") << u"NAME='D''ARCY'"_s << QList<int>{3};
        QTest::newRow("doubled quote prefix") << u"(NAME='D''ARC*')"_s << QList<int>{3};

        QTest::newRow("date") << u"DATAX='2024-01-05'"_s << QList<int>{0, 4};
        QTest::newRow("date in the user's form")
            << u"DATAX='%1'"_s.arg(TextForm::date(QDate(2024, 1, 5))) << QList<int>{0, 4};
        QTest::newRow("date order skips NULL") << u"DATAX<'2024-01-01'"_s << QList<int>{3};
        QTest::newRow("date after") << u"DATAX>'2024-01-31'"_s << QList<int>{1, 5};

        QTest::newRow("search form")
            << u"((NAME='SOF*') OR (SOFER2='SOF*')) AND (ID=17)"_s << QList<int>{0};
        QTest::newRow("search form, two drivers")
            << u"((NAME='ION*') OR (SOFER2='ION*')) AND (ID='17')"_s << QList<int>{0};
        QTest::newRow("AND binds tighter than OR")
            << u"ID=17 OR ID=3 AND NAME='SOFIA'"_s << QList<int>{0, 3};
        QTest::newRow("parentheses group")
            << u"(ID=17 OR ID=3) AND NAME='SOFIA'"_s << QList<int>{0};
        QTest::newRow("OR chain") << u"ID=3 OR ID=5 OR ID=42"_s << QList<int>{2, 4, 5};
        QTest::newRow("NOT") << u"NOT ID=17"_s << QList<int>{1, 2, 4, 5};
        QTest::newRow("NOT binds tighter than AND")
            << u"NOT (NAME='SOF*') AND ID>0"_s << QList<int>{2, 3, 4, 5};
        QTest::newRow("double NOT") << u"not not ID=17"_s << QList<int>{0, 3};
        QTest::newRow("keywords in any case") << u"id=17 and name='SOFIA'"_s << QList<int>{0};
    }

    void evaluates() {
        QFETCH(QString, expression);
        QFETCH(QList<int>, rows);
        QCOMPARE(matching(expression, sample()), rows);
    }

    // Blanks typed at the end of a search are part of what the name must begin with; the
    // padding of a shorter name does not stand in for them.
    void prefixEndingInBlanks() {
        const ResultSet result = makeResult({
            {u"ION"_s, QString(), 1, 0, QDate()},
            {u"ION POP"_s, QString(), 2, 0, QDate()},
            {u"IONEL"_s, QString(), 3, 0, QDate()},
        });
        QCOMPARE(matching(u"NAME='ION *'"_s, result), (QList<int>{1}));
        QCOMPARE(matching(u"NAME='ION*'"_s, result), (QList<int>{0, 1, 2}));
        QCOMPARE(matching(u"NAME='ION'"_s, result), (QList<int>{0}));
        QCOMPARE(matching(u"NAME<>'ION'"_s, result), (QList<int>{1, 2}));
        QCOMPARE(matching(u"NAME>'ION'"_s, result), (QList<int>{1, 2}));
        QCOMPARE(matching(u"NAME='ION POP EXTRA*'"_s, result), (QList<int>{}));
        QCOMPARE(matching(u"NAME='IONEL IONESCU'"_s, result),
                 (QList<int>{})); // wider than the field
    }

    void refuses_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("says");

        // Parse errors.
        QTest::newRow("empty") << QString() << 1 << u"se astepta numele unei coloane"_s;
        QTest::newRow("no constant") << u"IDFOAIE="_s << 9 << u"se astepta o constanta"_s;
        QTest::newRow("no operator")
            << u"IDFOAIE 17"_s << 9 << u"se astepta un operator de comparatie"_s;
        QTest::newRow("unclosed parenthesis") << u"(ID=17"_s << 7 << u"se astepta ')'"_s;
        QTest::newRow("extra parenthesis")
            << u"ID=17)"_s << 6 << u"se astepta AND, OR sau sfarsitul"_s;
        QTest::newRow("unclosed text") << u"NAME='ABC"_s << 6 << u"nu se inchide"_s;
        QTest::newRow("single quote in a name")
            << u"(NAME='D'ARC*')"_s << 10 << u"se astepta ')'"_s;
        QTest::newRow("dangling AND") << u"ID=17 AND"_s << 10 << u"s-a gasit sfarsitul expresiei"_s;
        QTest::newRow("doubled operator") << u"ID==17"_s << 4 << u"s-a gasit '='"_s;
        QTest::newRow("bad number") << u"ID=1x"_s << 4 << u"se astepta un numar"_s;
        QTest::newRow("lone minus") << u"ID=-"_s << 4 << u"se astepta un numar"_s;
        QTest::newRow("stray character") << u"ID=17 # 3"_s << 7 << u"caracter neasteptat '#'"_s;
        QTest::newRow("constant first") << u"17=ID"_s << 1 << u"se astepta numele unei coloane"_s;
        QTest::newRow("unencodable text") << u"NAME='\u03A9'"_s << 6 << u"\u03A9"_s;
        // Errors against the columns.
        QTest::newRow("unknown column") << u"(NUMAR=17)"_s << 2 << u"coloana NUMAR nu exista"_s;
        QTest::newRow("number for text")
            << u"NAME=17"_s << 6 << u"se astepta un text intre apostrofuri"_s;
        QTest::newRow("text for number") << u"ID='abc'"_s << 4 << u"se astepta un numar"_s;
        QTest::newRow("prefix of a number") << u"ID='1*'"_s << 4 << u"doar in text"_s;
        QTest::newRow("bare date") << u"DATAX=20240105"_s << 7 << u"se astepta o data"_s;
        QTest::newRow("impossible date") << u"DATAX='2024-13-45'"_s << 7 << u"se astepta o data"_s;
        QTest::newRow("second comparison")
            << u"ID=17 OR PRET=2"_s << 10 << u"coloana PRET nu exista"_s;
    }

    void refuses() {
        QFETCH(QString, expression);
        QFETCH(int, position);
        QFETCH(QString, says);
        const ResultSet result = sample();
        try {
            RecordFilter filter(expression);
            filter.bind(result.columns());
            QFAIL("the filter was accepted");
        } catch (const EngineError &e) {
            QVERIFY2(e.message().startsWith(u"Filtru incorect la pozitia %1:"_s.arg(position)),
                     qPrintable(e.message()));
            QVERIFY2(e.message().contains(says), qPrintable(e.message()));
        }
    }

    void refusedBindingLeavesFilterUnbound() {
        const ResultSet result = sample();
        RecordFilter filter(u"ID=17 AND PRET=2"_s);
        QVERIFY_THROWS_EXCEPTION(EngineError, filter.bind(result.columns()));
        QVERIFY(!filter.isBound());
    }

    void singleEquality_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<bool>("indexable");
        QTest::newRow("number") << u"ID=17"_s << true;
        QTest::newRow("in parentheses") << u"((ID=-1))"_s << true;
        QTest::newRow("whole text") << u"NAME='SOFIA'"_s << true;
        QTest::newRow("prefix") << u"NAME='SOF*'"_s << false;
        QTest::newRow("order") << u"ID<17"_s << false;
        QTest::newRow("NOT") << u"NOT ID=17"_s << false;
        QTest::newRow("two comparisons") << u"ID=17 AND ID=17"_s << false;
    }

    void singleEquality() {
        QFETCH(QString, expression);
        QFETCH(bool, indexable);
        RecordFilter filter(expression);
        QCOMPARE(filter.singleEquality() != nullptr, indexable);
    }

    // The index must give exactly the rows a scan gives, in result order, for every kind of
    // column: numbers with NULLs, padded text and dates.
    void indexAgreesWithScan() {
        QRandomGenerator random(20240105);
        QList<Row> rows;
        const QStringList names = {u"ION"_s,  u"ION "_s,   u"IONESCU"_s,
                                   QString(), u"D'ARCY"_s, u"\u015EERBAN"_s};
        for (int i = 0; i < 3000; ++i) {
            Row row;
            row.name = names[random.bounded(names.size())];
            if (random.bounded(10) > 0)
                row.id = random.bounded(-5, 200);
            row.suma = random.bounded(0, 40) / 4.0;
            if (random.bounded(8) > 0)
                row.datax = QDate(2024, 1, 1).addDays(random.bounded(60));
            rows.append(row);
        }
        const ResultSet result = makeResult(rows);
        const ColumnIndex byName(result, 0);
        const ColumnIndex byId(result, 2);
        const ColumnIndex bySuma(result, 3);
        const ColumnIndex byDate(result, 4);

        auto same = [&](const QString &expression, std::span<const quint32> fromIndex) {
            RecordFilter filter(expression);
            filter.bind(result.columns());
            const std::vector<quint32> scanned = filter.select(result);
            return std::equal(scanned.begin(), scanned.end(), fromIndex.begin(), fromIndex.end());
        };
        for (int id = -6; id <= 201; ++id) {
            const QString expression = u"ID=%1"_s.arg(id);
            QVERIFY2(same(expression, byId.rowsForNumber(id)), qPrintable(expression));
        }
        for (int quarter = 0; quarter < 41; ++quarter) {
            const QString expression = u"SUMA=%1"_s.arg(TextForm::general(quarter / 4.0));
            QVERIFY2(same(expression, bySuma.rowsForNumber(quarter / 4.0)), qPrintable(expression));
        }
        for (int day = -1; day < 61; ++day) {
            const QDate date = QDate(2024, 1, 1).addDays(day);
            const QString expression = u"DATAX='%1'"_s.arg(date.toString(Qt::ISODate));
            QVERIFY2(same(expression, byDate.rowsForDate(date)), qPrintable(expression));
        }
        QVERIFY(same(u"NAME='ION'"_s, byName.rowsForText("ION")));
        QVERIFY(same(u"NAME=''"_s, byName.rowsForText("")));
        QVERIFY(same(u"NAME='D''ARCY'"_s, byName.rowsForText("D'ARCY")));
        QVERIFY(same(u"NAME='\u015EERBAN'"_s, byName.rowsForText("\xAA"
                                                                 "ERBAN")));
        QVERIFY(byName.rowsForText("IONESCU").size() > 0);
        QVERIFY(byId.rowsForNumber(-0.0).size() == byId.rowsForNumber(0).size());
    }
};

QTEST_GUILESS_MAIN(TestRecordFilter)
#include "tst_recordfilter.moc"
