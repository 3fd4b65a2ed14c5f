// SPDX-License-Identifier: GPL-3.0-or-later
#include "apptestmain.h"
#include "contrast.h"

#include "admin/admindialog.h"
#include "admin/passwordcodec.h"
#include "admin/passwordprompt.h"
#include "app/aboutdialog.h"
#include "app/application.h"
#include "app/mainmenu.h"
#include "app/splashwindow.h"
#include "backup/backupwindow.h"
#include "records/recordswindow.h"
#include "reports/perioddialog.h"
#include "store/programcontext.h"
#include "store/settings.h"
#include "store/text/textform.h"
#include "ui/errorbox.h"
#include "ui/messagedialog.h"
#include "ui/modalanswer.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <memory>

Q_DECLARE_METATYPE(velmora::MessageResult)

using namespace velmora;

class TestMainMenu : public QObject {
    Q_OBJECT

    QTemporaryDir m_settingsDir;
    std::unique_ptr<QTemporaryDir> m_programDir;
    std::unique_ptr<Application> m_app;

    MainMenu &menu() { return m_app->mainMenu(); }
    QToolButton *button(const char *name) {
        return menu().findChild<QToolButton *>(QLatin1String(name));
    }

    MessageDialog &messages() { return m_app->messageDialog(); }

    // The next message takes this answer without showing; what it asked is recorded.
    void answerMessage(MessageResult answer) { messages().queueAnswer(answer); }
    int messagesShown() { return int(messages().shown().size()); }
    const MessageRecord &lastMessage() { return messages().shown().last(); }

    // Answers the password prompt: types the entry and confirms, or cancels when null.
    [[nodiscard]] ModalAnswer answerPrompt(const QString &entry, bool confirm = true) {
        PasswordPrompt *prompt = &m_app->passwordPrompt();
        return answerWhenShown(prompt, [prompt, entry, confirm] {
            QTest::keyClicks(
                prompt->findChild<QLineEdit *>(QLatin1String(PasswordPrompt::kPasswordEdit)),
                entry);
            const char *name = confirm ? PasswordPrompt::kOkButton : PasswordPrompt::kCancelButton;
            QTest::mouseClick(prompt->findChild<QPushButton *>(QLatin1String(name)),
                              Qt::LeftButton);
        });
    }

    bool dataCommandsOpen() {
        const bool open = button(MainMenu::kRecordsButton)->isEnabled();
        for (const char *name : {MainMenu::kReportButton, MainMenu::kBackupButton}) {
            if (button(name)->isEnabled() != open)
                qFatal("data commands disagree");
        }
        return open;
    }

    bool padlockOpen() {
        const QImage shown = button(MainMenu::kAdminButton)->icon().pixmap(32).toImage();
        const QImage open =
            menu().findChild<QLabel *>(QLatin1String(MainMenu::kPadlockOpen))->pixmap().toImage();
        const QImage closed =
            menu().findChild<QLabel *>(QLatin1String(MainMenu::kPadlockClosed))->pixmap().toImage();
        if (shown != open && shown != closed)
            qFatal("the administration button shows neither padlock");
        return shown == open;
    }

private Q_SLOTS:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
        ErrorBox::setHandler([](const QString &message) { QFAIL(qPrintable(message)); });
    }

    void init() {
        Settings::write(QStringLiteral("Erori"), QString());
        m_programDir = std::make_unique<QTemporaryDir>();
        m_app = std::make_unique<Application>(m_programDir->path());
        QSignalSpy finished(&m_app->splash(), &SplashWindow::startupFinished);
        // The start-up's one-second pause is checked elsewhere.
        m_app->splash()
            .findChild<QTimer *>(QLatin1String(SplashWindow::kStartTimer))
            ->setInterval(10);
        m_app->start();
        QVERIFY(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 30000));
        QVERIFY(menu().isVisible());
    }

    void cleanup() {
        m_app.reset();
        m_programDir.reset();
    }

    void captionsReadInEveryState_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<double>("least");
        // Greyed text need not read as well as live text, but it must still read.
        for (const char *state : {"normal", "hover", "pressed", "focused"})
            QTest::newRow(state) << QString::fromLatin1(state) << 4.5;
        QTest::newRow("disabled") << QStringLiteral("disabled") << 3.0;
    }

    void captionsReadInEveryState() {
        QFETCH(QString, state);
        QFETCH(double, least);
        QToolButton *b =
            button(state == u"disabled" ? MainMenu::kRecordsButton : MainMenu::kAboutButton);
        QCOMPARE(b->isEnabled(), state != u"disabled");
        if (state == u"hover")
            b->setAttribute(Qt::WA_UnderMouse, true);
        else if (state == u"pressed")
            b->setDown(true);
        else if (state == u"focused")
            b->setFocus(Qt::TabFocusReason);
        // The strip around the button shows through it, so the strip is drawn with it.
        const QImage face = menu().grab(b->geometry()).toImage();
        b->setAttribute(Qt::WA_UnderMouse, false);
        b->setDown(false);
        // The caption's band, under the picture and inside the border.
        const QRect caption(4, 40, face.width() - 8, 16);
        const double seen = contrast::strongest(face, caption);
        QVERIFY2(seen >= least, qPrintable(QStringLiteral("%1 : 1").arg(seen)));
    }

    void menuLayout() {
        const char *captions[] = {"Evidenta", "Raport",    "Administrare",
                                  "Salvare",  "Despre...", "Iesire"};
        const char *hints[] = {"Evidenta foi de parcurs.", "Diverse rapoarte.",
                               "Administrare program.",    "Salvare sau restaurare date.",
                               "Date despre program.",     "Inchide programul."};
        const char *names[] = {MainMenu::kRecordsButton, MainMenu::kReportButton,
                               MainMenu::kAdminButton,   MainMenu::kBackupButton,
                               MainMenu::kAboutButton,   MainMenu::kExitButton};
        int left = -1;
        for (int i = 0; i < 6; ++i) {
            QToolButton *b = button(names[i]);
            QCOMPARE(b->text(), QLatin1String(captions[i]));
            QCOMPARE(b->toolTip(), QLatin1String(hints[i]));
            QCOMPARE(b->size(), QSize(90, 61));
            QVERIFY(b->x() > left);
            left = b->x();
        }
        QCOMPARE(menu().width(), menu().screen()->geometry().width());
        QCOMPARE(menu().y(), menu().screen()->geometry().y());
        QCOMPARE(menu().findChild<QLabel *>(QLatin1String(MainMenu::kDateLabel))->text(),
                 TextForm::date(QDate::currentDate()));
        QVERIFY(!padlockOpen());
    }

    void gateWithoutPasswordWarnsThenOpens() {
        answerMessage(MessageResult::Ok);
        button(MainMenu::kAdminButton)->click();
        QCOMPARE(messagesShown(), 1);
        QCOMPARE(lastMessage().kind, MessageKind::Atentie);
        QCOMPARE(lastMessage().buttons, MessageButtons(MessageButton::OK));
        QCOMPARE(lastMessage().title, QStringLiteral("Administrare"));
        QVERIFY(lastMessage().text.contains(QStringLiteral("ATENTIE!")));
        QVERIFY(lastMessage().text.contains(QStringLiteral("Nu aveti nici o parola!")));
        QVERIFY(dataCommandsOpen());
        QVERIFY(padlockOpen());
        QVERIFY(m_app->context().accessGranted());
        QVERIFY(!m_app->adminDialog().isVisible());

        // With access open, the next click shows the administrator window.
        bool adminShown = false;
        AdminDialog *admin = &m_app->adminDialog();
        const ModalAnswer answer = answerWhenShown(admin, [admin, &adminShown] {
            adminShown = true;
            QTest::keyClick(admin, Qt::Key_Escape);
        });
        button(MainMenu::kAdminButton)->click();
        VELMORA_VERIFY_MODAL(answer);
        QVERIFY(adminShown);
    }

    void gateWithPassword_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("refused");
        QTest::newRow("right") << "Parola7" << true << true << false;
        QTest::newRow("other case") << "parola7" << true << false << true;
        QTest::newRow("trailing blank") << "Parola7 " << true << false << true;
        QTest::newRow("empty") << "" << true << false << true;
        QTest::newRow("cancelled") << "Parola7" << false << false << false;
    }

    void gateWithPassword() {
        QFETCH(QString, entry);
        QFETCH(bool, confirm);
        QFETCH(bool, opens);
        QFETCH(bool, refused);
        Settings::write(QStringLiteral("Erori"), PasswordCodec::encode(u"Parola7"));
        const ModalAnswer prompt = answerPrompt(entry, confirm);
        if (refused)
            answerMessage(MessageResult::Ok);
        button(MainMenu::kAdminButton)->click();
        VELMORA_VERIFY_MODAL(prompt);
        QCOMPARE(messagesShown(), refused ? 1 : 0);
        QCOMPARE(dataCommandsOpen(), opens);
        QCOMPARE(padlockOpen(), opens);
        QCOMPARE(m_app->context().accessGranted(), opens);
        // Opening access does not show the administrator window.
        QVERIFY(!m_app->adminDialog().isVisible());
        if (refused) {
            QCOMPARE(lastMessage().kind, MessageKind::Eroare);
            QCOMPARE(lastMessage().title, QStringLiteral("Greseala!"));
            QCOMPARE(lastMessage().text, QStringLiteral("PAROLA INCORECTA !"));
        }
    }

    void untickingAccessClosesTheDataCommands() {
        answerMessage(MessageResult::Ok);
        button(MainMenu::kAdminButton)->click();
        QVERIFY(dataCommandsOpen());
        m_app->adminDialog()
            .findChild<QCheckBox *>(QLatin1String(AdminDialog::kAccessCheckBox))
            ->click();
        QVERIFY(!dataCommandsOpen());
        QVERIFY(!padlockOpen());
        QVERIFY(!m_app->context().accessGranted());
        // The gate runs anew: with no password it warns again.
        answerMessage(MessageResult::Ok);
        button(MainMenu::kAdminButton)->click();
        QCOMPARE(messagesShown(), 2);
        QVERIFY(lastMessage().text.contains(QStringLiteral("Nu aveti nici o parola!")));
        QVERIFY(dataCommandsOpen());
    }

    // The next start must work on the restored files: a restore ends the program at once,
    // without the menu's question.
    void restoreEndsTheProgram() {
        QSignalSpy ended(m_app.get(), &Application::ended);
        Q_EMIT m_app->backupWindow().restoreCompleted();
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.first().first().toInt(), 0);
        QCOMPARE(messagesShown(), 0);
    }

    void functionKeysOnlyWhileOpen() {
        QSignalSpy recordsAsked(&menu(), &MainMenu::recordsRequested);
        QSignalSpy reportAsked(&menu(), &MainMenu::reportRequested);
        QTest::keyClick(&menu(), Qt::Key_F1);
        QTest::keyClick(&menu(), Qt::Key_F2);
        QCOMPARE(recordsAsked.size(), 0);
        QCOMPARE(reportAsked.size(), 0);

        answerMessage(MessageResult::Ok);
        button(MainMenu::kAdminButton)->click();
        // F1 opens the records window, which waits until it is closed.
        bool recordsShown = false;
        const ModalAnswer answer = answerWhenShown(&m_app->recordsWindow(), [&] {
            recordsShown = true;
            m_app->recordsWindow().close();
        });
        QTest::keyClick(&menu(), Qt::Key_F1);
        VELMORA_VERIFY_MODAL(answer);
        QCOMPARE(recordsAsked.size(), 1);
        QVERIFY(recordsShown);
        QCOMPARE(reportAsked.size(), 0);
        // "Raport" opens the period window; Esc closes it again.
        PeriodDialog *period = &m_app->periodDialog();
        const ModalAnswer answer2 =
            answerWhenShown(period, [period] { QTest::keyClick(period, Qt::Key_Escape); });
        QTest::keyClick(&menu(), Qt::Key_F2);
        VELMORA_VERIFY_MODAL(answer2);
        QCOMPARE(reportAsked.size(), 1);
        QSignalSpy backupAsked(&menu(), &MainMenu::backupRequested);
        BackupWindow &backup = m_app->backupWindow();
        bool backupShown = false;
        const ModalAnswer answer3 = answerWhenShown(&backup, [&] {
            backupShown = true;
            backup.close();
        });
        button(MainMenu::kBackupButton)->click();
        VELMORA_VERIFY_MODAL(answer3);
        QCOMPARE(backupAsked.size(), 1);
        QVERIFY(backupShown);
    }

    void closingAsksFirst_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<MessageResult>("answer");
        QTest::addColumn<bool>("ends");
        for (const char *way : {"Esc", "F12", "Iesire", "close box"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, DA").arg(QLatin1String(way))))
                << QString::fromLatin1(way) << MessageResult::Yes << true;
            QTest::newRow(qPrintable(QStringLiteral("%1, NU").arg(QLatin1String(way))))
                << QString::fromLatin1(way) << MessageResult::No << false;
        }
        QTest::newRow("Esc on the question") << "Esc" << MessageResult::Cancel << false;
    }

    void closingAsksFirst() {
        QFETCH(QString, way);
        QFETCH(MessageResult, answer);
        QFETCH(bool, ends);
        QSignalSpy ended(m_app.get(), &Application::ended);
        answerMessage(answer);
        if (way == QStringLiteral("Esc"))
            QTest::keyClick(&menu(), Qt::Key_Escape);
        else if (way == QStringLiteral("F12"))
            QTest::keyClick(&menu(), Qt::Key_F12);
        else if (way == QStringLiteral("Iesire"))
            button(MainMenu::kExitButton)->click();
        else
            menu().close();
        QCOMPARE(messagesShown(), 1);
        QCOMPARE(lastMessage().kind, MessageKind::Confirmare);
        QCOMPARE(lastMessage().buttons, MessageButton::DA | MessageButton::NU);
        QCOMPARE(lastMessage().title, QStringLiteral("Inchidere program"));
        QCOMPARE(lastMessage().text, QStringLiteral("Vreti sa inchideti programul?"));
        QCOMPARE(ended.size(), ends ? 1 : 0);
        if (ends)
            QCOMPARE(ended.first().first().toInt(), 0);
        QCOMPARE(menu().isVisible(), !ends);
    }

    void aboutWindow() {
        AboutDialog *about = &m_app->aboutDialog();
        bool seen = false;
        const ModalAnswer answer = answerWhenShown(about, [about, &seen] {
            seen = true;
            QCOMPARE(about->windowTitle(), QStringLiteral("Despre program"));
            QCOMPARE(about->size(), QSize(434, 239));
            QCOMPARE(about->findChild<QLabel *>(QLatin1String(AboutDialog::kHeadingLabel))->text(),
                     Application::title());
            QTest::mouseClick(
                about->findChild<QPushButton *>(QLatin1String(AboutDialog::kContinueButton)),
                Qt::LeftButton);
        });
        button(MainMenu::kAboutButton)->click();
        VELMORA_VERIFY_MODAL(answer);
        QVERIFY(seen);
        QVERIFY(!about->isVisible());
    }

    void activationBringsTheMenuBack() {
        menu().showMinimized();
        QTRY_VERIFY(menu().isMinimized());
        m_app->activate();
        QTRY_VERIFY(!menu().isMinimized());
        QVERIFY(menu().isVisible());
    }
};

VELMORA_APP_TEST_MAIN(TestMainMenu)
#include "tst_mainmenu.moc"
