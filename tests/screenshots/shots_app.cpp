// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up, the main menu with its gate, the administration, the progress window and
// the About window.
#include "admin/admindialog.h"
#include "app/application.h"
#include "app/mainmenu.h"
#include "app/splashwindow.h"
#include "sceneprogram.h"
#include "store/programcontext.h"
#include "store/settings.h"
#include "studio.h"
#include "ui/cylinderbar.h"
#include "ui/progresswindow.h"

#include <QAbstractButton>
#include <QApplication>
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
using velmora::shots::SceneProgram;
using velmora::shots::Studio;

namespace {

QTimer *startTimer(Application &app) {
    return app.splash().findChild<QTimer *>(QStringLiteral("Timer1"));
}

} // namespace

VELMORA_SCENE(splash, "splash.png", "splash-progress.png") {
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

VELMORA_SCENE(startup_error, "startup-error.png") {
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

VELMORA_SCENE(main_menu, "main-menu.png", "gate-no-password.png", "main-menu-access-open.png",
              "main-menu-hover.png", "admin-access-open.png") {
    // The company whose name the printouts carry, as the administrator window shows it.
    Settings::write(Settings::companyKey(),
                    QStringLiteral("Transporturi \u0218tef\u0103nescu & \u021Au\u021Buianu SRL"));
    SceneProgram program(studio);
    MainMenu &menu = program.app().mainMenu();
    QAbstractButton *gate = program.menuButton("MButAdm");
    QAbstractButton *records = program.menuButton("MBut1");
    if (!gate || !records)
        return;
    studio.save(menu, QStringLiteral("main-menu.png"));

    // No password set: the gate warns, then opens access.
    studio.saveModal(QStringLiteral("gate-no-password.png"), [gate] { gate->click(); });
    studio.save(menu, QStringLiteral("main-menu-access-open.png"));

    // The pointer over "Evidenta": the caption still reads on the hovered face.
    QCursor::setPos(records->mapToGlobal(records->rect().center()));
    studio.save(menu, QStringLiteral("main-menu-hover.png"));
    QCursor::setPos(menu.frameGeometry().bottomRight() + QPoint(0, 200));
    Studio::settle();

    // With access open the same button leads to the administrator window.
    studio.saveModal(QStringLiteral("admin-access-open.png"), [gate] { gate->click(); });
}

VELMORA_SCENE(password_prompt, "password-prompt.png") {
    Settings::write(QStringLiteral("Erori"), AdminDialog::CodeazaStr(u"parola"));
    SceneProgram program(studio);
    QAbstractButton *gate = program.menuButton("MButAdm");
    if (!gate)
        return;
    studio.saveModal(
        QStringLiteral("password-prompt.png"),
        [gate] {
            // The prompt is up once the timer fires inside its modal loop; type into it first.
            QTimer::singleShot(100, [] {
                if (QWidget *prompt = QApplication::activeModalWidget())
                    QTest::keyClicks(prompt->findChild<QLineEdit *>(QStringLiteral("Edit1")),
                                     QStringLiteral("secret"));
            });
            gate->click();
        },
        [](QWidget &prompt) { prompt.close(); });
}

VELMORA_SCENE(progress, "progress.png") {
    SceneProgram program(studio);
    Application &app = program.app();
    ProgressWindow &progress = app.progressWindow();
    progress.setDescr(QStringLiteral("Salvez starea actuala..."));
    progress.bar()->setMaximum(10);
    progress.bar()->setPosition(6);
    progress.Arata(&app.mainMenu());
    studio.save(progress, QStringLiteral("progress.png"));
    progress.Distruge(&app.mainMenu());
}

VELMORA_SCENE(about, "about.png") {
    SceneProgram program(studio);
    if (QAbstractButton *about = program.menuButton("ToolButton3"))
        studio.saveModal(QStringLiteral("about.png"), [about] { about->click(); });
}
