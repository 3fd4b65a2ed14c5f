// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/sql/sqlstatement.h"
#include "store/sql/sqlvalue.h"

#include <QString>

namespace velmora {

// Runs the statements that change tables: CREATE TABLE, INSERT, UPDATE and DELETE. Every new
// or changed record is worked out and checked in full before the file is touched, so that a
// refused value leaves the table as it was.
class SqlExecutor {
public:
    // Returns the number of records written, changed or marked deleted.
    static qsizetype run(const SqlStatement &statement);

    // The file a statement's table names; an EngineError when there is none.
    static QString existingTable(const SqlTableRef &table);
    // Writes a value into a record's field, converting where the column's kind asks for it;
    // a value that does not fit raises an EngineError that says where it stood.
    static void store(char *record, const Column &column, const SqlValue &value, SqlPlace place);

private:
    static qsizetype create(const SqlCreateTable &s);
    static qsizetype insert(const SqlInsert &s);
    static qsizetype update(const SqlUpdate &s);
    static qsizetype remove(const SqlDelete &s);
};

} // namespace velmora
