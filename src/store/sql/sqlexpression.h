// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>
#include <vector>

namespace velmora {

// A node of the syntax tree of an expression, as written: nothing is resolved against a table
// yet (see SqlEvaluator). line and column give where the node starts in the statement.
struct SqlExpression {
    enum class Kind {
        Number, // text holds the literal as written
        String, // text holds the literal without its quotes
        Null,
        Column,    // text holds the name
        Negate,    // operands[0]
        Not,       // operands[0]
        Binary,    // op with operands[0] and operands[1]
        IsNull,    // operands[0]; negated for IS NOT NULL
        Aggregate, // text holds SUM, COUNT, MIN, MAX or AVG; operands[0], none for COUNT(*)
    };
    enum class Op { Add, Sub, Mul, Div, Eq, Ne, Lt, Le, Gt, Ge, And, Or };

    Kind kind = Kind::Null;
    Op op = Op::Add;
    bool negated = false;
    QString text;
    std::vector<std::unique_ptr<SqlExpression>> operands;
    int line = 1;
    int column = 1;

    bool isComparison() const { return kind == Kind::Binary && op >= Op::Eq && op <= Op::Ge; }
    // The statement's own words for the node, for messages and default result names.
    QString toText() const;
};

} // namespace velmora
