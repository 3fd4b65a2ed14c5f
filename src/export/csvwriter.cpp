// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/csvwriter.h"

#include "store/dbf/atomicfile.h"
#include "store/dbf/column.h"
#include "store/dbf/dbffield.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"

#include <algorithm>
#include <array>

namespace velmora {

namespace {

constexpr qsizetype kChunk = 1 << 20;

// UTF-8 of every byte of the tables' code page, with or without the comma-below letters in
// place of the cedilla ones.
class Utf8Bytes {
public:
    explicit Utf8Bytes(bool commaBelow) {
        for (int b = 0; b < 256; ++b) {
            QChar ch = Cp1250::toChar(static_cast<unsigned char>(b));
            if (commaBelow)
                ch = commaBelowOf(ch);
            m_bytes[static_cast<size_t>(b)] = QString(ch).toUtf8();
        }
    }
    const QByteArray &operator[](unsigned char b) const { return m_bytes[b]; }

    static QChar commaBelowOf(QChar ch) {
        switch (ch.unicode()) {
        case 0x015E: // Ş
            return QChar(0x0218);
        case 0x015F: // ş
            return QChar(0x0219);
        case 0x0162: // Ţ
            return QChar(0x021A);
        case 0x0163: // ţ
            return QChar(0x021B);
        default:
            return ch;
        }
    }

private:
    std::array<QByteArray, 256> m_bytes;
};

const Utf8Bytes &utf8Bytes(CsvDialect dialect) {
    static const Utf8Bytes commaBelow(true);
    static const Utf8Bytes asStored(false);
    return dialect.commaBelow() ? commaBelow : asStored;
}

bool startsFormula(QByteArrayView utf8) {
    if (utf8.isEmpty())
        return false;
    const char first = utf8.front();
    return first == '=' || first == '+' || first == '-' || first == '@';
}

// The field's bytes, quoted and guarded as it needs.
void appendField(QByteArray &out, QByteArrayView utf8, char separator) {
    const bool guard = startsFormula(utf8);
    bool quote = guard;
    for (const char c : utf8) {
        if (c == separator || c == '"' || c == '\n' || c == '\r') {
            quote = true;
            break;
        }
    }
    if (!quote) {
        out.append(utf8);
        return;
    }
    out.append('"');
    if (guard)
        out.append('\t');
    for (const char c : utf8) {
        if (c == '"')
            out.append('"');
        out.append(c);
    }
    out.append('"');
}

QByteArray utf8Of(QStringView value, CsvDialect dialect) {
    if (!dialect.commaBelow())
        return value.toUtf8();
    QString mapped = value.toString();
    for (QChar &ch : mapped)
        ch = Utf8Bytes::commaBelowOf(ch);
    return mapped.toUtf8();
}

// The text when it is digits, a point and exactly `decimals` more digits (no point for none),
// with an optional minus, and no leading zero before another digit, no minus before a zero:
// what Decimal would write again. Empty otherwise.
QByteArrayView plainNumber(QByteArrayView text, int decimals) {
    const qsizetype sign = text.startsWith('-') ? 1 : 0;
    const qsizetype whole = text.size() - sign - (decimals > 0 ? decimals + 1 : 0);
    if (whole < 1 || (whole > 1 && text[sign] == '0'))
        return {};
    bool nonZero = false;
    for (qsizetype i = sign; i < text.size(); ++i) {
        const char c = text[i];
        if (i == sign + whole) {
            if (c != '.')
                return {};
            continue;
        }
        if (c < '0' || c > '9')
            return {};
        nonZero = nonZero || c != '0';
    }
    if (sign && !nonZero)
        return {};
    return text;
}

void appendTwo(QByteArray &out, int value) {
    out.append(static_cast<char>('0' + value / 10));
    out.append(static_cast<char>('0' + value % 10));
}

void appendFour(QByteArray &out, int value) {
    appendTwo(out, value / 100);
    appendTwo(out, value % 100);
}

} // namespace

CsvWriter::CsvWriter(const QString &path, CsvDialect dialect)
    : m_dialect(dialect)
    , m_file(std::make_unique<AtomicFile>(path)) {
    m_buffer.reserve(kChunk + 64 * 1024);
    m_buffer.append(m_dialect.start());
}

CsvWriter::~CsvWriter() = default;

QByteArray CsvWriter::textField(QStringView value, CsvDialect dialect) {
    QByteArray out;
    appendField(out, utf8Of(value, dialect), dialect.separator());
    return out;
}

void CsvWriter::beginField() {
    if (m_rowStarted)
        m_buffer.append(m_dialect.separator());
    m_rowStarted = true;
}

void CsvWriter::appendText(QByteArrayView utf8) {
    beginField();
    appendField(m_buffer, utf8, m_dialect.separator());
}

void CsvWriter::text(QStringView value) {
    appendText(utf8Of(value, m_dialect));
}

void CsvWriter::storedText(QByteArrayView cp1250) {
    const QByteArrayView bytes = DbfField::textBytes(cp1250);
    // Most stored texts are plain ASCII, which is already UTF-8.
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        appendText(bytes);
        return;
    }
    const Utf8Bytes &table = utf8Bytes(m_dialect);
    m_scratch.resize(0);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            m_scratch.append(c);
        else
            m_scratch.append(table[b]);
    }
    appendText(m_scratch);
}

void CsvWriter::number(const std::optional<Decimal> &value, int decimals) {
    beginField();
    if (!value)
        return;
    const std::optional<Decimal> shown = value->rescaled(decimals);
    if (!shown)
        throw EngineError(QStringLiteral("Valoarea %1 nu poate fi scrisa cu %2 zecimale.")
                              .arg(value->toString(), QString::number(decimals)));
    const qsizetype start = m_buffer.size();
    shown->appendFixed(m_buffer);
    if (m_dialect.decimalPoint() != '.') {
        const qsizetype point = m_buffer.indexOf('.', start);
        if (point >= 0)
            m_buffer[point] = m_dialect.decimalPoint();
    }
}

void CsvWriter::storedNumber(const Column &column, QByteArrayView field) {
    // A whole table goes through here: the text dBASE writes (blanks, an optional minus, no
    // needless leading zero, exactly the column's decimals) is copied as it is, only the point
    // changed. Anything else is read as a number and written again.
    if (column.dbfType == 'N' && !column.binaryDecimal) {
        const QByteArrayView digits = plainNumber(field.trimmed(), column.decimals);
        if (!digits.isEmpty()) {
            beginField();
            m_buffer.append(digits);
            if (column.decimals > 0)
                m_buffer[m_buffer.size() - column.decimals - 1] = m_dialect.decimalPoint();
            return;
        }
    }
    const std::optional<Decimal> value = DbfField::decimalOf(column, field);
    number(value, value ? qMax(value->scale(), column.decimals) : 0);
}

void CsvWriter::date(QDate value) {
    beginField();
    if (!value.isValid() || value.year() < 1 || value.year() > 9999)
        return;
    if (m_dialect.dayFirst()) {
        appendTwo(m_buffer, value.day());
        m_buffer.append('.');
        appendTwo(m_buffer, value.month());
        m_buffer.append('.');
        appendFour(m_buffer, value.year());
        return;
    }
    appendFour(m_buffer, value.year());
    m_buffer.append('-');
    appendTwo(m_buffer, value.month());
    m_buffer.append('-');
    appendTwo(m_buffer, value.day());
}

void CsvWriter::storedDate(QByteArrayView field) {
    if (!DbfField::date(field).isValid()) {
        beginField();
        return;
    }
    beginField();
    const char *d = field.data();
    if (m_dialect.dayFirst()) {
        m_buffer.append(d + 6, 2).append('.').append(d + 4, 2).append('.').append(d, 4);
        return;
    }
    m_buffer.append(d, 4).append('-').append(d + 4, 2).append('-').append(d + 6, 2);
}

void CsvWriter::hour(QTime value) {
    beginField();
    if (!value.isValid())
        return;
    appendTwo(m_buffer, value.hour());
    m_buffer.append(':');
    appendTwo(m_buffer, value.minute());
}

void CsvWriter::empty() {
    beginField();
}

void CsvWriter::endRow() {
    m_buffer.append(m_dialect.lineEnd());
    m_rowStarted = false;
    flushIfFull();
}

void CsvWriter::titles(const QStringList &titles) {
    for (const QString &title : titles)
        text(title);
    endRow();
}

void CsvWriter::flushIfFull() {
    if (m_buffer.size() < kChunk)
        return;
    m_file->write(m_buffer);
    m_buffer.clear();
}

void CsvWriter::commit() {
    if (m_rowStarted)
        endRow();
    m_file->write(m_buffer);
    m_buffer.clear();
    m_file->commit();
}

} // namespace velmora
