#include "store/text/error.h"

namespace velmora {

Error::Error(QString message)
    : m_message(std::move(message))
    , m_utf8(m_message.toUtf8()) {}

} // namespace velmora
