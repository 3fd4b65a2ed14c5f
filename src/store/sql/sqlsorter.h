// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/dbf/column.h"

#include <QList>
#include <vector>

namespace velmora {

// Orders rows of a byte buffer by a list of columns. Each row's key is worked out once, as one
// short byte string that compares like the values (NULL first, numbers by value, dates by day,
// texts in Romanian order as if padded with blanks), and the sort keeps rows with equal keys in
// their order: ORDER BY is stable. Two texts have equal keys only when they are the same text,
// so DISTINCT and GROUP BY, which take runs of equal keys, never merge different names.
class SqlSorter {
public:
    struct Key {
        Column column;
        bool descending = false;
    };

    explicit SqlSorter(QList<Key> keys);

    // rows holds offsets of rows into data. With runStarts, also gives the position in the
    // sorted rows where each run of equal keys begins.
    void sort(const char *data, std::vector<quint32> &rows,
              std::vector<qsizetype> *runStarts = nullptr) const;

private:
    int widthOf(const std::vector<unsigned char> &withCase) const;
    // Writes widthOf(withCase) bytes. A text key whose withCase is off gets only its letters,
    // as long as the row has no small or accented letter in it; false, with that key's
    // withCase turned on, when it has.
    bool keyOf(const char *row, std::vector<unsigned char> &withCase, char *out) const;

    QList<Key> m_keys;
};

} // namespace velmora
