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
    } catch (const Error &error) {
        ErrorBox::show(error.message());
    } catch (const std::bad_alloc &) {
        ErrorBox::show(Error::outOfMemoryText());
    } catch (const std::exception &error) {
        ErrorBox::show(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

} // namespace velmora
