// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/query/query.h"

#include "store/dbf/dbffield.h"
#include "store/query/columnindex.h"
#include "store/query/recordfilter.h"
#include "store/sql/sqlengine.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"
#include "store/text/textform.h"

#include <QDateTime>
#include <algorithm>

namespace velmora {

namespace {

QString noCurrentRow() {
    return QStringLiteral("Nu exista o inregistrare curenta.");
}

QString unknownField(QStringView name) {
    return QStringLiteral("Coloana %1 nu exista in rezultat.").arg(name);
}

// A locate value in the terms of a column; nullopt when it cannot equal any value there.
std::optional<Decimal> asNumber(const QVariant &value) {
    switch (value.typeId()) {
    case QMetaType::QString:
        return Decimal::parse(value.toString());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return Decimal::fromUnits(value.toLongLong());
    default:
        break;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? Decimal::fromDouble(number) : std::nullopt;
}

QDate asDate(const QVariant &value) {
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate();
    case QMetaType::QDateTime:
        return value.toDateTime().date();
    case QMetaType::QString:
        return TextForm::parseDate(value.toString());
    default:
        return {};
    }
}

std::optional<QByteArray> asText(const QVariant &value) {
    const QString text = value.toString();
    if (!Cp1250::canEncode(text))
        return std::nullopt;
    QByteArray bytes = Cp1250::encode(text);
    while (bytes.endsWith(' ') || bytes.endsWith('\0'))
        bytes.chop(1);
    return bytes;
}

} // namespace

Query::CalcRow::CalcRow(const Query &query, qsizetype resultRow)
    : m_query(query)
    , m_row(resultRow) {
    m_values.resize(query.m_calcNames.size());
}

QVariant Query::CalcRow::value(QStringView column) const {
    const int index = m_query.m_result.columnIndex(column);
    if (index < 0)
        throw EngineError(unknownField(column));
    return m_query.m_result.value(m_row, index);
}

double Query::CalcRow::number(QStringView column) const {
    const int index = m_query.m_result.columnIndex(column);
    if (index < 0)
        throw EngineError(unknownField(column));
    return m_query.m_result.number(m_row, index);
}

void Query::CalcRow::setText(QStringView calcColumn, const QString &text) {
    const int index = m_query.calcIndex(calcColumn);
    if (index < 0)
        throw EngineError(unknownField(calcColumn));
    const int size = m_query.m_calcSizes.at(index);
    m_values[index] = size > 0 ? text.left(size) : text;
}

QString Query::CalcRow::text(QStringView calcColumn) const {
    const int index = m_query.calcIndex(calcColumn);
    if (index < 0)
        throw EngineError(unknownField(calcColumn));
    return m_values.at(index);
}

Query::Query(QObject *parent)
    : QObject(parent) {}

Query::~Query() = default;

void Query::setSql(const QStringList &lines) {
    close();
    m_sql = lines;
}

void Query::addLine(const QString &line) {
    close();
    m_sql.append(line);
}

void Query::replaceLine(int index, const QString &line) {
    if (index < 0 || index >= m_sql.size()) {
        throw EngineError(QStringLiteral("Interogarea nu are linia %1 (are %2 linii).")
                              .arg(index + 1)
                              .arg(m_sql.size()));
    }
    close();
    m_sql[index] = line;
}

void Query::clearSql() {
    close();
    m_sql.clear();
}

QString Query::sqlText() const {
    return m_sql.join(u'\n');
}

void Query::execSql() {
    SqlEngine::run(sqlText());
}

void Query::open() {
    if (m_open)
        return;
    ResultSet result = SqlEngine::open(sqlText());
    m_result = std::move(result);
    m_indexes.clear();
    m_calcCache.clear();
    if (m_filter) {
        try {
            m_filter->bind(m_result.columns());
        } catch (...) {
            if (m_filtered) {
                m_result = ResultSet();
                throw;
            }
            // Not in force: it is refused when it is switched on.
        }
    }
    m_open = true;
    applyFilter();
    moveToStart();
    rowsChanged();
    Q_EMIT afterScroll();
}

void Query::close() {
    if (!m_open)
        return;
    m_open = false;
    m_result = ResultSet();
    m_indexes.clear();
    m_calcCache.clear();
    m_visible.clear();
    m_visible.shrink_to_fit();
    m_useVisible = false;
    m_cursor = -1;
    m_bof = true;
    m_eof = true;
    rowsChanged();
    Q_EMIT afterScroll();
}

qsizetype Query::recordCount() const {
    if (!m_open)
        return 0;
    return m_useVisible ? static_cast<qsizetype>(m_visible.size()) : m_result.rowCount();
}

bool Query::isEmpty() const {
    return recordCount() == 0;
}

qsizetype Query::resultRow(qsizetype visibleRow) const {
    if (visibleRow < 0 || visibleRow >= recordCount())
        return -1;
    return m_useVisible ? static_cast<qsizetype>(m_visible[visibleRow]) : visibleRow;
}

void Query::moveToStart() {
    const bool empty = isEmpty();
    m_cursor = empty ? -1 : 0;
    m_bof = true;
    m_eof = empty;
}

void Query::setCursor(qsizetype visibleRow) {
    const bool moved = visibleRow != m_cursor;
    m_cursor = visibleRow;
    m_bof = false;
    m_eof = false;
    if (moved)
        currentMoved();
}

void Query::first() {
    if (!m_open)
        return;
    const qsizetype before = m_cursor;
    moveToStart();
    if (m_cursor != before)
        currentMoved();
    Q_EMIT afterScroll();
}

void Query::last() {
    if (!m_open)
        return;
    const qsizetype before = m_cursor;
    const qsizetype count = recordCount();
    m_cursor = count - 1;
    m_eof = true;
    m_bof = count == 0;
    if (m_cursor != before)
        currentMoved();
    Q_EMIT afterScroll();
}

void Query::next() {
    if (m_cursor + 1 < recordCount()) {
        setCursor(m_cursor + 1);
        Q_EMIT afterScroll();
    } else {
        m_eof = true;
        if (m_cursor >= 0)
            m_bof = false;
    }
}

void Query::prior() {
    if (m_cursor > 0) {
        setCursor(m_cursor - 1);
        Q_EMIT afterScroll();
    } else {
        m_bof = true;
        if (m_cursor >= 0)
            m_eof = false;
    }
}

void Query::moveTo(qsizetype visibleRow) {
    if (visibleRow < 0 || visibleRow >= recordCount()) {
        throw EngineError(QStringLiteral("Inregistrarea %1 nu exista (sunt %2 inregistrari).")
                              .arg(visibleRow + 1)
                              .arg(recordCount()));
    }
    if (visibleRow == m_cursor)
        return;
    setCursor(visibleRow);
    Q_EMIT afterScroll();
}

int Query::fieldCount() const {
    return m_result.columnCount() + static_cast<int>(m_calcNames.size());
}

QString Query::fieldName(int field) const {
    if (field < m_result.columnCount())
        return m_result.column(field).name;
    return m_calcNames.at(field - m_result.columnCount());
}

ColumnType Query::fieldType(int field) const {
    if (field < m_result.columnCount())
        return m_result.column(field).type;
    return ColumnType::Text;
}

bool Query::isCalcField(int field) const {
    return field >= m_result.columnCount() && field < fieldCount();
}

int Query::fieldIndex(QStringView name) const {
    const int stored = m_result.columnIndex(name);
    if (stored >= 0)
        return stored;
    const int calc = calcIndex(name);
    return calc < 0 ? -1 : m_result.columnCount() + calc;
}

int Query::calcIndex(QStringView name) const {
    for (int i = 0; i < m_calcNames.size(); ++i) {
        if (name.compare(m_calcNames[i], Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

Query::FieldAt Query::currentField(QStringView name) const {
    if (m_cursor < 0 || !m_open)
        throw EngineError(noCurrentRow());
    const int field = fieldIndex(name);
    if (field < 0)
        throw EngineError(unknownField(name));
    return {resultRow(m_cursor), field};
}

const QString &Query::calcText(qsizetype row, int calc) const {
    auto it = m_calcCache.find(static_cast<quint32>(row));
    if (it == m_calcCache.end()) {
        CalcRow calcRow(*this, row);
        if (m_calcHandler)
            m_calcHandler(calcRow);
        // A view scrolling through a long list should not keep every row it ever showed.
        if (m_calcCache.size() >= kCalcCacheLimit)
            m_calcCache.clear();
        it = m_calcCache.emplace(static_cast<quint32>(row), std::move(calcRow.m_values)).first;
    }
    return it->second.at(calc);
}

QVariant Query::fieldValue(qsizetype row, int field) const {
    if (field < m_result.columnCount())
        return m_result.value(row, field);
    return calcText(row, field - m_result.columnCount());
}

QString Query::fieldText(qsizetype row, int field) const {
    if (field < m_result.columnCount())
        return m_result.text(row, field);
    return calcText(row, field - m_result.columnCount());
}

QVariant Query::value(QStringView name) const {
    const auto [row, field] = currentField(name);
    return fieldValue(row, field);
}

QString Query::text(QStringView name) const {
    const auto [row, field] = currentField(name);
    return fieldText(row, field);
}

Decimal Query::decimal(QStringView name) const {
    const auto [row, field] = currentField(name);
    if (field < m_result.columnCount())
        return m_result.decimal(row, field);
    return Decimal::parse(calcText(row, field - m_result.columnCount())).value_or(Decimal());
}

double Query::number(QStringView name) const {
    const auto [row, field] = currentField(name);
    if (field < m_result.columnCount())
        return m_result.number(row, field);
    return QStringView(calcText(row, field - m_result.columnCount())).trimmed().toDouble();
}

QDate Query::date(QStringView name) const {
    const auto [row, field] = currentField(name);
    if (field < m_result.columnCount())
        return m_result.column(field).type == ColumnType::Date ? m_result.date(row, field)
                                                               : QDate();
    return TextForm::parseDate(calcText(row, field - m_result.columnCount()));
}

bool Query::isNull(QStringView name) const {
    const auto [row, field] = currentField(name);
    if (field < m_result.columnCount())
        return m_result.isNull(row, field);
    return calcText(row, field - m_result.columnCount()).isEmpty();
}

QVariant Query::valueAt(qsizetype visibleRow, int field) const {
    const qsizetype row = resultRow(visibleRow);
    if (row < 0 || field < 0 || field >= fieldCount())
        return {};
    return fieldValue(row, field);
}

QString Query::textAt(qsizetype visibleRow, int field) const {
    const qsizetype row = resultRow(visibleRow);
    if (row < 0 || field < 0 || field >= fieldCount())
        return {};
    return fieldText(row, field);
}

bool Query::locate(QStringView column, const QVariant &value) {
    if (!m_open)
        return false;
    const int field = fieldIndex(column);
    if (field < 0)
        throw EngineError(unknownField(column));
    const qsizetype found = findVisible(field, value);
    if (found < 0)
        return false;
    setCursor(found);
    Q_EMIT afterScroll();
    return true;
}

qsizetype Query::visibleOf(quint32 row) const {
    if (!m_useVisible)
        return row;
    const auto it = std::lower_bound(m_visible.begin(), m_visible.end(), row);
    return it != m_visible.end() && *it == row ? it - m_visible.begin() : -1;
}

qsizetype Query::findVisible(int field, const QVariant &value) const {
    if (field >= m_result.columnCount())
        return findCalcVisible(field - m_result.columnCount(), value.toString());
    if (value.isNull())
        return findNullVisible(field);
    const LocateKey key = locateKey(m_result.column(field).type, value);
    if (!key.valid)
        return -1;
    // An index built for the follow filter answers at once; without one a scan is cheaper than
    // building it for a single search.
    if (const auto it = m_indexes.find(field); it != m_indexes.end()) {
        const ColumnIndex &index = *it->second;
        return firstVisible(key.type == ColumnType::Number ? index.rowsForNumber(key.number)
                            : key.type == ColumnType::Date ? index.rowsForDate(key.date)
                                                           : index.rowsForText(key.text));
    }
    return scanVisible(field, key);
}

qsizetype Query::findCalcVisible(int calc, const QString &wanted) const {
    const qsizetype count = recordCount();
    for (qsizetype i = 0; i < count; ++i) {
        if (calcText(resultRow(i), calc) == wanted)
            return i;
    }
    return -1;
}

qsizetype Query::findNullVisible(int field) const {
    const qsizetype count = recordCount();
    for (qsizetype i = 0; i < count; ++i) {
        if (m_result.isNull(resultRow(i), field))
            return i;
    }
    return -1;
}

Query::LocateKey Query::locateKey(ColumnType type, const QVariant &value) {
    LocateKey key;
    key.type = type;
    switch (type) {
    case ColumnType::Number:
        if (const std::optional<Decimal> number = asNumber(value)) {
            key.number = *number;
            key.valid = true;
        }
        break;
    case ColumnType::Date:
        key.date = asDate(value);
        key.valid = key.date.isValid();
        break;
    case ColumnType::Text:
        if (std::optional<QByteArray> text = asText(value)) {
            key.text = std::move(*text);
            key.valid = true;
        }
        break;
    }
    return key;
}

qsizetype Query::firstVisible(std::span<const quint32> rows) const {
    for (const quint32 row : rows) {
        const qsizetype visible = visibleOf(row);
        if (visible >= 0)
            return visible;
    }
    return -1;
}

qsizetype Query::scanVisible(int field, const LocateKey &key) const {
    const qsizetype count = recordCount();
    const Column &c = m_result.column(field);
    for (qsizetype i = 0; i < count; ++i) {
        const QByteArrayView raw = m_result.raw(resultRow(i), field);
        bool same = false;
        switch (key.type) {
        case ColumnType::Number: {
            const std::optional<Decimal> v = DbfField::decimalOf(c, raw);
            same = v && *v == key.number;
            break;
        }
        case ColumnType::Date:
            same = DbfField::date(raw) == key.date;
            break;
        case ColumnType::Text:
            same = DbfField::textBytes(raw) == QByteArrayView(key.text);
            break;
        }
        if (same)
            return i;
    }
    return -1;
}

void Query::setFilter(const QString &expression) {
    if (expression.trimmed().isEmpty()) {
        m_filter.reset();
    } else if (m_filter && m_filter->expression() == expression) {
        if (m_open && !m_filter->isBound())
            m_filter->bind(m_result.columns());
    } else {
        // Parsed and bound aside, so that a refused text leaves the filter in force untouched.
        auto filter = std::make_unique<RecordFilter>(expression);
        if (m_open)
            filter->bind(m_result.columns());
        m_filter = std::move(filter);
    }
    m_filterText = expression;
    if (m_open && m_filtered)
        refilter();
}

void Query::setFiltered(bool on) {
    if (on == m_filtered)
        return;
    if (on && m_open && m_filter && !m_filter->isBound())
        m_filter->bind(m_result.columns());
    m_filtered = on;
    if (m_open)
        refilter();
}

void Query::refilter() {
    applyFilter();
    moveToStart();
    rowsChanged();
    Q_EMIT afterScroll();
}

void Query::applyFilter() {
    m_useVisible = m_open && m_filtered && m_filter;
    m_visible.clear();
    if (!m_useVisible)
        return;
    if (const FilterNode *equality = m_filter->singleEquality()) {
        auto &index = m_indexes[equality->column];
        if (!index)
            index = std::make_unique<ColumnIndex>(m_result, equality->column);
        std::span<const quint32> rows;
        switch (equality->type) {
        case ColumnType::Number:
            rows = index->rowsForNumber(equality->number);
            break;
        case ColumnType::Date:
            rows = index->rowsForDate(QDate::fromJulianDay(equality->day));
            break;
        case ColumnType::Text:
            rows = index->rowsForText(equality->bytes);
            break;
        }
        m_visible.assign(rows.begin(), rows.end());
        return;
    }
    m_visible = m_filter->select(m_result);
}

void Query::addCalcField(const QString &name, int size) {
    if (calcIndex(name) >= 0)
        throw EngineError(QStringLiteral("Coloana calculata %1 exista deja.").arg(name));
    m_calcNames.append(name);
    m_calcSizes.append(size);
    m_calcCache.clear();
}

void Query::setCalcHandler(CalcHandler handler) {
    m_calcHandler = std::move(handler);
    m_calcCache.clear();
}

void Query::disableControls() {
    ++m_disableCount;
}

void Query::enableControls() {
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0 && m_pendingReset) {
        m_pendingReset = false;
        Q_EMIT rowsReset();
    }
}

void Query::rowsChanged() {
    if (m_disableCount > 0) {
        m_pendingReset = true;
        return;
    }
    Q_EMIT rowsReset();
    Q_EMIT currentChanged();
}

void Query::currentMoved() {
    if (m_disableCount > 0) {
        m_pendingReset = true;
        return;
    }
    Q_EMIT currentChanged();
}

} // namespace velmora
