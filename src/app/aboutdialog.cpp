// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/aboutdialog.h"

#include "app/appartwork.h"
#include "ui/gradient.h"
#include "ui/keypreview.h"
#include "ui/look.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace velmora {

AboutDialog::AboutDialog(const QString &title, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Despre program"));
    setFixedSize(434, 239);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(AppArtwork::programIcon(48));
    icon->setGeometry(24, 28, 48, 48);

    const QFont headingFont = Look::arial(27, true);
    m_headingShadow = new QLabel(this);
    m_headingShadow->setObjectName(QStringLiteral("Label2"));
    m_headingShadow->setFont(headingFont);
    Look::setTextColor(m_headingShadow, QColor(128, 128, 128));
    m_headingShadow->setGeometry(90, 34, 330, 40);
    m_heading = new QLabel(this);
    m_heading->setObjectName(QLatin1String(kHeadingLabel));
    m_heading->setFont(headingFont);
    Look::setTextColor(m_heading, Qt::white);
    m_heading->setGeometry(88, 32, 330, 40);

    auto *line = new QLabel(QStringLiteral("Program pentru evidenta foilor de parcurs."), this);
    line->setObjectName(QStringLiteral("Label3"));
    line->setFont(Look::arial(13));
    Look::setTextColor(line, Qt::white);
    line->setGeometry(90, 84, 330, 22);

    auto *button = new QPushButton(QStringLiteral("CONTINUARE"), this);
    button->setObjectName(QLatin1String(kContinueButton));
    button->setGeometry(434 - 12 - 110, 239 - 12 - 28, 110, 28);
    connect(button, &QPushButton::clicked, this, &QDialog::accept);

    new KeyPreview(this);

    m_heading->setText(title);
    m_headingShadow->setText(title);
}

QString AboutDialog::heading() const {
    return m_heading->text();
}

void AboutDialog::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    Gradient::paint(painter, rect(), QColor(78, 97, 129), Qt::black,
                    Gradient::Direction::TopToBottom, 64);
}

} // namespace velmora
