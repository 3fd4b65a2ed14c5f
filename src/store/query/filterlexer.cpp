// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/query/filterlexer.h"

#include "store/text/error.h"
#include "store/text/textscanner.h"

namespace velmora {

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
        const std::optional<TextScanner::Quoted> quoted = TextScanner::quoted(expression, start);
        if (!quoted) {
            throw EngineError(
                errorText(start, QStringLiteral("textul inceput aici nu se inchide cu apostrof.")));
        }
        i = quoted->end;
        token.text = quoted->text;
        token.kind = FilterToken::Kind::Text;
        return token;
    }
    if (TextScanner::isDigit(c) || c == u'-' || c == u'+' || c == u'.') {
        if (c == u'-' || c == u'+')
            ++i;
        const qsizetype digitsStart = i;
        i = TextScanner::numberEnd(expression, i);
        const QStringView digits = QStringView(expression).mid(digitsStart, i - digitsStart);
        word(FilterToken::Kind::Number);
        bool tooLong = false;
        std::optional<Decimal> number;
        if (!digits.isEmpty() && digits != u"." &&
            !(i < size && TextScanner::isNamePart(expression.at(i))))
            number = Decimal::parse(token.text, &tooLong);
        if (!number)
            throw EngineError(errorText(start, numberRefusal(tooLong)));
        token.number = *number;
        return token;
    }
    if (TextScanner::isNameStart(c)) {
        i = TextScanner::nameEnd(expression, i);
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
