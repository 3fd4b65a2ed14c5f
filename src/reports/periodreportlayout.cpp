// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/periodreportlayout.h"

#include "reports/periodsummary.h"

namespace velmora {

namespace {

constexpr double kThickRule = 0.5; // a frame of 2 pixels on the report's design grid
constexpr double kThinRule = 0.2;
constexpr double kFit = 1e-6;    // bands that end exactly at the bottom margin still fit
constexpr double kTextRoom = 40; // width of a right-aligned or centred number's box

class Pager {
public:
    explicit Pager(QList<ReportPage> &pages)
        : m_pages(pages) {
        m_pages.append(ReportPage());
    }

    ReportPage &page() { return m_pages.last(); }
    double top() const { return m_y; }
    double left() const { return PeriodReportLayout::kLeftMargin; }

    bool fits(double height) const {
        return m_y + height <=
               PeriodReportLayout::kPageHeight - PeriodReportLayout::kBottomMargin + kFit;
    }
    void newPage() {
        m_pages.append(ReportPage());
        m_y = PeriodReportLayout::kTopMargin;
    }
    void advance(double height) { m_y += height; }

    // Text at x from the band's left edge, dy from its top.
    void leftText(double x, double dy, double height, const QString &text, double size, bool bold) {
        page().texts.append(
            {QRectF(left() + x, m_y + dy, PeriodReportLayout::kBandWidth - x, height - dy), text,
             size, bold, Qt::AlignLeft | Qt::AlignTop});
    }
    void rightText(double x, double dy, double height, const QString &text, bool bold) {
        page().texts.append({QRectF(left() + x - kTextRoom, m_y + dy, kTextRoom, height - dy), text,
                             10, bold, Qt::AlignRight | Qt::AlignTop});
    }
    void centredText(double x, double halfWidth, double dy, double height, const QString &text,
                     double size, bool bold) {
        page().texts.append({QRectF(left() + x - halfWidth, m_y + dy, 2 * halfWidth, height - dy),
                             text, size, bold, Qt::AlignHCenter | Qt::AlignTop});
    }
    void rule(double dy, double width) {
        page().rules.append({m_y + dy, left(), left() + PeriodReportLayout::kBandWidth, width});
    }

private:
    QList<ReportPage> &m_pages;
    double m_y = PeriodReportLayout::kTopMargin;
};

void columnHeader(Pager &pager) {
    const double h = PeriodReportLayout::kHeaderHeight;
    pager.rule(0, kThickRule);
    pager.leftText(12.7, 2.1, h, QStringLiteral("Data"), 10, true);
    pager.leftText(48.7, 2.1, h, QStringLiteral("Venit total"), 10, true);
    pager.leftText(91.0, 2.1, h, QStringLiteral("Total consum"), 10, true);
    pager.rule(h, kThickRule);
    pager.advance(h);
}

// Starts a new page, with the column headers, when the band does not fit on this one.
void makeRoom(Pager &pager, double height) {
    if (pager.fits(height))
        return;
    pager.newPage();
    columnHeader(pager);
}

} // namespace

QList<ReportPage> PeriodReportLayout::pages(const PeriodSummary &summary,
                                            const QString &periodLabel) {
    QList<ReportPage> pages;
    Pager pager(pages);

    pager.centredText(kBandWidth / 2, kBandWidth / 2, 4.2, kTitleHeight, kTitle.toString(), 16,
                      true);
    pager.centredText(kBandWidth / 2, kBandWidth / 2, 10.6, kTitleHeight, periodLabel, 10, true);
    pager.advance(kTitleHeight);
    columnHeader(pager);

    for (const PeriodSummary::Day &day : summary.days()) {
        makeRoom(pager, kDetailHeight);
        pager.centredText(17.7, 17.7, 0.5, kDetailHeight, day.date, 10, false);
        pager.rightText(63.5, 0.5, kDetailHeight, day.income, false);
        pager.rightText(108.0, 0.5, kDetailHeight, day.cost, false);
        pager.rule(kDetailHeight, kThinRule);
        pager.advance(kDetailHeight);
    }

    makeRoom(pager, kSummaryHeight);
    pager.leftText(21.2, 2.1, kSummaryHeight, QStringLiteral("TOTAL"), 10, true);
    pager.rightText(64.0, 2.1, kSummaryHeight, summary.totalIncome(), true);
    pager.rightText(108.5, 2.1, kSummaryHeight, summary.totalCost(), true);
    pager.advance(kSummaryHeight);
    return pages;
}

} // namespace velmora
