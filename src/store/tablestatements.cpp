// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/tablestatements.h"

#include "store/text/textform.h"
#include "store/text/textrules.h"

namespace velmora {

namespace {

QStringList createTable(const QString &tablePath, std::initializer_list<const char *> columns) {
    QStringList lines{QStringLiteral("CREATE TABLE ") + TextForm::quoted(tablePath),
                      QStringLiteral("(")};
    for (const char *column : columns)
        lines.append(QString::fromLatin1(column));
    return lines;
}

} // namespace

QStringList TableStatements::createSheets(const QString &tablePath) {
    return createTable(tablePath, {
                                      "IDFOAIE   DECIMAL(10,0),",
                                      "ORA       CHAR(5),",
                                      "NRMAS     CHAR(9),",
                                      "DATAX     DATE,",
                                      "SOFER1    CHAR(32),",
                                      "SOFER2    CHAR(32),",
                                      "LOCPARC   CHAR(40),",
                                      "TOTALVEN  DECIMAL(8,2),",
                                      "TKM       DECIMAL(8,0),",
                                      "CONSUM    DECIMAL(6,2),",
                                      "PRETL     DECIMAL(6,2),",
                                      "COST      DECIMAL(8,2) )",
                                  });
}

QStringList TableStatements::createLines(const QString &tablePath) {
    return createTable(tablePath, {
                                      "IDSOS      DECIMAL(10,0),",
                                      "IDFOAIE    DECIMAL(10,0),",
                                      "PLESOS     CHAR(32),",
                                      "TIMP       DECIMAL(9,4),",
                                      "SUMA       DECIMAL(8,2) )",
                                  });
}

QStringList TableStatements::pickList(const QString &tablePath, const QString &column,
                                      const QString &condition) {
    QStringList lines{QStringLiteral("SELECT DISTINCT ") + column,
                      QStringLiteral("FROM ") + TextForm::quoted(tablePath)};
    if (!TextRules::trim(condition).isEmpty())
        lines.append(QStringLiteral("WHERE ") + condition);
    lines.append(QStringLiteral("ORDER BY ") + column);
    return lines;
}

} // namespace velmora
