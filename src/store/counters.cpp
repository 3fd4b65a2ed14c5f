#include "store/counters.h"

#include "store/text/error.h"

#include <QDir>
#include <limits>
#include <optional>

namespace velmora {

namespace {

// A whole number with an optional sign, within 32 bits; the text comes trimmed from the file.
std::optional<qint32> parseCounter(const QString &text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > qint64(std::numeric_limits<qint32>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(value);
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
    QString stored = m_file.read(section(), counter);
    if (stored.isEmpty())
        stored = QStringLiteral("1");
    const std::optional<qint32> number = parseCounter(stored);
    if (!number) {
        throw CountersError(QStringLiteral("Contorul %1 din fisierul %2 are valoarea \"%3\", care "
                                           "nu este un numar intreg.")
                                .arg(counter, QDir::toNativeSeparators(m_file.path()), stored));
    }
    const qint64 following = qint64(*number) + count;
    if (following > std::numeric_limits<qint32>::max()) {
        throw CountersError(QStringLiteral("Contorul %1 din fisierul %2 a ajuns la %3: nu mai "
                                           "pot fi date identificatoare noi.")
                                .arg(counter, QDir::toNativeSeparators(m_file.path()), stored));
    }
    m_file.write(section(), counter, QString::number(following));
    return Block{stored, *number, count};
}

} // namespace velmora
