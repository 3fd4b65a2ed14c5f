#include "admin/tform4.h"

#include "admin/passwordcodec.h"
#include "store/settings.h"
#include "store/text/error.h"
#include "ui/keypreview.h"
#include "ui/look.h"
#include "ui/terori.h"

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
    // Enter has its own meaning in this window; no button is pressed by it.
    b->setAutoDefault(false);
    return b;
}

} // namespace

TForm4::TForm4(MessageDialog erori, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
    , m_erori(std::move(erori))
    , m_beep([] { QApplication::beep(); }) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Administrator program"));
    setFont(Look::dialogFont(8));
    Look::setBackground(this, kBackground);
    Look::setTextColor(this, kText);
    // The outer size is 343 x 278 with the usual frame and title bar.
    resize(335, 251);

    m_group = new QGroupBox(QStringLiteral(" Schimbare parola  "), this);
    m_group->setObjectName(QStringLiteral("GroupBox1"));
    m_group->setToolTip(QStringLiteral("Schimbarea parolei administrator."));
    m_edit1 = passwordField(m_group, "Edit1");
    m_edit2 = passwordField(m_group, "Edit2");
    auto *label1 = new QLabel(QStringLiteral("Parola noua"), m_group);
    auto *label2 = new QLabel(QStringLiteral("Inca odata"), m_group);
    label1->setBuddy(m_edit1);
    label2->setBuddy(m_edit2);
    m_change = button(m_group, "BitBtn1", QStringLiteral("&Schimba parola"));

    // Field text stays black on white; only the window's own texts are light.
    for (QLineEdit *edit : {m_edit1, m_edit2})
        Look::setTextColor(edit, Qt::black);
    for (QPushButton *b : {m_change})
        Look::setTextColor(b, Qt::black);

    auto *grid = new QGridLayout(m_group);
    grid->setContentsMargins(14, 18, 14, 12);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(label1, 0, 0);
    grid->addWidget(m_edit1, 0, 1);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(m_edit2, 1, 1);
    grid->addWidget(m_change, 2, 1, Qt::AlignLeft);

    m_access = new QCheckBox(QStringLiteral("Acces in program"), this);
    m_access->setObjectName(QStringLiteral("CheckBox1"));
    m_access->setToolTip(QStringLiteral("Va da dreptul de a modifica date."));
    m_access->setChecked(false);

    m_saveAndClose = button(this, "LbSpeedButton1", QStringLiteral("Salveaza si inchide"));
    m_cancel = button(this, "LbSpeedButton2", QStringLiteral("Renunt"));
    for (QPushButton *b : {m_saveAndClose, m_cancel})
        Look::setTextColor(b, Qt::black);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_saveAndClose);
    buttons->addStretch();
    buttons->addWidget(m_cancel);

    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("StatusBar1"));
    m_status->setSizeGripEnabled(true);
    auto *statusText = new QLabel(QStringLiteral("ESC - Renunta si inchide"), m_status);
    m_status->addWidget(statusText, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 0);
    layout->setSpacing(10);
    layout->addWidget(m_group);
    layout->addWidget(m_access);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->addSpacing(4);
    layout->addWidget(m_status);
    layout->setContentsMargins(10, 10, 10, 0);

    connect(m_change, &QPushButton::clicked, this, &TForm4::BitBtn1Click);
    connect(m_access, &QCheckBox::toggled, this, &TForm4::CheckBox1Click);
    // Everything is written the moment it is done, so there is nothing left to save.
    connect(m_saveAndClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *keys = new KeyPreview(this);
    keys->setHandler([this](QWidget *target, QKeyEvent *event) {
        if (!KeyPreview::isEnter(event))
            return false;
        if (target == m_edit1) {
            m_edit2->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (target == m_edit2) {
            BitBtn1Click();
            return true;
        }
        return false;
    });
}

QString TForm4::CodeazaStr(QStringView password) {
    return PasswordCodec::encode(password);
}

void TForm4::refuse(const QString &text) {
    m_erori().Mesaj(QStringLiteral("Eroare la completare"), text, TErori::Eroare, TErori::OK);
    m_beep();
}

void TForm4::BitBtn1Click() {
    const QString first = m_edit1->text();
    const QString second = m_edit2->text();
    if (first != second) {
        refuse(QStringLiteral("Nu ati scris parola noua la fel in cele doua casute !"));
        return;
    }
    if (second.isEmpty()) {
        const quint16 answer = m_erori().Mesaj(
            QStringLiteral("Eroare la completare"),
            QStringLiteral("ATENTIE !\r\nDoriti sa dezactivati parola de administrator?"),
            TErori::Atentie, TErori::DA | TErori::NU);
        if (answer == TErori::ResultYes)
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
    m_erori().Mesaj(QStringLiteral("Confirmare"),
                    QStringLiteral("Parola a fost schimbata cu succes!"), TErori::Informatie,
                    TErori::OK);
    m_edit1->clear();
    m_edit2->clear();
}

void TForm4::CheckBox1Click() {
    Q_EMIT accessChanged(m_access->isChecked());
}

void TForm4::grantAccess() {
    if (m_access->isChecked())
        CheckBox1Click();
    else
        m_access->setChecked(true); // runs CheckBox1Click through the tick's change
}

bool TForm4::accessGranted() const {
    return m_access->isChecked();
}

} // namespace velmora
