// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up, the main menu with its gate, the administration and the progress window.
#include "admin/admindialog.h"
#include "app/application.h"
#include "app/mainmenu.h"
#include "app/splashwindow.h"
#include "store/programcontext.h"
#include "store/settings.h"
#include "studio.h"
#include "ui/cylinderbar.h"
#include "ui/progresswindow.h"

#include <QCheckBox>
#include <QCursor>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

using namespace velmora;
using velmora::shots::Studio;

namespace {

QTimer *startTimer(Application &app) {
    return app.splash().findChild<QTimer *>(QStringLiteral("Timer1"));
}

// The program of the scene, started and through its start-up to the main menu.
std::unique_ptr<Application> startedToTheMenu(const Studio &studio) {
    auto app = std::make_unique<Application>(studio.programDir());
    QSignalSpy finished(&app->splash(), &SplashWindow::startupFinished);
    startTimer(*app)->setInterval(10);
    app->start();
    finished.wait(10000);
    return app;
}

QToolButton *menuButton(Application &app, const char *name) {
    return app.mainMenu().findChild<QToolButton *>(QLatin1String(name));
}

} // namespace

VELMORA_SCENE(splash) {
    Application app(studio.programDir());
    // Held before its start-up work, so that the splash can be seen as it first shows.
    startTimer(app)->setInterval(24 * 3600 * 1000);
    app.start();
    studio.save(app.splash(), QStringLiteral("splash.png"));

    // Half way: the first table packed.
    app.splash()
        .findChild<QLabel *>(QStringLiteral("Label5"))
        ->setText(QStringLiteral("Refac bazele de date ..."));
    app.splash().StepProgress(50);
    studio.save(app.splash(), QStringLiteral("splash-progress.png"));
}

VELMORA_SCENE(startup_error) {
    // A file named Data where the data directory should go: the start-up cannot go on.
    QFile blocker(studio.programDir() + QStringLiteral("/Data"));
    blocker.open(QIODevice::WriteOnly);
    blocker.close();
    Application app(studio.programDir());
    startTimer(app)->setInterval(10);
    QSignalSpy failed(&app.splash(), &SplashWindow::startupFailed);
    studio.saveModal(QStringLiteral("startup-error.png"), [&] {
        app.start();
        failed.wait(10000);
    });
}

VELMORA_SCENE(main_menu) {
    const auto app = startedToTheMenu(studio);
    studio.save(app->mainMenu(), QStringLiteral("main-menu.png"));

    // No password set: the gate warns, then opens access.
    studio.saveModal(QStringLiteral("gate-no-password.png"),
                     [&] { menuButton(*app, "MButAdm")->click(); });
    studio.save(app->mainMenu(), QStringLiteral("main-menu-access-open.png"));

    // The pointer over "Evidenta": the caption still reads on the hovered face.
    QToolButton *records = menuButton(*app, "MBut1");
    QCursor::setPos(records->mapToGlobal(records->rect().center()));
    studio.save(app->mainMenu(), QStringLiteral("main-menu-hover.png"));
    QCursor::setPos(app->mainMenu().frameGeometry().bottomRight() + QPoint(0, 200));
    Studio::settle();

    // With access open the same button leads to the administrator window.
    studio.saveModal(QStringLiteral("admin-access-open.png"),
                     [&] { menuButton(*app, "MButAdm")->click(); });
}

VELMORA_SCENE(password_prompt) {
    Settings::write(QStringLiteral("Erori"), AdminDialog::CodeazaStr(u"parola"));
    const auto app = startedToTheMenu(studio);
    studio.saveModal(
        QStringLiteral("password-prompt.png"),
        [&] {
            // The prompt is up once the timer fires inside its modal loop; type into it first.
            QTimer::singleShot(100, [] {
                if (QWidget *prompt = QApplication::activeModalWidget())
                    QTest::keyClicks(prompt->findChild<QLineEdit *>(QStringLiteral("Edit1")),
                                     QStringLiteral("secret"));
            });
            menuButton(*app, "MButAdm")->click();
        },
        [](QWidget &prompt) { prompt.close(); });
}

VELMORA_SCENE(progress) {
    const auto app = startedToTheMenu(studio);
    ProgressWindow &progress = app->progressWindow();
    progress.setDescr(QStringLiteral("Salvez starea actuala..."));
    progress.bar()->setMaximum(10);
    progress.bar()->setPosition(6);
    progress.Arata(&app->mainMenu());
    studio.save(progress, QStringLiteral("progress.png"));
    progress.Distruge(&app->mainMenu());
}
