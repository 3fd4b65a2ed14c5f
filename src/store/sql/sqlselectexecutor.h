// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/sql/resultset.h"
#include "store/sql/sqlstatement.h"

namespace velmora {

// Runs a SELECT. The table is read once; a plain selection keeps the file's own bytes as the
// result's buffer and only lists the offsets of the rows that qualify, in order. DISTINCT,
// GROUP BY and the aggregates (SUM, COUNT, MIN, MAX, AVG) build a new, small buffer; their
// computed numbers are exact decimals in binary form (Column::binaryDecimal).
class SqlSelectExecutor {
public:
    static ResultSet run(const SqlSelect &select);
};

} // namespace velmora
