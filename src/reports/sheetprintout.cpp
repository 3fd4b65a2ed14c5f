// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/sheetprintout.h"

#include "reports/documentopener.h"
#include "reports/printouterror.h"
#include "reports/printoutfiles.h"
#include "reports/reportstatements.h"
#include "reports/rtffiller.h"
#include "store/query/query.h"
#include "store/settings.h"
#include "store/text/error.h"

#include <QDir>
#include <QRegularExpression>

namespace velmora {

SheetPrintout::SheetPrintout(QString programDir)
    : m_programDir(std::move(programDir)) {}

QString SheetPrintout::templatePath() const {
    return m_programDir + QStringLiteral("/Foaie.rtf");
}

QList<Placeholder> SheetPrintout::placeholders(const QString &sheetId) const {
    return values(sheetId).placeholders;
}

SheetPrintout::Values SheetPrintout::values(const QString &sheetId) const {
    // The identifier goes into the statements as it is, so it must be nothing but a number.
    static const QRegularExpression whole(QStringLiteral("^[0-9]{1,10}$"));
    const QString id = sheetId.trimmed();
    if (!whole.match(id).hasMatch())
        throw InputError(QStringLiteral("Numarul foii de parcurs nu este corect: %1").arg(sheetId));
    const ReportStatements statements(m_programDir + QStringLiteral("/Data"));
    Query sheet;
    sheet.setSql(statements.sheet(id));
    sheet.open();
    if (sheet.isEmpty())
        throw InputError(QStringLiteral("Foaia de parcurs %1 nu exista.").arg(id));
    Query lines;
    lines.setSql(statements.lines(id));
    lines.open();
    const int rows = static_cast<int>(lines.recordCount());
    return {SheetPlaceholders::of(sheet, lines, Settings::read(Settings::companyKey())), rows};
}

void SheetPrintout::write(const QString &sheetId, const QString &destination) const {
    fill(values(sheetId), destination);
}

QString SheetPrintout::print(const QString &sheetId, const PrintoutFiles &files,
                             DocumentOpener &opener) const {
    const Values filled = values(sheetId);
    const QString destination = files.choose();
    fill(filled, destination);
    opener.open(destination);
    return destination;
}

void SheetPrintout::fill(const Values &values, const QString &destination) const {
    RtfFiller filler;
    filler.setSource(templatePath());
    filler.setDestination(destination);
    if (!filler.startRtf())
        throw PrintoutError(QStringLiteral("Fisierul %1 nu exista sau nu poate fi citit !!")
                                .arg(QDir::toNativeSeparators(templatePath())));
    for (const Placeholder &p : values.placeholders)
        filler.addTag(p.tag, p.value);
    filler.setRows(SheetPlaceholders::rowColumns(), values.rows);
    filler.writeBody(1);
    filler.endRtf();
}

} // namespace velmora
