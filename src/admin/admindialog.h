// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringView>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace velmora {

class MessageDialog;

// The administrator window: changes or removes the administrator password, sets the company's
// name that the trip-sheet printouts carry, and closes access to the data commands again.
// The access flag lives in the program's context: the window tells it through accessChanged,
// and shows it through setAccessTicked.
class AdminDialog : public QDialog {
    Q_OBJECT

public:
    // The object names of the controls (the form's own control names), one spelling for
    // the window and for the tests and automation that find them.
    static constexpr const char kPasswordGroup[] = "GroupBox1";
    static constexpr const char kNewPasswordEdit[] = "Edit1";
    static constexpr const char kRepeatPasswordEdit[] = "Edit2";
    static constexpr const char kChangePasswordButton[] = "BitBtn1";
    static constexpr const char kCompanyEdit[] = "Edit3";
    static constexpr const char kAccessCheckBox[] = "CheckBox1";
    static constexpr const char kSaveButton[] = "LbSpeedButton1";
    static constexpr const char kCancelButton[] = "LbSpeedButton2";
    static constexpr const char kStatusBar[] = "StatusBar1";

    explicit AdminDialog(MessageDialog &messages, QWidget *parent = nullptr);

    // The encoded form of a password, as the settings store keeps it. Raises an InputError
    // for a character the code page cannot hold.
    static QString CodeazaStr(QStringView password);

    // Changes the password from the two fields, or removes it when both are empty.
    void changePassword();
    // "Salveaza si inchide": stores the company's name as typed (trimmed) and closes; a name
    // the code page cannot hold is refused and the window stays open.
    void saveAndClose();
    // Tells the tick of "Acces in program" on (accessChanged); runs whenever the tick changes.
    void announceAccess();
    // The access gate's way in: ticks "Acces in program" and runs its handling.
    void grantAccess();
    // Shows the access flag as it now is; a change of the tick tells accessChanged.
    void setAccessTicked(bool on);
    bool accessGranted() const;

    // The system beep of a refused entry; tests listen in here.
    void setBeep(std::function<void()> beep) { m_beep = std::move(beep); }

Q_SIGNALS:
    void accessChanged(bool granted);

protected:
    // The company field shows what is stored each time the window opens, so a name typed
    // and then abandoned is not kept.
    void showEvent(QShowEvent *event) override;

private:
    void refuse(const QString &text);

    MessageDialog &m_messages;
    QGroupBox *m_group;
    QLineEdit *m_newPassword;
    QLineEdit *m_repeatPassword;
    QPushButton *m_change;
    QLineEdit *m_company;
    QCheckBox *m_access;
    QPushButton *m_saveAndClose;
    QPushButton *m_cancel;
    QStatusBar *m_status;
    std::function<void()> m_beep;
};

} // namespace velmora
