// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/periodreport.h"
#include "store/text/error.h"

#include "queuedevents.h"
#include "tripfixture.h"
#include "ui/modalanswer.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTest>
#include <QTimer>

using namespace velmora;
using velmora::statements::Sheet;

namespace {

struct Seen {
    bool shown = false;
    bool maximised = false;
    QPrintPreviewWidget::ZoomMode zoomMode = QPrintPreviewWidget::FitToWidth;
    double zoom = 0;
    int pages = 0;
    bool lxOpen = false;
};

// Looks at the preview once it is the active modal window, then closes it.
[[nodiscard]] ModalAnswer inspectPreview(Seen &seen, PeriodReport &report) {
    return ModalAnswer(
        {ModalStep::of<QPrintPreviewDialog>([&seen, &report](QPrintPreviewDialog &preview) {
            seen.shown = true;
            seen.maximised = preview.windowState() & Qt::WindowMaximized;
            auto *view = preview.findChild<QPrintPreviewWidget *>();
            seen.zoomMode = view->zoomMode();
            seen.zoom = view->zoomFactor();
            seen.pages = view->pageCount();
            seen.lxOpen = report.lx().isOpen();
            preview.reject();
        })});
}

} // namespace

class TestPeriodReport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void previewMaximisedAtFullSize() {
        TripFixture trips;
        for (int d = 0; d < 50; ++d) {
            Sheet s;
            s.id = QString::number(d + 1);
            s.date = QDate(2007, 1, 1).addDays(d);
            trips.addSheet(s, QStringLiteral("10"));
        }
        PeriodReport report(trips.dataDir());
        QCOMPARE(report.objectName(), QStringLiteral("Listare"));
        Seen seen;
        const ModalAnswer preview = inspectPreview(seen, report);
        report.showPeriod(QDate(2007, 1, 1), QDate(2007, 12, 31));
        VELMORA_VERIFY_MODAL(preview);
        QVERIFY(seen.shown);
        QVERIFY(seen.maximised);
        QCOMPARE(seen.zoomMode, QPrintPreviewWidget::CustomZoom);
        QCOMPARE(seen.zoom, 1.0);
        QCOMPARE(seen.pages, 2);
        // The query is open while the preview shows, and closed afterwards.
        QVERIFY(seen.lxOpen);
        QVERIFY(!report.lx().isOpen());
        QCOMPARE(report.periodLabel(),
                 QStringLiteral("in perioada ") + TextForm::date(QDate(2007, 1, 1)) +
                     QStringLiteral(" - ") + TextForm::date(QDate(2007, 12, 31)));
    }

    void emptyPeriodStillPreviews() {
        TripFixture trips;
        PeriodReport report(trips.dataDir());
        Seen seen;
        const ModalAnswer preview = inspectPreview(seen, report);
        report.showPeriod(QDate(2007, 1, 1), QDate(2007, 1, 1));
        VELMORA_VERIFY_MODAL(preview);
        QVERIFY(seen.shown);
        QCOMPARE(seen.pages, 1);
    }

    void refusedQueryShowsNothing() {
        PeriodReport report(QStringLiteral("/nonexistent/Data"));
        Seen seen;
        const ModalAnswer preview = inspectPreview(seen, report);
        QVERIFY_THROWS_EXCEPTION(EngineError,
                                 report.showPeriod(QDate(2007, 1, 1), QDate(2007, 1, 2)));
        // Nor later, from anything the refused listing left queued.
        QVERIFY(deliverQueuedEvents());
        QVERIFY(!preview.ran());
        QVERIFY(!seen.shown);
        QVERIFY(!report.lx().isOpen());
    }
};

QTEST_MAIN(TestPeriodReport)
#include "tst_periodreport.moc"
