// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/periodreportlayout.h"
#include "reports/periodreportpainter.h"
#include "reports/periodsummary.h"
#include "store/query/query.h"
#include "store/text/error.h"

#include "filebytes.h"
#include "tripfixture.h"

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using velmora::statements::Sheet;

namespace {

constexpr double kDpi = 100;

PeriodReportPainter reportOf(TripFixture &trips, int days) {
    for (int d = 0; d < days; ++d) {
        Sheet s;
        s.id = QString::number(d + 1);
        s.date = QDate(2007, 1, 1).addDays(d);
        trips.addSheet(s, QStringLiteral("150"));
    }
    Query lx;
    const PeriodSummary summary =
        PeriodSummary::query(lx, trips.dataDir(), QDate(2007, 1, 1), QDate(2007, 12, 31));
    return PeriodReportPainter(PeriodReportLayout::pages(
        summary, PeriodSummary::periodLabel(QDate(2007, 1, 1), QDate(2007, 12, 31))));
}

int mm(double millimetres) {
    return qRound(millimetres * kDpi / 25.4);
}

// Share of dark pixels on the row y mm from the top, between the band's edges.
double darkShare(const QImage &image, double y) {
    int dark = 0;
    const int from = mm(26);
    const int to = mm(194);
    for (int x = from; x < to; ++x)
        dark += qGray(image.pixel(x, mm(y))) < 128;
    return double(dark) / (to - from);
}

bool anyDark(const QImage &image, const QRectF &box) {
    for (int y = mm(box.top()); y < mm(box.bottom()); ++y) {
        for (int x = mm(box.left()); x < mm(box.right()); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                return true;
        }
    }
    return false;
}

int pdfPages(const QByteArray &pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    return int(QString::fromLatin1(pdf).count(page));
}

} // namespace

class TestPeriodReportPainter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pdfHasEveryPage() {
        TripFixture trips;
        const PeriodReportPainter report = reportOf(trips, 80);
        QCOMPARE(report.pageCount(), 3);
        const QString path = trips.programDir() + QStringLiteral("/r.pdf");
        report.writePdf(path);
        const QByteArray pdf = bytesOf(path);
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(pdfPages(pdf), 3);
        // A4 portrait in points.
        QVERIFY(pdf.contains("/MediaBox [0 0 595"));
    }

    void pdfThatCannotBeWrittenRaises() {
        TripFixture trips;
        const PeriodReportPainter report = reportOf(trips, 1);
        QVERIFY_THROWS_EXCEPTION(FileError,
                                 report.writePdf(trips.programDir() + QStringLiteral("/no/r.pdf")));
    }

    void headersOnEveryPageTotalsOnTheLast() {
        TripFixture trips;
        const PeriodReportPainter report = reportOf(trips, 45);
        QCOMPARE(report.pageCount(), 2);
        const QImage first = report.pageImage(0, kDpi);
        const QImage second = report.pageImage(1, kDpi);
        QCOMPARE(first.size(), QSize(mm(210), mm(297)));
        // The header rules lie under the title on the first page and at the top of the next.
        QVERIFY(darkShare(first, 10 + 17.7) > 0.95);
        QVERIFY(darkShare(first, 10 + 17.7 + 8.5) > 0.95);
        QVERIFY(darkShare(second, 10) > 0.95);
        QVERIFY(darkShare(second, 10 + 8.5) > 0.95);
        QVERIFY(darkShare(first, 10 + 8.5) < 0.5);
        // The title is printed; the totals are on the second page only, after its 6 days.
        QVERIFY(anyDark(first, QRectF(60, 14.5, 90, 5)));
        const QRectF totals(25 + 21.2, 10 + 8.5 + 6 * 6.4 + 2.5, 12, 3);
        QVERIFY(anyDark(second, totals));
        QVERIFY(!anyDark(second, totals.translated(0, 10)));
        QVERIFY(anyDark(first, QRectF(25 + 21.2, 280, 12, 3)));
        // Nothing in the margins.
        QVERIFY(!anyDark(first, QRectF(0, 0, 210, 9.5)));
        QVERIFY(!anyDark(first, QRectF(0, 0, 24.5, 297)));
        QVERIFY(!anyDark(second, QRectF(0, 287.5, 210, 9.5)));
    }

    void emptyPeriodStillPrints() {
        TripFixture trips;
        const PeriodReportPainter report = reportOf(trips, 0);
        QCOMPARE(report.pageCount(), 1);
        const QImage page = report.pageImage(0, kDpi);
        QVERIFY(darkShare(page, 10 + 17.7) > 0.95);
        QVERIFY(darkShare(page, 10 + 17.7 + 8.5) > 0.95);
        // "TOTAL" and its two zeros.
        const double y = 10 + 17.7 + 8.5 + 2.5;
        QVERIFY(anyDark(page, QRectF(25 + 21.2, y, 12, 3)));
        QVERIFY(anyDark(page, QRectF(25 + 60, y, 4, 3)));
        QVERIFY(anyDark(page, QRectF(25 + 104.5, y, 4, 3)));
    }
};

QTEST_MAIN(TestPeriodReportPainter)
#include "tst_periodreportpainter.moc"
