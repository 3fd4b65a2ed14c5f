// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/messagedialog.h"

#include "ui/artwork.h"
#include "ui/flatbutton.h"
#include "ui/gradientpanel.h"
#include "ui/look.h"
#include "ui/modal.h"

#include <QKeyEvent>
#include <QLabel>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace velmora {

namespace {

struct KindLook {
    const char *caption;
    QPixmap (*picture)(int);
    QColor bandFrom;
    QColor bandTo;
    FlatButton::Colors buttons;
};

const KindLook &lookOf(MessageKind kind) {
    static const KindLook warning{"Atentie !",
                                  &Artwork::warning,
                                  QColor(0xB7, 0xB1, 0x8A),
                                  QColor(0x38, 0x36, 0x23),
                                  {QColor(0x2C, 0x29, 0x1B), QColor(0x07, 0x07, 0x05),
                                   QColor(0x73, 0x77, 0x53), QColor(0xDE, 0xDF, 0xD2),
                                   QColor(0x00, 0x00, 0x00)}};
    static const KindLook information{"Informatie",
                                      &Artwork::information,
                                      QColor(0xE1, 0xDE, 0xFA),
                                      QColor(0x00, 0x00, 0xBB),
                                      {QColor(0x00, 0x00, 0xFF), QColor(0x00, 0x00, 0x93),
                                       QColor(0x9D, 0x9D, 0xFF), QColor(0xDF, 0xDF, 0xFF),
                                       QColor(0xFF, 0xFF, 0xFF)}};
    static const KindLook confirmation{"Confirmare",
                                       &Artwork::question,
                                       QColor(0x81, 0xA2, 0xD3),
                                       QColor(0x36, 0x5F, 0x9C),
                                       {QColor(0x39, 0x66, 0xA8), QColor(0x00, 0x00, 0x93),
                                        QColor(0x71, 0x96, 0xCE), QColor(0xEC, 0xF1, 0xF9),
                                        QColor(0x00, 0x00, 0x00)}};
    static const KindLook error{"Eroare",
                                &Artwork::error,
                                QColor(0xFF, 0xD5, 0xD5),
                                QColor(0xFF, 0x00, 0x00),
                                {QColor(0xFF, 0x00, 0x00), QColor(0xA6, 0x00, 0x00),
                                 QColor(0xFF, 0x9B, 0x9B), QColor(0xFF, 0xD9, 0xD9),
                                 QColor(0xFF, 0xFF, 0xFF)}};
    switch (kind) {
    case MessageKind::Atentie:
        return warning;
    case MessageKind::Informatie:
        return information;
    case MessageKind::Confirmare:
        return confirmation;
    default:
        return error;
    }
}

GradientPanel *band(QWidget *parent, const char *name, const QRect &geometry) {
    auto *panel = new GradientPanel(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setGeometry(geometry);
    panel->setDirection(Gradient::Direction::LeftToRight);
    panel->setStripes(64);
    return panel;
}

} // namespace

MessageKind messageKindOf(int value) {
    switch (value) {
    case 0:
        return MessageKind::Atentie;
    case 2:
        return MessageKind::Informatie;
    case 3:
        return MessageKind::Confirmare;
    default:
        return MessageKind::Eroare;
    }
}

MessageDialog::MessageDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("Erori"));
    setFixedSize(kWidth, kHeight);
    setFont(Look::dialogFont(8));

    constexpr int topHeight = 49;
    constexpr int bottomHeight = 42;
    m_top = band(this, kTopBand, QRect(0, 0, kWidth, topHeight));
    m_middle =
        band(this, kMiddleBand, QRect(0, topHeight, kWidth, kHeight - topHeight - bottomHeight));
    // Colours run from the right edge to the left one: the left edge gets the "to" colour.
    m_middle->setColors(QColor(0xE1, 0xE1, 0xE1), QColor(0xFF, 0xFF, 0xFF));
    m_bottom = band(this, kBottomBand, QRect(0, kHeight - bottomHeight, kWidth, bottomHeight));

    m_picture = new QLabel(this);
    m_picture->setObjectName(QLatin1String(kPicture));
    m_picture->setGeometry(8, 8, 32, 32);

    m_title = new QLabel(this);
    m_title->setObjectName(QLatin1String(kTitleLabel));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setFont(Look::arial(13, true));
    Look::setTextColor(m_title, Qt::white);
    m_title->move(48, 16);

    m_text = new QTextEdit(this);
    m_text->setObjectName(QLatin1String(kText));
    m_text->setGeometry(16, 56, 313, 65);
    m_text->setReadOnly(true);
    m_text->setFocusPolicy(Qt::NoFocus);
    m_text->setTextInteractionFlags(Qt::NoTextInteraction);
    m_text->setFrameShape(QFrame::NoFrame);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setLineWrapMode(QTextEdit::WidgetWidth);
    m_text->setFont(Look::dialogFont(8));
    QPalette textPalette = m_text->palette();
    textPalette.setColor(QPalette::Base, QColor(0xEF, 0xEF, 0xEF));
    textPalette.setColor(QPalette::Text, Qt::black);
    m_text->setPalette(textPalette);

    // The accessible name says the caption as a word, so that a screen reader does not spell
    // "DA" out letter by letter.
    const struct {
        const char *name;
        const char *caption;
        const char *word;
        MessageResult result;
    } buttons[] = {{kYesButton, "DA", "Da", MessageResult::Yes},
                   {kNoButton, "NU", "Nu", MessageResult::No},
                   {kCancelButton, "RENUNT", "Renunt", MessageResult::Cancel},
                   {kOkButton, "OK", "OK", MessageResult::Ok}};
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        auto *button = new FlatButton(QLatin1String(buttons[i].caption), this);
        button->setObjectName(QLatin1String(buttons[i].name));
        button->setAccessibleName(QLatin1String(buttons[i].word));
        // Tab and the arrow keys reach the buttons and Space presses the one with the focus;
        // a click does not leave a focus frame behind.
        button->setFocusPolicy(Qt::TabFocus);
        button->setGeometry(0, kButtonTop, kButtonWidth, kButtonHeight);
        const MessageResult result = buttons[i].result;
        connect(button, &QAbstractButton::clicked, this, [this, result] { finish(result); });
        m_buttons[i] = button;
    }
}

int MessageDialog::buttonLeft(int k, int n) {
    const int gap = (342 - kButtonWidth * n) / (n + 1);
    return k * gap + (k - 1) * kButtonWidth;
}

void MessageDialog::finish(MessageResult result) {
    m_result = result;
    accept();
}

void MessageDialog::setText(const QString &text) {
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(u'\r', u'\n');
    m_text->setPlainText(plain);
    QTextCursor cursor(m_text->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.mergeBlockFormat(centred);
}

void MessageDialog::queueAnswer(MessageResult answer) {
    m_answers.append(answer);
}

MessageResult MessageDialog::Mesaj(const QString &title, const QString &text, MessageKind kind,
                                   MessageButtons buttons) {
    if (!m_answers.isEmpty()) {
        m_shown.append(MessageRecord{title, text, kind, buttons});
        return m_answers.takeFirst();
    }
    m_result = MessageResult::Cancel;
    m_title->setText(title);
    m_title->adjustSize();
    setText(text);

    const KindLook &look = lookOf(kind);
    m_picture->setPixmap(look.picture(32));
    setWindowTitle(QLatin1String(look.caption));
    m_top->setColors(look.bandTo, look.bandFrom);
    m_bottom->setColors(look.bandTo, look.bandFrom);

    // Flags in the layout order DA, NU, RENUNT, OK.
    const std::array<MessageButton, 4> flags = {MessageButton::DA, MessageButton::NU,
                                                MessageButton::RENUNT, MessageButton::OK};
    int visible = 0;
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        m_buttons[i]->setColors(look.buttons);
        const bool shown = buttons.testFlag(flags[i]);
        m_buttons[i]->setVisible(shown);
        visible += shown ? 1 : 0;
    }
    if (visible == 0)
        return MessageResult::Cancel;

    int k = 0;
    for (FlatButton *button : m_buttons) {
        if (!button->isHidden())
            button->move(buttonLeft(++k, visible), kButtonTop);
    }

    // The dialog opens with no button chosen, so that a key pressed out of habit (Enter,
    // Space) answers nothing: the focus rests on the dialog itself until Tab or an arrow
    // key moves it to a button.
    setFocus(Qt::OtherFocusReason);
    Modal::exec(*this);
    return m_result;
}

void MessageDialog::moveFocus(bool forward) {
    QList<FlatButton *> shown;
    for (FlatButton *button : m_buttons) {
        if (!button->isHidden())
            shown.append(button);
    }
    if (shown.isEmpty())
        return;
    const qsizetype at = shown.indexOf(qobject_cast<FlatButton *>(focusWidget()));
    qsizetype next = 0;
    if (at < 0)
        next = forward ? 0 : shown.size() - 1;
    else
        next = (at + (forward ? 1 : shown.size() - 1)) % shown.size();
    shown[next]->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void MessageDialog::keyPressEvent(QKeyEvent *event) {
    // No default button: Enter confirms nothing, not even on the button with the focus (the
    // button leaves Enter to the dialog); Space presses that button (the button's own
    // handling). Esc closes with the result the call started with.
    switch (event->key()) {
    case Qt::Key_Escape:
        reject();
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        moveFocus(true);
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        moveFocus(false);
        break;
    default:
        break;
    }
    event->accept();
}

} // namespace velmora
