// SPDX-License-Identifier: GPL-3.0-or-later
#include "apptestmain.h"

#include "app/application.h"
#include "app/mainmenu.h"
#include "app/splashwindow.h"
#include "backup/backupwindow.h"
#include "reports/perioddialog.h"
#include "store/programcontext.h"
#include "store/settings.h"
#include "ui/askedtexts.h"
#include "ui/dialoglanguage.h"
#include "ui/errorbox.h"
#include "ui/flatbutton.h"
#include "ui/modalanswer.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <memory>

using namespace velmora;

// The program under a Romanian locale (this test runs with LC_ALL=ro_RO.UTF-8): the period
// report's preview with its toolbar, its page setup and print dialogs, and the backup's file
// dialog, all of them Qt's own, speak Romanian, and no text in them is left in English.
class TestRomanianDialogs : public QObject {
    Q_OBJECT

    QTemporaryDir m_settingsDir;
    std::unique_ptr<QTemporaryDir> m_programDir;
    std::unique_ptr<Application> m_app;
    std::unique_ptr<QTranslator> m_romanian;
    QStringList m_errors;

    MainMenu &menu() { return m_app->mainMenu(); }

    // The texts a window shows: labels, buttons, group titles, check boxes, combo entries.
    static QStringList textsOf(const QWidget &window) {
        QStringList texts;
        for (const QLabel *label : window.findChildren<QLabel *>())
            texts.append(label->text());
        for (const QAbstractButton *button : window.findChildren<QAbstractButton *>())
            texts.append(button->text());
        for (const QGroupBox *group : window.findChildren<QGroupBox *>())
            texts.append(group->title());
        for (const QComboBox *combo : window.findChildren<QComboBox *>()) {
            for (int i = 0; i < combo->count(); ++i)
                texts.append(combo->itemText(i));
        }
        return texts;
    }

    // Opens the preview the way a clerk does: F2, then Enter twice.
    void openPreview(const std::function<void(QPrintPreviewDialog &)> &look) {
        PeriodDialog *dialog = &m_app->periodDialog();
        const ModalAnswer answer(
            {ModalStep::window(dialog,
                               [dialog] {
                                   // Enter in the first date moves to the
                                   // second; Enter there lists.
                                   for (int i = 0; i < 2 && dialog->isVisible(); ++i)
                                       QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
                               }),
             ModalStep::of<QPrintPreviewDialog>([&look](QPrintPreviewDialog &preview) {
                 look(preview);
                 preview.reject();
             })});
        QTest::keyClick(&menu(), Qt::Key_F2);
        VELMORA_VERIFY_MODAL(answer);
    }

    static QAction *actionNamed(QPrintPreviewDialog &preview, const QString &text) {
        for (QAction *action : preview.findChild<QToolBar *>()->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }

private Q_SLOTS:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
        ErrorBox::setHandler([this](const QString &message) { m_errors.append(message); });
        m_romanian = DialogLanguage::forLocale(QLocale(QLocale::Romanian, QLocale::Romania));
        QVERIFY(m_romanian);
    }

    void init() {
        Settings::write(QStringLiteral("Erori"), QString());
        m_errors.clear();
        m_programDir = std::make_unique<QTemporaryDir>();
        m_app = std::make_unique<Application>(m_programDir->path());
        QSignalSpy finished(&m_app->splash(), &SplashWindow::startupFinished);
        QSignalSpy failed(&m_app->splash(), &SplashWindow::startupFailed);
        m_app->splash()
            .findChild<QTimer *>(QLatin1String(SplashWindow::kStartTimer))
            ->setInterval(10);
        m_app->start();
        // Generous: on a machine busy with other work a start-up has taken over ten seconds.
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() + failed.count() > 0, 30000);
        QVERIFY2(finished.count() == 1, qPrintable(m_errors.join(u'\n')));
        m_app->context().setAccessGranted(true);
    }

    void cleanup() {
        m_app.reset();
        m_programDir.reset();
    }

    // The program itself found and loaded the translation at start, from the locale alone.
    void theProgramLoadsItUnderARomanianLocale() {
        QCOMPARE(QLocale::system().language(), QLocale::Romanian);
        QCOMPARE(QCoreApplication::translate("QPrintPreviewDialog", "Next page"),
                 QStringLiteral("Pagina urmatoare"));
        QVERIFY(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
    }

    void previewToolbar() {
        const AskedTexts asked;
        QStringList tips;
        openPreview([&tips](QPrintPreviewDialog &preview) {
            for (const QAction *action : preview.findChild<QToolBar *>()->actions()) {
                if (!action->isSeparator() && !action->text().isEmpty())
                    tips.append(action->toolTip());
            }
        });
        for (const char *romanian :
             {"Pagina urmatoare", "Pagina precedenta", "Prima pagina", "Ultima pagina",
              "Latimea paginii", "Pagina intreaga", "Mareste", "Micsoreaza", "Portret", "Peisaj",
              "O singura pagina", "Doua pagini alaturate", "Toate paginile", "Tipareste",
              "Configurare pagina"})
            QVERIFY2(tips.contains(QLatin1String(romanian)), qPrintable(tips.join(u'|')));
        QCOMPARE(asked.untranslatedBy(*m_romanian), QStringList());
        QVERIFY(m_errors.isEmpty());
    }

    // "Configurare pagina" and "Tipareste" of the toolbar open Qt's dialogs, in Romanian too.
    void pageSetupAndPrintDialogs() {
        const AskedTexts asked;
        QStringList pageSetup;
        QStringList print;
        openPreview([&](QPrintPreviewDialog &preview) {
            QAction *setup = actionNamed(preview, QStringLiteral("Configurare pagina"));
            QAction *printAction = actionNamed(preview, QStringLiteral("Tipareste"));
            QVERIFY(setup && printAction);
            const ModalAnswer setupShown({ModalStep::over(&preview, [&](QWidget &dialog) {
                pageSetup = QStringList{dialog.windowTitle()} + textsOf(dialog);
                QTest::keyClick(&dialog, Qt::Key_Escape);
            })});
            setup->trigger();
            VELMORA_VERIFY_MODAL(setupShown);
            const ModalAnswer printShown({ModalStep::of<QPrintDialog>([&](QPrintDialog &dialog) {
                print = QStringList{dialog.windowTitle()} + textsOf(dialog);
                QTest::keyClick(&dialog, Qt::Key_Escape);
            })});
            printAction->trigger();
            VELMORA_VERIFY_MODAL(printShown);
        });
        for (const char *romanian : {"Configurare pagina", "Hartie", "Dimensiunea paginii:",
                                     "Orientare", "Portret", "Peisaj", "Margini", "Renunt"})
            QVERIFY2(pageSetup.contains(QLatin1String(romanian)), qPrintable(pageSetup.join(u'|')));
        for (const char *romanian : {"Tiparire", "Imprimanta", "&Nume:", "&Tipareste", "Renunt"})
            QVERIFY2(print.contains(QLatin1String(romanian)), qPrintable(print.join(u'|')));
        QCOMPARE(asked.untranslatedBy(*m_romanian), QStringList());
    }

    // The backup window's save dialog: Qt's own file dialog, never the desktop's, in Romanian.
    void fileDialog() {
        const AskedTexts asked;
        BackupWindow *backup = &m_app->backupWindow();
        auto *save = backup->findChild<QFileDialog *>(QLatin1String(BackupWindow::kSaveDialog));
        QVERIFY(save);
        QStringList texts;
        QStringList tips;
        // The backup window's button opens the save dialog while the window waits.
        const ModalAnswer answer(
            {ModalStep::window(backup,
                               [backup] {
                                   QTest::mouseClick(backup->findChild<FlatButton *>(
                                                         QLatin1String(BackupWindow::kSaveButton)),
                                                     Qt::LeftButton);
                                   if (backup->isVisible())
                                       QTest::keyClick(backup, Qt::Key_Escape);
                               }),
             ModalStep::window(save, [&, save] {
                 texts = textsOf(*save);
                 for (const QToolButton *button : save->findChildren<QToolButton *>())
                     tips.append(button->toolTip());
                 QTest::keyClick(save, Qt::Key_Escape);
             })});
        QTest::mouseClick(menu().findChild<QToolButton *>(QLatin1String(MainMenu::kBackupButton)),
                          Qt::LeftButton);
        VELMORA_VERIFY_MODAL(answer);
        for (const char *romanian :
             {"Cauta in:", "&Nume fisier:", "Fisiere de tipul:", "Salveaza", "Renunt"})
            QVERIFY2(texts.contains(QLatin1String(romanian)), qPrintable(texts.join(u'|')));
        for (const char *romanian :
             {"Inapoi", "Inainte", "Directorul parinte", "Director nou", "Lista", "Detalii"})
            QVERIFY2(tips.contains(QLatin1String(romanian)), qPrintable(tips.join(u'|')));
        QCOMPARE(asked.untranslatedBy(*m_romanian), QStringList());
        QVERIFY(m_errors.isEmpty());
    }
};

VELMORA_APP_TEST_MAIN(TestRomanianDialogs)
#include "tst_romaniandialogs.moc"
