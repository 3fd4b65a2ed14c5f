// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/periodreportlayout.h"

#include <QImage>
#include <QList>

class QPagedPaintDevice;
class QPainter;

namespace velmora {

// Paints the laid-out period report: on a printer or PDF writer page by page, or one page
// into an image.
class PeriodReportPainter {
public:
    explicit PeriodReportPainter(QList<ReportPage> pages);

    qsizetype pageCount() const { return m_pages.size(); }
    const QList<ReportPage> &pages() const { return m_pages; }

    // A4 portrait without margins of the device's own: the layout keeps its margins itself.
    static void preparePages(QPagedPaintDevice &device);
    // Every page, a new device page for each. A FileError when the device cannot be painted
    // on (a PDF file that cannot be created, for instance).
    void print(QPagedPaintDevice &device) const;
    // One page on a painter whose device has dotsPerMm dots per millimetre, the page's top
    // left corner at the origin.
    void paintPage(QPainter &painter, qsizetype page, double dotsPerMm) const;
    QImage pageImage(qsizetype page, double dotsPerInch) const;
    // The whole report as a PDF file, which is replaced only once it is complete.
    void writePdf(const QString &path) const;

private:
    QList<ReportPage> m_pages;
};

} // namespace velmora
