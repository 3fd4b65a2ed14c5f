// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// The program's key in the system settings store: Software\Kestrova\25 under the machine-wide
// root on Windows, the per-user native file elsewhere (the machine-wide one needs root there).
// Values are strings; each call opens the store, reads or writes one value and releases it.
class Settings {
public:
    static QString organization() { return QStringLiteral("Kestrova"); }
    static QString application() { return QString::number(25); }
    // The company that the trip-sheet printouts name, set in the administrator window.
    static QString companyKey() { return QStringLiteral("FIRMA"); }

    // Empty when the value is missing or the store cannot be read.
    static QString read(const QString &name);
    // Raises a SettingsError when the store refuses the write; the old value stays then.
    static void write(const QString &name, const QString &value);
};

} // namespace velmora
