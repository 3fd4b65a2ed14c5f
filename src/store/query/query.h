// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/dbf/column.h"
#include "store/sql/resultset.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

namespace velmora {

class ColumnIndex;
class RecordFilter;

// A statement held as lines, and the cursor over its open result: the query objects of the
// windows (the sheet list, the lines list, the statement runner, the report's query).
//
// The cursor moves over the visible rows: all rows of the result in the statement's order,
// or, with the record filter switched on, those that pass it, in the same order.
class Query : public QObject {
    Q_OBJECT

public:
    // Fills the computed columns of one row; the row's stored values are read through
    // row.value(), the computed ones set with row.setText().
    class CalcRow {
    public:
        CalcRow(const Query &query, qsizetype resultRow);
        QVariant value(QStringView column) const;
        double number(QStringView column) const;
        void setText(QStringView calcColumn, const QString &text);
        QString text(QStringView calcColumn) const;

    private:
        friend class Query;
        const Query &m_query;
        qsizetype m_row;
        QStringList m_values;
    };
    using CalcHandler = std::function<void(CalcRow &)>;

    explicit Query(QObject *parent = nullptr);
    ~Query() override;

    // The statement. Changing it closes an open result.
    QStringList sql() const { return m_sql; }
    void setSql(const QStringList &lines);
    void addLine(const QString &line);
    void replaceLine(int index, const QString &line);
    void clearSql();
    // The lines joined by line breaks, as the engine receives them.
    QString sqlText() const;

    // CREATE TABLE, INSERT, UPDATE, DELETE.
    void execSql();
    // SELECT: reads the result and puts the cursor on the first visible row.
    void open();
    void close();
    bool isOpen() const { return m_open; }

    // Cursor over the visible rows; positions count from 0, -1 when there is none. On a
    // closed query first, next, prior and last do nothing.
    bool isEmpty() const;
    qsizetype recordCount() const;
    qsizetype recNo() const { return m_cursor; }
    void first();
    void next();
    void prior();
    void last();
    void moveTo(qsizetype visibleRow);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }

    // Columns: the result's own, then the computed ones.
    int fieldCount() const;
    QString fieldName(int field) const;
    ColumnType fieldType(int field) const;
    bool isCalcField(int field) const;
    int fieldIndex(QStringView name) const;

    // Values of the current row. Text without its padding blanks, numbers as double,
    // dates as QDate; a null QVariant for NULL. Reading with no current row raises an
    // EngineError.
    QVariant value(QStringView name) const;
    QString text(QStringView name) const;
    double number(QStringView name) const;
    // A number exactly, as the column holds it; 0 for NULL.
    Decimal decimal(QStringView name) const;
    QDate date(QStringView name) const;
    bool isNull(QStringView name) const;

    // Values of any visible row, for table views.
    QVariant valueAt(qsizetype visibleRow, int field) const;
    QString textAt(qsizetype visibleRow, int field) const;

    // Makes the first visible row whose column equals value (exact match) the current one;
    // false, and the cursor stays, when none does.
    bool locate(QStringView column, const QVariant &value);

    // The record filter: comparisons of a column with a constant (= <> < > <= >=), AND, OR,
    // NOT, parentheses; text constants in single quotes, a doubled quote inside being one
    // quote; a trailing "*" in a text constant matches every value beginning with what stands
    // before it; comparisons are case-sensitive. Setting a text that does not parse raises an
    // EngineError and leaves the previous filter in force. Applying it keeps the order and
    // moves the cursor to the first remaining row.
    void setFilter(const QString &expression);
    QString filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }

    // Computed text columns; declared before open.
    void addCalcField(const QString &name, int size);
    void setCalcHandler(CalcHandler handler);

    // Bound views stop following the query while controls are disabled (nested calls
    // count); enabling them again tells the views to reload once.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

    // The result as read, for views and reports that need every row.
    const ResultSet &result() const { return m_result; }
    // The result row behind a visible row.
    qsizetype resultRow(qsizetype visibleRow) const;

Q_SIGNALS:
    // After every move of the cursor, including open, close, filtering and locating.
    void afterScroll();
    // The set of visible rows changed (open, close, filter); not while controls are disabled.
    // Also sent once when controls are enabled again after anything changed meanwhile: views
    // then read the rows and the current row anew.
    void rowsReset();
    // The current row changed; not while controls are disabled.
    void currentChanged();

private:
    static constexpr size_t kCalcCacheLimit = 100000;

    void applyFilter();
    void refilter();
    void setCursor(qsizetype visibleRow);
    void moveToStart();
    // Tell bound views, or remember to once controls are enabled again.
    void rowsChanged();
    void currentMoved();

    int calcIndex(QStringView name) const;
    // The current row of the result and the field of that name, or an EngineError.
    struct FieldAt {
        qsizetype row;
        int field;
    };
    FieldAt currentField(QStringView name) const;
    const QString &calcText(qsizetype row, int calc) const;
    QVariant fieldValue(qsizetype row, int field) const;
    QString fieldText(qsizetype row, int field) const;
    qsizetype visibleOf(quint32 row) const;
    // locate: the first visible row whose field holds the value.
    struct LocateKey {
        ColumnType type = ColumnType::Text;
        bool valid = false; // false when no value of the column can equal it
        Decimal number;
        QDate date;
        QByteArray text;
    };
    static LocateKey locateKey(ColumnType type, const QVariant &value);
    qsizetype findVisible(int field, const QVariant &value) const;
    qsizetype findCalcVisible(int calc, const QString &wanted) const;
    qsizetype findNullVisible(int field) const;
    qsizetype firstVisible(std::span<const quint32> rows) const;
    qsizetype scanVisible(int field, const LocateKey &key) const;

    QStringList m_sql;
    bool m_open = false;
    ResultSet m_result;
    bool m_useVisible = false;      // the filter is in force over the open result
    std::vector<quint32> m_visible; // result rows behind the visible rows, when filtered
    qsizetype m_cursor = -1;
    bool m_eof = true;
    bool m_bof = true;
    QString m_filterText;
    std::unique_ptr<RecordFilter> m_filter;
    bool m_filtered = false;
    // Built on the first equality filter over a column, dropped with the result.
    std::unordered_map<int, std::unique_ptr<ColumnIndex>> m_indexes;
    QStringList m_calcNames;
    QList<int> m_calcSizes;
    CalcHandler m_calcHandler;
    mutable std::unordered_map<quint32, QStringList> m_calcCache; // by result row
    int m_disableCount = 0;
    bool m_pendingReset = false;
};

} // namespace velmora
