// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace velmora {

// Enter as Tab: moves the focus to the next field of the window in tab order.
class EnterTab {
public:
    // Returns the control that received the focus, or nullptr when there is none.
    static QWidget *focusNext(QWidget *from);
    static bool canTakeFocus(const QWidget *widget);
};

} // namespace velmora
