#include "store/tsvwriter.h"

#include "store/cp1250.h"
#include "store/dbffield.h"
#include "store/textform.h"

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

void appendGeneral(QByteArray &out, double value) {
    out.append(TextForm::general(value).toLatin1());
}

} // namespace

void TsvWriter::appendNumber(QByteArray &out, QByteArrayView field) {
    const char *begin = field.data();
    const char *end = begin + field.size();
    while (begin < end && (*begin == ' ' || *begin == '\0'))
        ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\0'))
        --end;
    if (begin == end || *begin == '*')
        return;
    // Fast path for plain decimals of at most 15 significant digits: the general form is the
    // same digits without leading zeros, trailing fraction zeros or a bare point.
    const char *p = begin;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    const char *intBegin = p;
    while (p < end && *p >= '0' && *p <= '9')
        ++p;
    const char *intEnd = p;
    const char *fracBegin = p;
    const char *fracEnd = p;
    if (p < end && *p == '.') {
        fracBegin = ++p;
        while (p < end && *p >= '0' && *p <= '9')
            ++p;
        fracEnd = p;
    }
    const bool plain = p == end && (intEnd > intBegin || fracEnd > fracBegin);
    while (intBegin < intEnd - 1 && *intBegin == '0')
        ++intBegin;
    while (fracEnd > fracBegin && fracEnd[-1] == '0')
        --fracEnd;
    const bool zeroWhole = intEnd == intBegin || (intEnd - intBegin == 1 && *intBegin == '0');
    qsizetype significant = zeroWhole ? 0 : intEnd - intBegin;
    if (zeroWhole) {
        const char *f = fracBegin;
        while (f < fracEnd && *f == '0')
            ++f;
        significant = fracEnd - f;
    } else {
        significant += fracEnd - fracBegin;
    }
    if (!plain || significant > 15) {
        if (const auto value = DbfField::number(field))
            appendGeneral(out, *value);
        return;
    }
    if (zeroWhole && fracEnd == fracBegin) {
        out.append('0');
        return;
    }
    if (negative)
        out.append('-');
    if (intEnd == intBegin)
        out.append('0');
    else
        out.append(intBegin, intEnd - intBegin);
    if (fracEnd > fracBegin) {
        out.append('.');
        out.append(fracBegin, fracEnd - fracBegin);
    }
}

void TsvWriter::write(const ResultSet &result, const Sink &sink, qsizetype chunkSize) {
    QByteArray out;
    out.reserve(chunkSize + 4096);
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
            if (column.binaryDouble) {
                appendGeneral(out, result.number(row, c));
                continue;
            }
            const QByteArrayView field = result.raw(row, c);
            switch (column.type) {
            case ColumnType::Number:
                appendNumber(out, field);
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
