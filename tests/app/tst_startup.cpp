#include "apptestmain.h"

#include "app/appartwork.h"
#include "app/application.h"
#include "app/tform1.h"
#include "app/tform2.h"
#include "app/tform3.h"
#include "store/datastore.h"
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
        QSignalSpy finished(&application.form1(), &TForm1::startupFinished);
        QSignalSpy ended(&application, &Application::ended);
        QCOMPARE(application.form1().findChild<QTimer *>(QStringLiteral("Timer1"))->interval(),
                 1000);
        application.start();
        QVERIFY(application.form1().isVisible());
        QVERIFY(!application.form3().isVisible());
        QVERIFY(finished.wait(10000));

        QVERIFY(m_errors.isEmpty());
        QVERIFY(ended.isEmpty());
        QVERIFY(QFile::exists(programDir.filePath(QStringLiteral("Data/FOI.DBF"))));
        QVERIFY(QFile::exists(programDir.filePath(QStringLiteral("Data/Sosiri.DBF"))));
        // The counters file comes with the first identifier, not with the start.
        QVERIFY(!QFile::exists(programDir.filePath(QStringLiteral("Data/Velm.ini"))));

        QVERIFY(!application.form1().isVisible());
        QVERIFY(application.form3().isVisible());
        QCOMPARE(application.form1().ProgressValue().units(), 100 * 10000);
        QCOMPARE(application.form1().progressWidth(), 310);
        QCOMPARE(application.form1().DataDir(), programDir.path() + QStringLiteral("/Data"));

        const TForm3 &menu = application.form3();
        for (const char *name : {"MBut1", "MBut2", "MBut3"})
            QVERIFY2(!menu.findChild<QToolButton *>(QLatin1String(name))->isEnabled(), name);
        for (const char *name : {"MButAdm", "ToolButton3", "ModelF"})
            QVERIFY2(menu.findChild<QToolButton *>(QLatin1String(name))->isEnabled(), name);
        QCOMPARE(menu.windowTitle(), Application::title());
        QCOMPARE(menu.height(), TForm3::kHeight);
        QCOMPARE(application.form2().heading(), Application::title());
        QCOMPARE(Settings::read(QStringLiteral("CALE")), programDir.path());
        QCOMPARE(Settings::read(QStringLiteral("VER")), Application::title());
    }

    void theBarIsDrawnWithItsPatternTo310Pixels() {
        QTemporaryDir programDir;
        Application application(programDir.path());
        QSignalSpy finished(&application.form1(), &TForm1::startupFinished);
        application.start();
        QVERIFY(finished.wait(10000));

        const QImage splash = application.form1().grab().toImage();
        QCOMPARE(splash.size(), QSize(424, 201));
        const QImage pattern = AppArtwork::progressPattern().toImage();
        // The pattern repeats from the bar's left edge: its columns alternate.
        for (int x : {TForm1::kBarLeft, TForm1::kBarLeft + 1, TForm1::kBarLeft + 308,
                      TForm1::kBarLeft + 309}) {
            for (int y : {TForm1::kBarTop, TForm1::kBarTop + 9, TForm1::kBarBottom - 1}) {
                QCOMPARE(splash.pixel(x, y),
                         pattern.pixel((x - TForm1::kBarLeft) % 2, y - TForm1::kBarTop));
            }
        }
        // Past 310 pixels, and outside the band, the background shows.
        for (const QPoint at : {QPoint(TForm1::kBarLeft + 310, TForm1::kBarTop + 9),
                                QPoint(TForm1::kBarLeft - 1, TForm1::kBarTop + 9),
                                QPoint(TForm1::kBarLeft + 5, TForm1::kBarBottom)}) {
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
        QSignalSpy finished(&application.form1(), &TForm1::startupFinished);
        application.start();
        QVERIFY(finished.wait(10000));
        QVERIFY(m_errors.isEmpty());
        QCOMPARE(recordCount(foi), 1u);
        const ResultSet rows =
            SqlEngine::open(QStringLiteral("SELECT * FROM \"%1\" ORDER BY IDFOAIE")
                                .arg(application.form1().DataDir() + QStringLiteral("/Foi.dbf")));
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
        QSignalSpy failed(&application.form1(), &TForm1::startupFailed);
        QSignalSpy ended(&application, &Application::ended);
        application.start();
        QVERIFY(failed.wait(10000));
        QCOMPARE(m_errors.size(), 1);
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.first().first().toInt(), 1);
        QVERIFY(!application.form3().isVisible());
    }

    void aTableThatCannotBePackedStillLeadsToTheMenu() {
        QTemporaryDir programDir;
        QVERIFY(QDir(programDir.path()).mkdir(QStringLiteral("Data")));
        QFile damaged(programDir.filePath(QStringLiteral("Data/Foi.dbf")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("this is not a table");
        damaged.close();

        Application application(programDir.path());
        QSignalSpy finished(&application.form1(), &TForm1::startupFinished);
        QSignalSpy ended(&application, &Application::ended);
        application.start();
        QVERIFY2(finished.wait(10000), qPrintable(m_errors.join(u'|')));
        QCOMPARE(m_errors.size(), 1);
        QVERIFY(ended.isEmpty());
        QVERIFY(application.form3().isVisible());
        QVERIFY(!application.form1().isVisible());
        // The first pack failed, so the bar never moved and the second table stayed unpacked.
        QCOMPARE(application.form1().progressWidth(), 0);
        // The damaged table is left as it was.
        QVERIFY(damaged.open(QIODevice::ReadOnly));
        QCOMPARE(damaged.readAll(), QByteArray("this is not a table"));
    }
};

VELMORA_APP_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
