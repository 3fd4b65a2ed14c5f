// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchdata.h"

#include "records/samplegenerator.h"
#include "store/datastore.h"

#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

bool complete(const QString &programDir) {
    velmora::DataStore store(programDir);
    return QFile::exists(programDir + QStringLiteral("/Data/complete")) &&
           store.iniRead(QStringLiteral("INDEX"), QStringLiteral("IDFOAIE")) ==
               QString::number(BenchData::kSheets + 1);
}

void copyDir(const QString &from, const QString &to) {
    QDir().mkpath(to);
    for (const QString &name : QDir(from).entryList(QDir::Files)) {
        QFile::remove(to + u'/' + name);
        if (!QFile::copy(from + u'/' + name, to + u'/' + name))
            qFatal("cannot copy %s", qPrintable(name));
    }
}

} // namespace

QString BenchData::programDir() {
    QString dir = qEnvironmentVariable("VELMORA_BENCH_DIR");
    if (dir.isEmpty())
        dir = QDir::tempPath() +
              QStringLiteral("/velmora-bench-%1x%2").arg(kSheets).arg(kLinesPerSheet);
    if (complete(dir))
        return dir;
    std::fprintf(stderr, "Generating %d sheets into %s (once)...\n", kSheets, qPrintable(dir));
    QDir(dir + QStringLiteral("/Data")).removeRecursively();
    velmora::DataStore store(dir);
    store.ensureDataDir();
    store.createTables();
    velmora::SampleGenerator generator(store, QDate(2026, 1, 1));
    generator.generate(kSheets, kLinesPerSheet, 2026);
    QFile mark(dir + QStringLiteral("/Data/complete"));
    if (!mark.open(QIODevice::WriteOnly))
        qFatal("cannot mark the data complete");
    return dir;
}

QString BenchData::scratchProgramDir() {
    const QString source = programDir();
    const QString scratch = source + QStringLiteral("-scratch");
    copyDir(source + QStringLiteral("/Data"), scratch + QStringLiteral("/Data"));
    return scratch;
}

QString BenchData::sheets(const QString &programDir) {
    return programDir + QStringLiteral("/Data/Foi.dbf");
}

QString BenchData::lines(const QString &programDir) {
    return programDir + QStringLiteral("/Data/Sosiri.dbf");
}
