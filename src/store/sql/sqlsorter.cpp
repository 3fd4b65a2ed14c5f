// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/sql/sqlsorter.h"

#include "store/dbf/dbffield.h"
#include "store/text/romanianorder.h"

#include <algorithm>
#include <cstring>

namespace velmora {

namespace {

int keyWidth(const Column &c, bool withCase) {
    if (c.binaryDecimal || c.type == ColumnType::Number)
        return 17; // a NULL flag, the whole part, the decimals
    if (c.type == ColumnType::Date)
        return 4;
    return withCase ? RomanianOrder::keyWidth(c.width) : c.width;
}

void putBigEndian(char *out, quint64 v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out[i] = static_cast<char>(v & 0xFF);
        v >>= 8;
    }
}

void putNumber(char *out, const std::optional<Decimal> &v) {
    if (!v) {
        std::memset(out, 0, 17);
        return;
    }
    const Decimal::Parts parts = v->split();
    out[0] = 1;
    // Flipping the sign bit makes the unsigned order of the whole part the signed one.
    putBigEndian(out + 1, static_cast<quint64>(parts.whole) ^ 0x8000000000000000ull, 8);
    putBigEndian(out + 9, parts.fraction, 8);
}

} // namespace

SqlSorter::SqlSorter(QList<Key> keys)
    : m_keys(std::move(keys)) {}

int SqlSorter::widthOf(const std::vector<unsigned char> &withCase) const {
    int width = 0;
    for (qsizetype k = 0; k < m_keys.size(); ++k)
        width += keyWidth(m_keys[k].column, withCase[k]);
    return width;
}

bool SqlSorter::keyOf(const char *row, std::vector<unsigned char> &withCase, char *out) const {
    for (qsizetype k = 0; k < m_keys.size(); ++k) {
        const Column &c = m_keys[k].column;
        const QByteArrayView field(row + c.offset, c.width);
        const int w = keyWidth(c, withCase[k]);
        if (c.binaryDecimal || c.type == ColumnType::Number) {
            putNumber(out, DbfField::decimalOf(c, field));
        } else if (c.type == ColumnType::Date) {
            putBigEndian(out, static_cast<quint32>(DbfField::dateKey(field)), 4);
        } else if (withCase[k]) {
            RomanianOrder::writeKey(field, c.width, out);
        } else if (RomanianOrder::writeLetters(field, c.width, out)) {
            withCase[k] = 1;
            return false;
        }
        if (m_keys[k].descending) {
            for (int i = 0; i < w; ++i)
                out[i] = static_cast<char>(~out[i]);
        }
        out += w;
    }
    return true;
}

void SqlSorter::sort(const char *data, std::vector<quint32> &rows,
                     std::vector<qsizetype> *runStarts) const {
    const qsizetype n = static_cast<qsizetype>(rows.size());
    // Case and accents only decide between texts that are otherwise alike, and names typed in
    // capitals, as the editors keep them, have none: their keys are as short as their bytes
    // until a row shows that a column needs more, and then all keys are made again.
    std::vector<unsigned char> withCase(static_cast<size_t>(m_keys.size()), 0);
    size_t w = 0;
    std::vector<char> keys;
    for (bool complete = false; !complete;) {
        w = static_cast<size_t>(widthOf(withCase));
        keys.resize(static_cast<size_t>(n) * w + 16);
        complete = true;
        for (qsizetype i = 0; i < n && complete; ++i)
            complete = keyOf(data + rows[i], withCase, keys.data() + i * w);
    }
    // The first 16 bytes of each key travel with the entry, so most comparisons never look
    // into the key buffer; only longer keys that tie on them do.
    struct Entry {
        quint64 high;
        quint64 low;
        quint32 index;
    };
    std::vector<Entry> entries(static_cast<size_t>(n));
    auto word = [&](const char *key, size_t from) {
        quint64 v = 0;
        for (size_t b = from; b < from + 8; ++b)
            v = (v << 8) | (b < w ? static_cast<unsigned char>(key[b]) : 0u);
        return v;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const char *key = keys.data() + i * w;
        entries[i] = {word(key, 0), word(key, 8), static_cast<quint32>(i)};
    }
    const char *base = keys.data();
    const size_t rest = w > 16 ? w - 16 : 0;
    auto keyCompare = [&](const Entry &a, const Entry &b) {
        if (a.high != b.high)
            return a.high < b.high ? -1 : 1;
        if (a.low != b.low)
            return a.low < b.low ? -1 : 1;
        return rest ? std::memcmp(base + a.index * w + 16, base + b.index * w + 16, rest) : 0;
    };
    // Sheets are written day after day, so a table read in its own order is most often in
    // date order already: one look along it spares the sort.
    bool inOrder = true;
    for (qsizetype i = 1; i < n && inOrder; ++i)
        inOrder = keyCompare(entries[i - 1], entries[i]) <= 0;
    // The index breaks ties, which makes the order stable.
    if (!inOrder) {
        std::sort(entries.begin(), entries.end(), [&](const Entry &a, const Entry &b) {
            const int c = keyCompare(a, b);
            return c != 0 ? c < 0 : a.index < b.index;
        });
    }
    std::vector<quint32> sorted(static_cast<size_t>(n));
    for (qsizetype i = 0; i < n; ++i)
        sorted[i] = rows[entries[i].index];
    rows.swap(sorted);
    if (runStarts) {
        runStarts->clear();
        for (qsizetype i = 0; i < n; ++i) {
            if (i == 0 || keyCompare(entries[i - 1], entries[i]) != 0)
                runStarts->push_back(i);
        }
    }
}

} // namespace velmora
