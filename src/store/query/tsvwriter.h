// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/sql/resultset.h"

#include <QByteArray>
#include <functional>

namespace velmora {

// A result as tab-separated UTF-8 lines for scripts: the column names first, then one line
// per row; numbers in the general form with ".", dates as yyyy-MM-dd, text without its
// padding, NULL as an empty field; a tab, line break or backslash inside a text written as
// \t, \n, \\ (a carriage return as \r).
class TsvWriter {
public:
    using Sink = std::function<void(const QByteArray &chunk)>;

    // Hands the text to sink in chunks of about chunkSize bytes.
    static void write(const ResultSet &result, const Sink &sink, qsizetype chunkSize = 1 << 20);
    static QByteArray toByteArray(const ResultSet &result);
};

} // namespace velmora
