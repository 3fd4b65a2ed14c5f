// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/sql/sqltokenizer.h"

#include "store/text/error.h"
#include "store/text/textscanner.h"

namespace velmora {

namespace {

[[noreturn]] void refuse(int line, int column, const QString &what) {
    throw EngineError(QStringLiteral("Eroare de sintaxa la linia %1, coloana %2: %3.")
                          .arg(line)
                          .arg(column)
                          .arg(what));
}

} // namespace

QString SqlToken::describe() const {
    switch (kind) {
    case Kind::End:
        return QStringLiteral("sfarsitul instructiunii");
    case Kind::String: {
        QString shown = text.left(40);
        if (shown.size() < text.size())
            shown += QStringLiteral("...");
        return QStringLiteral("textul \"%1\"").arg(shown);
    }
    case Kind::Word:
    case Kind::Number:
    case Kind::Symbol:
        break;
    }
    return text;
}

QList<SqlToken> SqlTokenizer::tokenize(const QString &statement) {
    QList<SqlToken> tokens;
    const qsizetype n = statement.size();
    qsizetype i = 0;
    int line = 1;
    qsizetype lineStart = 0;
    auto columnAt = [&](qsizetype pos) {
        return static_cast<int>(pos - lineStart + 1);
    };

    while (true) {
        // Blanks and line breaks.
        while (i < n) {
            const QChar c = statement[i];
            if (c == u'\n') {
                ++line;
                lineStart = i + 1;
            } else if (!c.isSpace()) {
                break;
            }
            ++i;
        }
        SqlToken t;
        t.line = line;
        t.column = columnAt(i);
        if (i >= n) {
            tokens.append(t);
            return tokens;
        }
        const QChar c = statement[i];
        const qsizetype start = i;
        if (TextScanner::isNameStart(c)) {
            i = TextScanner::nameEnd(statement, i);
            t.kind = SqlToken::Kind::Word;
            t.text = statement.mid(start, i - start);
        } else if (TextScanner::isDigit(c) ||
                   (c == u'.' && i + 1 < n && TextScanner::isDigit(statement[i + 1]))) {
            i = TextScanner::numberEnd(statement, i);
            if (i < n && TextScanner::isNamePart(statement[i]))
                refuse(line, columnAt(start), QStringLiteral("numar scris gresit"));
            t.kind = SqlToken::Kind::Number;
            t.text = statement.mid(start, i - start);
        } else if (c == u'"' || c == u'\'') {
            const std::optional<TextScanner::Quoted> quoted = TextScanner::quoted(statement, i);
            if (!quoted) {
                refuse(line, t.column,
                       QStringLiteral("textul inceput aici nu se incheie (lipseste %1 de "
                                      "la sfarsit)")
                           .arg(c));
            }
            // Line breaks inside the text count for the words after it.
            for (; i < quoted->end; ++i) {
                if (statement[i] == u'\n') {
                    ++line;
                    lineStart = i + 1;
                }
            }
            t.kind = SqlToken::Kind::String;
            t.text = quoted->text;
        } else {
            static const QString twoChar[] = {QStringLiteral("<>"), QStringLiteral("!="),
                                              QStringLiteral("<="), QStringLiteral(">=")};
            t.kind = SqlToken::Kind::Symbol;
            const QStringView pair = QStringView(statement).mid(i, 2);
            for (const QString &s : twoChar) {
                if (pair == s)
                    t.text = s;
            }
            if (t.text.isEmpty()) {
                if (!QStringView(u"(),*+-/=<>;").contains(c))
                    refuse(line, t.column,
                           QStringLiteral("caracterul \"%1\" nu era asteptat").arg(c));
                t.text = c;
            }
            i += t.text.size();
        }
        tokens.append(t);
    }
}

} // namespace velmora
