// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/programcontext.h"

#include "store/text/textrules.h"

namespace velmora {

ProgramContext::ProgramContext(const QString &programDir, const QString &title, QObject *parent)
    : QObject(parent)
    , m_store(programDir)
    , m_title(title) {}

void ProgramContext::setAccessGranted(bool granted) {
    if (granted == m_accessGranted)
        return;
    m_accessGranted = granted;
    Q_EMIT accessChanged(granted);
}

QString ProgramContext::NextId(const QString &counter) {
    return m_store.nextId(counter);
}

Counters::Block ProgramContext::reserveIds(const QString &counter, qint32 count) {
    return m_store.reserveIds(counter, count);
}

QString ProgramContext::IniRead(const QString &section, const QString &key) {
    return m_store.iniRead(section, key);
}

void ProgramContext::IniWrite(const QString &section, const QString &key, const QString &value) {
    m_store.iniWrite(section, key, value);
}

QString ProgramContext::ReadSetting(const QString &name) {
    return DataStore::readSetting(name);
}

void ProgramContext::WriteSetting(const QString &name, const QString &value) {
    DataStore::writeSetting(name, value);
}

void ProgramContext::writeStartSettings() {
    m_store.writeStartSettings(m_title);
}

void ProgramContext::CreateTables() {
    m_store.createTables();
}

void ProgramContext::ResetQuery(Query &query) {
    DataStore::resetQuery(query);
}

void ProgramContext::FillPickList(PickListSink &box, const QString &tablePath,
                                  const QString &column, const QString &condition) {
    m_store.fillPickList(box, tablePath, column, condition);
}

void ProgramContext::PackTable(const QString &tablePath) {
    DataStore::packTable(tablePath);
}

QString ProgramContext::JoinConditions(const QString &conditions) {
    return TextRules::joinConditions(conditions);
}

QString ProgramContext::SquashSpaces(const QString &text) {
    return TextRules::squashSpaces(text);
}

} // namespace velmora
