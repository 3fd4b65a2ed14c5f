// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/sheetstatements.h"
#include "store/query/query.h"

#include <QString>

namespace velmora {

// Writes sheets and their departures and arrivals, one statement at a time, and keeps each
// sheet's TOTALVEN equal to the sum of its lines: a line statement is followed by the income
// update, and when the engine refuses that update the line statement is undone before the
// error goes on, so a refused amount leaves both tables as they were. Should the undo be
// refused as well, an OutOfStepError says what now disagrees: the sheet's total and the sum of
// its lines.
class RecordWriter {
public:
    explicit RecordWriter(const QString &dataDir);
    virtual ~RecordWriter() = default;

    void addSheet(const SheetValues &sheet);
    void changeSheet(const SheetValues &sheet);
    // The sheet's departures and arrivals go with it.
    void deleteSheet(const QString &sheetId);

    void addLine(const LineValues &line);
    // old: the line as it is stored; changed: the same line with its new kind, time, amount.
    void changeLine(const LineValues &old, const LineValues &changed);
    void deleteLine(const LineValues &old);

    const SheetStatements &statements() const { return m_statements; }

protected:
    // One statement; tests put one that fails in its place.
    virtual void run(const QStringList &statement);

private:
    // Runs first, then second; when second is refused, undo puts back what first changed.
    // done says what first did to which line of sheetId, for the case that nothing can.
    void runPair(const QStringList &first, const QStringList &second, const QStringList &undo,
                 const QString &sheetId, const QString &done);
    // The sheet's total and the sum of its lines as they are now, for the user.
    QString figures(const QString &sheetId) const;

    SheetStatements m_statements;
    Query m_sx;
};

} // namespace velmora
