// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/query/columnindex.h"

#include "store/dbf/dbffield.h"

#include <limits>

namespace velmora {

namespace {

constexpr quint32 kNoGroup = std::numeric_limits<quint32>::max();

} // namespace

size_t ColumnIndex::Mix::operator()(quint64 key) const noexcept {
    // Whole numbers as doubles differ only in their high bits; spread them over the buckets.
    key ^= key >> 33;
    key *= 0xff51afd7ed558ccdULL;
    key ^= key >> 33;
    key *= 0xc4ceb9fe1a85ec53ULL;
    key ^= key >> 33;
    return static_cast<size_t>(key);
}

ColumnIndex::NumberKey ColumnIndex::numberKey(Decimal value) {
    const Decimal d = value.normalized();
    return {d.units(), d.scale()};
}

size_t ColumnIndex::NumberHash::operator()(const NumberKey &key) const noexcept {
    return Mix()(static_cast<quint64>(key.units) * 31 + static_cast<quint64>(key.scale));
}

ColumnIndex::ColumnIndex(const ResultSet &result, int column)
    : m_column(column) {
    const Column &c = result.column(column);
    const char *data = result.data().constData();
    const std::vector<quint32> &offsets = result.rowOffsets();
    const size_t rowCount = offsets.size();

    // Identifier columns hold few rows per value; sizing for that spares rehashing.
    if (c.type == ColumnType::Text)
        m_textKeys.reserve(rowCount / 4);
    else if (c.type == ColumnType::Number)
        m_numberKeys.reserve(rowCount / 2);
    else
        m_keys.reserve(rowCount / 2);
    std::vector<quint32> groupOf(rowCount, kNoGroup);
    std::vector<quint32> counts;
    auto assign = [&](auto &map, const auto &key, size_t row) {
        const auto [it, added] = map.try_emplace(key, static_cast<quint32>(counts.size()));
        if (added)
            counts.push_back(0);
        ++counts[it->second];
        groupOf[row] = it->second;
    };

    for (size_t row = 0; row < rowCount; ++row) {
        const QByteArrayView field(data + offsets[row] + c.offset, c.width);
        switch (c.type) {
        case ColumnType::Text: {
            const QByteArrayView text = DbfField::textBytes(field);
            assign(m_textKeys, std::string_view(text.data(), size_t(text.size())), row);
            break;
        }
        case ColumnType::Number:
            if (const std::optional<Decimal> value = DbfField::decimalOf(c, field))
                assign(m_numberKeys, numberKey(*value), row);
            break;
        case ColumnType::Date:
            if (const QDate date = DbfField::date(field); date.isValid())
                assign(m_keys, static_cast<quint64>(date.toJulianDay()), row);
            break;
        }
    }

    m_starts.resize(counts.size() + 1, 0);
    for (size_t g = 0; g < counts.size(); ++g)
        m_starts[g + 1] = m_starts[g] + counts[g];
    std::vector<quint32> next(m_starts.begin(), m_starts.end() - 1);
    m_rows.resize(m_starts.back());
    for (size_t row = 0; row < rowCount; ++row) {
        if (groupOf[row] != kNoGroup)
            m_rows[next[groupOf[row]]++] = static_cast<quint32>(row);
    }
}

std::span<const quint32> ColumnIndex::group(quint32 id) const {
    return std::span<const quint32>(m_rows).subspan(m_starts[id], m_starts[id + 1] - m_starts[id]);
}

std::span<const quint32> ColumnIndex::rowsForNumber(Decimal value) const {
    const auto it = m_numberKeys.find(numberKey(value));
    return it == m_numberKeys.end() ? std::span<const quint32>() : group(it->second);
}

std::span<const quint32> ColumnIndex::rowsForNumber(double value) const {
    const std::optional<Decimal> d = Decimal::fromDouble(value);
    return d ? rowsForNumber(*d) : std::span<const quint32>();
}

std::span<const quint32> ColumnIndex::rowsForDate(QDate value) const {
    if (!value.isValid())
        return {};
    const auto it = m_keys.find(static_cast<quint64>(value.toJulianDay()));
    return it == m_keys.end() ? std::span<const quint32>() : group(it->second);
}

std::span<const quint32> ColumnIndex::rowsForText(QByteArrayView value) const {
    const auto it = m_textKeys.find(std::string_view(value.data(), size_t(value.size())));
    return it == m_textKeys.end() ? std::span<const quint32>() : group(it->second);
}

} // namespace velmora
