// SPDX-License-Identifier: GPL-3.0-or-later
#include "apptestmain.h"

#include "app/application.h"
#include "app/mainmenu.h"
#include "app/splashwindow.h"
#include "queuedevents.h"
#include "records/recordswindow.h"
#include "reports/perioddialog.h"
#include "reports/periodreport.h"
#include "store/programcontext.h"
#include "store/settings.h"
#include "store/sql/sqlengine.h"
#include "store/text/textform.h"
#include "ui/datefield.h"
#include "ui/errorbox.h"
#include "ui/fieldhint.h"
#include "ui/messagedialog.h"
#include "ui/modalanswer.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <memory>

using namespace velmora;

// "Raport" and F2 of the main menu: the period window, then the report's preview; and the
// records window's print button, which reaches the sheet printer.
class TestReportMenu : public QObject {
    Q_OBJECT

    QTemporaryDir m_settingsDir;
    std::unique_ptr<QTemporaryDir> m_programDir;
    std::unique_ptr<Application> m_app;
    QStringList m_errors;

    MainMenu &menu() { return m_app->mainMenu(); }
    PeriodDialog &period() { return m_app->periodDialog(); }

    // Closes the report's preview once it shows; counts its pages.
    static ModalStep closePreview(int &pages) {
        return ModalStep::of<QPrintPreviewDialog>([&pages](QPrintPreviewDialog &preview) {
            pages = preview.findChild<QPrintPreviewWidget *>()->pageCount();
            preview.reject();
        });
    }

private Q_SLOTS:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
        ErrorBox::setHandler([this](const QString &message) { m_errors.append(message); });
    }

    void init() {
        Settings::write(QStringLiteral("Erori"), QString());
        m_errors.clear();
        m_programDir = std::make_unique<QTemporaryDir>();
        m_app = std::make_unique<Application>(m_programDir->path());
        QSignalSpy finished(&m_app->splash(), &SplashWindow::startupFinished);
        m_app->splash()
            .findChild<QTimer *>(QLatin1String(SplashWindow::kStartTimer))
            ->setInterval(10);
        m_app->start();
        QVERIFY(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 30000));
        m_app->context().setAccessGranted(true);
    }

    void cleanup() {
        FieldHint::hide();
        m_app.reset();
        m_programDir.reset();
    }

    void raportChoosesThePeriodThenPreviews() {
        int pages = 0;
        PeriodDialog *dialog = &period();
        bool shown = false;
        const ModalAnswer answer(
            {ModalStep::window(dialog,
                               [dialog, &shown] {
                                   shown = true;
                                   QTest::mouseClick(dialog->findChild<QPushButton *>(
                                                         QLatin1String(PeriodDialog::kListButton)),
                                                     Qt::LeftButton);
                               }),
             closePreview(pages)});
        menu().findChild<QToolButton *>(QLatin1String(MainMenu::kReportButton))->click();
        VELMORA_VERIFY_MODAL(answer);
        QVERIFY(shown);
        // An empty period still gives its page, with the headers and a TOTAL of 0.
        QCOMPARE(pages, 1);
        QVERIFY(!m_app->periodReport().lx().isOpen());
        QVERIFY(m_errors.isEmpty());
    }

    void cancelledPeriodShowsNoReport() {
        int pages = 0;
        const ModalAnswer preview({closePreview(pages)});
        PeriodDialog *dialog = &period();
        const QDate start = dialog->from().addDays(-3);
        const ModalAnswer answer = answerWhenShown(dialog, [dialog, start] {
            dialog->findChild<DateField *>(QLatin1String(PeriodDialog::kStartDate))->setDate(start);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QTest::keyClick(&menu(), Qt::Key_F2);
        VELMORA_VERIFY_MODAL(answer);
        QVERIFY(deliverQueuedEvents());
        QVERIFY(!preview.ran());
        QCOMPARE(pages, 0);
        // The next showing has the dates as they were left.
        QCOMPARE(dialog->from(), start);
    }

    void printButtonReachesTheSheetPrinter() {
        // Without Foaie.rtf beside the program the printout cannot start: the message dialog
        // says so, and no viewer is asked to open anything.
        const QString data = m_app->context().dataDir();
        SqlEngine::run(QStringLiteral("INSERT INTO \"%1/Foi.dbf\"\n(IDFOAIE,DATAX,ORA,NRMAS,"
                                      "SOFER1,SOFER2,LOCPARC,TOTALVEN,TKM,CONSUM,PRETL,COST)\n"
                                      "VALUES (1,%2,\"07:00\",\"B1\",\"A\",\"\",\"P\",0,1,1,1,1)")
                           .arg(data, TextForm::quoted(TextForm::date(QDate(2007, 1, 1)))));
        m_app->messageDialog().queueAnswer(MessageResult::Ok);
        RecordsWindow *records = &m_app->recordsWindow();
        const ModalAnswer answer = answerWhenShown(records, [records] {
            records->findChild<QToolButton *>(QLatin1String(RecordsWindow::kPrintButton))->click();
            records->close();
        });
        QTest::keyClick(&menu(), Qt::Key_F1);
        VELMORA_VERIFY_MODAL(answer);
        QCOMPARE(m_app->messageDialog().shown().size(), 1);
        QCOMPARE(m_app->messageDialog().shown().first().title, QStringLiteral("Raport"));
        QVERIFY(m_app->messageDialog().shown().first().text.endsWith(
            QStringLiteral("Foaie.rtf nu exista sau nu poate fi citit !!")));
        QVERIFY(m_errors.isEmpty());
    }

    void refusedQueryEndsInTheErrorBox() {
        // Without the sheets table the engine refuses the query: no preview, the error box.
        QVERIFY(QFile::remove(m_app->context().dataDir() + QStringLiteral("/FOI.DBF")));
        int pages = 0;
        const ModalAnswer preview({closePreview(pages)});
        PeriodDialog *dialog = &period();
        const ModalAnswer answer = answerWhenShown(dialog, [dialog] {
            QTest::mouseClick(
                dialog->findChild<QPushButton *>(QLatin1String(PeriodDialog::kListButton)),
                Qt::LeftButton);
        });
        QTest::keyClick(&menu(), Qt::Key_F2);
        VELMORA_VERIFY_MODAL(answer);
        QVERIFY(deliverQueuedEvents());
        QVERIFY(!preview.ran());
        QCOMPARE(pages, 0);
        QCOMPARE(m_errors.size(), 1);
        QVERIFY(m_errors.first().contains(QStringLiteral("Foi.dbf")));
    }
};

VELMORA_APP_TEST_MAIN(TestReportMenu)
#include "tst_reportmenu.moc"
