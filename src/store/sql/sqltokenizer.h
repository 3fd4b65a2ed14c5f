// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/sql/sqltoken.h"

#include <QList>
#include <QString>

namespace velmora {

// Splits a statement into tokens. Double-quoted and single-quoted texts are literals; a
// doubled quote of the same kind inside stands for one quote character. An unterminated text
// or a character that belongs to no token raises an EngineError naming line and column.
class SqlTokenizer {
public:
    // The tokens in order, closed by one of kind End.
    static QList<SqlToken> tokenize(const QString &statement);
};

} // namespace velmora
