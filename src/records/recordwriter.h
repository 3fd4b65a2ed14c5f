// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/sheetstatements.h"
#include "store/query/query.h"

#include <QString>

namespace velmora {

// Writes sheets and their departures and arrivals, one statement at a time, and keeps each
// sheet's TOTALVEN equal to the sum of its lines: a line statement is followed by the income
// update, and when the engine refuses that update the line statement is undone before the
// error goes on, so a refused amount leaves both tables as they were.
class RecordWriter {
public:
    explicit RecordWriter(const QString &dataDir);

    void addSheet(const SheetValues &sheet);
    void changeSheet(const SheetValues &sheet);
    // The sheet's departures and arrivals go with it.
    void deleteSheet(const QString &sheetId);

    void addLine(const LineValues &line);
    // old: the line as it is stored; changed: the same line with its new kind, time, amount.
    void changeLine(const LineValues &old, const LineValues &changed);
    void deleteLine(const LineValues &old);

    const SheetStatements &statements() const { return m_statements; }

private:
    void run(const QStringList &statement);
    // Runs first, then second; when second is refused, undo puts back what first changed.
    void runPair(const QStringList &first, const QStringList &second, const QStringList &undo);

    SheetStatements m_statements;
    Query m_sx;
};

} // namespace velmora
