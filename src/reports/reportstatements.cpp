// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/reportstatements.h"

#include "store/text/textform.h"

namespace velmora {

ReportStatements::ReportStatements(QString dataDir)
    : m_dataDir(std::move(dataDir)) {}

QString ReportStatements::sheetTable() const {
    return TextForm::quoted(m_dataDir + QStringLiteral("/Foi.dbf"));
}

QString ReportStatements::lineTable() const {
    return TextForm::quoted(m_dataDir + QStringLiteral("/Sosiri.dbf"));
}

QStringList ReportStatements::sheet(const QString &sheetId) const {
    return {
        QStringLiteral("SELECT *"),
        QStringLiteral("FROM ") + sheetTable(),
        QStringLiteral("WHERE IDFOAIE=") + sheetId,
    };
}

QStringList ReportStatements::lines(const QString &sheetId) const {
    return {
        QStringLiteral("SELECT *"),
        QStringLiteral("FROM ") + lineTable(),
        QStringLiteral("WHERE IDFOAIE=") + sheetId,
        QStringLiteral("ORDER BY TIMP"),
    };
}

QStringList ReportStatements::period(QDate from, QDate to) const {
    return {
        QStringLiteral("SELECT DATAX, SUM(TOTALVEN) AS TV, SUM(COST) AS TC"),
        QStringLiteral("FROM ") + sheetTable(),
        QStringLiteral("WHERE DATAX>=") + TextForm::quoted(TextForm::date(from)),
        QStringLiteral("AND DATAX<=") + TextForm::quoted(TextForm::date(to)),
        QStringLiteral("GROUP BY DATAX"),
        QStringLiteral("ORDER BY DATAX"),
    };
}

QStringList ReportStatements::profit(QDate from, QDate to) const {
    return {
        QStringLiteral("SELECT NRMAS, DATAX, SOFER1, SOFER2, TKM, CONSUM, COST, TOTALVEN"),
        QStringLiteral("FROM ") + sheetTable(),
        QStringLiteral("WHERE DATAX>=") + TextForm::quoted(TextForm::date(from)),
        QStringLiteral("AND DATAX<=") + TextForm::quoted(TextForm::date(to)),
    };
}

} // namespace velmora
