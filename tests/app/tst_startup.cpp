#include "apptestmain.h"

#include "app/aboutdialog.h"
#include "app/appartwork.h"
#include "app/application.h"
#include "app/mainmenu.h"
#include "app/splashwindow.h"
#include "store/datastore.h"
#include "store/programcontext.h"
#include "store/settings.h"
#include "store/sql/sqlengine.h"
#include "ui/errorbox.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtEndian>

using namespace velmora;

class TestStartup : public QObject {
    Q_OBJECT

    QTemporaryDir m_settingsDir;
    QStringList m_errors;

    static quint32 recordCount(const QString &path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 0;
        const QByteArray header = file.read(8);
        return qFromLittleEndian<quint32>(header.constData() + 4);
    }

private Q_SLOTS:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
        ErrorBox::setHandler([this](const QString &message) { m_errors.append(message); });
    }

    void init() { m_errors.clear(); }

    void firstStartInAnEmptyProgramDirectory() {
        QTemporaryDir programDir;
        Application application(programDir.path());
        QSignalSpy finished(&application.splash(), &SplashWindow::startupFinished);
        QSignalSpy ended(&application, &Application::ended);
        QCOMPARE(application.splash().findChild<QTimer *>(QStringLiteral("Timer1"))->interval(),
                 1000);
        // Each window has what it shows from its constructor, before the start-up runs.
        QCOMPARE(application.aboutDialog().heading(), Application::title());
        QCOMPARE(application.mainMenu().windowTitle(), Application::title());
        application.start();
        QVERIFY(application.splash().isVisible());
        QVERIFY(!application.mainMenu().isVisible());
        QVERIFY(finished.wait(10000));

        QVERIFY(m_errors.isEmpty());
        QVERIFY(ended.isEmpty());
        QVERIFY(QFile::exists(programDir.filePath(QStringLiteral("Data/FOI.DBF"))));
        QVERIFY(QFile::exists(programDir.filePath(QStringLiteral("Data/Sosiri.DBF"))));
        // The counters file comes with the first identifier, not with the start.
        QVERIFY(!QFile::exists(programDir.filePath(QStringLiteral("Data/Velm.ini"))));

        QVERIFY(!application.splash().isVisible());
        QVERIFY(application.mainMenu().isVisible());
        QCOMPARE(application.splash().ProgressValue().units(), 100 * 10000);
        QCOMPARE(application.splash().progressWidth(), 310);
        QCOMPARE(application.context().dataDir(), programDir.path() + QStringLiteral("/Data"));

        const MainMenu &menu = application.mainMenu();
        for (const char *name : {"MBut1", "MBut2", "MBut3"})
            QVERIFY2(!menu.findChild<QToolButton *>(QLatin1String(name))->isEnabled(), name);
        for (const char *name : {"MButAdm", "ToolButton3", "ModelF"})
            QVERIFY2(menu.findChild<QToolButton *>(QLatin1String(name))->isEnabled(), name);
        QCOMPARE(menu.windowTitle(), Application::title());
        QCOMPARE(menu.height(), MainMenu::kHeight);
        QCOMPARE(application.aboutDialog().heading(), Application::title());
        QCOMPARE(Settings::read(QStringLiteral("CALE")), programDir.path());
        QCOMPARE(Settings::read(QStringLiteral("VER")), Application::title());
    }

    void theBarIsDrawnWithItsPatternTo310Pixels() {
        QTemporaryDir programDir;
        Application application(programDir.path());
        QSignalSpy finished(&application.splash(), &SplashWindow::startupFinished);
        application.start();
        QVERIFY(finished.wait(10000));

        const QImage splash = application.splash().grab().toImage();
        QCOMPARE(splash.size(), QSize(424, 201));
        const QImage pattern = AppArtwork::progressPattern().toImage();
        // The pattern repeats from the bar's left edge: its columns alternate.
        for (int x : {SplashWindow::kBarLeft, SplashWindow::kBarLeft + 1,
                      SplashWindow::kBarLeft + 308, SplashWindow::kBarLeft + 309}) {
            for (int y :
                 {SplashWindow::kBarTop, SplashWindow::kBarTop + 9, SplashWindow::kBarBottom - 1}) {
                QCOMPARE(splash.pixel(x, y), pattern.pixel((x - SplashWindow::kBarLeft) % 2,
                                                           y - SplashWindow::kBarTop));
            }
        }
        // Past 310 pixels, and outside the band, the background shows.
        for (const QPoint at : {QPoint(SplashWindow::kBarLeft + 310, SplashWindow::kBarTop + 9),
                                QPoint(SplashWindow::kBarLeft - 1, SplashWindow::kBarTop + 9),
                                QPoint(SplashWindow::kBarLeft + 5, SplashWindow::kBarBottom)}) {
            QVERIFY(splash.pixel(at) != pattern.pixel(0, 9));
            QVERIFY(splash.pixel(at) != pattern.pixel(1, 9));
        }
    }

    void existingTablesArePackedNotRecreated() {
        QTemporaryDir programDir;
        {
            DataStore store(programDir.path());
            store.ensureDataDir();
            store.createTables();
            SqlEngine::run(QStringLiteral("INSERT INTO \"%1\" (IDFOAIE, NRMAS) VALUES (1, \"B1\")")
                               .arg(store.sheetsTable()));
            SqlEngine::run(QStringLiteral("INSERT INTO \"%1\" (IDFOAIE, NRMAS) VALUES (2, \"B2\")")
                               .arg(store.sheetsTable()));
            SqlEngine::run(
                QStringLiteral("DELETE FROM \"%1\" WHERE IDFOAIE=1").arg(store.sheetsTable()));
        }
        const QString foi = programDir.filePath(QStringLiteral("Data/FOI.DBF"));
        QCOMPARE(recordCount(foi), 2u);

        Application application(programDir.path());
        QSignalSpy finished(&application.splash(), &SplashWindow::startupFinished);
        application.start();
        QVERIFY(finished.wait(10000));
        QVERIFY(m_errors.isEmpty());
        QCOMPARE(recordCount(foi), 1u);
        const ResultSet rows =
            SqlEngine::open(QStringLiteral("SELECT * FROM \"%1\" ORDER BY IDFOAIE")
                                .arg(application.context().dataDir() + QStringLiteral("/Foi.dbf")));
        QCOMPARE(rows.rowCount(), 1);
        QCOMPARE(rows.text(0, rows.columnIndex(u"NRMAS")), QStringLiteral("B2"));
    }

    void aDataDirectoryThatCannotBeMadeEndsTheProgram() {
        QTemporaryDir programDir;
        // A file where the directory should go.
        QFile blocker(programDir.filePath(QStringLiteral("Data")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        Application application(programDir.path());
        QSignalSpy failed(&application.splash(), &SplashWindow::startupFailed);
        QSignalSpy ended(&application, &Application::ended);
        application.start();
        QVERIFY(failed.wait(10000));
        QCOMPARE(m_errors.size(), 1);
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.first().first().toInt(), 1);
        QVERIFY(!application.mainMenu().isVisible());
    }

    void aTableThatCannotBePackedStillLeadsToTheMenu() {
        QTemporaryDir programDir;
        QVERIFY(QDir(programDir.path()).mkdir(QStringLiteral("Data")));
        QFile damaged(programDir.filePath(QStringLiteral("Data/Foi.dbf")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("this is not a table");
        damaged.close();

        Application application(programDir.path());
        QSignalSpy finished(&application.splash(), &SplashWindow::startupFinished);
        QSignalSpy ended(&application, &Application::ended);
        application.start();
        QVERIFY2(finished.wait(10000), qPrintable(m_errors.join(u'|')));
        QCOMPARE(m_errors.size(), 1);
        QVERIFY(ended.isEmpty());
        QVERIFY(application.mainMenu().isVisible());
        QVERIFY(!application.splash().isVisible());
        // The first pack failed, so the bar never moved and the second table stayed unpacked.
        QCOMPARE(application.splash().progressWidth(), 0);
        // The damaged table is left as it was.
        QVERIFY(damaged.open(QIODevice::ReadOnly));
        QCOMPARE(damaged.readAll(), QByteArray("this is not a table"));
    }
};

VELMORA_APP_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
