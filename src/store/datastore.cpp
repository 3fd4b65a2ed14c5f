// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/datastore.h"

#include "store/dbf/atomicfile.h"
#include "store/dbf/datalock.h"
#include "store/dbf/faultpoint.h"
#include "store/dbf/platform.h"
#include "store/inifile.h"
#include "store/picklistsink.h"
#include "store/settings.h"
#include "store/sql/sqlengine.h"
#include "store/tablestatements.h"
#include "store/text/error.h"
#include "store/text/textrules.h"

#include <QDir>
#include <QFileInfo>

namespace velmora {

namespace {

QString withoutTrailingSeparators(QString dir) {
    while (dir.endsWith(u'/') || dir.endsWith(u'\\'))
        dir.chop(1);
    return dir;
}

// Closes the query however the reading ends.
class CloseOnExit {
public:
    explicit CloseOnExit(Query &query)
        : m_query(query) {}
    ~CloseOnExit() { m_query.close(); }
    CloseOnExit(const CloseOnExit &) = delete;
    CloseOnExit &operator=(const CloseOnExit &) = delete;

private:
    Query &m_query;
};

} // namespace

DataStore::DataStore(const QString &programDir)
    : m_programDir(withoutTrailingSeparators(programDir)) {}

QString DataStore::dataDir() const {
    return m_programDir + QStringLiteral("/Data");
}

QString DataStore::sheetsTable() const {
    return dataDir() + QStringLiteral("/Foi.dbf");
}

QString DataStore::linesTable() const {
    return dataDir() + QStringLiteral("/Sosiri.dbf");
}

QString DataStore::countersFile() const {
    return dataDir() + QStringLiteral("/Velm.ini");
}

void DataStore::ensureDataDir() const {
    const QString dir = dataDir();
    if (QFileInfo(dir).isDir())
        return;
    FaultPoint::hit();
    if (!QDir().mkpath(dir)) {
        throw FileError(QStringLiteral("Directorul de date %1 nu poate fi creat: %2.")
                            .arg(QDir::toNativeSeparators(dir), Platform::lastReason()));
    }
}

void DataStore::createTables() {
    // Another process must not create the same table between the test and the creation.
    const DataLock lock(dataDir(), DataLock::Mode::Exclusive);
    // The start-up begins here: what killed writes left behind goes first.
    if (QFileInfo(dataDir()).isDir())
        AtomicFile::removeStale(dataDir());
    // Created with these spellings; every later access finds them as Foi.dbf and Sosiri.dbf.
    createTable(QStringLiteral("/FOI.DBF"),
                TableStatements::createSheets(dataDir() + QStringLiteral("/FOI.DBF")));
    createTable(QStringLiteral("/Sosiri.DBF"),
                TableStatements::createLines(dataDir() + QStringLiteral("/Sosiri.DBF")));
}

void DataStore::createTable(const QString &fileName, const QStringList &statement) {
    if (!SqlEngine::findTable(dataDir() + fileName).isEmpty())
        return;
    m_sx.clearSql();
    for (const QString &line : statement)
        m_sx.addLine(line);
    m_sx.execSql();
}

QStringList DataStore::initialize(const StepProgress &stepProgress) {
    ensureDataDir();
    const DataLock lock(dataDir(), DataLock::Mode::Exclusive);
    createTables();
    return packTables(stepProgress);
}

QString DataStore::nextId(const QString &counter) const {
    return Counters(countersFile()).next(counter);
}

Counters::Block DataStore::reserveIds(const QString &counter, qint32 count) const {
    return Counters(countersFile()).reserve(counter, count);
}

QString DataStore::iniRead(const QString &section, const QString &key) const {
    return IniFile(countersFile()).read(section, key);
}

void DataStore::iniWrite(const QString &section, const QString &key, const QString &value) const {
    IniFile(countersFile()).write(section, key, value);
}

QString DataStore::readSetting(const QString &name) {
    return Settings::read(name);
}

void DataStore::writeSetting(const QString &name, const QString &value) {
    Settings::write(name, value);
}

void DataStore::writeStartSettings(const QString &applicationTitle) const {
    writeSetting(QStringLiteral("CALE"), m_programDir);
    writeSetting(QStringLiteral("VER"), applicationTitle);
}

void DataStore::resetQuery(Query &query) {
    query.close();
    query.clearSql();
    query.setFiltered(false);
    query.setFilter(QString());
}

void DataStore::fillPickList(PickListSink &sink, const QString &tablePath, const QString &column,
                             const QString &condition) {
    resetQuery(m_sx);
    for (const QString &line : TableStatements::pickList(tablePath, column, condition))
        m_sx.addLine(line);
    m_sx.open();
    {
        const CloseOnExit closer(m_sx);
        for (m_sx.first(); !m_sx.eof(); m_sx.next()) {
            const QString text = m_sx.text(column);
            if (!TextRules::trim(text).isEmpty())
                sink.append(text);
        }
    }
    sink.selectFirst();
}

QStringList DataStore::packTable(const QString &tablePath) {
    return SqlEngine::pack(tablePath);
}

QStringList DataStore::packTables(const StepProgress &stepProgress) {
    const DataLock lock(dataDir(), DataLock::Mode::Exclusive);
    if (QFileInfo(dataDir()).isDir())
        AtomicFile::removeStale(dataDir());
    QStringList repairs;
    for (const QString &table : {sheetsTable(), linesTable()}) {
        repairs += packTable(table);
        if (stepProgress)
            stepProgress(50);
    }
    return repairs;
}

} // namespace velmora
