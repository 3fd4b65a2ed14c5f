#pragma once

#include <QObject>
#include <QString>
#include <memory>

namespace velmora {

class ProgressWindow;
class MessageDialog;
class SplashWindow;
class AboutDialog;
class MainMenu;
class AdminDialog;
class PasswordPrompt;

// The running program: every window, made once in a fixed order when the program starts and
// kept until it ends, and the references through which the windows reach one another.
class Application : public QObject {
    Q_OBJECT

public:
    static QString title() { return QStringLiteral("Velmora v.1.01"); }

    // programDir: the directory of the program file, where the Data directory lives.
    explicit Application(const QString &programDir);
    ~Application() override;

    // Shows the splash; its timer does the start-up work, then the main menu takes over.
    void start();
    // Another copy was started: bring this one forward instead.
    void activate();
    // Ends the program (after the menu's confirmation, or when the start-up cannot go on).
    void endProgram(int exitCode);

    SplashWindow &splash() { return *m_splash; }
    AboutDialog &aboutDialog() { return *m_aboutDialog; }
    MainMenu &mainMenu() { return *m_mainMenu; }
    AdminDialog &adminDialog() { return *m_adminDialog; }
    PasswordPrompt &passwordPrompt() { return *m_passwordPrompt; }
    ProgressWindow &progressWindow() { return *m_progressWindow; }
    MessageDialog &messageDialog() { return *m_messages; }

Q_SIGNALS:
    // Whoever runs the event loop ends it with this exit code.
    void ended(int exitCode);

private:
    std::unique_ptr<SplashWindow> m_splash;
    std::unique_ptr<AboutDialog> m_aboutDialog;
    std::unique_ptr<MainMenu> m_mainMenu;
    std::unique_ptr<AdminDialog> m_adminDialog;
    std::unique_ptr<PasswordPrompt> m_passwordPrompt;
    std::unique_ptr<ProgressWindow> m_progressWindow;
    std::unique_ptr<MessageDialog> m_messages;
};

} // namespace velmora
