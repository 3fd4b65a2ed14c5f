// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/romanianorder.h"

#include "store/text/cp1250.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace velmora {

namespace {

// The alphabet, one letter per entry, each with the letters of other languages that the code
// page holds and that a Romanian reader files under it. Within an entry, the order in which
// texts that differ only there still follow one another: capital, small, then the accented
// forms.
constexpr std::u16string_view kLetters[] = {
    u"AaÁáÄäĄą", u"Ăă",         u"Ââ",   u"Bb", u"CcĆćÇçČč", u"DdĎďĐđ",  u"EeÉéËëĘęĚě", u"Ff",
    u"Gg",       u"Hh",         u"IiÍí", u"Îî", u"Jj",       u"Kk",      u"LlĹĺĽľŁł",   u"Mm",
    u"NnŃńŇň",   u"OoÓóÔôÖöŐő", u"Pp",   u"Qq", u"RrŔŕŘř",   u"SsŚśŠšß", u"Şş",         u"TtŤť",
    u"Ţţ",       u"UuÚúŮůÜüŰű", u"Vv",   u"Ww", u"Xx",       u"YyÝý",    u"ZzŹźŽžŻż",
};

constexpr std::u16string_view kDigits = u"0123456789";

// Marks that only look different: a name typed with a typographic quote or dash sorts with
// the same name typed with the plain one.
constexpr std::u16string_view kMarkGroups[] = {
    u"'‘’‚",
    u"\"“”„«»",
    u"-–—\u00AD",
};

// Two weights per byte of the code page: the letter (or mark) it is, and its place among the
// bytes of the same letter.
struct Weights {
    std::array<unsigned char, 256> primary{};
    std::array<unsigned char, 256> tie{};
    // Both at once, the tie in the high byte: one look-up per byte for the engine's sorts.
    std::array<quint16, 256> both{};
    Weights();
};

int byteOf(char16_t c) {
    return Cp1250::toByte(QChar(c));
}

Weights::Weights() {
    std::array<bool, 256> placed{};
    int next = 0;
    const auto place = [&](std::u16string_view group) {
        ++next;
        unsigned char rank = 0;
        for (const char16_t c : group) {
            const int b = byteOf(c);
            Q_ASSERT(b >= 0 && !placed[b]);
            primary[b] = static_cast<unsigned char>(next);
            tie[b] = rank++;
            placed[b] = true;
        }
    };
    const auto placeByte = [&](int b) {
        const char16_t c = Cp1250::toChar(static_cast<unsigned char>(b)).unicode();
        place(std::u16string_view(&c, 1));
    };

    // Blanks first, so that a text comes before every longer text that begins with it.
    place(u" \u00A0");
    // Then the control characters a pasted text may bring, the marks, the digits, and the
    // letters last, as every Romanian dictionary and phone book has them.
    std::array<bool, 256> alphanumeric{};
    for (const std::u16string_view group : kLetters) {
        for (const char16_t c : group)
            alphanumeric[byteOf(c)] = true;
    }
    for (const char16_t c : kDigits)
        alphanumeric[byteOf(c)] = true;
    for (int b = 1; b < 256; ++b) {
        if (!placed[b] &&
            Cp1250::toChar(static_cast<unsigned char>(b)).category() == QChar::Other_Control)
            placeByte(b);
    }
    for (int b = 1; b < 256; ++b) {
        if (placed[b] || alphanumeric[b])
            continue;
        const char16_t c = Cp1250::toChar(static_cast<unsigned char>(b)).unicode();
        const auto *group = std::find_if(
            std::begin(kMarkGroups), std::end(kMarkGroups),
            [c](std::u16string_view g) { return g.find(c) != std::u16string_view::npos; });
        if (group != std::end(kMarkGroups))
            place(*group);
        else
            placeByte(b);
    }
    for (const char16_t c : kDigits)
        place(std::u16string_view(&c, 1));
    for (const std::u16string_view group : kLetters)
        place(group);
    Q_ASSERT(next < 255);

    // A field padded with NUL bytes holds the same text as one padded with blanks.
    primary[0] = primary[' '];
    tie[0] = tie[' '];
    for (int b = 0; b < 256; ++b)
        both[b] = static_cast<quint16>(primary[b] | tie[b] << 8);
}

const Weights &weights() {
    static const Weights w;
    return w;
}

// Every character the code page cannot hold comes after the last letter.
constexpr int kBeyondLetters = 256;

unsigned char byteAt(QByteArrayView text, qsizetype i) {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : ' ';
}

int sign(int v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

} // namespace

void RomanianOrder::writeKey(QByteArrayView cp1250, int width, char *out) {
    writeLetters(cp1250, width, out);
    const Weights &w = weights();
    const qsizetype n = std::min<qsizetype>(cp1250.size(), width);
    for (qsizetype i = 0; i < n; ++i)
        out[width + i] = static_cast<char>(w.tie[static_cast<unsigned char>(cp1250[i])]);
    std::memset(out + width + n, w.tie[' '], static_cast<size_t>(width - n));
}

bool RomanianOrder::writeLetters(QByteArrayView cp1250, int width, char *out) {
    const Weights &w = weights();
    const qsizetype n = std::min<qsizetype>(cp1250.size(), width);
    quint16 cases = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const quint16 both = w.both[static_cast<unsigned char>(cp1250[i])];
        out[i] = static_cast<char>(both & 0xFF);
        cases |= both;
    }
    std::memset(out + n, w.primary[' '], static_cast<size_t>(width - n));
    return (cases >> 8) != 0;
}

int RomanianOrder::compare(QByteArrayView a, QByteArrayView b) {
    const Weights &w = weights();
    const qsizetype n = std::max(a.size(), b.size());
    // Where the bytes are the same both levels are too: equal names, the common case of a
    // WHERE, cost one pass.
    const qsizetype common = std::min(a.size(), b.size());
    qsizetype start = 0;
    while (start < common && a[start] == b[start])
        ++start;
    for (const auto *level : {&w.primary, &w.tie}) {
        for (qsizetype i = start; i < n; ++i) {
            const int x = (*level)[byteAt(a, i)];
            const int y = (*level)[byteAt(b, i)];
            if (x != y)
                return x < y ? -1 : 1;
        }
    }
    return 0;
}

int RomanianOrder::compare(QStringView a, QStringView b) {
    const Weights &w = weights();
    const auto weightAt = [&w](QStringView text, qsizetype i, bool primary) {
        const int byte = i < text.size() ? Cp1250::toByte(text[i]) : ' ';
        if (byte < 0)
            return primary ? kBeyondLetters : 0;
        return int(primary ? w.primary[byte] : w.tie[byte]);
    };
    const qsizetype n = std::max(a.size(), b.size());
    for (const bool primary : {true, false}) {
        for (qsizetype i = 0; i < n; ++i) {
            const int x = weightAt(a, i, primary);
            const int y = weightAt(b, i, primary);
            if (x != y)
                return x < y ? -1 : 1;
        }
    }
    // Comma-below and cedilla forms, trailing blanks, characters from beyond the code page:
    // one order still, by their codes.
    return sign(a.compare(b));
}

} // namespace velmora
