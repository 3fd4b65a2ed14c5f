// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/programcontext.h"

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

QString ProgramContext::IniRead(const QString &section, const QString &key) {
    return m_store.iniRead(section, key);
}

void ProgramContext::IniWrite(const QString &section, const QString &key, const QString &value) {
    m_store.iniWrite(section, key, value);
}

QString ProgramContext::ReadSetting(const QString &name) {
    return DataStore::readSetting(name);
}

void ProgramContext::writeStartSettings() {
    m_store.writeStartSettings(m_title);
}

void ProgramContext::CreateTables() {
    m_store.createTables();
}

void ProgramContext::FillPickList(PickListSink &box, const QString &tablePath,
                                  const QString &column, const QString &condition) {
    m_store.fillPickList(box, tablePath, column, condition);
}

QStringList ProgramContext::packTables(const DataStore::StepProgress &stepProgress) {
    return m_store.packTables(stepProgress);
}

} // namespace velmora
