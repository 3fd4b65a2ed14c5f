// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin/passwordprompt.h"

#include "ui/gradientpanel.h"
#include "ui/keypreview.h"
#include "ui/look.h"
#include "ui/modal.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

namespace velmora {

PasswordPrompt::PasswordPrompt(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("Form5"));
    setFont(Look::dialogFont(8));
    setFixedSize(259, 137);

    m_background = new GradientPanel(this);
    m_background->setObjectName(QStringLiteral("Gradient"));
    m_background->setGeometry(rect());
    m_background->setDirection(Gradient::Direction::TopToBottom);
    m_background->setStripes(64);
    m_background->setColors(QColor(172, 184, 204), QColor(82, 102, 135));

    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QLatin1String(kPromptLabel));
    m_prompt->setTextFormat(Qt::PlainText);
    m_prompt->setFont(Look::dialogFont(8, true));
    m_prompt->setGeometry(16, 12, 227, 16);

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QLatin1String(kPasswordEdit));
    Look::asteriskEcho(m_edit);
    m_edit->setGeometry(16, 32, 227, 21);

    m_verify = new QPushButton(QStringLiteral("Verifica"), this);
    m_verify->setObjectName(QLatin1String(kOkButton));
    m_verify->setToolTip(QStringLiteral("Verifica Parola."));
    m_verify->setGeometry(40, 70, 85, 25);
    m_verify->setDefault(true);

    m_cancel = new QPushButton(QStringLiteral("Renunt"), this);
    m_cancel->setObjectName(QLatin1String(kCancelButton));
    m_cancel->setToolTip(QStringLiteral("Renunt la autentificare."));
    m_cancel->setGeometry(134, 70, 85, 25);
    m_cancel->setAutoDefault(false);

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->addWidget(new QLabel(QStringLiteral("ESC - Renunt"), status), 1);
    status->setGeometry(0, 137 - 20, 259, 20);

    connect(m_verify, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    // Enter on a focused "Renunt" cancels; Enter in the field presses "Verifica".
    new KeyPreview(this);
}

std::optional<QString> PasswordPrompt::ask(const QString &caption, const QString &prompt) {
    setWindowTitle(caption);
    m_prompt->setText(prompt);
    m_edit->clear();
    m_edit->setFocus();
    if (Modal::exec(*this) != QDialog::Accepted)
        return std::nullopt;
    return m_edit->text();
}

} // namespace velmora
