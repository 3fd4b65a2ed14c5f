// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <QStringView>

namespace velmora {

class PeriodSummary;

// A piece of text of the report, in millimetres from the page's top left corner.
struct ReportText {
    QRectF box;
    QString text;
    double pointSize = 10;
    bool bold = false;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
};

// A horizontal rule across the band, its width in millimetres.
struct ReportRule {
    double y = 0;
    double left = 0;
    double right = 0;
    double width = 0;
};

struct ReportPage {
    QList<ReportText> texts;
    QList<ReportRule> rules;
};

// The period report laid out on A4 portrait pages in bands, as a banded report engine would:
// the title with the period on the first page only, the column headers at the top of every
// page, one detail band per day, and the totals once after the last day. A band that does not
// fit on the page starts the next one; there are no page headers, footers or numbers.
class PeriodReportLayout {
public:
    static constexpr double kPageWidth = 210;
    static constexpr double kPageHeight = 297;
    static constexpr double kTopMargin = 10;
    static constexpr double kBottomMargin = 10;
    static constexpr double kLeftMargin = 25;
    static constexpr double kBandWidth = 170;
    static constexpr double kTitleHeight = 17.7;
    static constexpr double kHeaderHeight = 8.5;
    static constexpr double kDetailHeight = 6.4;
    static constexpr double kSummaryHeight = 8.5;
    static constexpr QStringView kTitle = u"Centralizator foi de parcurs";
    static constexpr QStringView kFontFamily = u"Arial";

    static QList<ReportPage> pages(const PeriodSummary &summary, const QString &periodLabel);
};

} // namespace velmora
