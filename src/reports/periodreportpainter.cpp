// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/periodreportpainter.h"

#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QDir>

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QSaveFile>

namespace velmora {

namespace {

constexpr double kMmPerInch = 25.4;

QRectF scaled(const QRectF &mm, double dotsPerMm) {
    return {mm.x() * dotsPerMm, mm.y() * dotsPerMm, mm.width() * dotsPerMm,
            mm.height() * dotsPerMm};
}

QString cannotWrite(const QString &path, const QFileDevice &file) {
    return QStringLiteral("Fisierul %1 nu poate fi scris: %2")
        .arg(QDir::toNativeSeparators(path), Platform::reason(file));
}

} // namespace

PeriodReportPainter::PeriodReportPainter(QList<ReportPage> pages)
    : m_pages(std::move(pages)) {}

void PeriodReportPainter::preparePages(QPagedPaintDevice &device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

void PeriodReportPainter::print(QPagedPaintDevice &device) const {
    QPainter painter;
    if (!painter.begin(&device))
        throw FileError(QStringLiteral("Raportul nu poate fi scris."));
    const double dotsPerMm = device.logicalDpiX() / kMmPerInch;
    for (qsizetype page = 0; page < m_pages.size(); ++page) {
        if (page > 0 && !device.newPage())
            throw FileError(QStringLiteral("Raportul nu poate fi scris."));
        paintPage(painter, page, dotsPerMm);
    }
    if (!painter.end())
        throw FileError(QStringLiteral("Raportul nu poate fi scris."));
}

void PeriodReportPainter::paintPage(QPainter &painter, qsizetype page, double dotsPerMm) const {
    const ReportPage &p = m_pages.at(page);
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const ReportRule &rule : p.rules) {
        QPen pen(Qt::black, rule.width * dotsPerMm);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.drawLine(QPointF(rule.left * dotsPerMm, rule.y * dotsPerMm),
                         QPointF(rule.right * dotsPerMm, rule.y * dotsPerMm));
    }
    painter.setPen(Qt::black);
    QFont font{PeriodReportLayout::kFontFamily.toString()};
    font.setStyleHint(QFont::SansSerif);
    for (const ReportText &text : p.texts) {
        font.setPointSizeF(text.pointSize);
        font.setBold(text.bold);
        painter.setFont(font);
        painter.drawText(scaled(text.box, dotsPerMm), int(text.alignment) | Qt::TextSingleLine,
                         text.text);
    }
    painter.restore();
}

QImage PeriodReportPainter::pageImage(qsizetype page, double dotsPerInch) const {
    const double dotsPerMm = dotsPerInch / kMmPerInch;
    QImage image(qRound(PeriodReportLayout::kPageWidth * dotsPerMm),
                 qRound(PeriodReportLayout::kPageHeight * dotsPerMm), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dotsPerMm * 1000));
    image.setDotsPerMeterY(qRound(dotsPerMm * 1000));
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, page, dotsPerMm);
    return image;
}

void PeriodReportPainter::writePdf(const QString &path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(cannotWrite(path, file));
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(600);
        pdf.setCreator(QStringLiteral("Velmora v.1.01"));
        pdf.setTitle(PeriodReportLayout::kTitle.toString());
        preparePages(pdf);
        print(pdf);
    }
    if (!file.commit())
        throw FileError(cannotWrite(path, file));
}

} // namespace velmora
