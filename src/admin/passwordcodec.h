// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace velmora {

// The administrator password is never stored in clear: the settings keep its encoding, and an
// entry is checked by encoding it again and comparing the two texts. The encoding works on
// the password's Windows-1250 bytes, so a password set by an earlier version of the program
// still matches.
class PasswordCodec {
public:
    // The encoded bytes of a byte text.
    static QByteArray encodeBytes(QByteArrayView password);
    // The encoded text as Windows-1250 characters, the form the settings store keeps.
    // Raises an InputError, naming only the offending character, when the password holds a
    // character the code page cannot hold.
    static QString encode(QStringView password);
    // The entry encodes to the stored text. An entry the code page cannot hold matches
    // nothing, since no such password can have been stored.
    static bool matches(QStringView entry, QStringView stored);
};

} // namespace velmora
