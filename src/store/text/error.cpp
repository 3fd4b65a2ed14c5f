// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/error.h"

namespace velmora {

Error::Error(QString message)
    : m_message(std::move(message))
    , m_utf8(m_message.toUtf8()) {}

QString Error::outOfMemoryText() {
    return QStringLiteral("Memoria calculatorului nu ajunge pentru aceasta operatie. Inchideti "
                          "alte programe si incercati din nou.");
}

} // namespace velmora
