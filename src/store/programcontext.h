// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/counters.h"
#include "store/datastore.h"

#include <QObject>
#include <QString>

namespace velmora {

class PickListSink;

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

    // Whether the data commands are open. Changing it tells accessChanged.
    bool accessGranted() const { return m_accessGranted; }
    void setAccessGranted(bool granted);

    // The counters file.
    QString NextId(const QString &counter);
    QString IniRead(const QString &section, const QString &key);
    void IniWrite(const QString &section, const QString &key, const QString &value);

    // The settings.
    QString ReadSetting(const QString &name);
    // CALE and VER, written at every start.
    void writeStartSettings();

    // The tables.
    void CreateTables();
    void FillPickList(PickListSink &box, const QString &tablePath, const QString &column,
                      const QString &condition);
    // Packs both tables, stepping the progress by 50 after each. Returns what was repaired on
    // the way (a table cut short), in words for the user: the start-up shows it once.
    [[nodiscard]] QStringList packTables(const DataStore::StepProgress &stepProgress = {});

Q_SIGNALS:
    void accessChanged(bool granted);

private:
    DataStore m_store;
    QString m_title;
    bool m_accessGranted = false;
};

} // namespace velmora
