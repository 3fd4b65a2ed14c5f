// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin/admindialog.h"

#include "admin/passwordcodec.h"
#include "store/settings.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"
#include "store/text/textrules.h"
#include "ui/keypreview.h"
#include "ui/look.h"
#include "ui/messagedialog.h"
#include "ui/slotguard.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace velmora {

namespace {

const QColor kBackground(64, 80, 106);
const QColor kText(0xFF, 0xFF, 0xFF);

QString settingName() {
    return QStringLiteral("Erori");
}

QLineEdit *passwordField(QWidget *parent, const char *name) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(32);
    Look::asteriskEcho(edit);
    return edit;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    // Enter has its own meaning in the password fields, so no button is the default; a
    // focused button still takes Enter (the shared keys).
    b->setAutoDefault(false);
    return b;
}

} // namespace

AdminDialog::AdminDialog(MessageDialog &messages, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
    , m_messages(messages)
    , m_beep([] { QApplication::beep(); }) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Administrator program"));
    setFont(Look::dialogFont(8));
    Look::setBackground(this, kBackground);
    Look::setTextColor(this, kText);
    // The password part keeps its 343 x 278; the company's name below it takes the rest.
    resize(335, 321);

    m_group = new QGroupBox(QStringLiteral(" Schimbare parola  "), this);
    m_group->setObjectName(QLatin1String(kPasswordGroup));
    m_group->setToolTip(QStringLiteral("Schimbarea parolei administrator."));
    m_newPassword = passwordField(m_group, kNewPasswordEdit);
    m_repeatPassword = passwordField(m_group, kRepeatPasswordEdit);
    auto *newLabel = new QLabel(QStringLiteral("Parola noua"), m_group);
    auto *repeatLabel = new QLabel(QStringLiteral("Inca odata"), m_group);
    newLabel->setBuddy(m_newPassword);
    repeatLabel->setBuddy(m_repeatPassword);
    m_change = button(m_group, kChangePasswordButton, QStringLiteral("&Schimba parola"));

    // Field text stays black on white; only the window's own texts are light.
    for (QLineEdit *edit : {m_newPassword, m_repeatPassword})
        Look::setTextColor(edit, Qt::black);
    for (QPushButton *b : {m_change})
        Look::setTextColor(b, Qt::black);

    auto *grid = new QGridLayout(m_group);
    grid->setContentsMargins(14, 18, 14, 12);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(newLabel, 0, 0);
    grid->addWidget(m_newPassword, 0, 1);
    grid->addWidget(repeatLabel, 1, 0);
    grid->addWidget(m_repeatPassword, 1, 1);
    grid->addWidget(m_change, 2, 1, Qt::AlignLeft);

    auto *companyGroup = new QGroupBox(QStringLiteral(" Foaia de parcurs  "), this);
    companyGroup->setObjectName(QStringLiteral("GroupBox2"));
    m_company = new QLineEdit(companyGroup);
    m_company->setObjectName(QLatin1String(kCompanyEdit));
    m_company->setMaxLength(60);
    m_company->setToolTip(QStringLiteral("Numele firmei, tiparit in antetul foii de parcurs."));
    Look::setTextColor(m_company, Qt::black);
    auto *companyLabel = new QLabel(QStringLiteral("Numele firmei"), companyGroup);
    companyLabel->setBuddy(m_company);
    auto *companyRow = new QHBoxLayout(companyGroup);
    companyRow->setContentsMargins(14, 18, 14, 12);
    companyRow->setSpacing(10);
    companyRow->addWidget(companyLabel);
    companyRow->addWidget(m_company, 1);

    m_access = new QCheckBox(QStringLiteral("Acces in program"), this);
    m_access->setObjectName(QLatin1String(kAccessCheckBox));
    m_access->setToolTip(QStringLiteral("Va da dreptul de a modifica date."));
    m_access->setChecked(false);
    // The window's light text would draw the tick light on the white box, where ticked and
    // unticked look alike: the box keeps a black tick and a dark frame, its caption stays light.
    QPalette tick = m_access->palette();
    tick.setColor(QPalette::Base, Qt::white);
    tick.setColor(QPalette::Text, Qt::black);
    tick.setColor(QPalette::Window, kBackground);
    m_access->setPalette(tick);

    m_saveAndClose = button(this, kSaveButton, QStringLiteral("Salveaza si inchide"));
    m_cancel = button(this, kCancelButton, QStringLiteral("Renunt"));
    for (QPushButton *b : {m_saveAndClose, m_cancel})
        Look::setTextColor(b, Qt::black);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_saveAndClose);
    buttons->addStretch();
    buttons->addWidget(m_cancel);

    m_status = new QStatusBar(this);
    m_status->setObjectName(QLatin1String(kStatusBar));
    m_status->setSizeGripEnabled(true);
    auto *statusText = new QLabel(QStringLiteral("ESC - Renunta si inchide"), m_status);
    m_status->addWidget(statusText, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 0);
    layout->setSpacing(10);
    layout->addWidget(m_group);
    layout->addWidget(companyGroup);
    layout->addWidget(m_access);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->addSpacing(4);
    layout->addWidget(m_status);
    layout->setContentsMargins(10, 10, 10, 0);

    connect(m_change, &QPushButton::clicked, this, guardSlot([this] { changePassword(); }));
    connect(m_access, &QCheckBox::toggled, this, &AdminDialog::announceAccess);
    // The password is written the moment it is changed; what is left to save is the
    // company's name.
    connect(m_saveAndClose, &QPushButton::clicked, this, guardSlot([this] { saveAndClose(); }));
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *keys = new KeyPreview(this);
    keys->setHandler([this](QWidget *target, QKeyEvent *event) {
        if (!KeyPreview::isEnter(event))
            return false;
        if (target == m_newPassword) {
            m_repeatPassword->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (target == m_repeatPassword) {
            guardSlot([this] { changePassword(); })();
            return true;
        }
        if (target == m_company) {
            guardSlot([this] { saveAndClose(); })();
            return true;
        }
        return false;
    });
}

QString AdminDialog::CodeazaStr(QStringView password) {
    return PasswordCodec::encode(password);
}

void AdminDialog::refuse(const QString &text) {
    m_messages.Mesaj(QStringLiteral("Eroare la completare"), text, MessageKind::Eroare,
                     MessageButton::OK);
    m_beep();
}

void AdminDialog::changePassword() {
    const QString first = m_newPassword->text();
    const QString second = m_repeatPassword->text();
    if (first != second) {
        refuse(QStringLiteral("Nu ati scris parola noua la fel in cele doua casute !"));
        return;
    }
    if (second.isEmpty()) {
        const MessageResult answer = m_messages.Mesaj(
            QStringLiteral("Eroare la completare"),
            QStringLiteral("ATENTIE !\r\nDoriti sa dezactivati parola de administrator?"),
            MessageKind::Atentie, MessageButton::DA | MessageButton::NU);
        if (answer == MessageResult::Yes)
            Settings::write(settingName(), QString());
        return;
    }
    QString encoded;
    try {
        encoded = CodeazaStr(second);
    } catch (const InputError &error) {
        refuse(error.message());
        return;
    }
    Settings::write(settingName(), encoded);
    m_messages.Mesaj(QStringLiteral("Confirmare"),
                     QStringLiteral("Parola a fost schimbata cu succes!"), MessageKind::Informatie,
                     MessageButton::OK);
    m_newPassword->clear();
    m_repeatPassword->clear();
}

void AdminDialog::saveAndClose() {
    const QString company = TextRules::trim(m_company->text());
    // The printouts are written in the code page: a name it cannot hold could not print.
    try {
        Cp1250::encode(company);
    } catch (const InputError &error) {
        refuse(error.message());
        return;
    }
    if (company != Settings::read(Settings::companyKey()))
        Settings::write(Settings::companyKey(), company);
    accept();
}

void AdminDialog::showEvent(QShowEvent *event) {
    m_company->setText(Settings::read(Settings::companyKey()));
    QDialog::showEvent(event);
}

void AdminDialog::announceAccess() {
    Q_EMIT accessChanged(m_access->isChecked());
}

void AdminDialog::grantAccess() {
    if (m_access->isChecked())
        announceAccess();
    else
        m_access->setChecked(true); // runs announceAccess through the tick's change
}

void AdminDialog::setAccessTicked(bool on) {
    m_access->setChecked(on);
}

bool AdminDialog::accessGranted() const {
    return m_access->isChecked();
}

} // namespace velmora
