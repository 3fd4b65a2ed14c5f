// SPDX-License-Identifier: GPL-3.0-or-later
#include "apptestmain.h"

#include "app/aboutdialog.h"
#include "app/appartwork.h"
#include "app/application.h"
#include "app/mainmenu.h"
#include "app/splashwindow.h"
#include "records/recordgrid.h"
#include "records/recordswindow.h"
#include "records/sheeteditor.h"
#include "store/datastore.h"
#include "store/programcontext.h"
#include "store/settings.h"
#include "store/sql/sqlengine.h"
#include "store/text/error.h"
#include "ui/errorbox.h"
#include "ui/messagedialog.h"
#include "ui/modalanswer.h"

#include <QComboBox>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
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
    // The splash of the program under test, and whether it was on screen as each error box
    // came up: it stays on top, so a box under it can be neither read nor answered.
    QPointer<SplashWindow> m_splash;
    QList<bool> m_splashShownAtError;

    static quint32 recordCount(const QString &path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 0;
        const QByteArray header = file.read(8);
        return qFromLittleEndian<quint32>(header.constData() + 4);
    }

    void recordErrors() {
        ErrorBox::setHandler([this](const QString &message) {
            m_errors.append(message);
            m_splashShownAtError.append(m_splash && m_splash->isVisible());
        });
    }

private Q_SLOTS:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
        recordErrors();
    }

    void init() {
        m_errors.clear();
        m_splashShownAtError.clear();
    }

    void firstStartInAnEmptyProgramDirectory() {
        QTemporaryDir programDir;
        Application application(programDir.path());
        QSignalSpy finished(&application.splash(), &SplashWindow::startupFinished);
        QSignalSpy ended(&application, &Application::ended);
        QCOMPARE(application.splash()
                     .findChild<QTimer *>(QLatin1String(SplashWindow::kStartTimer))
                     ->interval(),
                 1000);
        // Each window has what it shows from its constructor, before the start-up runs.
        QCOMPARE(application.aboutDialog().heading(), Application::title());
        QCOMPARE(application.mainMenu().windowTitle(), Application::title());
        application.start();
        QVERIFY(application.splash().isVisible());
        QVERIFY(!application.mainMenu().isVisible());
        QVERIFY(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 30000));

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
        for (const char *name :
             {MainMenu::kRecordsButton, MainMenu::kReportButton, MainMenu::kBackupButton})
            QVERIFY2(!menu.findChild<QToolButton *>(QLatin1String(name))->isEnabled(), name);
        for (const char *name :
             {MainMenu::kAdminButton, MainMenu::kAboutButton, MainMenu::kExitButton})
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
        QVERIFY(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 30000));

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
        QVERIFY(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 30000));
        QVERIFY(m_errors.isEmpty());
        QCOMPARE(recordCount(foi), 1u);
        const ResultSet rows =
            SqlEngine::open(QStringLiteral("SELECT * FROM \"%1\" ORDER BY IDFOAIE")
                                .arg(application.context().dataDir() + QStringLiteral("/Foi.dbf")));
        QCOMPARE(rows.rowCount(), 1);
        QCOMPARE(rows.text(0, rows.columnIndex(u"NRMAS")), QStringLiteral("B2"));
    }

    void aTableCutShortIsRepairedAndSaidOnce() {
        QTemporaryDir programDir;
        QString foi;
        {
            DataStore store(programDir.path());
            store.ensureDataDir();
            store.createTables();
            for (int id = 1; id <= 4; ++id)
                SqlEngine::run(
                    QStringLiteral("INSERT INTO \"%1\" (IDFOAIE, NRMAS) VALUES (%2, \"B\")")
                        .arg(store.sheetsTable())
                        .arg(id));
            foi = programDir.filePath(QStringLiteral("Data/FOI.DBF"));
        }
        QFile file(foi);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray header = file.read(12);
        const int headerLength = qFromLittleEndian<quint16>(header.constData() + 8);
        const int recordLength = qFromLittleEndian<quint16>(header.constData() + 10);
        // Two whole records and part of a third are left of the four the header counts.
        QVERIFY(file.resize(headerLength + 2 * recordLength + 7));
        file.close();

        for (int start = 1; start <= 2; ++start) {
            Application application(programDir.path());
            application.messageDialog().queueAnswer(MessageResult::Ok);
            QSignalSpy finished(&application.splash(), &SplashWindow::startupFinished);
            application.start();
            QVERIFY(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 30000));
            QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
            const QList<MessageRecord> &shown = application.messageDialog().shown();
            if (start == 1) {
                QCOMPARE(shown.size(), 1);
                QCOMPARE(shown[0].kind, MessageKind::Informatie);
                QVERIFY2(shown[0].text.contains(QStringLiteral("FOI.DBF")),
                         qPrintable(shown[0].text));
            } else {
                // Repaired for good: the next start has nothing to say.
                QVERIFY(shown.isEmpty());
            }
            QCOMPARE(recordCount(foi), 2u);
        }
    }

    void pickListsAreLoadedAtStartAndEvidentaOpensTheRecords() {
        QTemporaryDir programDir;
        {
            DataStore store(programDir.path());
            store.ensureDataDir();
            store.createTables();
            SqlEngine::run(QStringLiteral("INSERT INTO \"%1\" (IDFOAIE, NRMAS, SOFER1, LOCPARC) "
                                          "VALUES (1, \"B2\", \"ION\", \"DEPOU\")")
                               .arg(store.sheetsTable()));
        }
        Application application(programDir.path());
        QSignalSpy finished(&application.splash(), &SplashWindow::startupFinished);
        application.start();
        QVERIFY(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 30000));
        QVERIFY(m_errors.isEmpty());
        for (const char *name : {SheetEditor::kPlate, SheetEditor::kDriver1, SheetEditor::kDriver2,
                                 SheetEditor::kParking}) {
            auto *list = application.sheetEditor().findChild<QComboBox *>(QLatin1String(name));
            QVERIFY2(list && list->count() == 1, name);
        }

        application.context().setAccessGranted(true);
        RecordsWindow &records = application.recordsWindow();
        bool shown = false;
        const ModalAnswer answer = answerWhenShown(&records, [&] {
            shown = true;
            QCOMPARE(records.sheetGrid()->model()->rowCount(), 1);
            records.close();
        });
        application.mainMenu()
            .findChild<QToolButton *>(QLatin1String(MainMenu::kRecordsButton))
            ->click();
        VELMORA_VERIFY_MODAL(answer);
        QVERIFY(shown);
        QVERIFY(!records.isVisible());
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
        QVERIFY(QTest::qWaitFor([&] { return !failed.isEmpty(); }, 30000));
        QCOMPARE(m_errors.size(), 1);
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.first().first().toInt(), 1);
        QVERIFY(!application.mainMenu().isVisible());
    }

    void anErrorAtStartUpIsNotHiddenUnderTheSplash_data() {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<bool>("asDirectory");
        QTest::addColumn<bool>("programEnds");

        QTest::newRow("a file named Data") << QStringLiteral("Data") << false << true;
        QTest::newRow("FOI.DBF is a directory") << QStringLiteral("Data/FOI.DBF") << true << true;
        QTest::newRow("a damaged table") << QStringLiteral("Data/FOI.DBF") << false << false;
    }

    void anErrorAtStartUpIsNotHiddenUnderTheSplash() {
        QFETCH(QString, blocker);
        QFETCH(bool, asDirectory);
        QFETCH(bool, programEnds);
        QTemporaryDir programDir;
        QDir(programDir.path()).mkpath(QFileInfo(programDir.filePath(blocker)).path());
        if (asDirectory) {
            QVERIFY(QDir(programDir.path()).mkpath(blocker));
        } else {
            QFile file(programDir.filePath(blocker));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a table");
        }

        // What the store itself says of it: the window shows that, and adds nothing.
        QString reason;
        try {
            DataStore store(programDir.path());
            store.ensureDataDir();
            store.createTables();
            store.packTables();
        } catch (const Error &error) {
            reason = error.message();
        }
        QVERIFY(!reason.isEmpty());

        Application application(programDir.path());
        m_splash = &application.splash();
        QSignalSpy failed(&application.splash(), &SplashWindow::startupFailed);
        QSignalSpy finished(&application.splash(), &SplashWindow::startupFinished);
        application.start();
        QVERIFY(QTest::qWaitFor([&] { return !failed.isEmpty() || !finished.isEmpty(); }, 30000));
        QCOMPARE(failed.size(), programEnds ? 1 : 0);
        QCOMPARE(m_errors, QStringList{reason});
        QCOMPARE(m_splashShownAtError, QList<bool>{false});
        QCOMPARE(application.mainMenu().isVisible(), !programEnds);
    }

    void aReadOnlyProgramDirectoryIsReportedOverTheSplash() {
        QTemporaryDir programDir;
        QFile::setPermissions(programDir.path(), QFile::ReadOwner | QFile::ExeOwner);
        QFile probe(programDir.filePath(QStringLiteral("probe")));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(programDir.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("this user writes into a read-only directory all the same");
        }
        Application application(programDir.path());
        m_splash = &application.splash();
        QSignalSpy failed(&application.splash(), &SplashWindow::startupFailed);
        application.start();
        QVERIFY(QTest::qWaitFor([&] { return !failed.isEmpty(); }, 30000));
        QFile::setPermissions(programDir.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(m_errors.size(), 1);
        QCOMPARE(m_splashShownAtError, QList<bool>{false});
    }

    void theRealErrorBoxStaysOnTopOverTheStartUp() {
        QTemporaryDir programDir;
        QFile blocker(programDir.filePath(QStringLiteral("Data")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        ErrorBox::setHandler({});
        Application application(programDir.path());
        QSignalSpy failed(&application.splash(), &SplashWindow::startupFailed);
        bool boxSeen = false;
        bool splashShown = true;
        bool onTop = false;
        QString text;
        const ModalAnswer answer({ModalStep::of<QMessageBox>([&](QMessageBox &box) {
            boxSeen = true;
            splashShown = application.splash().isVisible();
            onTop = box.windowFlags() & Qt::WindowStaysOnTopHint;
            text = box.text();
            box.button(QMessageBox::Ok)->click();
        })});
        application.start();
        const bool ended = QTest::qWaitFor([&] { return !failed.isEmpty(); }, 30000);
        recordErrors();
        QVERIFY(ended);
        VELMORA_VERIFY_MODAL(answer);
        QVERIFY(boxSeen);
        QVERIFY(!splashShown);
        QVERIFY(onTop);
        QVERIFY(!text.isEmpty());
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
        QVERIFY2(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 30000),
                 qPrintable(m_errors.join(u'|')));
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
