// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The statement texts the windows compose, line for line, for tests of the engine.

#include "store/text/textform.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace velmora::statements {

using namespace Qt::Literals::StringLiterals;

inline QString table(const QString &dir, const QString &name) {
    return u'"' + dir + u'/' + name + u'"';
}

inline QString createFoi(const QString &dir) {
    return QStringList{u"CREATE TABLE "_s + table(dir, u"FOI.DBF"_s),
                       u"("_s,
                       u"IDFOAIE   DECIMAL(10,0),"_s,
                       u"ORA       CHAR(5),"_s,
                       u"NRMAS     CHAR(9),"_s,
                       u"DATAX     DATE,"_s,
                       u"SOFER1    CHAR(32),"_s,
                       u"SOFER2    CHAR(32),"_s,
                       u"LOCPARC   CHAR(40),"_s,
                       u"TOTALVEN  DECIMAL(8,2),"_s,
                       u"TKM       DECIMAL(8,0),"_s,
                       u"CONSUM    DECIMAL(6,2),"_s,
                       u"PRETL     DECIMAL(6,2),"_s,
                       u"COST      DECIMAL(8,2) )"_s}
        .join(u'\n');
}

inline QString createSosiri(const QString &dir) {
    return QStringList{u"CREATE TABLE "_s + table(dir, u"Sosiri.DBF"_s),
                       u"("_s,
                       u"IDSOS      DECIMAL(10,0),"_s,
                       u"IDFOAIE    DECIMAL(10,0),"_s,
                       u"PLESOS     CHAR(32),"_s,
                       u"TIMP       DECIMAL(9,4),"_s,
                       u"SUMA       DECIMAL(8,2) )"_s}
        .join(u'\n');
}

struct Sheet {
    QString id = u"17"_s;
    QDate date = QDate(2007, 1, 20);
    QString hour = u"14:05"_s;
    QString vehicle = u"B12ABC"_s;
    QString driver1 = u"SOFER A"_s;
    QString driver2;
    QString parking = u"PARCARE 1"_s;
    QString km = u"120"_s;
    QString consumption = u"7.5"_s;
    QString price = u"4.2"_s;
    QString cost = u"37.8"_s;
};

inline QString quoted(const QString &text) {
    return u'"' + text + u'"';
}

inline QString insertSheet(const QString &dir, const Sheet &s) {
    return QStringList{u"INSERT INTO "_s + table(dir, u"Foi.dbf"_s),
                       u"(IDFOAIE,DATAX,ORA,NRMAS,SOFER1,SOFER2,LOCPARC,TOTALVEN,"_s,
                       u"TKM,CONSUM,PRETL,COST)"_s,
                       u"VALUES ("_s,
                       s.id + u',' + quoted(TextForm::date(s.date)) + u',' + quoted(s.hour) + u',',
                       quoted(s.vehicle) + u',',
                       quoted(s.driver1) + u',',
                       quoted(s.driver2) + u',',
                       quoted(s.parking) + u',',
                       u"0,"_s + s.km + u',',
                       s.consumption + u',',
                       s.price + u',',
                       s.cost + u')'}
        .join(u'\n');
}

inline QString updateSheet(const QString &dir, const Sheet &s) {
    return QStringList{u"UPDATE "_s + table(dir, u"Foi.dbf"_s),
                       u"SET DATAX="_s + quoted(TextForm::date(s.date)) + u',',
                       u"ORA="_s + quoted(s.hour) + u',',
                       u"NRMAS="_s + quoted(s.vehicle) + u',',
                       u"SOFER1="_s + quoted(s.driver1) + u',',
                       u"SOFER2="_s + quoted(s.driver2) + u',',
                       u"LOCPARC="_s + quoted(s.parking) + u',',
                       u"TKM="_s + s.km + u',',
                       u"CONSUM="_s + s.consumption + u',',
                       u"PRETL="_s + s.price + u',',
                       u"COST="_s + s.cost,
                       u"WHERE IDFOAIE="_s + s.id}
        .join(u'\n');
}

inline QString insertLine(const QString &dir, const QString &idsos, const QString &idfoaie,
                          const QString &kind, const QString &timp, const QString &amount) {
    return QStringList{u"INSERT INTO "_s + table(dir, u"Sosiri.dbf"_s),
                       u"(IDSOS, IDFOAIE, PLESOS, TIMP, SUMA )"_s,
                       u"VALUES("_s,
                       idsos + u',' + idfoaie + u',',
                       quoted(kind) + u',',
                       timp + u',',
                       amount + u" )"_s}
        .join(u'\n');
}

inline QString updateLine(const QString &dir, const QString &idsos, const QString &kind,
                          const QString &timp, const QString &amount) {
    return QStringList{u"UPDATE "_s + table(dir, u"Sosiri.dbf"_s),
                       u"SET PLESOS="_s + quoted(kind) + u',', u"TIMP="_s + timp + u',',
                       u"SUMA="_s + amount, u"WHERE IDSOS="_s + idsos}
        .join(u'\n');
}

// The income update after adding (+v), changing (+new-old) or deleting (-v) a line.
inline QString income(const QString &dir, const QString &idfoaie, const QString &change) {
    return QStringList{u"UPDATE "_s + table(dir, u"Foi.dbf"_s), u"SET TOTALVEN=TOTALVEN"_s + change,
                       u"WHERE IDFOAIE="_s + idfoaie}
        .join(u'\n');
}

inline QString deleteWhere(const QString &dir, const QString &name, const QString &condition) {
    return u"DELETE FROM "_s + table(dir, name) + u"\nWHERE "_s + condition;
}

inline QString sheets(const QString &dir, const QString &order = u"DATAX, ORA"_s) {
    return u"SELECT *\nFROM "_s + table(dir, u"Foi.dbf"_s) + u"\nORDER BY "_s + order;
}

inline QString lines(const QString &dir) {
    return u"SELECT *\nFROM "_s + table(dir, u"Sosiri.dbf"_s) + u"\nORDER BY TIMP"_s;
}

inline QString pickList(const QString &dir, const QString &column, const QString &condition = {}) {
    QStringList l{u"SELECT DISTINCT "_s + column, u"FROM "_s + table(dir, u"Foi.dbf"_s)};
    if (!condition.trimmed().isEmpty())
        l << u"WHERE "_s + condition;
    l << u"ORDER BY "_s + column;
    return l.join(u'\n');
}

inline QString period(const QString &dir, QDate from, QDate to) {
    return QStringList{u"SELECT DATAX, SUM(TOTALVEN) AS TV, SUM(COST) AS TC"_s,
                       u"FROM "_s + table(dir, u"Foi.dbf"_s),
                       u"WHERE DATAX>="_s + quoted(TextForm::date(from)),
                       u"AND DATAX<="_s + quoted(TextForm::date(to)),
                       u"GROUP BY DATAX"_s,
                       u"ORDER BY DATAX"_s}
        .join(u'\n');
}

} // namespace velmora::statements
