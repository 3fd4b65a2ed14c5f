// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace velmora {

// The 8-bit code page of Romanian Windows, as a bijection between bytes and characters:
// the five bytes the code page leaves undefined stand for the C1 controls of the same number,
// so that any byte string read from a table or the counters file comes back unchanged.
class Cp1250 {
public:
    static QChar toChar(unsigned char byte);
    // -1 when the code page has no byte for the character.
    static int toByte(QChar ch);

    static QString decode(QByteArrayView bytes);
    // Comma-below ș ț Ș Ț are stored as their cedilla forms; any other character the code
    // page cannot hold raises an InputError naming it.
    static QByteArray encode(QStringView text);
    // The characters encode() would refuse, in order of first appearance.
    static QString unencodable(QStringView text);
    static bool canEncode(QStringView text) { return unencodable(text).isEmpty(); }

    // Straight to UTF-8, for output that never needs a QString.
    static void appendUtf8(QByteArray &out, QByteArrayView bytes);
};

} // namespace velmora
