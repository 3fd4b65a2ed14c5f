// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace velmora {

class HintBalloon;

// Missing or wrong input is shown as a balloon pointing at the control, titled "Problema !".
// At most one is on screen: a newer one replaces the older.
class FieldHint {
public:
    // Shows the balloon and returns at once; the balloon releases itself.
    static HintBalloon *show(const QString &text, QWidget *control);
    // The balloon on screen, if any.
    static HintBalloon *current();
    // Releases the balloon on screen, if any.
    static void hide();
};

} // namespace velmora
