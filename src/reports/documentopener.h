// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// The system's "open" for a finished document: the program that the user's system
// associates with the file shows it. Tests put their own in its place.
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    // Whether the system could start a viewer is not examined.
    virtual void open(const QString &path) = 0;
};

} // namespace velmora
