// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/query/recordfilter.h"

#include "store/dbf/dbffield.h"
#include "store/query/filterlexer.h"
#include "store/query/filterparser.h"
#include "store/text/error.h"
#include "store/text/romanianorder.h"
#include "store/text/textform.h"

#include <cstring>

namespace velmora {

namespace {

QString typeName(ColumnType type) {
    switch (type) {
    case ColumnType::Number:
        return QStringLiteral("numerica");
    case ColumnType::Date:
        return QStringLiteral("de tip data");
    case ColumnType::Text:
        break;
    }
    return QStringLiteral("de tip text");
}

[[noreturn]] void refuse(const FilterNode &node, const QString &what) {
    throw EngineError(FilterLexer::errorText(
        node.constantPosition,
        QStringLiteral("coloana %1 este %2, %3.").arg(node.columnName, typeName(node.type), what)));
}

void bindNode(FilterNode &node, const QList<Column> &columns) {
    if (node.kind != FilterNode::Kind::Compare) {
        bindNode(*node.left, columns);
        if (node.right)
            bindNode(*node.right, columns);
        return;
    }
    node.column = indexOfColumn(columns, node.columnName);
    if (node.column < 0) {
        throw EngineError(FilterLexer::errorText(
            node.position, QStringLiteral("coloana %1 nu exista.").arg(node.columnName)));
    }
    const Column &column = columns[node.column];
    node.type = column.type;
    node.source = column;
    node.endsBlank =
        !node.bytes.isEmpty() && (node.bytes.back() == ' ' || node.bytes.back() == '\0');
    if (node.prefix && node.type != ColumnType::Text)
        refuse(node, QStringLiteral("iar inceputul de valoare cu * se poate cauta doar in text"));

    switch (node.type) {
    case ColumnType::Text:
        if (!node.textConstant)
            refuse(node, QStringLiteral("se astepta un text intre apostrofuri"));
        break;
    case ColumnType::Number:
        if (node.textConstant) {
            bool tooLong = false;
            const std::optional<Decimal> number = Decimal::parse(node.text, &tooLong);
            if (!number && tooLong) {
                throw EngineError(FilterLexer::errorText(node.constantPosition,
                                                         FilterLexer::numberRefusal(true)));
            }
            if (!number)
                refuse(node, QStringLiteral("se astepta un numar"));
            node.number = *number;
        }
        break;
    case ColumnType::Date: {
        const QDate date = node.textConstant ? TextForm::parseDate(node.text) : QDate();
        if (!date.isValid())
            refuse(node, QStringLiteral("se astepta o data intre apostrofuri"));
        node.day = date.toJulianDay();
        break;
    }
    }
}

template <typename T>
bool compare(FilterNode::Op op, const T &a, const T &b) {
    switch (op) {
    case FilterNode::Op::Equal:
        return a == b;
    case FilterNode::Op::NotEqual:
        return a != b;
    case FilterNode::Op::Less:
        return a < b;
    case FilterNode::Op::Greater:
        return a > b;
    case FilterNode::Op::LessEqual:
        return a <= b;
    case FilterNode::Op::GreaterEqual:
        return a >= b;
    }
    return false;
}

bool evaluate(const FilterNode &node, const char *row) {
    switch (node.kind) {
    case FilterNode::Kind::And:
        return evaluate(*node.left, row) && evaluate(*node.right, row);
    case FilterNode::Kind::Or:
        return evaluate(*node.left, row) || evaluate(*node.right, row);
    case FilterNode::Kind::Not:
        return !evaluate(*node.left, row);
    case FilterNode::Kind::Compare:
        break;
    }
    const char *field = row + node.source.offset;
    switch (node.type) {
    case ColumnType::Text: {
        // The padding is only looked at once the constant's bytes have matched, which is rare
        // on a long list.
        const qsizetype wanted = node.bytes.size();
        auto blankFrom = [&](qsizetype from) {
            for (qsizetype i = from; i < node.source.width; ++i) {
                if (field[i] != ' ' && field[i] != '\0')
                    return false;
            }
            return true;
        };
        if (node.prefix || node.op == FilterNode::Op::Equal ||
            node.op == FilterNode::Op::NotEqual) {
            bool same = wanted <= node.source.width &&
                        std::memcmp(field, node.bytes.constData(), wanted) == 0;
            if (node.prefix) {
                // A constant ending in blanks must find them before the padding starts.
                return same && (!node.endsBlank || !blankFrom(wanted - 1));
            }
            same = same && blankFrom(wanted);
            return node.op == FilterNode::Op::Equal ? same : !same;
        }
        // Ranges follow the order the sorts show.
        const int order =
            RomanianOrder::compare(QByteArrayView(field, node.source.width), node.bytes);
        return compare(node.op, order, 0);
    }
    case ColumnType::Number: {
        const std::optional<Decimal> value =
            DbfField::decimalOf(node.source, QByteArrayView(field, node.source.width));
        return value && compare(node.op, *value, node.number);
    }
    case ColumnType::Date: {
        const QDate date = DbfField::date(QByteArrayView(field, node.source.width));
        if (!date.isValid())
            return false;
        return compare(node.op, date.toJulianDay(), node.day);
    }
    }
    return false;
}

} // namespace

RecordFilter::RecordFilter(const QString &expression)
    : m_root(FilterParser::parse(expression))
    , m_expression(expression) {}

RecordFilter::~RecordFilter() = default;

void RecordFilter::bind(const QList<Column> &columns) {
    m_bound = false;
    bindNode(*m_root, columns);
    m_bound = true;
}

bool RecordFilter::matches(const ResultSet &result, qsizetype row) const {
    Q_ASSERT(m_bound);
    return evaluate(*m_root, result.data().constData() + result.rowOffsets()[row]);
}

std::vector<quint32> RecordFilter::select(const ResultSet &result) const {
    Q_ASSERT(m_bound);
    std::vector<quint32> rows;
    const char *data = result.data().constData();
    const std::vector<quint32> &offsets = result.rowOffsets();
    for (size_t row = 0; row < offsets.size(); ++row) {
        if (evaluate(*m_root, data + offsets[row]))
            rows.push_back(static_cast<quint32>(row));
    }
    return rows;
}

const FilterNode *RecordFilter::singleEquality() const {
    const FilterNode &root = *m_root;
    if (root.kind == FilterNode::Kind::Compare && root.op == FilterNode::Op::Equal && !root.prefix)
        return &root;
    return nullptr;
}

} // namespace velmora
