// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/recordwriter.h"

#include "store/text/error.h"

namespace velmora {

RecordWriter::RecordWriter(const QString &dataDir)
    : m_statements(dataDir) {}

void RecordWriter::run(const QStringList &statement) {
    m_sx.setSql(statement);
    m_sx.execSql();
}

void RecordWriter::runPair(const QStringList &first, const QStringList &second,
                           const QStringList &undo) {
    run(first);
    try {
        run(second);
    } catch (const Error &) {
        try {
            run(undo);
        } catch (const Error &) {
            // The first error is the one the user must see; the undo failed for the same reason
            // the update did, and nothing more can be done here.
        }
        throw;
    }
}

void RecordWriter::addSheet(const SheetValues &sheet) {
    run(m_statements.insertSheet(sheet));
}

void RecordWriter::changeSheet(const SheetValues &sheet) {
    run(m_statements.updateSheet(sheet));
}

void RecordWriter::deleteSheet(const QString &sheetId) {
    run(m_statements.deleteSheet(sheetId));
    run(m_statements.deleteSheetLines(sheetId));
}

void RecordWriter::addLine(const LineValues &line) {
    runPair(m_statements.insertLine(line), m_statements.addIncome(line.sheetId, line.amount),
            m_statements.deleteLine(line.id));
}

void RecordWriter::changeLine(const LineValues &old, const LineValues &changed) {
    runPair(m_statements.updateLine(changed),
            m_statements.changeIncome(changed.sheetId, changed.amount, old.amount),
            m_statements.updateLine(old));
}

void RecordWriter::deleteLine(const LineValues &old) {
    runPair(m_statements.deleteLine(old.id), m_statements.removeIncome(old.sheetId, old.amount),
            m_statements.insertLine(old));
}

} // namespace velmora
