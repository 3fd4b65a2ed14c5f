// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/counters.h"
#include "store/query/query.h"

#include <QString>
#include <functional>

namespace velmora {

class PickListSink;

// The data work of the start-up window, shared by every window and the tool: where the data
// lives, the creation and packing of the two tables, identifiers and the rest of the counters
// file, the settings key, and the filling of pick lists. Constructed with the program's
// directory, so tests run it against a temporary one.
class DataStore {
public:
    // Called with the progress each start-up step adds; the two packs add 50 each.
    using StepProgress = std::function<void(int)>;

    explicit DataStore(const QString &programDir);
    DataStore(const DataStore &) = delete;
    DataStore &operator=(const DataStore &) = delete;

    // Without trailing separator: "C:/" gives "C:", "/" gives "".
    const QString &programDir() const { return m_programDir; }
    QString dataDir() const;
    QString sheetsTable() const;
    QString linesTable() const;
    QString countersFile() const;

    // Creates the data directory with any missing parents; a FileError when impossible.
    void ensureDataDir() const;
    // Creates each table whose file is missing; an existing file is never touched. Removes
    // first the temporary files that killed writes left in the data directory.
    void createTables();
    // Data directory and tables, then both tables packed: the start-up's data work for a run
    // without windows. Returns what packTables() repaired.
    QStringList initialize(const StepProgress &stepProgress = {});

    QString nextId(const QString &counter) const;
    Counters::Block reserveIds(const QString &counter, qint32 count) const;
    QString iniRead(const QString &section, const QString &key) const;
    void iniWrite(const QString &section, const QString &key, const QString &value) const;

    static QString readSetting(const QString &name);
    static void writeSetting(const QString &name, const QString &value);
    // CALE and VER, written at every start.
    void writeStartSettings(const QString &applicationTitle) const;

    // Closed, statement empty, filter off and cleared.
    static void resetQuery(Query &query);
    // Appends the column's distinct values that hold more than blanks, in ascending order,
    // to what the sink already has, then selects its first item. A table that cannot be
    // opened raises before anything is added.
    void fillPickList(PickListSink &sink, const QString &tablePath, const QString &column,
                      const QString &condition);

    // Removes for good the rows marked deleted. Returns what was repaired on the way (a table
    // cut short), in words for the user; empty when nothing was.
    static QStringList packTable(const QString &tablePath);
    // Both tables, after removing the temporary files that killed writes left in the data
    // directory. Returns what was repaired, to be shown to the user once.
    QStringList packTables(const StepProgress &stepProgress = {});

    // The query table creation and pick lists go through.
    Query &sx() { return m_sx; }

private:
    void createTable(const QString &fileName, const QStringList &statement);

    QString m_programDir;
    Query m_sx;
};

} // namespace velmora
