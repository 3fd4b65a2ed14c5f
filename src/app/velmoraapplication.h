// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

namespace velmora {

// The Qt application object of the program. No error of the core crosses the event loop: an
// operation stopped by one ends where it was, and the error box shows why.
class VelmoraApplication : public QApplication {
    Q_OBJECT

public:
    VelmoraApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace velmora
