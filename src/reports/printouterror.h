// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/text/error.h"

namespace velmora {

// A printout that could not even start: no printout file is free, or the template cannot be
// used. The window shows it in the message dialog under the title "Raport".
class PrintoutError : public FileError {
public:
    using FileError::FileError;
    static QString title() { return QStringLiteral("Raport"); }
};

} // namespace velmora
