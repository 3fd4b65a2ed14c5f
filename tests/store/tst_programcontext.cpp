// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/programcontext.h"
#include "store/settings.h"
#include "store/sql/sqlengine.h"

#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

class TestProgramContext : public QObject {
    Q_OBJECT

    QTemporaryDir m_settingsDir;

private Q_SLOTS:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    }

    void directoriesAndTitle() {
        QTemporaryDir programDir;
        ProgramContext context(programDir.path(), QStringLiteral("Velmora v.1.01"));
        QCOMPARE(context.programDir(), programDir.path());
        QCOMPARE(context.dataDir(), programDir.path() + QStringLiteral("/Data"));
        QCOMPARE(context.title(), QStringLiteral("Velmora v.1.01"));
    }

    void accessFlagTellsOnlyChanges() {
        QTemporaryDir programDir;
        ProgramContext context(programDir.path(), QString());
        QSignalSpy changes(&context, &ProgramContext::accessChanged);
        QVERIFY(!context.accessGranted());
        context.setAccessGranted(false);
        QCOMPARE(changes.size(), 0);
        context.setAccessGranted(true);
        context.setAccessGranted(true);
        QCOMPARE(changes.size(), 1);
        QVERIFY(context.accessGranted());
        context.setAccessGranted(false);
        QCOMPARE(changes.size(), 2);
        QCOMPARE(changes.at(1).at(0).toBool(), false);
    }

    void countersSettingsAndTables() {
        QTemporaryDir programDir;
        ProgramContext context(programDir.path(), QStringLiteral("Velmora v.1.01"));
        context.store().ensureDataDir();
        context.CreateTables();
        QVERIFY(QFile::exists(programDir.filePath(QStringLiteral("Data/FOI.DBF"))));
        QCOMPARE(context.NextId(Counters::sheets()), QStringLiteral("1"));
        QCOMPARE(context.NextId(Counters::sheets()), QStringLiteral("2"));
        context.IniWrite(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
        QCOMPARE(context.IniRead(QStringLiteral("S"), QStringLiteral("K")), QStringLiteral("v"));
        Settings::write(QStringLiteral("Proba"), QStringLiteral("da"));
        QCOMPARE(context.ReadSetting(QStringLiteral("Proba")), QStringLiteral("da"));
        context.writeStartSettings();
        QCOMPARE(Settings::read(QStringLiteral("VER")), QStringLiteral("Velmora v.1.01"));
        QCOMPARE(Settings::read(QStringLiteral("CALE")), programDir.path());
    }

    // A table cut short is read as far as it is whole; the pack repairs it and says so, and
    // the context passes that on to the start-up instead of dropping it.
    void packPassesOnWhatItRepaired() {
        QTemporaryDir programDir;
        ProgramContext context(programDir.path(), QString());
        context.store().ensureDataDir();
        context.CreateTables();
        const QString table = SqlEngine::findTable(context.store().sheetsTable());
        for (int id = 1; id <= 2; ++id)
            SqlEngine::run(
                QStringLiteral("INSERT INTO \"%1\" (IDFOAIE) VALUES (%2)").arg(table).arg(id));
        QFile file(table);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(file.size() - 10));
        file.close();

        QList<int> steps;
        const QStringList repairs = context.packTables([&steps](int step) { steps << step; });
        QCOMPARE(steps, QList<int>({50, 50}));
        QCOMPARE(repairs.size(), 1);
        QVERIFY2(repairs[0].contains(QStringLiteral("FOI.DBF")), qPrintable(repairs[0]));
        QVERIFY(context.packTables().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestProgramContext)
#include "tst_programcontext.moc"
