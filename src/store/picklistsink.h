// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// Where a pick list's values go: a combo box of the sheet editor, or a plain list in the
// tool and the tests.
class PickListSink {
public:
    virtual ~PickListSink() = default;
    virtual void append(const QString &text) = 0;
    // Makes the first item the current one; nothing when the list is empty.
    virtual void selectFirst() = 0;
};

} // namespace velmora
