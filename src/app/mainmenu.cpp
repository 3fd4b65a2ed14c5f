// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainmenu.h"

#include "admin/passwordcodec.h"
#include "admin/passwordprompt.h"
#include "app/appartwork.h"
#include "store/programcontext.h"
#include "store/text/textform.h"
#include "ui/keypreview.h"
#include "ui/look.h"
#include "ui/messagedialog.h"
#include "ui/modal.h"
#include "ui/slotguard.h"

#include <QCloseEvent>
#include <QDate>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmora {

namespace {

const QColor kBackground(64, 80, 106);

} // namespace

MainMenu::MainMenu(ProgramContext &context, MessageDialog &messages, PasswordPrompt &prompt)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint)
    , m_context(context)
    , m_messages(messages)
    , m_prompt(prompt) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(m_context.title());
    setFont(Look::dialogFont(8));
    Look::setBackground(this, kBackground);
    Look::setTextColor(this, Qt::yellow);
    setFixedHeight(kHeight);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(2, 0, 12, 0);
    buttons->setSpacing(2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(buttons, 1);

    m_padlockOpen = new QLabel(this);
    m_padlockOpen->setObjectName(QLatin1String(kPadlockOpen));
    m_padlockOpen->setPixmap(AppArtwork::padlockOpen());
    m_padlockOpen->hide();
    m_padlockClosed = new QLabel(this);
    m_padlockClosed->setObjectName(QLatin1String(kPadlockClosed));
    m_padlockClosed->setPixmap(AppArtwork::padlockClosed());
    m_padlockClosed->hide();

    m_recordsButton =
        addButton(kRecordsButton, QStringLiteral("Evidenta"),
                  QStringLiteral("Evidenta foi de parcurs."), AppArtwork::records(), false);
    m_reportButton = addButton(kReportButton, QStringLiteral("Raport"),
                               QStringLiteral("Diverse rapoarte."), AppArtwork::report(), false);
    m_adminButton =
        addButton(kAdminButton, QStringLiteral("Administrare"),
                  QStringLiteral("Administrare program."), m_padlockClosed->pixmap(), true);
    m_backupButton =
        addButton(kBackupButton, QStringLiteral("Salvare"),
                  QStringLiteral("Salvare sau restaurare date."), AppArtwork::backup(), false);
    m_aboutButton = addButton(kAboutButton, QStringLiteral("Despre..."),
                              QStringLiteral("Date despre program."), AppArtwork::about(), true);
    m_exitButton = addButton(kExitButton, QStringLiteral("Iesire"),
                             QStringLiteral("Inchide programul."), AppArtwork::exit(), true);
    for (QToolButton *button : {m_recordsButton, m_reportButton, m_adminButton, m_backupButton,
                                m_aboutButton, m_exitButton})
        buttons->addWidget(button);
    buttons->addStretch(1);

    m_date = new QLabel(this);
    m_date->setObjectName(QLatin1String(kDateLabel));
    QFont dateFont(QStringLiteral("Arial Black"));
    dateFont.setPixelSize(32);
    dateFont.setBold(true);
    m_date->setFont(dateFont);
    Look::setTextColor(m_date, Qt::white);
    m_date->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    buttons->addWidget(m_date);

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->addWidget(new QLabel(QStringLiteral("ESC - Iesire din program"), status), 1);
    layout->addWidget(status);

    connect(m_recordsButton, &QToolButton::clicked, this, &MainMenu::recordsRequested);
    connect(m_reportButton, &QToolButton::clicked, this, &MainMenu::reportRequested);
    connect(m_backupButton, &QToolButton::clicked, this, &MainMenu::backupRequested);
    connect(m_adminButton, &QToolButton::clicked, this,
            guardSlot([this] { openAdministration(); }));
    connect(m_aboutButton, &QToolButton::clicked, this, &MainMenu::aboutRequested);
    connect(m_exitButton, &QToolButton::clicked, this, &QWidget::close);

    auto *keys = new KeyPreview(this);
    keys->setHandler([this](QWidget *, QKeyEvent *event) { return handleKey(event); });
}

QToolButton *MainMenu::addButton(const char *name, const QString &caption, const QString &hint,
                                 const QPixmap &picture, bool enabled) {
    auto *button = new QToolButton(this);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(QIcon(picture));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFixedSize(90, 61);
    button->setFocusPolicy(Qt::NoFocus);
    button->setEnabled(enabled);
    // The style's own hover and pressed faces are light and would swallow the yellow caption;
    // every face here stays dark enough for it, and a closed command reads greyed.
    button->setStyleSheet(
        QStringLiteral("QToolButton { color: rgb(255, 255, 0); background: transparent;"
                       " border: 1px solid transparent; border-radius: 3px; }"
                       "QToolButton:hover { background-color: rgb(88, 108, 142);"
                       " border-color: rgb(150, 166, 194); }"
                       "QToolButton:pressed { background-color: rgb(38, 48, 64);"
                       " border-color: rgb(20, 26, 36); }"
                       "QToolButton:focus { border-color: rgb(255, 255, 0); }"
                       "QToolButton:disabled { color: rgb(176, 184, 196); }"));
    return button;
}

void MainMenu::showEvent(QShowEvent *event) {
    const QRect screenArea = (screen() ? screen() : QGuiApplication::primaryScreen())->geometry();
    resize(screenArea.width(), kHeight);
    move(screenArea.topLeft());
    m_date->setText(TextForm::date(QDate::currentDate()));
    QWidget::showEvent(event);
}

bool MainMenu::handleKey(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_F12:
        close();
        return true;
    case Qt::Key_F1:
        if (m_recordsButton->isEnabled())
            m_recordsButton->click();
        return true;
    case Qt::Key_F2:
        if (m_reportButton->isEnabled())
            m_reportButton->click();
        return true;
    default:
        // Esc closes the window through the shared key behaviour, which asks first.
        return false;
    }
}

void MainMenu::closeEvent(QCloseEvent *event) {
    if (m_closeConfirmed) {
        event->accept();
        return;
    }
    const MessageResult answer = m_messages.Mesaj(
        QStringLiteral("Inchidere program"), QStringLiteral("Vreti sa inchideti programul?"),
        MessageKind::Confirmare, MessageButton::DA | MessageButton::NU);
    if (answer != MessageResult::Yes) {
        event->ignore();
        return;
    }
    m_closeConfirmed = true;
    event->accept();
    Q_EMIT programEndRequested();
}

void MainMenu::closeWithoutAsking() {
    m_closeConfirmed = true;
    close();
}

void MainMenu::SetAccess(bool on) {
    m_adminButton->setIcon(QIcon((on ? m_padlockOpen : m_padlockClosed)->pixmap()));
    m_adminButton->repaint();
    for (QToolButton *button : {m_recordsButton, m_reportButton, m_backupButton})
        button->setEnabled(on);
}

void MainMenu::openAdministration() {
    if (m_context.accessGranted()) {
        Q_EMIT administrationRequested();
        return;
    }
    const QString stored = m_context.ReadSetting(QStringLiteral("Erori"));
    if (stored.isEmpty()) {
        m_messages.Mesaj(QStringLiteral("Administrare"),
                         QStringLiteral("        ATENTIE!\r\nNu aveti nici o parola!"),
                         MessageKind::Atentie, MessageButton::OK);
        m_context.setAccessGranted(true);
        return;
    }
    const std::optional<QString> entry =
        m_prompt.ask(QStringLiteral("IDENTIFICARE ADMIN"), QStringLiteral("PAROLA :"));
    if (!entry)
        return;
    if (!PasswordCodec::matches(*entry, m_context.ReadSetting(QStringLiteral("Erori")))) {
        m_messages.Mesaj(QStringLiteral("Greseala!"), QStringLiteral("PAROLA INCORECTA !"),
                         MessageKind::Eroare, MessageButton::OK);
        return;
    }
    m_context.setAccessGranted(true);
}

} // namespace velmora
