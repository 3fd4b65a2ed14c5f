// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include "admin/admindialog.h"
#include "admin/passwordprompt.h"
#include "app/aboutdialog.h"
#include "app/mainmenu.h"
#include "app/splashwindow.h"
#include "backup/backupwindow.h"
#include "records/recordswindow.h"
#include "records/sheeteditor.h"
#include "records/tripeditor.h"
#include "reports/desktopopener.h"
#include "reports/perioddialog.h"
#include "reports/periodreport.h"
#include "reports/sheetprinter.h"
#include "store/programcontext.h"
#include "ui/messagedialog.h"
#include "ui/modal.h"
#include "ui/progresswindow.h"
#include "ui/slotguard.h"

namespace velmora {

Application::Application(const QString &programDir) {
    // Services first, then the windows that are given them.
    m_context = std::make_unique<ProgramContext>(programDir, title());
    m_messages = std::make_unique<MessageDialog>();
    m_splash = std::make_unique<SplashWindow>(*m_context);
    // The splash stays, hidden, the application's main window: in the middle of the screen.
    m_progressWindow = std::make_unique<ProgressWindow>(m_splash.get());
    m_aboutDialog = std::make_unique<AboutDialog>(title());
    m_passwordPrompt = std::make_unique<PasswordPrompt>();
    m_adminDialog = std::make_unique<AdminDialog>(*m_messages);
    m_mainMenu = std::make_unique<MainMenu>(*m_context, *m_messages, *m_passwordPrompt);
    m_backupWindow = std::make_unique<BackupWindow>(*m_context, *m_messages, *m_progressWindow);
    m_sheetEditor = std::make_unique<SheetEditor>(*m_context);
    m_tripEditor = std::make_unique<TripEditor>();
    m_recordsWindow =
        std::make_unique<RecordsWindow>(*m_context, *m_messages, *m_sheetEditor, *m_tripEditor);
    m_splash->setPickListLoader([this] { m_sheetEditor->IncarcaListe(); });
    m_opener = std::make_unique<DesktopOpener>();
    m_sheetPrinter =
        std::make_unique<SheetPrinter>(m_context->programDir(), *m_messages, *m_opener);
    m_periodDialog = std::make_unique<PeriodDialog>();
    m_periodReport = std::make_unique<PeriodReport>(m_context->dataDir());

    // The access flag: the administrator window's tick and the gate change it; the menu and
    // the tick show it.
    connect(m_adminDialog.get(), &AdminDialog::accessChanged, m_context.get(),
            &ProgramContext::setAccessGranted);
    connect(m_context.get(), &ProgramContext::accessChanged, this, [this](bool granted) {
        m_adminDialog->setAccessTicked(granted);
        m_mainMenu->SetAccess(granted);
    });

    connect(m_splash.get(), &SplashWindow::workDone, m_mainMenu.get(), &QWidget::show);
    connect(m_splash.get(), &SplashWindow::startupFailed, this, [this] { endProgram(1); });
    connect(m_splash.get(), &SplashWindow::tablesRepaired, this,
            guardSlot([this](const QStringList &repairs) {
                m_messages->Mesaj(title(), repairs.join(QStringLiteral("\r\n")),
                                  MessageKind::Informatie, MessageButton::OK);
            }));
    connect(m_mainMenu.get(), &MainMenu::recordsRequested, m_recordsWindow.get(),
            guardSlot([this] { m_recordsWindow->Deschide(); }));
    // The print button: the selected sheet's printout, opened in the system's RTF viewer.
    connect(m_recordsWindow.get(), &RecordsWindow::printSheetRequested, m_sheetPrinter.get(),
            guardSlot([this](const QString &idfoaie) { m_sheetPrinter->printSheet(idfoaie); }));
    connect(m_mainMenu.get(), &MainMenu::aboutRequested, this,
            guardSlot([this] { Modal::exec(*m_aboutDialog); }));
    connect(m_mainMenu.get(), &MainMenu::administrationRequested, this,
            guardSlot([this] { Modal::exec(*m_adminDialog); }));
    connect(m_mainMenu.get(), &MainMenu::backupRequested, this,
            guardSlot([this] { Modal::exec(*m_backupWindow); }));
    // A restore ends the program, so that the next start works on the restored files.
    connect(m_backupWindow.get(), &BackupWindow::restoreCompleted, this, [this] { endProgram(0); });
    connect(m_mainMenu.get(), &MainMenu::programEndRequested, this, [this] { endProgram(0); });
    // "Raport" and F2: the period, then its report.
    connect(m_mainMenu.get(), &MainMenu::reportRequested, this, guardSlot([this] {
                if (m_periodDialog->choosePeriod())
                    m_periodReport->showPeriod(m_periodDialog->from(), m_periodDialog->to());
            }));
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
