// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/textform.h"

#include "store/text/fixed4.h"

#include <QLocale>
#include <QRegularExpression>
#include <charconv>
#include <cmath>

namespace velmora {

QString TextForm::quoted(QStringView text) {
    QString out = text.toString();
    out.replace(u'"', QStringLiteral("\"\""));
    return u'"' + out + u'"';
}

QString TextForm::filterQuoted(QStringView text) {
    QString out = text.toString();
    out.replace(u'\'', QStringLiteral("''"));
    return u'\'' + out + u'\'';
}

QString TextForm::dateFormat(const QLocale &locale) {
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy"))) {
        static const QRegularExpression twoDigitYear(QStringLiteral("y+"));
        format.replace(twoDigitYear, QStringLiteral("yyyy"));
    }
    return format;
}

QString TextForm::date(QDate date, const QLocale &locale) {
    return locale.toString(date, dateFormat(locale));
}

QDate TextForm::parseDate(QStringView text, const QLocale &locale) {
    const QString trimmed = text.trimmed().toString();
    if (trimmed.isEmpty())
        return {};
    const QString format = dateFormat(locale);
    QDate date = locale.toDate(trimmed, format);
    if (!date.isValid()) {
        // Days and months typed without their leading zero.
        QString relaxed = format;
        relaxed.replace(QStringLiteral("dd"), QStringLiteral("d"));
        relaxed.replace(QStringLiteral("MM"), QStringLiteral("M"));
        date = locale.toDate(trimmed, relaxed);
    }
    if (!date.isValid())
        date = QDate::fromString(trimmed, Qt::ISODate);
    return date;
}

QString TextForm::hour(QTime time) {
    return time.toString(QStringLiteral("HH:mm"));
}

QString TextForm::fourDecimal(double value) {
    if (const auto fixed = Fixed4::fromDouble(value))
        return fixed->toString();
    return general(value);
}

QString TextForm::general(double value) {
    if (value == 0 || !std::isfinite(value))
        return std::isfinite(value) ? QStringLiteral("0") : QString::number(value);
    const double magnitude = std::fabs(value);
    QString text;
    if (magnitude >= 1e-5 && magnitude < 1e-4) {
        // Fixed notation down to 1e-5, where 'g' would already switch to an exponent;
        // 19 decimals are the 15 significant digits of such a number.
        text = QString::number(value, 'f', 19);
        while (text.endsWith(u'0'))
            text.chop(1);
    } else {
        text = QString::number(value, 'g', 15);
    }
    return text;
}

void TextForm::appendGeneral(QByteArray &out, const Decimal &value) {
    const Decimal d = value.normalized();
    const int digits = d.significantDigits();
    // Leading zeros after the point of a value below one.
    const int zeros = d.integerDigits() == 0 ? d.scale() - digits : 0;
    if (digits <= 15 && zeros < 5)
        d.appendFixed(out);
    else
        out.append(general(d.toDouble()).toLatin1());
}

QString TextForm::general(const Decimal &value) {
    QByteArray out;
    appendGeneral(out, value);
    return QString::fromLatin1(out);
}

QString TextForm::twoDigit(int value) {
    return value >= 0 && value < 10 ? u'0' + QString::number(value) : QString::number(value);
}

std::optional<double> TextForm::parseNumber(QStringView text) {
    const QByteArray latin = text.trimmed().toLatin1();
    const char *begin = latin.constData();
    const char *end = begin + latin.size();
    if (begin != end && *begin == '+')
        ++begin;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::fixed);
    if (begin == end || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

} // namespace velmora
