// SPDX-License-Identifier: GPL-3.0-or-later
// What velmora-tool prints reaches its reader whole, or the tool says it did not: a full disk
// or a reader that has gone gives exit status 1 and a message, never 0.

#include "store/text/error.h"
#include "tool/tooloutput.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <new>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

using namespace velmora;
using namespace Qt::StringLiterals;

class TestToolOutput : public QObject {
    Q_OBJECT

    struct Run {
        bool exited = false; // false when a signal ended it
        int code = -1;
        QByteArray err;
    };

    enum class Out { Normal, Full, ClosedPipe };

    QTemporaryDir m_home;
    QTemporaryDir m_program;

    QString archive() const { return m_program.filePath(u"copie.vmr"_s); }

    Run tool(const QStringList &args, Out out, const QByteArray &input = {}) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, m_home.path());
        env.insert(u"XDG_CONFIG_HOME"_s, m_home.filePath(u"config"_s));
        env.insert(u"ASAN_OPTIONS"_s, u"detect_leaks=0"_s);
        process.setProcessEnvironment(env);
        process.setStandardInputFile(QProcess::nullDevice());
        QTemporaryFile inputFile;
        if (!input.isEmpty()) {
            if (!inputFile.open() || inputFile.write(input) != input.size() || !inputFile.flush())
                qFatal("the statement cannot be written for the tool");
            process.setStandardInputFile(inputFile.fileName());
        }
#ifndef Q_OS_WIN
        int pipeEnds[2] = {-1, -1};
        if (out == Out::Full) {
            process.setStandardOutputFile(u"/dev/full"_s);
        } else if (out == Out::ClosedPipe) {
            // A pipe whose reading end is closed before the tool starts: its first write
            // meets a reader that has gone, whatever it prints and however fast.
            if (::pipe(pipeEnds) != 0)
                qFatal("no pipe");
            ::close(pipeEnds[0]);
            const int writeEnd = pipeEnds[1];
            process.setChildProcessModifier([writeEnd] { ::dup2(writeEnd, STDOUT_FILENO); });
        }
#endif
        process.start(QStringLiteral(VELMORA_TOOL), args);
        if (!process.waitForStarted())
            qFatal("velmora-tool does not start");
        if (!process.waitForFinished(120000))
            qFatal("velmora-tool does not finish");
#ifndef Q_OS_WIN
        if (pipeEnds[1] >= 0)
            ::close(pipeEnds[1]);
#endif
        return {process.exitStatus() == QProcess::NormalExit, process.exitCode(),
                process.readAllStandardError()};
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_home.isValid() && m_program.isValid());
        QCOMPARE(tool({u"init"_s, m_program.path()}, Out::Normal).code, 0);
        QCOMPARE(
            tool({u"generate"_s, m_program.path(), u"--sheets"_s, u"2"_s, u"--lines"_s, u"2"_s},
                 Out::Normal)
                .code,
            0);
        QCOMPARE(tool({u"backup"_s, m_program.path(), archive()}, Out::Normal).code, 0);
    }

    // Every command that prints, with stdout on a full disk and on a pipe nobody reads.
    void aFailedOutputIsAnError_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("out");
        QTest::addColumn<QString>("reason");
        const QString program = m_program.path();
        const QString foi = u'"' + m_program.filePath(u"Data/Foi.dbf"_s) + u'"';
        const QList<std::pair<const char *, QStringList>> commands = {
            {"help", {u"--help"_s}},
            {"sql", {u"sql"_s}},
            {"generate", {u"generate"_s, program, u"--sheets"_s, u"1"_s, u"--lines"_s, u"1"_s}},
            {"backup", {u"backup"_s, program, m_program.filePath(u"alta.vmr"_s)}},
            {"backup to folder",
             {u"backup"_s, program, u"--to"_s, m_program.filePath(u"copii"_s), u"--keep"_s,
              u"2"_s}},
            {"verify", {u"verify"_s, archive()}},
            {"restore", {u"restore"_s, program, archive()}},
            {"where", {u"where"_s}},
            {"export", {u"export"_s, program, u"sheets"_s, m_program.filePath(u"foi.csv"_s)}},
        };
        for (const auto &[name, args] : commands) {
            const QByteArray input =
                args.first() == u"sql"_s ? (u"SELECT * FROM "_s + foi).toUtf8() : QByteArray();
            QTest::newRow(QByteArray(name) + " full")
                << args << input << int(Out::Full) << u"discul este plin"_s;
#ifndef Q_OS_WIN
            QTest::newRow(QByteArray(name) + " closed pipe")
                << args << input << int(Out::ClosedPipe)
                << u"programul care citea a inchis legatura"_s;
#endif
        }
    }
    void aFailedOutputIsAnError() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(int, out);
        QFETCH(QString, reason);
        const Run run = tool(args, static_cast<Out>(out), input);
        QVERIFY2(run.exited, "the tool was ended by a signal");
        QCOMPARE(run.code, ToolOutput::kFailed);
        const QString err = QString::fromLocal8Bit(run.err);
        QVERIFY2(err.contains(u"Iesirea standard nu poate fi scrisa: "_s + reason),
                 qPrintable(err));
    }

    // The same commands print without complaint when their output can be written.
    void aWrittenOutputIsNoError() {
        const Run run = tool({u"verify"_s, archive()}, Out::Normal);
        QVERIFY(run.exited);
        QCOMPARE(run.code, ToolOutput::kDone);
        QCOMPARE(run.err, QByteArray());
    }

#ifndef Q_OS_WIN
    // guarded says whatever stopped a command in the user's words on stderr.
    void guardedSaysTheErrorInTheUsersWords() {
        QTemporaryFile captured;
        QVERIFY(captured.open());
        std::fflush(stderr);
        const int saved = ::dup(STDERR_FILENO);
        QVERIFY(saved >= 0);
        QVERIFY(::dup2(captured.handle(), STDERR_FILENO) >= 0);
        const int status = ToolOutput::guarded([]() -> int { throw std::bad_alloc(); });
        std::fflush(stderr);
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);
        QCOMPARE(status, ToolOutput::kFailed);
        QFile written(captured.fileName());
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLocal8Bit(written.readAll()), Error::outOfMemoryText() + u'\n');
    }
#endif
};

QTEST_GUILESS_MAIN(TestToolOutput)
#include "tst_tooloutput.moc"
