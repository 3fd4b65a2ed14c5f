// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QToolButton;
class QKeyEvent;

namespace velmora {

class MessageDialog;
class PasswordPrompt;
class ProgramContext;

// The main menu: a strip of six buttons along the top of the screen. The three data commands
// stay disabled until the access gate opens them; the gate opens access in the program's
// context, and the menu hears of it through SetAccess.
class MainMenu : public QWidget {
    Q_OBJECT

public:
    // The object names of the controls (the form's own control names), one spelling for
    // the window and for the tests and automation that find them.
    static constexpr const char kPadlockOpen[] = "Image1";
    static constexpr const char kPadlockClosed[] = "Image2";
    static constexpr const char kRecordsButton[] = "MBut1";
    static constexpr const char kReportButton[] = "MBut2";
    static constexpr const char kAdminButton[] = "MButAdm";
    static constexpr const char kBackupButton[] = "MBut3";
    static constexpr const char kAboutButton[] = "ToolButton3";
    static constexpr const char kExitButton[] = "ModelF";
    static constexpr const char kDateLabel[] = "Label1";

    static constexpr int kHeight = 79;

    MainMenu(ProgramContext &context, MessageDialog &messages, PasswordPrompt &prompt);

    // Opens or closes the data commands; the administration button shows the open or the
    // closed padlock.
    void SetAccess(bool on);
    // The access gate in front of the administrator window: with access open it asks for the
    // administrator window (administrationRequested); otherwise it opens access, after the
    // password when there is one.
    void openAdministration();
    // Closes without asking: the program is ending for another reason.
    void closeWithoutAsking();

Q_SIGNALS:
    void recordsRequested();
    void reportRequested();
    void backupRequested();
    void aboutRequested();
    void administrationRequested();
    // The user confirmed that the program should end.
    void programEndRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool handleKey(QKeyEvent *event);
    QToolButton *addButton(const char *name, const QString &caption, const QString &hint,
                           const QPixmap &picture, bool enabled);

    ProgramContext &m_context;
    MessageDialog &m_messages;
    PasswordPrompt &m_prompt;
    QToolButton *m_recordsButton;
    QToolButton *m_reportButton;
    QToolButton *m_adminButton;
    QToolButton *m_backupButton;
    QToolButton *m_aboutButton;
    QToolButton *m_exitButton;
    QLabel *m_date;
    QLabel *m_padlockOpen;
    QLabel *m_padlockClosed;
    bool m_closeConfirmed = false;
};

} // namespace velmora
