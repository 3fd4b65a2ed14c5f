// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/cp1250.h"

#include "store/text/error.h"

#include <array>

namespace velmora {

namespace {

// Characters of the bytes 0x80 to 0xFF.
constexpr std::array<char16_t, 128> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

char16_t foldComma(char16_t c) {
    switch (c) {
    case 0x0219:
        return 0x015F; // ș -> ş
    case 0x021B:
        return 0x0163; // ț -> ţ
    case 0x0218:
        return 0x015E; // Ș -> Ş
    case 0x021A:
        return 0x0162; // Ț -> Ţ
    default:
        return c;
    }
}

struct Utf8Table {
    std::array<std::array<char, 4>, 256> bytes{};
    std::array<unsigned char, 256> length{};
    Utf8Table() {
        for (int b = 0; b < 256; ++b) {
            const QByteArray utf8 = QString(Cp1250::toChar(static_cast<unsigned char>(b))).toUtf8();
            length[b] = static_cast<unsigned char>(utf8.size());
            for (int i = 0; i < utf8.size(); ++i)
                bytes[b][i] = utf8[i];
        }
    }
};

} // namespace

QChar Cp1250::toChar(unsigned char byte) {
    return byte < 0x80 ? QChar(char16_t(byte)) : QChar(kHigh[byte - 0x80]);
}

int Cp1250::toByte(QChar ch) {
    const char16_t c = foldComma(ch.unicode());
    if (c < 0x80)
        return c;
    for (int i = 0; i < 128; ++i) {
        if (kHigh[i] == c)
            return 0x80 + i;
    }
    return -1;
}

QString Cp1250::decode(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = toChar(static_cast<unsigned char>(bytes[i]));
    return text;
}

QByteArray Cp1250::encode(QStringView text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = toByte(text[i]);
        if (b < 0) {
            throw InputError(
                QStringLiteral("Textul \"%1\" contine caracterul \"%2\", care nu poate "
                               "fi memorat. Folositi numai litere fara diacritice "
                               "sau diacritice romanesti.")
                    .arg(text.toString(),
                         text.mid(i, text[i].isHighSurrogate() ? 2 : 1).toString()));
        }
        bytes[i] = static_cast<char>(b);
    }
    return bytes;
}

QString Cp1250::unencodable(QStringView text) {
    QString bad;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (toByte(text[i]) < 0 && !bad.contains(text[i]))
            bad += text[i];
    }
    return bad;
}

void Cp1250::appendUtf8(QByteArray &out, QByteArrayView bytes) {
    static const Utf8Table table;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out.append(c);
        else
            out.append(table.bytes[b].data(), table.length[b]);
    }
}

} // namespace velmora
