// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/documentopener.h"

namespace velmora {

// Opens the document with the program the desktop associates with its type.
class DesktopOpener : public DocumentOpener {
public:
    void open(const QString &path) override;
};

} // namespace velmora
