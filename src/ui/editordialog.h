// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QFormLayout;
class QLabel;
class QPushButton;

namespace velmora {

class CompletionKeys;
class KeyPreview;

// The frame the record editors share: the operation's title at the top, the fields in tab
// order, "Memoreaza" and "Renunt" above a status line "ESC - iesire". Esc leaves without
// saving, Enter moves to the next field and Enter in the last field saves.
class EditorDialog : public QDialog {
    Q_OBJECT

public:
    // The object names of the controls (the form's own control names), one spelling for
    // the window and for the tests and automation that find them.
    static constexpr const char kDay[] = "Ziua";
    static constexpr const char kHour[] = "Ora";
    static constexpr const char kTitleLabel[] = "TitluL";
    static constexpr const char kSaveButton[] = "But1";
    static constexpr const char kCancelButton[] = "LbSpeedButton6";
    static constexpr const char kStatusBar[] = "StatusBar1";

    explicit EditorDialog(QWidget *parent = nullptr);

    // Shows the editor modally under this title; true when the user saved.
    bool Editeaza(const QString &title);
    bool Memorat() const { return m_memorat; }

    QLabel *titleLabel() const { return m_title; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *cancelButton() const { return m_cancel; }

protected:
    // Adds a field under its label; the label's text becomes the field's accessible name.
    // Fields come in tab order; the last one added saves on Enter.
    void addField(const QString &label, QWidget *field);
    // The check behind "Memoreaza": a subclass that accepts the data calls saved().
    virtual void save() = 0;
    // Marks the data accepted and closes the editor.
    void saved();
    // An Esc that closed a field's suggestions left the editor open: the status line says so
    // until the next key.
    void watchSuggestions(CompletionKeys *keys);

private:
    bool previewKey(QWidget *target, QKeyEvent *event);
    void showStatus(const QString &text);

    QLabel *m_title;
    QFormLayout *m_fields;
    QPushButton *m_save;
    QPushButton *m_cancel;
    QLabel *m_status;
    QWidget *m_lastField = nullptr;
    KeyPreview *m_keys;
    bool m_memorat = false;
};

} // namespace velmora
