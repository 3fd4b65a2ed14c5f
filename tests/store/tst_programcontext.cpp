// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/programcontext.h"
#include "store/settings.h"

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
        context.WriteSetting(QStringLiteral("Proba"), QStringLiteral("da"));
        QCOMPARE(context.ReadSetting(QStringLiteral("Proba")), QStringLiteral("da"));
        context.writeStartSettings();
        QCOMPARE(Settings::read(QStringLiteral("VER")), QStringLiteral("Velmora v.1.01"));
        QCOMPARE(Settings::read(QStringLiteral("CALE")), programDir.path());
        QCOMPARE(ProgramContext::JoinConditions(QStringLiteral("(A)(B)")),
                 QStringLiteral("(A) AND (B)"));
        QCOMPARE(ProgramContext::SquashSpaces(QStringLiteral("  a   b ")), QStringLiteral("a b"));
    }
};

QTEST_GUILESS_MAIN(TestProgramContext)
#include "tst_programcontext.moc"
