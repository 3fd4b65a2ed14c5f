// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/typedentry.h"

#include "store/text/textform.h"

#include <QList>
#include <algorithm>

namespace velmora {

namespace {

// The runs of digits of a text, each as start and length; empty when the text holds a
// character that is neither a digit nor one of the separators.
QList<std::pair<int, int>> digitRuns(QStringView text, QStringView separators) {
    QList<std::pair<int, int>> runs;
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch >= u'0' && ch <= u'9') {
            if (runs.isEmpty() || runs.last().first + runs.last().second != i)
                runs.append({i, 0});
            ++runs.last().second;
        } else if (!separators.contains(ch)) {
            return {};
        }
    }
    return runs;
}

int digitCount(const QList<std::pair<int, int>> &runs) {
    int count = 0;
    for (const auto &run : runs)
        count += run.second;
    return count;
}

QString dateSeparators(const QLocale &locale) {
    QString separators = QStringLiteral("./-, ");
    for (const QChar ch : TextForm::dateFormat(locale)) {
        if (!ch.isLetterOrNumber() && ch != u'\'' && !separators.contains(ch))
            separators.append(ch);
    }
    return separators;
}

// A short format that names the month ("d MMM yyyy", the C locale's) is also read by the
// locale itself; the numeric forms stay open to it.
bool namesTheMonth(const QLocale &locale) {
    return TextForm::dateFormat(locale).contains(QStringLiteral("MMM"));
}

QStringView timeSeparators() {
    return u":.";
}

int number(QStringView digits) {
    int value = 0;
    for (const QChar ch : digits)
        value = value * 10 + (ch.unicode() - u'0');
    return value;
}

} // namespace

std::array<TypedEntry::Part, 3> TypedEntry::dateOrder(const QLocale &locale) {
    const QString format = TextForm::dateFormat(locale);
    std::array<std::pair<qsizetype, Part>, 3> found = {{
        {format.indexOf(u'd'), Part::Day},
        {format.indexOf(u'M'), Part::Month},
        {format.indexOf(u'y'), Part::Year},
    }};
    // A format without one of the letters is no short date format; day, month, year then.
    if (std::any_of(found.begin(), found.end(), [](const auto &f) { return f.first < 0; }))
        return {Part::Day, Part::Month, Part::Year};
    std::sort(found.begin(), found.end());
    return {found[0].second, found[1].second, found[2].second};
}

QDate TypedEntry::date(QStringView text, const QLocale &locale) {
    const QStringView trimmed = text.trimmed();
    const auto runs = digitRuns(trimmed, dateSeparators(locale));
    const auto order = dateOrder(locale);
    int values[3] = {0, 0, 0}; // day, month, year
    if (runs.size() == 1 && runs[0].second == 8) {
        // Digits only: two for the day, two for the month, four for the year.
        int at = runs[0].first;
        for (const Part part : order) {
            const int width = part == Part::Year ? 4 : 2;
            values[static_cast<int>(part)] = number(trimmed.mid(at, width));
            at += width;
        }
    } else if (runs.size() == 3) {
        for (int i = 0; i < 3; ++i) {
            const int width = runs[i].second;
            const bool year = order[i] == Part::Year;
            if (year ? width != 4 : width > 2)
                return QDate();
            values[static_cast<int>(order[i])] = number(trimmed.mid(runs[i].first, width));
        }
    } else {
        return namesTheMonth(locale)
                   ? locale.toDate(trimmed.toString(), TextForm::dateFormat(locale))
                   : QDate();
    }
    return QDate(values[2], values[1], values[0]);
}

QTime TypedEntry::time(QStringView text) {
    const QStringView trimmed = text.trimmed();
    const auto runs = digitRuns(trimmed, timeSeparators());
    int values[3] = {0, 0, 0};
    if (runs.size() == 1 && (runs[0].second == 4 || runs[0].second == 6)) {
        for (int i = 0; i * 2 < runs[0].second; ++i)
            values[i] = number(trimmed.mid(runs[0].first + i * 2, 2));
    } else if (runs.size() == 2 || runs.size() == 3) {
        for (int i = 0; i < runs.size(); ++i) {
            const int width = runs[i].second;
            // The hour may lose its leading zero; minutes and seconds may not (7:5 is no hour).
            if (i == 0 ? width > 2 : width != 2)
                return {};
            values[i] = number(trimmed.mid(runs[i].first, width));
        }
    } else {
        return {};
    }
    return QTime(values[0], values[1], values[2]);
}

bool TypedEntry::mayBecomeDate(QStringView text, const QLocale &locale) {
    if (namesTheMonth(locale)) {
        int digits = 0;
        for (const QChar ch : text) {
            if (ch.isDigit())
                ++digits;
            else if (!ch.isLetter() && !dateSeparators(locale).contains(ch))
                return false;
        }
        return digits <= 8 && text.size() <= 24;
    }
    const QString separators = dateSeparators(locale);
    const auto runs = digitRuns(text, separators);
    const bool onlySeparators =
        std::all_of(text.begin(), text.end(), [&](QChar ch) { return separators.contains(ch); });
    return (onlySeparators || !runs.isEmpty()) && digitCount(runs) <= 8 && runs.size() <= 3 &&
           text.size() <= 16;
}

bool TypedEntry::mayBecomeTime(QStringView text) {
    const auto runs = digitRuns(text, timeSeparators());
    const bool onlySeparators = std::all_of(text.begin(), text.end(),
                                            [](QChar ch) { return timeSeparators().contains(ch); });
    return (onlySeparators || !runs.isEmpty()) && digitCount(runs) <= 6 && runs.size() <= 3 &&
           text.size() <= 10;
}

int TypedEntry::partAt(QStringView text, int position) {
    int part = 0;
    for (int index = 0;; ++index) {
        const auto [start, length] = partSpan(text, index);
        if (start < 0 || start > position)
            return part;
        // Touching a part from either side is standing in it.
        part = index;
        if (position <= start + length)
            return part;
    }
}

std::pair<int, int> TypedEntry::partSpan(QStringView text, int index) {
    int found = -1;
    for (int i = 0; i < text.size(); ++i) {
        if (!text[i].isLetterOrNumber() || (i > 0 && text[i - 1].isLetterOrNumber()))
            continue;
        if (++found == index) {
            int end = i;
            while (end < text.size() && text[end].isLetterOrNumber())
                ++end;
            return {i, end - i};
        }
    }
    return {-1, 0};
}

} // namespace velmora
