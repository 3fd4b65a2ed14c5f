// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/text/decimal.h"

#include <QByteArrayView>

namespace velmora {

// One value while a statement runs. Texts stay in the table's code page and point into the
// record or into the statement's constants, so that a scan builds no string per record.
struct SqlValue {
    enum class Kind : quint8 { Null, Number, Date, Text, Bool };

    Kind kind = Kind::Null;
    bool truth = false;
    int date = 0; // yyyymmdd, which orders like the date
    Decimal number;
    QByteArrayView text; // without the blanks that pad a field

    bool isNull() const { return kind == Kind::Null; }

    static SqlValue ofNumber(Decimal v) {
        SqlValue s;
        s.kind = Kind::Number;
        s.number = v;
        return s;
    }
    static SqlValue ofDate(int yyyymmdd) {
        SqlValue s;
        s.kind = yyyymmdd == 0 ? Kind::Null : Kind::Date;
        s.date = yyyymmdd;
        return s;
    }
    static SqlValue ofText(QByteArrayView bytes) {
        SqlValue s;
        s.kind = Kind::Text;
        s.text = bytes;
        return s;
    }
    static SqlValue ofBool(bool v) {
        SqlValue s;
        s.kind = Kind::Bool;
        s.truth = v;
        return s;
    }
};

} // namespace velmora
