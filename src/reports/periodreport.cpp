// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/periodreport.h"

#include "reports/periodreportlayout.h"
#include "reports/periodreportpainter.h"
#include "reports/periodsummary.h"
#include "store/text/error.h"
#include "ui/errorbox.h"

#include <QCoreApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

namespace velmora {

PeriodReport::PeriodReport(QString dataDir, QWidget *previewParent)
    : m_dataDir(std::move(dataDir))
    , m_previewParent(previewParent) {
    setObjectName(QStringLiteral("Listare"));
}

void PeriodReport::showPeriod(QDate from, QDate to) {
    struct CloseLx {
        Query &lx;
        ~CloseLx() { lx.close(); }
    } closeLx{m_lx};
    const PeriodSummary summary = PeriodSummary::query(m_lx, m_dataDir, from, to);
    QCoreApplication::processEvents();
    m_periodLabel = PeriodSummary::periodLabel(from, to);
    const PeriodReportPainter painter(PeriodReportLayout::pages(summary, m_periodLabel));

    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    PeriodReportPainter::preparePages(printer);
    printer.setDocName(PeriodReportLayout::kTitle.toString());
    printer.setCreator(QStringLiteral("Velmora v.1.01"));

    QPrintPreviewDialog preview(&printer, m_previewParent);
    preview.setObjectName(QStringLiteral("R1"));
    preview.setWindowTitle(QStringLiteral("Listare"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&painter](QPrinter *p) {
        // Nothing may leave a slot: a printer that cannot be painted on is reported here.
        try {
            painter.print(*p);
        } catch (const Error &error) {
            ErrorBox::show(error.message());
        }
    });
    if (auto *view = preview.findChild<QPrintPreviewWidget *>()) {
        view->setZoomMode(QPrintPreviewWidget::CustomZoom);
        view->setZoomFactor(1.0);
    }
    preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    preview.exec();
}

} // namespace velmora
