// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QFlags>
#include <QList>
#include <QtGlobal>
#include <array>

class QLabel;
class QTextEdit;

namespace velmora {

class FlatButton;
class GradientPanel;

// What a message is: its picture, caption and colours. Any other value that comes in as a
// number is shown as an error (messageKindOf).
enum class MessageKind { Atentie = 0, Eroare = 1, Informatie = 2, Confirmare = 3 };
MessageKind messageKindOf(int value);

// The buttons a message offers; any other bits are ignored.
enum class MessageButton : quint16 { DA = 1, NU = 2, OK = 4, RENUNT = 8 };
Q_DECLARE_FLAGS(MessageButtons, MessageButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageButtons)

// Which button ended a message, with the values of the standard dialog results.
enum class MessageResult : int { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// One message as it was asked for, kept by the test seam.
struct MessageRecord {
    QString title;
    QString text;
    MessageKind kind;
    MessageButtons buttons;
};

// The program's own message dialog. One instance is created at start and reused: each call
// of Mesaj sets everything that depends on its arguments, shows the dialog modally and
// returns which button ended it.
class MessageDialog : public QDialog {
    Q_OBJECT

public:
    // The object names of the controls (the form's own control names), one spelling for
    // the window and for the tests and automation that find them.
    static constexpr const char kPicture[] = "Image1";
    static constexpr const char kTitleLabel[] = "Label1";
    static constexpr const char kText[] = "EroText";
    static constexpr const char kTopBand[] = "GradientPanel1";
    static constexpr const char kMiddleBand[] = "GradientPanel3";
    static constexpr const char kBottomBand[] = "GradientPanel2";
    static constexpr const char kYesButton[] = "BE1";
    static constexpr const char kNoButton[] = "BE2";
    static constexpr const char kCancelButton[] = "BE3";
    static constexpr const char kOkButton[] = "BE4";

    static constexpr int kWidth = 345;
    static constexpr int kHeight = 177;
    static constexpr int kButtonWidth = 73;
    static constexpr int kButtonHeight = 25;
    static constexpr int kButtonTop = 144;

    explicit MessageDialog(QWidget *parent = nullptr);

    // Returns Yes (DA), No (NU), Ok (OK) or Cancel (RENUNT, Esc, the close box, or no button
    // asked for, in which case nothing is shown). The text may hold CR LF line breaks.
    MessageResult Mesaj(const QString &title, const QString &text, MessageKind kind,
                        MessageButtons buttons);

    // The test seam: the next Mesaj call takes this answer instead of showing anything, and
    // records what it was asked (shown()). Answers queue up in the order given; with none
    // queued, Mesaj shows the dialog as always.
    void queueAnswer(MessageResult answer);
    // The messages answered from the queue, oldest first.
    const QList<MessageRecord> &shown() const { return m_shown; }
    void clearShown() { m_shown.clear(); }

    // Left edge of the k-th (from 1) of n visible buttons.
    static int buttonLeft(int k, int n);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void finish(MessageResult result);
    // To the next (or previous) visible button, round the ends; from none to the first
    // (or last).
    void moveFocus(bool forward);
    void setText(const QString &text);

    GradientPanel *m_top;
    GradientPanel *m_middle;
    GradientPanel *m_bottom;
    QLabel *m_picture;
    QLabel *m_title;
    QTextEdit *m_text;
    // In the order they are laid out: DA, NU, RENUNT, OK.
    std::array<FlatButton *, 4> m_buttons{};
    MessageResult m_result = MessageResult::Cancel;
    QList<MessageResult> m_answers;
    QList<MessageRecord> m_shown;
};

} // namespace velmora
