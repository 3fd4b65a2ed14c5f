// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/periodreportlayout.h"
#include "reports/periodsummary.h"
#include "reports/reportstatements.h"
#include "store/query/query.h"
#include "store/text/error.h"
#include "store/text/textform.h"

#include "tripfixture.h"

#include <QTest>

using namespace velmora;
using velmora::statements::Sheet;

namespace {

PeriodSummary summaryOf(int days) {
    PeriodSummary summary;
    TripFixture trips;
    for (int d = 0; d < days; ++d) {
        Sheet s;
        s.id = QString::number(d + 1);
        s.date = QDate(2007, 1, 1).addDays(d);
        trips.addSheet(s);
    }
    Query lx;
    return PeriodSummary::query(lx, trips.dataDir(), QDate(2007, 1, 1), QDate(2008, 12, 31));
}

QStringList textsOf(const ReportPage &page) {
    QStringList out;
    for (const ReportText &t : page.texts)
        out << t.text;
    return out;
}

const ReportText *find(const ReportPage &page, const QString &text) {
    for (const ReportText &t : page.texts) {
        if (t.text == text)
            return &t;
    }
    return nullptr;
}

} // namespace

class TestPeriodSummary : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void statementLineByLine() {
        const QStringList expected{
            QStringLiteral("SELECT DATAX, SUM(TOTALVEN) AS TV, SUM(COST) AS TC"),
            QStringLiteral("FROM \"/p/Data/Foi.dbf\""),
            QStringLiteral("WHERE DATAX>=\"") + TextForm::date(QDate(2004, 5, 1)) + u'"',
            QStringLiteral("AND DATAX<=\"") + TextForm::date(QDate(2004, 5, 31)) + u'"',
            QStringLiteral("GROUP BY DATAX"),
            QStringLiteral("ORDER BY DATAX"),
        };
        QCOMPARE(ReportStatements(QStringLiteral("/p/Data"))
                     .period(QDate(2004, 5, 1), QDate(2004, 5, 31)),
                 expected);
        QCOMPARE(PeriodSummary::periodLabel(QDate(2004, 5, 1), QDate(2004, 5, 31)),
                 QStringLiteral("in perioada ") + TextForm::date(QDate(2004, 5, 1)) +
                     QStringLiteral(" - ") + TextForm::date(QDate(2004, 5, 31)));
    }

    void daysAndTotalsAreExact() {
        TripFixture trips;
        int id = 0;
        // 265 days of 1234.56 add up, in binary fractions, to 327158.399999999.
        for (int d = 0; d < 265; ++d) {
            Sheet s;
            s.id = QString::number(++id);
            s.date = QDate(2007, 1, 1).addDays(d);
            s.cost = QStringLiteral("1234.56");
            trips.addSheet(s, QStringLiteral("1234.56"));
        }
        // Three vehicles on one day make one line; the sheet before the period and the one
        // after it are left out, those on its first and last day are in.
        for (const char *vehicle : {"B1", "B2", "B3"}) {
            Sheet s;
            s.id = QString::number(++id);
            s.vehicle = QString::fromLatin1(vehicle);
            s.date = QDate(2007, 1, 1);
            s.cost = QStringLiteral("0.1");
            trips.addSheet(s, QStringLiteral("0.1"));
        }
        for (const QDate date : {QDate(2006, 12, 31), QDate(2007, 9, 23)}) {
            Sheet s;
            s.id = QString::number(++id);
            s.date = date;
            trips.addSheet(s, QStringLiteral("5"));
        }
        Query lx;
        const PeriodSummary summary =
            PeriodSummary::query(lx, trips.dataDir(), QDate(2007, 1, 1), QDate(2007, 9, 22));
        QVERIFY(lx.isOpen());
        QCOMPARE(summary.days().size(), 265);
        QCOMPARE(summary.days().first().date, TextForm::date(QDate(2007, 1, 1)));
        QCOMPARE(summary.days().first().income, QStringLiteral("1234.86"));
        QCOMPARE(summary.days().first().cost, QStringLiteral("1234.86"));
        QCOMPARE(summary.days().last().date, TextForm::date(QDate(2007, 9, 22)));
        QCOMPARE(summary.days().last().income, QStringLiteral("1234.56"));
        QCOMPARE(summary.totalIncome(), QStringLiteral("327158.7"));
        QCOMPARE(summary.totalCost(), QStringLiteral("327158.7"));
    }

    void oneDayPeriod() {
        TripFixture trips;
        Sheet s;
        trips.addSheet(s, QStringLiteral("150"));
        Query lx;
        const PeriodSummary summary = PeriodSummary::query(lx, trips.dataDir(), s.date, s.date);
        QCOMPARE(summary.days().size(), 1);
        QCOMPARE(summary.days().first().income, QStringLiteral("150"));
        QCOMPARE(summary.days().first().cost, QStringLiteral("37.8"));
    }

    void missingTableIsAnEngineError() {
        Query lx;
        QVERIFY_THROWS_EXCEPTION(EngineError,
                                 PeriodSummary::query(lx, QStringLiteral("/nonexistent/Data"),
                                                      QDate(2007, 1, 1), QDate(2007, 1, 2)));
    }

    void pageCount_data() {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("pages");
        QTest::newRow("empty period") << 0 << 1;
        QTest::newRow("one page with the totals") << 37 << 1;
        QTest::newRow("totals pushed to the next page") << 38 << 2;
        QTest::newRow("first page full") << 39 << 2;
        QTest::newRow("second page with the totals") << 79 << 2;
        QTest::newRow("second page full") << 80 << 3;
        QTest::newRow("a year") << 365 << 9;
    }

    void pageCount() {
        QFETCH(int, days);
        QFETCH(int, pages);
        const PeriodSummary summary = summaryOf(days);
        QCOMPARE(summary.days().size(), days);
        const QList<ReportPage> laidOut = PeriodReportLayout::pages(summary, QStringLiteral("p"));
        QCOMPARE(laidOut.size(), pages);

        int details = 0;
        for (qsizetype i = 0; i < laidOut.size(); ++i) {
            const QStringList texts = textsOf(laidOut[i]);
            // The title and the period on the first page only; the headers on every page;
            // the totals once, at the end.
            QCOMPARE(texts.count(QStringLiteral("Centralizator foi de parcurs")), i == 0 ? 1 : 0);
            QCOMPARE(texts.count(QStringLiteral("p")), i == 0 ? 1 : 0);
            QCOMPARE(texts.count(QStringLiteral("Data")), 1);
            QCOMPARE(texts.count(QStringLiteral("Venit total")), 1);
            QCOMPARE(texts.count(QStringLiteral("Total consum")), 1);
            QCOMPARE(texts.count(QStringLiteral("TOTAL")), i == laidOut.size() - 1 ? 1 : 0);
            details += texts.count(QStringLiteral("37.8")); // every sheet's cost
            for (const ReportText &t : laidOut[i].texts)
                QVERIFY(t.box.bottom() <= PeriodReportLayout::kPageHeight - 10 + 1e-6);
        }
        QCOMPARE(details, days);
    }

    void emptyPeriodPrintsHeadersAndZeroTotals() {
        const QList<ReportPage> laidOut =
            PeriodReportLayout::pages(PeriodSummary(), QStringLiteral("in perioada x - y"));
        QCOMPARE(laidOut.size(), 1);
        QCOMPARE(textsOf(laidOut.first()),
                 QStringList({QStringLiteral("Centralizator foi de parcurs"),
                              QStringLiteral("in perioada x - y"), QStringLiteral("Data"),
                              QStringLiteral("Venit total"), QStringLiteral("Total consum"),
                              QStringLiteral("TOTAL"), QStringLiteral("0"), QStringLiteral("0")}));
    }

    void bandsWhereTheyBelong() {
        const QList<ReportPage> laidOut =
            PeriodReportLayout::pages(summaryOf(1), QStringLiteral("p"));
        const ReportPage &page = laidOut.first();
        const ReportText *title = find(page, QStringLiteral("Centralizator foi de parcurs"));
        QVERIFY(title);
        QCOMPARE(title->pointSize, 16.0);
        QVERIFY(title->bold);
        QCOMPARE(title->box.top(), 10 + 4.2);
        QCOMPARE(title->box.center().x(), 25 + 85.0);
        const ReportText *data = find(page, QStringLiteral("Data"));
        QVERIFY(data);
        QCOMPARE(data->box.left(), 25 + 12.7);
        QCOMPARE(data->box.top(), 10 + 17.7 + 2.1);
        const ReportText *day = find(page, TextForm::date(QDate(2007, 1, 1)));
        QVERIFY(day);
        QVERIFY(!day->bold);
        QCOMPARE(day->box.center().x(), 25 + 17.7);
        QCOMPARE(day->box.top(), 10 + 17.7 + 8.5 + 0.5);
        const ReportText *cost = find(page, QStringLiteral("37.8"));
        QVERIFY(cost);
        QCOMPARE(cost->box.right(), 25 + 108.0);
        QVERIFY(cost->alignment & Qt::AlignRight);
        const ReportText *total = find(page, QStringLiteral("TOTAL"));
        QVERIFY(total);
        QVERIFY(total->bold);
        QCOMPARE(total->box.left(), 25 + 21.2);
        QCOMPARE(total->box.top(), 10 + 17.7 + 8.5 + 6.4 + 2.1);
        QCOMPARE(page.texts.last().box.right(), 25 + 108.5);
        // Thick rules above and below the headers, a thin one under the day.
        QCOMPARE(page.rules.size(), 3);
        QCOMPARE(page.rules[0].y, 10 + 17.7);
        QCOMPARE(page.rules[1].y, 10 + 17.7 + 8.5);
        QVERIFY(page.rules[2].width < page.rules[0].width);
    }
};

QTEST_GUILESS_MAIN(TestPeriodSummary)
#include "tst_periodsummary.moc"
