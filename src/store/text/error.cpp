// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/error.h"

#include <new>

namespace velmora {

Error::Error(QString message)
    : m_message(std::move(message))
    , m_utf8(m_message.toUtf8()) {}

QString Error::outOfMemoryText() {
    return QStringLiteral("Memoria calculatorului nu ajunge pentru aceasta operatie. Inchideti "
                          "alte programe si incercati din nou.");
}

QString userMessage(std::exception_ptr error) {
    if (!error)
        return {};
    try {
        std::rethrow_exception(error);
    } catch (const Error &e) {
        return e.message();
    } catch (const std::bad_alloc &) {
        return Error::outOfMemoryText();
    } catch (const std::exception &e) {
        return QStringLiteral("Operatia a fost oprita de o eroare neprevazuta (%1).")
            .arg(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return QStringLiteral("Operatia a fost oprita de o eroare necunoscuta.");
    }
}

} // namespace velmora
