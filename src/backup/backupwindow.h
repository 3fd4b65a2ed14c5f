// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

class QFileDialog;
class QPlainTextEdit;
class QStatusBar;

namespace velmora {

class FlatButton;
class GradientPanel;
class MessageDialog;
class ProgramContext;
class ProgressWindow;

// The backup and restore window: saves the whole data directory into one archive and brings
// it back from one. A restore ends the program (restoreCompleted), so that the next start
// works on the restored files; a refused archive changes nothing, says why, and the program
// goes on.
class BackupWindow : public QDialog {
    Q_OBJECT

public:
    // The object names of the controls (the form's own control names), one spelling for
    // the window and for the tests and automation that find them.
    static constexpr const char kBackground[] = "GradientPanel1";
    static constexpr const char kSaveButton[] = "BE1";
    static constexpr const char kRestoreButton[] = "LbSpeedButton1";
    static constexpr const char kStatusBar[] = "StatusBar1";
    static constexpr const char kFileList[] = "NumeFisiere";
    static constexpr const char kSaveDialog[] = "SaveDialog1";
    static constexpr const char kOpenDialog[] = "OpenDialog1";

    static constexpr int kWidth = 262;
    static constexpr int kHeight = 125;

    BackupWindow(ProgramContext &context, MessageDialog &messages, ProgressWindow &progress,
                 QWidget *parent = nullptr);

    // "Salveaza baza de date".
    void saveDatabase();
    // "Restaureaza baza de date".
    void restoreDatabase();

    QFileDialog *saveDialog() const { return m_saveDialog; }
    QFileDialog *openDialog() const { return m_openDialog; }

Q_SIGNALS:
    // The data directory now holds the archive's files: the program must end.
    void restoreCompleted();

private:
    // The chosen path, or an empty string when the dialog was cancelled.
    QString choose(QFileDialog &dialog);
    // Runs the work with the progress window over this window; whatever the outcome, the
    // progress window goes and this window is enabled and closed afterwards.
    template <typename Work>
    auto underProgress(const QString &description, Work work);
    void showProgress(int position, int maximum);

    ProgramContext &m_context;
    MessageDialog &m_messages;
    ProgressWindow &m_progress;
    GradientPanel *m_background;
    FlatButton *m_save;
    FlatButton *m_restore;
    QStatusBar *m_status;
    QPlainTextEdit *m_fileList;
    QFileDialog *m_saveDialog;
    QFileDialog *m_openDialog;
};

} // namespace velmora
