// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/sql/sqlengine.h"

#include "store/dbf/datalock.h"
#include "store/dbf/dbftable.h"
#include "store/dbf/platform.h"
#include "store/dbf/tablepath.h"
#include "store/sql/sqlexecutor.h"
#include "store/sql/sqlparser.h"
#include "store/sql/sqlselectexecutor.h"
#include "store/text/error.h"

#include <QDir>

namespace velmora {

namespace {

QString directoryOf(const SqlStatement &statement) {
    const QString path = std::visit([](const auto &s) { return s.table.path; }, statement);
    return DataLock::directoryOf(TablePath::normalized(path));
}

ResultSet openSelect(const QString &statement) {
    const SqlStatement parsed = SqlParser::parse(statement);
    const auto *select = std::get_if<SqlSelect>(&parsed);
    if (!select) {
        throw EngineError(QStringLiteral("Numai o instructiune SELECT poate fi deschisa; "
                                         "celelalte se executa."));
    }
    const DataLock lock(directoryOf(parsed), DataLock::Mode::Shared);
    return SqlSelectExecutor::run(*select);
}

// A statement over a big table asks for memory in large pieces; when one is refused, the user
// reads why in words, and the statement has changed nothing (every write is worked out in
// full before the file is touched).
template <typename Work>
auto withinMemory(Work work) {
    try {
        return work();
    } catch (const std::bad_alloc &) {
        throw EngineError(Error::outOfMemoryText());
    }
}

} // namespace

qsizetype SqlEngine::run(const QString &statement) {
    return withinMemory([&] {
        const SqlStatement parsed = SqlParser::parse(statement);
        const DataLock lock(directoryOf(parsed), DataLock::Mode::Exclusive);
        return SqlExecutor::run(parsed);
    });
}

ResultSet SqlEngine::open(const QString &statement) {
    return withinMemory([&] { return openSelect(statement); });
}

QStringList SqlEngine::pack(const QString &tablePath) {
    const QString path = TablePath::find(tablePath);
    if (path.isEmpty()) {
        throw EngineError(QStringLiteral("Tabela %1 nu exista.")
                              .arg(QDir::toNativeSeparators(TablePath::normalized(tablePath))));
    }
    const DataLock lock(DataLock::directoryOf(path), DataLock::Mode::Exclusive);
    return withinMemory([&] {
        QStringList repairs;
        // How many rows went is no news for the user, who asked for the deleted ones to
        // go; what had to be repaired on the way is.
        static_cast<void>(DbfTable::pack(path, &repairs));
        return repairs;
    });
}

QString SqlEngine::findTable(const QString &tablePath) {
    return TablePath::find(tablePath);
}

void SqlEngine::setSynchronous(bool on) {
    Platform::setSyncEnabled(on);
}

} // namespace velmora
