// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <memory>

namespace velmora {

class AboutDialog;
class AdminDialog;
class BackupWindow;
class DocumentOpener;
class MainMenu;
class MessageDialog;
class PasswordPrompt;
class RecordsWindow;
class SheetEditor;
class TripEditor;
class PeriodDialog;
class PeriodReport;
class ProgramContext;
class ProgressWindow;
class SheetPrinter;
class SplashWindow;

// The running program: the program's context and every window, made once when the program
// starts (services first, then the windows that use them, each given what it needs in its
// constructor) and kept until it ends; and the connections between them. No window reaches
// another window or this object: what one window's work means for another goes through the
// signals connected here.
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

    // For tests and automation; the windows themselves are given what they need.
    ProgramContext &context() { return *m_context; }
    MessageDialog &messageDialog() { return *m_messages; }
    ProgressWindow &progressWindow() { return *m_progressWindow; }
    SplashWindow &splash() { return *m_splash; }
    AboutDialog &aboutDialog() { return *m_aboutDialog; }
    PasswordPrompt &passwordPrompt() { return *m_passwordPrompt; }
    AdminDialog &adminDialog() { return *m_adminDialog; }
    MainMenu &mainMenu() { return *m_mainMenu; }
    BackupWindow &backupWindow() { return *m_backupWindow; }
    RecordsWindow &recordsWindow() { return *m_recordsWindow; }
    SheetEditor &sheetEditor() { return *m_sheetEditor; }
    TripEditor &tripEditor() { return *m_tripEditor; }
    PeriodDialog &periodDialog() { return *m_periodDialog; }
    PeriodReport &periodReport() { return *m_periodReport; }
    SheetPrinter &sheetPrinter() { return *m_sheetPrinter; }

Q_SIGNALS:
    // Whoever runs the event loop ends it with this exit code.
    void ended(int exitCode);

private:
    // In the order they are made; they go in the reverse one.
    std::unique_ptr<ProgramContext> m_context;
    std::unique_ptr<MessageDialog> m_messages;
    std::unique_ptr<SplashWindow> m_splash;
    std::unique_ptr<ProgressWindow> m_progressWindow;
    std::unique_ptr<AboutDialog> m_aboutDialog;
    std::unique_ptr<PasswordPrompt> m_passwordPrompt;
    std::unique_ptr<AdminDialog> m_adminDialog;
    std::unique_ptr<MainMenu> m_mainMenu;
    std::unique_ptr<BackupWindow> m_backupWindow;
    std::unique_ptr<SheetEditor> m_sheetEditor;
    std::unique_ptr<TripEditor> m_tripEditor;
    std::unique_ptr<RecordsWindow> m_recordsWindow;
    std::unique_ptr<DocumentOpener> m_opener;
    std::unique_ptr<SheetPrinter> m_sheetPrinter;
    std::unique_ptr<PeriodDialog> m_periodDialog;
    std::unique_ptr<PeriodReport> m_periodReport;
};

} // namespace velmora
