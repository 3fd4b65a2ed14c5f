// SPDX-License-Identifier: GPL-3.0-or-later
// The period report as the main menu's "Raport" leads to it: the period chosen with its
// calendar, the report's preview with Qt's own dialogs over it (page setup, print) in the
// program's Romanian, and the report's pages as they are printed.
#include "app/application.h"
#include "reports/perioddialog.h"
#include "reports/periodreportlayout.h"
#include "reports/periodreportpainter.h"
#include "reports/periodsummary.h"
#include "sceneprogram.h"
#include "store/programcontext.h"
#include "store/query/query.h"
#include "store/text/textform.h"
#include "studio.h"
#include "ui/calendarpopup.h"
#include "ui/datefield.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QImage>
#include <QPrintPreviewDialog>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>

using namespace velmora;
using velmora::shots::SceneProgram;
using velmora::shots::Studio;

namespace {

// The autumn up to the studio's day, as a clerk types it: two pages of days.
const QDate kFrom = QDate(Studio::today().year(), 10, 1);
const QDate kTo = Studio::today();

QAction *toolbarAction(QPrintPreviewDialog &preview, const QString &text) {
    for (QAction *action : preview.findChild<QToolBar *>()->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// Runs look on the preview once it is up, then closes it. Returns whether look ran.
bool withPreview(const std::function<void()> &open,
                 const std::function<void(QPrintPreviewDialog &)> &look) {
    bool looked = false;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
        auto *preview = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
        if (!preview || !preview->isVisible())
            return;
        watch.stop();
        looked = true;
        look(*preview);
        preview->reject();
    });
    watch.start();
    open();
    return looked;
}

// The period typed into the period window.
bool typePeriod(SceneProgram &program, PeriodDialog &dialog) {
    auto *from = program.control<DateField>(dialog, "Data1");
    auto *to = program.control<DateField>(dialog, "Data2");
    if (!from || !to)
        return false;
    SceneProgram::typeInto(from, TextForm::date(kFrom));
    SceneProgram::typeInto(to, TextForm::date(kTo));
    return true;
}

} // namespace

VELMORA_SCENE(period_dialog, "period-dialog.png", "period-calendar.png") {
    SceneProgram program(studio);
    if (!program.openAccess())
        return;
    PeriodDialog &dialog = program.app().periodDialog();
    QAbstractButton *report = program.menuButton("MBut2");
    if (!report)
        return;
    studio.inModal(
        dialog, [report] { report->click(); },
        [&] {
            if (!typePeriod(program, dialog))
                return;
            studio.save(dialog, QStringLiteral("period-dialog.png"));
            // F4 in the start date opens its calendar on the date typed.
            auto *from = program.control<DateField>(dialog, "Data1");
            from->setFocus(Qt::TabFocusReason);
            QTest::keyClick(from, Qt::Key_F4);
            CalendarPopup *calendar = from->calendar();
            if (!calendar || !Studio::shown(*calendar))
                return studio.fail(QStringLiteral("the start date showed no calendar"));
            studio.saveArea(Studio::frameOf(dialog).united(Studio::frameOf(*calendar)),
                            QStringLiteral("period-calendar.png"));
            QTest::keyClick(calendar->calendar(), Qt::Key_Escape);
        });
}

VELMORA_SCENE(period_preview, "period-preview.png", "period-page-setup.png", "period-print.png",
              "period-report-1.png", "period-report-2.png") {
    SceneProgram::fillYear(studio.programDir());
    SceneProgram program(studio);
    if (!program.openAccess())
        return;
    PeriodDialog &dialog = program.app().periodDialog();
    QAbstractButton *report = program.menuButton("MBut2");
    auto *list = program.control<QAbstractButton>(dialog, "But1");
    if (!report || !list)
        return;
    const auto choosePeriod = [&] {
        studio.inModal(
            dialog, [report] { report->click(); },
            [&] {
                if (typePeriod(program, dialog))
                    list->click();
            });
    };
    const bool previewed = withPreview(choosePeriod, [&](QPrintPreviewDialog &preview) {
        if (!Studio::shown(preview))
            return;
        // The toolbar speaks through its tooltips: the one of "next page", as the pointer
        // resting on it shows it.
        if (QAction *next = toolbarAction(preview, QStringLiteral("Pagina urmatoare"))) {
            QWidget *button = preview.findChild<QToolBar *>()->widgetForAction(next);
            QToolTip::showText(button->mapToGlobal(button->rect().center()) + QPoint(4, 12),
                               next->toolTip(), button);
            Studio::settle(600);
        }
        studio.save(preview, QStringLiteral("period-preview.png"));
        QToolTip::hideText();
        const auto escape = [](QWidget &qtDialog) {
            QTest::keyClick(&qtDialog, Qt::Key_Escape);
        };
        if (QAction *setup = toolbarAction(preview, QStringLiteral("Configurare pagina")))
            studio.saveModal(
                QStringLiteral("period-page-setup.png"), [setup] { setup->trigger(); }, escape);
        if (QAction *print = toolbarAction(preview, QStringLiteral("Tipareste")))
            studio.saveModal(
                QStringLiteral("period-print.png"), [print] { print->trigger(); }, escape);
    });
    if (!previewed)
        return studio.fail(QStringLiteral("the period report showed no preview"));

    // The same pages as the preview's, at 100 dots per inch.
    Query lx;
    const QString dataDir = program.app().context().dataDir();
    const PeriodReportPainter painter(PeriodReportLayout::pages(
        PeriodSummary::query(lx, dataDir, kFrom, kTo), PeriodSummary::periodLabel(kFrom, kTo)));
    for (qsizetype page = 0; page < painter.pageCount(); ++page)
        studio.saveImage(painter.pageImage(page, 100),
                         QStringLiteral("period-report-%1.png").arg(page + 1));
}
