// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>

class QLineEdit;
class QWidget;

namespace velmora {

// Fonts and small touches of the program's classic look, in one place.
class Look {
public:
    // The dialog font of the program's windows (MS Sans Serif, or the nearest sans serif).
    static QFont dialogFont(int pointSize = 8, bool bold = false);
    static QFont tahoma(int pointSize = 8, bool bold = false);
    static QFont arial(int pixelSize, bool bold = false);

    static void setTextColor(QWidget *widget, const QColor &color);
    static void setBackground(QWidget *widget, const QColor &color);
    // Password fields show "*" for each character.
    static void asteriskEcho(QLineEdit *edit);
};

} // namespace velmora
