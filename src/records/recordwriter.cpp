// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/recordwriter.h"

#include "store/text/decimal.h"
#include "store/text/error.h"

namespace velmora {

RecordWriter::RecordWriter(const QString &dataDir)
    : m_statements(dataDir) {}

void RecordWriter::run(const QStringList &statement) {
    m_sx.setSql(statement);
    m_sx.execSql();
}

void RecordWriter::runPair(const QStringList &first, const QStringList &second,
                           const QStringList &undo, const QString &sheetId, const QString &done) {
    run(first);
    try {
        run(second);
    } catch (const Error &refused) {
        try {
            run(undo);
        } catch (const Error &undoRefused) {
            // The one case where the tables stay apart: said in full, never swallowed.
            throw OutOfStepError(
                QStringLiteral("%1, dar totalul incasarilor foii %2 nu a putut fi actualizat, "
                               "iar schimbarea nu a putut fi anulata%3. Corectati totalul "
                               "foii. Motivul: %4 Anularea: %5")
                    .arg(done, sheetId, figures(sheetId), refused.message(),
                         undoRefused.message()));
        }
        throw;
    }
}

QString RecordWriter::figures(const QString &sheetId) const {
    try {
        Query total;
        total.setSql({QStringLiteral("SELECT TOTALVEN FROM ") + m_statements.sheetTable(),
                      QStringLiteral("WHERE IDFOAIE=") + sheetId});
        total.open();
        Query lines;
        lines.setSql({QStringLiteral("SELECT SUMA FROM ") + m_statements.lineTable(),
                      QStringLiteral("WHERE IDFOAIE=") + sheetId});
        lines.open();
        Decimal sum;
        for (lines.first(); !lines.eof(); lines.next())
            sum = Decimal::add(sum, lines.decimal(QStringLiteral("SUMA"))).value_or(sum);
        return QStringLiteral(": totalul foii este %1, iar suma plecarilor si sosirilor ei este %2")
            .arg(total.isEmpty() ? QStringLiteral("-")
                                 : total.decimal(QStringLiteral("TOTALVEN")).toString(),
                 sum.toString());
    } catch (const Error &) {
        // The tables cannot even be read now; the rest of the message still stands.
        return QStringLiteral(" (totalul foii si suma plecarilor si sosirilor nu pot fi citite)");
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
            m_statements.deleteLine(line.id), line.sheetId,
            QStringLiteral("Plecarea sau sosirea %1 a fost adaugata").arg(line.id));
}

void RecordWriter::changeLine(const LineValues &old, const LineValues &changed) {
    runPair(m_statements.updateLine(changed),
            m_statements.changeIncome(changed.sheetId, changed.amount, old.amount),
            m_statements.updateLine(old), changed.sheetId,
            QStringLiteral("Plecarea sau sosirea %1 a fost modificata").arg(changed.id));
}

void RecordWriter::deleteLine(const LineValues &old) {
    runPair(m_statements.deleteLine(old.id), m_statements.removeIncome(old.sheetId, old.amount),
            m_statements.insertLine(old), old.sheetId,
            QStringLiteral("Plecarea sau sosirea %1 a fost stearsa").arg(old.id));
}

} // namespace velmora
