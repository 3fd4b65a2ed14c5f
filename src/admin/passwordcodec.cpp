// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin/passwordcodec.h"

#include "store/text/cp1250.h"
#include "store/text/error.h"

#include <QtGlobal>

namespace velmora {

namespace {

// A 32-bit linear congruential generator; a draw with bound n yields 0 to n - 1.
class Draws {
public:
    explicit Draws(quint32 seed)
        : m_state(seed) {}

    int next(int bound) {
        m_state = m_state * 134775813u + 1u;
        return static_cast<int>((static_cast<quint64>(m_state) * static_cast<quint32>(bound)) >>
                                32);
    }

private:
    quint32 m_state;
};

} // namespace

QByteArray PasswordCodec::encodeBytes(QByteArrayView password) {
    quint32 sum = 0;
    for (const char c : password)
        sum += static_cast<unsigned char>(c);
    Draws draw(sum);
    QByteArray text(password.data(), password.size());

    // Characters with codes 32 to 181 inserted at drawn places.
    const int inserts = draw.next(30) + 6;
    for (int n = 0; n < inserts; ++n) {
        const int pos = draw.next(static_cast<int>(text.size())) + 1;
        const int code = draw.next(150) + 32;
        text.insert(pos - 1, static_cast<char>(code));
    }
    const int swaps = draw.next(50) + 50;
    text.prepend(' ');
    // Positions from 1, as the stored passwords were made. The first character ends up as a
    // copy of the last one moved, and the last character never moves.
    const auto at = [&text](int position) -> char & {
        return text[position - 1];
    };
    for (int n = 0; n < swaps; ++n) {
        const int length = static_cast<int>(text.size());
        const int i = draw.next(length - 2) + 2;
        const int j = draw.next(length - 2) + 2;
        at(1) = at(i);
        at(i) = at(j);
        at(j) = at(1);
    }
    return text;
}

QString PasswordCodec::encode(QStringView password) {
    const QString refused = Cp1250::unencodable(password);
    if (!refused.isEmpty()) {
        throw InputError(QStringLiteral("Parola contine caracterul \"%1\", care nu poate fi "
                                        "folosit. Folositi numai litere, cifre si semne de pe "
                                        "tastatura romaneasca.")
                             .arg(refused.left(refused.at(0).isHighSurrogate() ? 2 : 1)));
    }
    return Cp1250::decode(encodeBytes(Cp1250::encode(password)));
}

bool PasswordCodec::matches(QStringView entry, QStringView stored) {
    if (!Cp1250::canEncode(entry))
        return false;
    return encode(entry) == stored;
}

} // namespace velmora
