// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/picklistsink.h"

#include <QStringList>

namespace velmora {

// A pick list held as plain strings, with the index of the current item as a combo box
// keeps it (-1 for none).
class StringListSink : public PickListSink {
public:
    void append(const QString &text) override;
    void selectFirst() override;

    const QStringList &items() const { return m_items; }
    int currentIndex() const { return m_current; }
    QString currentText() const;
    void clear();

private:
    QStringList m_items;
    int m_current = -1;
};

} // namespace velmora
