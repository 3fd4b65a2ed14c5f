// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolrun.h"
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

// The printouts of velmora-tool: print-sheet and report over a generated program directory.
class TestReportCommands : public QObject {
    Q_OBJECT

    using Run = velmora::test::ToolRun;

    QTemporaryDir m_home;
    QTemporaryDir m_program;
    const int m_year = QDate::currentDate().year();

    Run tool(const QStringList &args, const QString &program = QStringLiteral(VELMORA_TOOL),
             const std::function<void(QProcessEnvironment &)> &adjust = {}) {
        QProcessEnvironment env = velmora::test::toolEnvironment(m_home.path());
        // Dates on the command line in the day.month.year form.
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("ro_RO.UTF-8"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        if (adjust)
            adjust(env);
        return velmora::test::runTool(program, args, env);
    }

    QString path(const QString &name) const { return m_program.filePath(name); }

    static QByteArray bytesOf(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void initTestCase() {
        const Run run =
            tool({QStringLiteral("generate"), m_program.path(), QStringLiteral("--sheets"),
                  QStringLiteral("60"), QStringLiteral("--lines"), QStringLiteral("3")});
        QVERIFY2(run.code == 0, run.err.constData());
        QVERIFY(QFile::copy(QStringLiteral(VELMORA_TEMPLATE), path(QStringLiteral("Foaie.rtf"))));
    }

    void printSheet() {
        const Run run = tool({QStringLiteral("print-sheet"), m_program.path(), QStringLiteral("7"),
                              path(QStringLiteral("seven.rtf"))});
        QVERIFY2(run.code == 0, run.err.constData());
        const QByteArray rtf = bytesOf(path(QStringLiteral("seven.rtf")));
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(rtf.endsWith("}\r\n"));
        QVERIFY(rtf.contains("FOAIE DE PARCURS"));
        static const QRegularExpression placeholder(QStringLiteral("\\[[A-Z]+[0-9]*\\]"));
        QVERIFY(!QString::fromLatin1(rtf).contains(placeholder));
    }

    void printSheetFailures_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("no such sheet")
            << QStringList{QStringLiteral("print-sheet"), m_program.path(), QStringLiteral("999"),
                           path(QStringLiteral("x.rtf"))}
            << 1 << "Foaia de parcurs 999 nu exista.";
        QTest::newRow("arguments missing")
            << QStringList{QStringLiteral("print-sheet"), m_program.path()} << 2 << "expected";
    }

    void printSheetFailures() {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, message);
        const Run run = tool(args);
        QCOMPARE(run.code, code);
        QVERIFY2(QString::fromLocal8Bit(run.err).contains(message), run.err.constData());
        QVERIFY(!QFile::exists(path(QStringLiteral("x.rtf"))));
    }

    void printSheetWithoutTemplate() {
        QVERIFY(QFile::rename(path(QStringLiteral("Foaie.rtf")), path(QStringLiteral("F.rtf"))));
        const Run run = tool({QStringLiteral("print-sheet"), m_program.path(), QStringLiteral("1"),
                              path(QStringLiteral("x.rtf"))});
        QVERIFY(QFile::rename(path(QStringLiteral("F.rtf")), path(QStringLiteral("Foaie.rtf"))));
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains("Foaie.rtf nu exista sau nu poate fi citit !!"),
                 run.err.constData());
        QVERIFY(!QFile::exists(path(QStringLiteral("x.rtf"))));
    }

    void reportPdf() {
        const Run run = tool(
            {QStringLiteral("report"), m_program.path(), QStringLiteral("01.01.%1").arg(m_year),
             QStringLiteral("31.12.%1").arg(m_year), path(QStringLiteral("r.pdf"))});
        QVERIFY2(run.code == 0, run.err.constData());
        const QByteArray pdf = bytesOf(path(QStringLiteral("r.pdf")));
        QVERIFY(pdf.startsWith("%PDF"));
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
        QVERIFY(QString::fromLatin1(pdf).count(page) >= 1);
    }

    // Under cron there is no XDG_RUNTIME_DIR. Whatever the report needs it for, nothing is said
    // on stderr (a scheduled job mails what it says) and nothing is left behind.
    void reportIsQuietWithoutARuntimeDirectory() {
        QTemporaryDir temp;
        const Run run = tool(
            {QStringLiteral("report"), m_program.path(), QStringLiteral("01.01.%1").arg(m_year),
             QStringLiteral("31.12.%1").arg(m_year), path(QStringLiteral("cron.pdf"))},
            QStringLiteral(VELMORA_TOOL), [&](QProcessEnvironment &env) {
                env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
                env.insert(QStringLiteral("TMPDIR"), temp.path());
            });
        QCOMPARE(run.code, 0);
        QCOMPARE(run.err, QByteArray());
        QVERIFY(bytesOf(path(QStringLiteral("cron.pdf"))).startsWith("%PDF"));
        QCOMPARE(
            QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList());
    }

    // The report is painted by the tool's helper; a tool copied away from it says what is
    // missing instead of failing without a word.
    void reportWithoutItsHelper() {
        const QString alone = m_home.filePath(QStringLiteral("alone/velmora-tool"));
        QVERIFY(QDir().mkpath(QFileInfo(alone).absolutePath()));
        QVERIFY(QFile::copy(QStringLiteral(VELMORA_TOOL), alone));
        const Run run = tool(
            {QStringLiteral("report"), m_program.path(), QStringLiteral("01.01.%1").arg(m_year),
             QStringLiteral("31.12.%1").arg(m_year), path(QStringLiteral("z.pdf"))},
            alone);
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains("velmora-report") && run.err.contains("lipseste"),
                 run.err.constData());
        QVERIFY(!QFile::exists(path(QStringLiteral("z.pdf"))));
    }

    void reportFailures_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const QString from = QStringLiteral("02.01.%1").arg(m_year);
        const QString to = QStringLiteral("01.01.%1").arg(m_year);
        QTest::newRow("reversed period") << QStringList{QStringLiteral("report"), m_program.path(),
                                                        from, to, path(QStringLiteral("y.pdf"))}
                                         << 1 << "Perioada incorecta!";
        QTest::newRow("not a date")
            << QStringList{QStringLiteral("report"), m_program.path(), QStringLiteral("ieri"), to,
                           path(QStringLiteral("y.pdf"))}
            << 2 << "ieri";
        QTest::newRow("no tables") << QStringList{QStringLiteral("report"), m_home.path(), to, from,
                                                  path(QStringLiteral("y.pdf"))}
                                   << 1 << "Foi.dbf";
    }

    void reportFailures() {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, message);
        const Run run = tool(args);
        QCOMPARE(run.code, code);
        QVERIFY2(QString::fromLocal8Bit(run.err).contains(message), run.err.constData());
        QVERIFY(!QFile::exists(path(QStringLiteral("y.pdf"))));
    }
};

QTEST_GUILESS_MAIN(TestReportCommands)
#include "tst_reportcommands.moc"
