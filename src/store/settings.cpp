// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/settings.h"

#include "store/text/error.h"

#include <QSettings>

namespace velmora {

namespace {

QSettings::Scope scope() {
#ifdef Q_OS_WIN
    return QSettings::SystemScope;
#else
    return QSettings::UserScope;
#endif
}

} // namespace

QString Settings::read(const QString &name) {
    QSettings store(QSettings::NativeFormat, scope(), organization(), application());
    if (store.status() != QSettings::NoError)
        return {};
    return store.value(name).toString();
}

void Settings::write(const QString &name, const QString &value) {
    QSettings store(QSettings::NativeFormat, scope(), organization(), application());
    store.setValue(name, value);
    store.sync();
    if (store.status() != QSettings::NoError || !store.isWritable()) {
        throw SettingsError(
            QStringLiteral("Valoarea %1 nu poate fi scrisa in setarile programului (%2\\%3).")
                .arg(name, organization(), application()));
    }
}

} // namespace velmora
