// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/counters.h"

#include "store/dbf/datalock.h"
#include "store/text/error.h"

#include <QDir>
#include <limits>

namespace velmora {

namespace {

struct Parsed {
    enum class Status { Ok, NotWhole, TooLarge } status = Status::NotWhole;
    qint32 value = 0;
};

// A whole number with an optional sign, within 32 bits; the text comes trimmed from the file.
Parsed parseCounter(const QString &text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return {};
    qint64 value = 0;
    bool tooLarge = false;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return {};
        // Every digit is still looked at, so that "99999999999x" is not a whole number at all.
        if (!tooLarge) {
            value = value * 10 + (c - u'0');
            tooLarge = value > qint64(std::numeric_limits<qint32>::max()) + 1;
        }
    }
    if (negative)
        value = -value;
    if (tooLarge || value < std::numeric_limits<qint32>::min() ||
        value > std::numeric_limits<qint32>::max())
        return {Parsed::Status::TooLarge, 0};
    return {Parsed::Status::Ok, static_cast<qint32>(value)};
}

} // namespace

QString Counters::Block::id(qint32 i) const {
    return i == 0 ? first : QString::number(qint64(firstNumber) + i);
}

Counters::Counters(QString iniPath)
    : m_file(std::move(iniPath)) {}

QString Counters::next(const QString &counter) const {
    return reserve(counter, 1).first;
}

Counters::Block Counters::reserve(const QString &counter, qint32 count) const {
    if (count < 1) {
        throw InputError(
            QStringLiteral("Numarul de identificatoare cerute (%1) trebuie sa fie cel putin 1.")
                .arg(count));
    }
    // No other process may hand out the same identifiers between the read and the write.
    const DataLock lock(DataLock::directoryOf(m_file.path()), DataLock::Mode::Exclusive);
    QString stored = m_file.read(section(), counter);
    if (stored.isEmpty())
        stored = QStringLiteral("1");
    const Parsed number = parseCounter(stored);
    if (number.status == Parsed::Status::NotWhole) {
        throw CountersError(QStringLiteral("Contorul %1 din fisierul %2 are valoarea \"%3\", care "
                                           "nu este un numar intreg.")
                                .arg(counter, QDir::toNativeSeparators(m_file.path()), stored));
    }
    if (number.status == Parsed::Status::TooLarge) {
        throw CountersError(QStringLiteral("Contorul %1 din fisierul %2 are valoarea \"%3\", care "
                                           "este prea mare: un contor poate ajunge cel mult la "
                                           "%4.")
                                .arg(counter, QDir::toNativeSeparators(m_file.path()), stored)
                                .arg(std::numeric_limits<qint32>::max()));
    }
    const qint64 following = qint64(number.value) + count;
    if (following > std::numeric_limits<qint32>::max()) {
        throw CountersError(QStringLiteral("Contorul %1 din fisierul %2 a ajuns la %3: nu mai "
                                           "pot fi date identificatoare noi.")
                                .arg(counter, QDir::toNativeSeparators(m_file.path()), stored));
    }
    m_file.write(section(), counter, QString::number(following));
    return Block{stored, number.value, count};
}

} // namespace velmora
