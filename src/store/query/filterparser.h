// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/query/filterlexer.h"
#include "store/query/filternode.h"

#include <memory>

namespace velmora {

// Reads a record filter into a tree. OR binds loosest, then AND, then NOT; parentheses group.
// Each comparison is a column name, an operator (= <> < > <= >=) and a constant. A filter nests
// at most 200 levels deep, so that no filter can exhaust the stack of whoever walks its tree.
class FilterParser {
public:
    // Raises an EngineError saying what was expected and where.
    static std::unique_ptr<FilterNode> parse(const QString &expression);

private:
    explicit FilterParser(const QString &expression);
    std::unique_ptr<FilterNode> parseChain(FilterToken::Kind joiner);
    void enter();
    [[noreturn]] void tooDeep(qsizetype position) const;
    std::unique_ptr<FilterNode> parseOr();
    std::unique_ptr<FilterNode> parseAnd();
    std::unique_ptr<FilterNode> parseNot();
    std::unique_ptr<FilterNode> parsePrimary();
    std::unique_ptr<FilterNode> parseComparison();
    const FilterToken &peek() const { return m_current; }
    FilterToken take();
    [[noreturn]] void expected(const QString &what) const;

    FilterLexer m_lexer;
    FilterToken m_current;
    int m_nesting = 0;
    // The depth of the tree the last parse function returned.
    int m_depth = 0;
};

} // namespace velmora
