// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/counters.h"
#include "store/datastore.h"

#include <QObject>
#include <QString>

namespace velmora {

class PickListSink;
class Query;

// What every window of the program shares: the program and data directories, the data store
// with its shared query, the settings, the counters file and the access flag. Application
// makes one when the program starts and hands it to each window's constructor.
class ProgramContext : public QObject {
    Q_OBJECT

public:
    // programDir: where the Data directory lives; title: the program's name and version, as
    // the settings keep it (VER) and the windows show it.
    ProgramContext(const QString &programDir, const QString &title, QObject *parent = nullptr);

    QString title() const { return m_title; }
    QString programDir() const { return m_store.programDir(); }
    QString dataDir() const { return m_store.dataDir(); }
    DataStore &store() { return m_store; }
    // The query table creation and pick lists go through.
    Query &Sx() { return m_store.sx(); }

    // Whether the data commands are open. Changing it tells accessChanged.
    bool accessGranted() const { return m_accessGranted; }
    void setAccessGranted(bool granted);

    // The counters file.
    QString NextId(const QString &counter);
    Counters::Block reserveIds(const QString &counter, qint32 count);
    QString IniRead(const QString &section, const QString &key);
    void IniWrite(const QString &section, const QString &key, const QString &value);

    // The settings.
    QString ReadSetting(const QString &name);
    void WriteSetting(const QString &name, const QString &value);
    // CALE and VER, written at every start.
    void writeStartSettings();

    // The tables.
    void CreateTables();
    void ResetQuery(Query &query);
    void FillPickList(PickListSink &box, const QString &tablePath, const QString &column,
                      const QString &condition);
    void PackTable(const QString &tablePath);

    // Text rules of the filters.
    static QString JoinConditions(const QString &conditions);
    static QString SquashSpaces(const QString &text);

Q_SIGNALS:
    void accessChanged(bool granted);

private:
    DataStore m_store;
    QString m_title;
    bool m_accessGranted = false;
};

} // namespace velmora
