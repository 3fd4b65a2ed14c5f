// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A temporary program directory with both tables, filled through the statements the windows
// compose.

#include "store/datastore.h"
#include "store/sql/sqlengine.h"
#include "store/text/textform.h"
#include "store/text/timp.h"

#include "store/statements.h"

#include <QDate>
#include <QTemporaryDir>
#include <QTime>
#include <memory>

class TripFixture {
public:
    TripFixture()
        : m_store(std::make_unique<velmora::DataStore>(m_dir.path())) {
        // The tests need no protection against a power cut.
        velmora::SqlEngine::setSynchronous(false);
        m_store->ensureDataDir();
        m_store->createTables();
    }

    QString programDir() const { return m_dir.path(); }
    QString dataDir() const { return m_store->dataDir(); }
    velmora::DataStore &store() { return *m_store; }

    void addSheet(const velmora::statements::Sheet &sheet, const QString &income = {}) {
        velmora::SqlEngine::run(velmora::statements::insertSheet(dataDir(), sheet));
        if (!income.isEmpty())
            velmora::SqlEngine::run(
                velmora::statements::income(dataDir(), sheet.id, u'+' + income));
    }

    void addLine(const QString &sheetId, const QString &kind, QDate date, QTime time,
                 const QString &amount) {
        const QString timp =
            velmora::TextForm::fourDecimal(velmora::Timp::fromDateTime(date, time));
        velmora::SqlEngine::run(velmora::statements::insertLine(
            dataDir(), QString::number(++m_lineId), sheetId, kind, timp, amount));
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<velmora::DataStore> m_store;
    int m_lineId = 0;
};
