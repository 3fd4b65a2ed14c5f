// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/velmoraapplication.h"

#include "app/application.h"
#include "store/text/error.h"
#include "ui/dialoglanguage.h"
#include "ui/errorbox.h"
#include "ui/hintstyle.h"

namespace velmora {

VelmoraApplication::VelmoraApplication(int &argc, char **argv)
    : QApplication(argc, argv) {
    setApplicationName(Application::title());
    HintStyle::install(*this);
    // Qt's own file and print dialogs, never the desktop's: those are the ones the program
    // carries in Romanian (DialogLanguage), so every dialog reads the same on every desktop.
    setAttribute(Qt::AA_DontUseNativeDialogs);
    DialogLanguage::install(*this);
}

bool VelmoraApplication::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ErrorBox::show(userMessage(std::current_exception()));
    }
    return false;
}

} // namespace velmora
