// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

namespace velmora {

// A sheet as the editor hands it over: names already normalised, numbers as the text of
// their fields.
struct SheetValues {
    QString id;
    QDate date;
    QTime hour;
    QString vehicle;
    QString driver1;
    QString driver2;
    QString parking;
    QString km;
    QString consumption;
    QString price;
    QString cost;
    // A new sheet starts at 0; its departures and arrivals move it.
    QString totalIncome = QStringLiteral("0");
};

// A departure or arrival: TIMP already in its four-decimal form, the amount as typed.
struct LineValues {
    QString id;
    QString sheetId;
    QString kind;
    QString timp;
    QString amount;
};

// The statements that write sheets and their lines, line by line as the query objects hold
// them. Text values are quoted with any inner double quote doubled, so a name may hold one.
class SheetStatements {
public:
    explicit SheetStatements(QString dataDir);

    QString sheetTable() const;
    QString lineTable() const;

    QStringList insertSheet(const SheetValues &sheet) const;
    QStringList updateSheet(const SheetValues &sheet) const;
    QStringList deleteSheet(const QString &sheetId) const;
    // The sheet's departures and arrivals go with it.
    QStringList deleteSheetLines(const QString &sheetId) const;

    QStringList insertLine(const LineValues &line) const;
    QStringList updateLine(const LineValues &line) const;
    QStringList deleteLine(const QString &lineId) const;

    // TOTALVEN moves by the amounts: "+new", "+new-old" or "-old".
    QStringList addIncome(const QString &sheetId, const QString &amount) const;
    QStringList changeIncome(const QString &sheetId, const QString &newAmount,
                             const QString &oldAmount) const;
    QStringList removeIncome(const QString &sheetId, const QString &oldAmount) const;

private:
    QStringList incomeUpdate(const QString &sheetId, const QString &change) const;

    QString m_dataDir;
};

} // namespace velmora
