// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dbf/column.h"

namespace velmora {

int indexOfColumn(const QList<Column> &columns, QStringView name) {
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (name.compare(columns[i].name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

const Column *findColumn(const QList<Column> &columns, QStringView name) {
    const int index = indexOfColumn(columns, name);
    return index < 0 ? nullptr : &columns[index];
}

} // namespace velmora
