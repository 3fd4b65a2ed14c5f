#pragma once

#include <QString>

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
    // A value the engine computed (a SUM) is held as a native double of 8 bytes instead of
    // dBASE text; NaN stands for NULL (a SUM over no values).
    bool binaryDouble = false;
};

} // namespace velmora
