// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/query/tsvwriter.h"

#include "store/dbf/dbffield.h"
#include "store/text/cp1250.h"

#include <algorithm>
#include <cstring>

namespace velmora {

namespace {

void appendEscaped(QByteArray &out, QByteArrayView text) {
    QByteArrayView rest = text;
    while (!rest.isEmpty()) {
        qsizetype i = 0;
        while (i < rest.size() && rest[i] != '\t' && rest[i] != '\n' && rest[i] != '\\' &&
               rest[i] != '\r')
            ++i;
        Cp1250::appendUtf8(out, rest.first(i));
        if (i == rest.size())
            break;
        out.append('\\');
        switch (rest[i]) {
        case '\t':
            out.append('t');
            break;
        case '\n':
            out.append('n');
            break;
        case '\r':
            out.append('r');
            break;
        default:
            out.append('\\');
            break;
        }
        rest = rest.sliced(i + 1);
    }
}

void appendDate(QByteArray &out, QByteArrayView field) {
    if (!DbfField::date(field).isValid())
        return;
    out.append(field.data(), 4);
    out.append('-');
    out.append(field.data() + 4, 2);
    out.append('-');
    out.append(field.data() + 6, 2);
}

} // namespace

void TsvWriter::write(const ResultSet &result, const Sink &sink, qsizetype chunkSize) {
    QByteArray out;
    out.reserve(std::min<qsizetype>(chunkSize, 64 * 1024) + 4096);
    const int columns = result.columnCount();
    for (int c = 0; c < columns; ++c) {
        if (c > 0)
            out.append('\t');
        appendEscaped(out, Cp1250::encode(result.column(c).name));
    }
    out.append('\n');
    for (qsizetype row = 0; row < result.rowCount(); ++row) {
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                out.append('\t');
            const Column &column = result.column(c);
            const QByteArrayView field = result.raw(row, c);
            switch (column.type) {
            case ColumnType::Number:
                DbfField::appendGeneralText(out, column, field);
                break;
            case ColumnType::Date:
                appendDate(out, field);
                break;
            case ColumnType::Text:
                appendEscaped(out, DbfField::textBytes(field));
                break;
            }
        }
        out.append('\n');
        if (out.size() >= chunkSize) {
            sink(out);
            out.clear();
        }
    }
    if (!out.isEmpty())
        sink(out);
}

QByteArray TsvWriter::toByteArray(const ResultSet &result) {
    QByteArray all;
    write(result, [&all](const QByteArray &chunk) { all += chunk; });
    return all;
}

} // namespace velmora
