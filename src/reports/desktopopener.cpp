// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/desktopopener.h"

#include <QDesktopServices>
#include <QUrl>

namespace velmora {

void DesktopOpener::open(const QString &path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace velmora
