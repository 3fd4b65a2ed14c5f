// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

class GradientPanel;

// The password prompt of the access gate.
class PasswordPrompt : public QDialog {
    Q_OBJECT

public:
    // The object names of the controls (the form's own control names), one spelling for
    // the window and for the tests and automation that find them.
    static constexpr const char kPromptLabel[] = "Label1";
    static constexpr const char kPasswordEdit[] = "Edit1";
    static constexpr const char kOkButton[] = "BitBtn1";
    static constexpr const char kCancelButton[] = "BitBtn2";

    explicit PasswordPrompt(QWidget *parent = nullptr);

    // Asks for a text under the given caption and prompt: the entered text when the user
    // confirms ("Verifica" or Enter), nothing on "Renunt", Esc or the close box.
    std::optional<QString> ask(const QString &caption, const QString &prompt);

private:
    GradientPanel *m_background;
    QLabel *m_prompt;
    QLineEdit *m_edit;
    QPushButton *m_verify;
    QPushButton *m_cancel;
};

} // namespace velmora
