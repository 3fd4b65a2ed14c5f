// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/progresswindow.h"

#include "ui/cylinderbar.h"
#include "ui/gradientpanel.h"
#include "ui/look.h"
#include "ui/modal.h"

#include <QCoreApplication>
#include <QLabel>

namespace velmora {

ProgressWindow::ProgressWindow(const QWidget *mainWindow)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_mainWindow(mainWindow) {
    setObjectName(QStringLiteral("Contor"));
    setFixedSize(329, 71);
    setCursor(Qt::WaitCursor);

    m_background = new GradientPanel(this);
    m_background->setObjectName(QLatin1String(kBackground));
    m_background->setGeometry(rect());
    m_background->setDirection(Gradient::Direction::TopToBottom);
    m_background->setStripes(64);
    m_background->setMiddleColors(QColor(0xAC, 0xB8, 0xCC), QColor(0x52, 0x66, 0x87));

    m_descr = new QLabel(this);
    m_descr->setObjectName(QLatin1String(kDescription));
    m_descr->setTextFormat(Qt::PlainText);
    m_descr->setFont(Look::dialogFont(8, true));
    Look::setTextColor(m_descr, QColor(0x2D, 0x38, 0x4A));
    m_descr->move(16, 12);
    m_descr->adjustSize();

    m_bar = new CylinderBar(this);
    m_bar->setGeometry(14, 28, 300, 24);
    // setPosition measures against the final width.
    m_bar->setPosition(m_bar->position());
}

void ProgressWindow::setDescr(const QString &text) {
    m_descr->setText(text);
    m_descr->adjustSize();
}

QString ProgressWindow::descr() const {
    return m_descr->text();
}

void ProgressWindow::Arata(QWidget *owner) {
    if (owner) {
        m_owner = owner;
        m_ownerHadCursor = owner->testAttribute(Qt::WA_SetCursor);
        m_ownerCursor = owner->cursor();
        owner->setEnabled(false);
        owner->setCursor(Qt::WaitCursor);
    }
    // Not over the owner: the owner may be any window, anywhere, and the place of the
    // progress should not depend on who asks for it.
    if (m_mainWindow)
        Modal::centreOver(*this, *m_mainWindow);
    else
        Modal::centreOnScreen(*this);
    show();
    QCoreApplication::processEvents();
}

void ProgressWindow::Distruge(QWidget *owner) {
    hide();
    if (owner) {
        owner->setEnabled(true);
        if (owner == m_owner && m_ownerHadCursor)
            owner->setCursor(m_ownerCursor);
        else
            owner->unsetCursor();
        owner->setFocus();
    }
    m_owner = nullptr;
    QCoreApplication::processEvents();
}

} // namespace velmora
