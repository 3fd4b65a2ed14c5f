// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/sql/sqlstatement.h"

#include <QString>

namespace velmora {

// Writes a syntax tree back as statement text that the parser reads into the same tree: every
// operator with its operands in parentheses, texts and paths in double quotes with a doubled
// quote inside, names, numbers and types as written. Lets a test or a fuzzer check that what
// was read is what was meant, and lets a message quote a statement in one normal form.
class SqlPrinter {
public:
    static QString print(const SqlStatement &statement);
    static QString print(const SqlExpression &expression);
};

} // namespace velmora
