// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/sql/sqltokenizer.h"

#include "store/text/error.h"

namespace velmora {

namespace {

bool isWordStart(QChar c) {
    return c.isLetter() || c == u'_';
}

bool isWordPart(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

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
        if (isWordStart(c)) {
            while (i < n && isWordPart(statement[i]))
                ++i;
            t.kind = SqlToken::Kind::Word;
            t.text = statement.mid(start, i - start);
        } else if (isDigit(c) || (c == u'.' && i + 1 < n && isDigit(statement[i + 1]))) {
            while (i < n && isDigit(statement[i]))
                ++i;
            if (i < n && statement[i] == u'.') {
                ++i;
                while (i < n && isDigit(statement[i]))
                    ++i;
            }
            if (i < n && isWordPart(statement[i]))
                refuse(line, columnAt(start), QStringLiteral("numar scris gresit"));
            t.kind = SqlToken::Kind::Number;
            t.text = statement.mid(start, i - start);
        } else if (c == u'"' || c == u'\'') {
            const int startLine = line;
            const int startColumn = t.column;
            ++i;
            QString text;
            while (true) {
                if (i >= n) {
                    refuse(startLine, startColumn,
                           QStringLiteral("textul inceput aici nu se incheie (lipseste %1 de "
                                          "la sfarsit)")
                               .arg(c));
                }
                const QChar d = statement[i];
                if (d == c) {
                    if (i + 1 < n && statement[i + 1] == c) {
                        text += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (d == u'\n') {
                    ++line;
                    lineStart = i + 1;
                }
                text += d;
                ++i;
            }
            t.kind = SqlToken::Kind::String;
            t.text = text;
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
