// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace velmora {

// The queries of the printouts, line by line as the query objects hold them.
class ReportStatements {
public:
    explicit ReportStatements(QString dataDir);

    QString sheetTable() const;
    QString lineTable() const;

    // One sheet, by its identifier (decimal digits only).
    QStringList sheet(const QString &sheetId) const;
    // The sheet's departures and arrivals in the order of the records window's lower list.
    QStringList lines(const QString &sheetId) const;
    // One row per date with sheets in the period, both ends included: DATAX, TV (income) and
    // TC (fuel cost), dates in the user's short date format.
    QStringList period(QDate from, QDate to) const;
    // The columns the profitability report adds up, for every sheet of the period, both ends
    // included.
    QStringList profit(QDate from, QDate to) const;

private:
    QString m_dataDir;
};

} // namespace velmora
