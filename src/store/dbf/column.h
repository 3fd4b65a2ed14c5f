// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace velmora {

enum class ColumnType { Text, Number, Date };

// One column of a table or of a result: where its bytes sit in a row and how to read them.
struct Column {
    QString name;
    ColumnType type = ColumnType::Text;
    char dbfType = 'C'; // the dBASE field type letter: C, N, F, D, L, ...
    int width = 0;      // bytes the column takes in a row
    int decimals = 0;
    int offset = 0; // first byte of the column within a row
    // A value the engine computed (a SUM) is held in Decimal's binary form instead of dBASE
    // text (see Decimal::store), which has a form of its own for NULL (a SUM over no values).
    bool binaryDecimal = false;
};

// The column of that name, found without regard to case; -1 or null when there is none.
int indexOfColumn(const QList<Column> &columns, QStringView name);
const Column *findColumn(const QList<Column> &columns, QStringView name);

} // namespace velmora
