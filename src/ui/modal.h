// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QDialog;
class QWidget;

namespace velmora {

// Every window of the program is shown modally, centred on the screen, and the caller goes
// on with the window's result.
class Modal {
public:
    // Shows the dialog centred on the screen and returns its QDialog result once it closes.
    static int exec(QDialog &dialog);
    // Moves the window to the middle of the screen it is on (the primary one before it is
    // first shown).
    static void centreOnScreen(QWidget &window);
    // Moves the window to the middle of another one (shown or hidden), but never past the
    // edges of the screen that the middle lies on.
    static void centreOver(QWidget &window, const QWidget &over);
};

} // namespace velmora
