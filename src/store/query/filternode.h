// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/dbf/column.h"
#include "store/text/decimal.h"

#include <QByteArray>
#include <QString>
#include <memory>

namespace velmora {

// A node of a parsed record filter: AND, OR, NOT over sub-conditions, or one comparison of a
// column with a constant. A comparison is bound to a result's column before it is evaluated;
// its constant is then held in the column's own terms, so evaluation never builds a QString.
struct FilterNode {
    enum class Kind { And, Or, Not, Compare };
    enum class Op { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };

    Kind kind = Kind::Compare;
    std::unique_ptr<FilterNode> left; // the only operand of NOT
    std::unique_ptr<FilterNode> right;

    // Comparison as written.
    QString columnName;
    qsizetype position = 0; // of the column name, for errors
    qsizetype constantPosition = 0;
    Op op = Op::Equal;
    bool textConstant = false;
    QString text; // a text constant, quotes undone, without the "*" of a prefix
    Decimal number;
    bool prefix = false; // '...*' with "=": the value begins with text
    QByteArray bytes;    // text in the tables' code page; trailing blanks dropped unless prefix

    // Comparison as bound to a result.
    int column = -1;
    ColumnType type = ColumnType::Text;
    Column source;          // where the bytes sit in a row and how to read them
    bool endsBlank = false; // the text constant's last byte is one the padding is made of
    qint64 day = 0;         // a date constant as a Julian day
};

} // namespace velmora
