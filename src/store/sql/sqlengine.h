// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/sql/resultset.h"

#include <QString>
#include <QStringList>

namespace velmora {

// The local SQL engine over dBASE files. Tables are named by their full file path in double
// quotes; each statement opens what it needs, works and closes again, so nothing is held
// between statements. Every refusal is an EngineError whose message says what was expected
// and where.
class SqlEngine {
public:
    // CREATE TABLE, INSERT, UPDATE or DELETE; the change is on disk when it returns.
    // Returns the number of records written, changed or marked deleted.
    static qsizetype run(const QString &statement);
    // A SELECT; the rows are read once and held in the result.
    static ResultSet open(const QString &statement);
    // Removes the records marked deleted, for good: the surviving records go to a new file
    // beside the table, which then replaces it. The file keeps its own name. A table cut short
    // is repaired on the way; the returned list says, in words for the user, what was repaired.
    static QStringList pack(const QString &tablePath);
    // The file a table path names, found without regard to the case of the file name;
    // "\" is taken as a separator too. Empty when there is none.
    static QString findTable(const QString &tablePath);

    // Every change is pushed to the disk before a statement returns (on by default). Bulk work
    // such as generating test data may switch this off: a killed process still leaves every
    // table whole, but a power cut may lose or garble the latest changes.
    static void setSynchronous(bool on);
};

} // namespace velmora
