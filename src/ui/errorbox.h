// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace velmora {

// The platform's standard error box, in which the errors of the store, the settings and the
// file system end an operation. Tests put their own handler in its place.
class ErrorBox {
public:
    using Handler = std::function<void(const QString &message)>;

    // Under the application's title, over the active window and above the windows that stay
    // on top.
    static void show(const QString &message);
    // An empty handler brings the standard box back.
    static void setHandler(Handler handler);
};

} // namespace velmora
