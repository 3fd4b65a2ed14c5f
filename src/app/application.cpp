#include "app/application.h"

#include "admin/admindialog.h"
#include "admin/passwordprompt.h"
#include "app/aboutdialog.h"
#include "app/mainmenu.h"
#include "app/splashwindow.h"
#include "ui/messagedialog.h"
#include "ui/progresswindow.h"

namespace velmora {

Application::Application(const QString &programDir) {
    // The start-up window comes first: it holds what the others share.
    m_splash = std::make_unique<SplashWindow>(*this, programDir);
    m_aboutDialog = std::make_unique<AboutDialog>();
    m_mainMenu = std::make_unique<MainMenu>(*this);
    m_progressWindow = std::make_unique<ProgressWindow>();
    m_messages = std::make_unique<MessageDialog>();
    m_adminDialog = std::make_unique<AdminDialog>(*m_messages);
    m_passwordPrompt = std::make_unique<PasswordPrompt>();

    connect(m_adminDialog.get(), &AdminDialog::accessChanged, this, [this](bool granted) {
        m_splash->setAccessGranted(granted);
        m_mainMenu->SetAccess(granted);
    });
    connect(m_mainMenu.get(), &MainMenu::programEndRequested, this, [this] { endProgram(0); });
    connect(m_splash.get(), &SplashWindow::startupFailed, this, [this] { endProgram(1); });
}

Application::~Application() = default;

void Application::start() {
    m_splash->show();
}

void Application::activate() {
    QWidget *window = m_mainMenu->isVisible() ? static_cast<QWidget *>(m_mainMenu.get())
                                              : static_cast<QWidget *>(m_splash.get());
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
}

void Application::endProgram(int exitCode) {
    Q_EMIT ended(exitCode);
}

} // namespace velmora
