// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/sheetplaceholders.h"

#include "store/query/query.h"
#include "store/text/fixed4.h"
#include "store/text/textform.h"
#include "store/text/timp.h"

#include <cmath>

namespace velmora {

namespace {

const QString kDash = QStringLiteral("-");

QString rowTag(QChar letter, int row) {
    return u'[' + letter + QString::number(row) + u']';
}

QString fourDecimal(const Query &q, QStringView column) {
    return TextForm::fourDecimal(q.number(column));
}

// Day of month, hour and minute of a departure or arrival, read back exactly as the records
// window shows it.
struct When {
    QString day;
    QString hour;
    QString minute;
};

When whenOf(double timp) {
    const QString hhmm = TextForm::hour(Timp::time(timp));
    return {TextForm::twoDigit(Timp::date(timp).day()), hhmm.section(u':', 0, 0),
            hhmm.section(u':', 1, 1)};
}

} // namespace

QList<Placeholder> SheetPlaceholders::of(const Query &sheet, Query &lines, const QString &company) {
    QList<Placeholder> out;
    const QDate date = sheet.date(u"DATAX");
    out.append({QStringLiteral("[DATAX]"), TextForm::date(date)});
    out.append(
        {QStringLiteral("[L1]"), date.isValid() ? TextForm::twoDigit(date.month()) : QString()});
    out.append(
        {QStringLiteral("[Z1]"), date.isValid() ? TextForm::twoDigit(date.day()) : QString()});
    out.append({QStringLiteral("[O1]"), sheet.text(u"ORA")});
    out.append({QStringLiteral("[NRMAS]"), sheet.text(u"NRMAS")});
    out.append({QStringLiteral("[SOF1]"), sheet.text(u"SOFER1")});
    out.append({QStringLiteral("[SOF2]"), sheet.text(u"SOFER2")});
    out.append({QStringLiteral("[LOCPARC]"), sheet.text(u"LOCPARC")});
    out.append({QStringLiteral("[TOTVEN]"), fourDecimal(sheet, u"TOTALVEN")});
    out.append({QStringLiteral("[C]"), fourDecimal(sheet, u"CONSUM")});
    out.append({QStringLiteral("[TKM]"), sheet.text(u"TKM")});
    out.append({QStringLiteral("[TL]"), litres(sheet.number(u"TKM"), sheet.number(u"CONSUM"))});
    out.append({QStringLiteral("[PRE]"), fourDecimal(sheet, u"PRETL")});
    out.append({QStringLiteral("[TLEI]"), fourDecimal(sheet, u"COST")});
    // A trip sheet names its company, its number and its whole date.
    out.append(
        {QStringLiteral("[AN1]"), date.isValid() ? QString::number(date.year()) : QString()});
    out.append({QStringLiteral("[IDFOAIE]"), sheet.text(u"IDFOAIE")});
    out.append({QStringLiteral("[FIRMA]"), company});

    int row = 0;
    for (lines.first(); !lines.eof(); lines.next()) {
        ++row;
        const When when = whenOf(lines.number(u"TIMP"));
        const QString kind = lines.text(u"PLESOS");
        out.append({rowTag(u'P', row), kind});
        // Arrivals fill the columns A to C, departures D to F.
        const bool departure = kind == QStringLiteral("PLECARE");
        const char *const blankFirst = departure ? "ABC" : "DEF";
        const char *const filledNext = departure ? "DEF" : "ABC";
        for (int i = 0; i < 3; ++i)
            out.append({rowTag(QChar::fromLatin1(blankFirst[i]), row), kDash});
        out.append({rowTag(QChar::fromLatin1(filledNext[0]), row), when.day});
        out.append({rowTag(QChar::fromLatin1(filledNext[1]), row), when.hour});
        out.append({rowTag(QChar::fromLatin1(filledNext[2]), row), when.minute});
        out.append({rowTag(u'R', row), lines.text(u"SUMA")});
    }
    for (++row; row <= kTemplateRows; ++row) {
        for (const QString &column : rowColumns())
            out.append({column + QString::number(row) + u']', kDash});
    }
    return out;
}

QStringList SheetPlaceholders::rowColumns() {
    return {QStringLiteral("[P"), QStringLiteral("[A"), QStringLiteral("[B"), QStringLiteral("[C"),
            QStringLiteral("[D"), QStringLiteral("[E"), QStringLiteral("[F"), QStringLiteral("[R")};
}

QString SheetPlaceholders::litres(double km, double consumption) {
    // In ten-thousandths throughout, so that 123 km at 7.5 gives 9.225 and not a binary
    // neighbour of it.
    const auto perHundred = Fixed4::fromDouble(consumption);
    if (!perHundred || !(std::fabs(km) < 1e9))
        return TextForm::fourDecimal(std::nearbyint(km) * consumption / 100);
    const qint64 wholeKm = static_cast<qint64>(std::nearbyint(km));
    const qint64 units = wholeKm * perHundred->units();
    qint64 quotient = units / 100;
    const qint64 remainder = units % 100;
    const qint64 twice = 2 * (remainder < 0 ? -remainder : remainder);
    if (twice > 100 || (twice == 100 && quotient % 2 != 0))
        quotient += units < 0 ? -1 : 1;
    return Fixed4::fromUnits(quotient).toString();
}

} // namespace velmora
