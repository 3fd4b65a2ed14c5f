// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/csvdialect.h"

namespace velmora {

QString CsvDialect::name() const {
    return m_kind == Kind::Romanian ? QStringLiteral("Excel (Romania)")
                                    : QStringLiteral("CSV standard");
}

QByteArray CsvDialect::lineEnd() const {
    return m_kind == Kind::Romanian ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
}

QByteArray CsvDialect::start() const {
    return m_kind == Kind::Romanian ? QByteArrayLiteral("\xEF\xBB\xBF") : QByteArray();
}

} // namespace velmora
