// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// How a table named in a statement is found on disk: "\" counts as a separator like "/", the
// directory part is taken as written and the file name is matched without regard to case, so
// a table created as FOI.DBF is reached as Foi.dbf on every platform.
class TablePath {
public:
    // The path with "/" as its only separator.
    static QString normalized(const QString &written);
    // The existing file the path names; empty when there is none.
    static QString find(const QString &written);
    // The file name alone, for messages.
    static QString fileName(const QString &path);
};

} // namespace velmora
