#pragma once

#include <QDialog>
#include <QtGlobal>
#include <array>

class QLabel;
class QTextEdit;

namespace velmora {

class FlatButton;
class GradientPanel;

// The program's own message dialog. One instance is created at start and reused: each call
// of Mesaj sets everything that depends on its arguments, shows the dialog modally and
// returns which button ended it.
class MessageDialog : public QDialog {
    Q_OBJECT

public:
    // Kinds; any other value is shown as an error.
    enum Kind : quint8 { Atentie = 0, Eroare = 1, Informatie = 2, Confirmare = 3 };
    // Button flags; the other bits are ignored.
    enum Button : quint16 { DA = 1, NU = 2, OK = 4, RENUNT = 8 };
    // The standard dialog results.
    enum Result : quint16 { ResultOk = 1, ResultCancel = 2, ResultYes = 6, ResultNo = 7 };

    static constexpr int kWidth = 345;
    static constexpr int kHeight = 177;
    static constexpr int kButtonWidth = 73;
    static constexpr int kButtonHeight = 25;
    static constexpr int kButtonTop = 144;

    explicit MessageDialog(QWidget *parent = nullptr);

    // Returns 6 (DA), 7 (NU), 1 (OK) or 2 (RENUNT, Esc, the close box, or no button asked for,
    // in which case nothing is shown). The text may hold CR LF line breaks.
    quint16 Mesaj(const QString &title, const QString &text, quint8 kind, quint16 buttons);

    // Left edge of the k-th (from 1) of n visible buttons.
    static int buttonLeft(int k, int n);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void finish(quint16 result);
    void setText(const QString &text);

    GradientPanel *m_top;
    GradientPanel *m_middle;
    GradientPanel *m_bottom;
    QLabel *m_picture;
    QLabel *m_title;
    QTextEdit *m_text;
    // In the order they are laid out: DA, NU, RENUNT, OK.
    std::array<FlatButton *, 4> m_buttons{};
    quint16 m_result = ResultCancel;
};

} // namespace velmora
