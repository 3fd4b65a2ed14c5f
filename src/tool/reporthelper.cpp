// SPDX-License-Identifier: GPL-3.0-or-later
#include "tool/reporthelper.h"

#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace velmora {

QString ReportHelper::fileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("velmora-report.exe");
#else
    return QStringLiteral("velmora-report");
#endif
}

QString ReportHelper::path() {
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString &candidate :
         {here + u'/' + fileName(),
          QDir::cleanPath(here + QStringLiteral("/../libexec/velmora/") + fileName())}) {
        if (QFileInfo(candidate).isExecutable())
            return candidate;
    }
    return {};
}

int ReportHelper::forward(const QStringList &args) {
    const QString helper = path();
    if (helper.isEmpty()) {
        throw FileError(QStringLiteral("Programul %1, care scrie raportul, lipseste de langa "
                                       "velmora-tool; reinstalati programul.")
                            .arg(fileName()));
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start(helper, args);
    if (!process.waitForStarted(-1)) {
        throw FileError(QStringLiteral("Programul %1 nu poate fi pornit: %2")
                            .arg(QDir::toNativeSeparators(helper), Platform::reason(process)));
    }
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit) {
        throw EngineError(QStringLiteral("Programul %1 s-a oprit inainte de a termina "
                                         "raportul.")
                              .arg(QDir::toNativeSeparators(helper)));
    }
    return process.exitCode();
}

} // namespace velmora
