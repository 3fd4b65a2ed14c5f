// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look.h"

#include <QLineEdit>
#include <QPalette>
#include <QWidget>

namespace velmora {

namespace {

QFont family(const QStringList &families, bool bold) {
    QFont font;
    font.setFamilies(families + QStringList{QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    return font;
}

} // namespace

QFont Look::dialogFont(int pointSize, bool bold) {
    QFont font = family({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                         QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans")},
                        bold);
    font.setPointSize(pointSize);
    return font;
}

QFont Look::tahoma(int pointSize, bool bold) {
    QFont font = family({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans")}, bold);
    font.setPointSize(pointSize);
    return font;
}

QFont Look::arial(int pixelSize, bool bold) {
    QFont font = family({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}, bold);
    font.setPixelSize(pixelSize);
    return font;
}

void Look::setTextColor(QWidget *widget, const QColor &color) {
    QPalette palette = widget->palette();
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, color);
    widget->setPalette(palette);
}

void Look::setBackground(QWidget *widget, const QColor &color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void Look::asteriskEcho(QLineEdit *edit) {
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
}

} // namespace velmora
