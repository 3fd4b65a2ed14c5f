// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/query/filterlexer.h"

#include "store/text/error.h"

namespace velmora {

namespace {

bool isNameStart(QChar c) {
    return c.isLetter() || c == u'_';
}

bool isNamePart(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

QString FilterLexer::numberRefusal(bool tooManyDigits) {
    if (tooManyDigits) {
        return QStringLiteral("numarul are prea multe cifre (cel mult %1 cifre semnificative si "
                              "%2 zecimale).")
            .arg(Decimal::kMaxDigits)
            .arg(Decimal::kMaxScale);
    }
    return QStringLiteral("se astepta un numar.");
}

QString FilterLexer::errorText(qsizetype position, const QString &what) {
    return QStringLiteral("Filtru incorect la pozitia %1: %2").arg(position + 1).arg(what);
}

QString FilterLexer::describe(const FilterToken &token) {
    switch (token.kind) {
    case FilterToken::Kind::Name:
        return QStringLiteral("numele %1").arg(token.text);
    case FilterToken::Kind::Number:
        return QStringLiteral("numarul %1").arg(token.text);
    case FilterToken::Kind::Text:
        return QStringLiteral("textul '%1'").arg(token.text);
    case FilterToken::Kind::Compare:
    case FilterToken::Kind::Open:
    case FilterToken::Kind::Close:
        return QStringLiteral("'%1'").arg(token.text);
    case FilterToken::Kind::And:
    case FilterToken::Kind::Or:
    case FilterToken::Kind::Not:
        return QStringLiteral("cuvantul %1").arg(token.text.toUpper());
    case FilterToken::Kind::End:
        break;
    }
    return QStringLiteral("sfarsitul expresiei");
}

FilterLexer::FilterLexer(const QString &expression)
    : m_text(expression) {}

FilterToken FilterLexer::next() {
    const QString &expression = m_text;
    const qsizetype size = expression.size();
    qsizetype &i = m_pos;
    while (i < size && expression.at(i).isSpace())
        ++i;
    FilterToken token;
    token.position = i;
    if (i >= size)
        return token;
    const qsizetype start = i;
    const QChar c = expression.at(i);
    auto word = [&](FilterToken::Kind kind) {
        token.kind = kind;
        token.text = expression.mid(start, i - start);
        return token;
    };
    if (c == u'(' || c == u')') {
        ++i;
        return word(c == u'(' ? FilterToken::Kind::Open : FilterToken::Kind::Close);
    }
    if (c == u'=') {
        ++i;
        return word(FilterToken::Kind::Compare);
    }
    if (c == u'<' || c == u'>') {
        ++i;
        if (i < size && (expression.at(i) == u'=' || (c == u'<' && expression.at(i) == u'>')))
            ++i;
        return word(FilterToken::Kind::Compare);
    }
    if (c == u'\'') {
        ++i;
        for (;;) {
            if (i >= size) {
                throw EngineError(errorText(
                    start, QStringLiteral("textul inceput aici nu se inchide cu apostrof.")));
            }
            if (expression.at(i) == u'\'') {
                ++i;
                if (i < size && expression.at(i) == u'\'') {
                    token.text.append(u'\'');
                    ++i;
                    continue;
                }
                break;
            }
            token.text.append(expression.at(i));
            ++i;
        }
        token.kind = FilterToken::Kind::Text;
        return token;
    }
    if (isDigit(c) || c == u'-' || c == u'+' || c == u'.') {
        if (c == u'-' || c == u'+')
            ++i;
        const qsizetype digitsStart = i;
        while (i < size && isDigit(expression.at(i)))
            ++i;
        if (i < size && expression.at(i) == u'.') {
            ++i;
            while (i < size && isDigit(expression.at(i)))
                ++i;
        }
        const QStringView digits = QStringView(expression).mid(digitsStart, i - digitsStart);
        word(FilterToken::Kind::Number);
        bool tooLong = false;
        std::optional<Decimal> number;
        if (!digits.isEmpty() && digits != u"." && !(i < size && isNamePart(expression.at(i))))
            number = Decimal::parse(token.text, &tooLong);
        if (!number)
            throw EngineError(errorText(start, numberRefusal(tooLong)));
        token.number = *number;
        return token;
    }
    if (isNameStart(c)) {
        while (i < size && isNamePart(expression.at(i)))
            ++i;
        const QStringView name = QStringView(expression).mid(start, i - start);
        if (name.compare(u"AND", Qt::CaseInsensitive) == 0)
            return word(FilterToken::Kind::And);
        if (name.compare(u"OR", Qt::CaseInsensitive) == 0)
            return word(FilterToken::Kind::Or);
        if (name.compare(u"NOT", Qt::CaseInsensitive) == 0)
            return word(FilterToken::Kind::Not);
        return word(FilterToken::Kind::Name);
    }
    throw EngineError(errorText(start, QStringLiteral("caracter neasteptat '%1'.").arg(c)));
}

} // namespace velmora
