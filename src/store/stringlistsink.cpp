// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/stringlistsink.h"

namespace velmora {

void StringListSink::append(const QString &text) {
    m_items.append(text);
}

void StringListSink::selectFirst() {
    m_current = m_items.isEmpty() ? -1 : 0;
}

QString StringListSink::currentText() const {
    return m_current < 0 ? QString() : m_items.at(m_current);
}

void StringListSink::clear() {
    m_items.clear();
    m_current = -1;
}

} // namespace velmora
