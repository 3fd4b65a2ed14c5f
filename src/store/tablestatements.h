// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// The statements the data store composes itself, line by line as the engine receives them:
// the creation of the two tables and the pick-list query.
class TableStatements {
public:
    static QStringList createSheets(const QString &tablePath);
    static QStringList createLines(const QString &tablePath);
    // The condition goes in only when it holds more than blanks.
    static QStringList pickList(const QString &tablePath, const QString &column,
                                const QString &condition);
};

} // namespace velmora
