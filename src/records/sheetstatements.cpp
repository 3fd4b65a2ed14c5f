// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/sheetstatements.h"

#include "store/text/textform.h"

namespace velmora {

namespace {

QString q(const QString &text) {
    return TextForm::quoted(text);
}

} // namespace

SheetStatements::SheetStatements(QString dataDir)
    : m_dataDir(std::move(dataDir)) {}

QString SheetStatements::sheetTable() const {
    return q(m_dataDir + QStringLiteral("/Foi.dbf"));
}

QString SheetStatements::lineTable() const {
    return q(m_dataDir + QStringLiteral("/Sosiri.dbf"));
}

QStringList SheetStatements::insertSheet(const SheetValues &s) const {
    return {
        QStringLiteral("INSERT INTO ") + sheetTable(),
        QStringLiteral("(IDFOAIE,DATAX,ORA,NRMAS,SOFER1,SOFER2,LOCPARC,TOTALVEN,"),
        QStringLiteral("TKM,CONSUM,PRETL,COST)"),
        QStringLiteral("VALUES ("),
        s.id + u',' + q(TextForm::date(s.date)) + u',' + q(TextForm::hour(s.hour)) + u',',
        q(s.vehicle) + u',',
        q(s.driver1) + u',',
        q(s.driver2) + u',',
        q(s.parking) + u',',
        s.totalIncome + u',' + s.km + u',',
        s.consumption + u',',
        s.price + u',',
        s.cost + u')',
    };
}

QStringList SheetStatements::updateSheet(const SheetValues &s) const {
    return {
        QStringLiteral("UPDATE ") + sheetTable(),
        QStringLiteral("SET DATAX=") + q(TextForm::date(s.date)) + u',',
        QStringLiteral("ORA=") + q(TextForm::hour(s.hour)) + u',',
        QStringLiteral("NRMAS=") + q(s.vehicle) + u',',
        QStringLiteral("SOFER1=") + q(s.driver1) + u',',
        QStringLiteral("SOFER2=") + q(s.driver2) + u',',
        QStringLiteral("LOCPARC=") + q(s.parking) + u',',
        QStringLiteral("TKM=") + s.km + u',',
        QStringLiteral("CONSUM=") + s.consumption + u',',
        QStringLiteral("PRETL=") + s.price + u',',
        QStringLiteral("COST=") + s.cost,
        QStringLiteral("WHERE IDFOAIE=") + s.id,
    };
}

QStringList SheetStatements::deleteSheet(const QString &sheetId) const {
    return {QStringLiteral("DELETE FROM ") + sheetTable(),
            QStringLiteral("WHERE IDFOAIE=") + sheetId};
}

QStringList SheetStatements::deleteSheetLines(const QString &sheetId) const {
    return {QStringLiteral("DELETE FROM ") + lineTable(),
            QStringLiteral("WHERE IDFOAIE=") + sheetId};
}

QStringList SheetStatements::insertLine(const LineValues &l) const {
    return {
        QStringLiteral("INSERT INTO ") + lineTable(),
        QStringLiteral("(IDSOS, IDFOAIE, PLESOS, TIMP, SUMA )"),
        QStringLiteral("VALUES("),
        l.id + u',' + l.sheetId + u',',
        q(l.kind) + u',',
        l.timp + u',',
        l.amount + QStringLiteral(" )"),
    };
}

QStringList SheetStatements::updateLine(const LineValues &l) const {
    return {
        QStringLiteral("UPDATE ") + lineTable(), QStringLiteral("SET PLESOS=") + q(l.kind) + u',',
        QStringLiteral("TIMP=") + l.timp + u',', QStringLiteral("SUMA=") + l.amount,
        QStringLiteral("WHERE IDSOS=") + l.id,
    };
}

QStringList SheetStatements::deleteLine(const QString &lineId) const {
    return {QStringLiteral("DELETE FROM ") + lineTable(), QStringLiteral("WHERE IDSOS=") + lineId};
}

QStringList SheetStatements::incomeUpdate(const QString &sheetId, const QString &change) const {
    return {QStringLiteral("UPDATE ") + sheetTable(),
            QStringLiteral("SET TOTALVEN=TOTALVEN") + change,
            QStringLiteral("WHERE IDFOAIE=") + sheetId};
}

QStringList SheetStatements::addIncome(const QString &sheetId, const QString &amount) const {
    return incomeUpdate(sheetId, u'+' + amount);
}

QStringList SheetStatements::changeIncome(const QString &sheetId, const QString &newAmount,
                                          const QString &oldAmount) const {
    return incomeUpdate(sheetId, u'+' + newAmount + u'-' + oldAmount);
}

QStringList SheetStatements::removeIncome(const QString &sheetId, const QString &oldAmount) const {
    return incomeUpdate(sheetId, u'-' + oldAmount);
}

} // namespace velmora
