// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/query/query.h"

#include <QObject>
#include <QString>

namespace velmora {

// The two lists of the records window: the sheets (Fx) and the departures and arrivals (Px),
// the lower one narrowed to the sheet selected in the upper one, with the search, the sorting
// and the ways both are reopened and their rows found again after a change.
class RecordLists : public QObject {
    Q_OBJECT

public:
    explicit RecordLists(const QString &dataDir, QObject *parent = nullptr);

    Query &sheets() { return m_fx; }
    Query &lines() { return m_px; }
    const Query &sheets() const { return m_fx; }
    const Query &lines() const { return m_px; }

    // Both lists in date and hour order, the latest sheet selected. The search filter stays.
    void open();
    void close();

    // The selected sheet's IDFOAIE and line's IDSOS in text form; empty when there is none.
    QString selectedSheetId() const;
    QString selectedLineId() const;

    // The condition for the two search texts, as typed; empty when both are empty. The texts
    // go in as filter constants, so a quote in a name is searched for like any letter.
    static QString searchCondition(const QString &driver, const QString &vehicle);
    // Puts the condition in force on the sheet list, or takes the filter off.
    void search(const QString &driver, const QString &vehicle);

    // Sorts the sheet list by one column, ascending, keeping the selected sheet and line.
    // The hour column and an empty list are left as they are; returns whether it sorted.
    bool sortBy(const QString &field);
    QString sortField() const;

    // After a sheet was added or changed: the sheet list reread, the sheet found again.
    void refreshSheets(const QString &sheetId);
    // After a line was added, changed or deleted: both lists reread, both rows found again.
    void refreshAll(const QString &sheetId, const QString &lineId);
    // After a sheet was deleted: both lists reread, the last sheet selected.
    void refreshAfterSheetDelete();

private:
    void follow();
    void reopenBoth();

    QString m_dataDir;
    Query m_fx;
    Query m_px;
};

} // namespace velmora
