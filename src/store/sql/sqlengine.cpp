#include "store/sql/sqlengine.h"

#include "store/dbf/dbftable.h"
#include "store/dbf/platform.h"
#include "store/dbf/tablepath.h"
#include "store/sql/sqlexecutor.h"
#include "store/sql/sqlparser.h"
#include "store/sql/sqlselectexecutor.h"
#include "store/text/error.h"

#include <QDir>

namespace velmora {

qsizetype SqlEngine::run(const QString &statement) {
    const SqlStatement parsed = SqlParser::parse(statement);
    return SqlExecutor::run(parsed);
}

ResultSet SqlEngine::open(const QString &statement) {
    const SqlStatement parsed = SqlParser::parse(statement);
    const auto *select = std::get_if<SqlSelect>(&parsed);
    if (!select) {
        throw EngineError(QStringLiteral("Numai o instructiune SELECT poate fi deschisa; "
                                         "celelalte se executa."));
    }
    return SqlSelectExecutor::run(*select);
}

void SqlEngine::pack(const QString &tablePath) {
    const QString path = TablePath::find(tablePath);
    if (path.isEmpty()) {
        throw EngineError(QStringLiteral("Tabela %1 nu exista.")
                              .arg(QDir::toNativeSeparators(TablePath::normalized(tablePath))));
    }
    DbfTable::pack(path);
}

QString SqlEngine::findTable(const QString &tablePath) {
    return TablePath::find(tablePath);
}

void SqlEngine::setSynchronous(bool on) {
    Platform::setSyncEnabled(on);
}

} // namespace velmora
