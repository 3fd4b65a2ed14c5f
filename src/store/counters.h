// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/inifile.h"

#include <QString>
#include <QtGlobal>

namespace velmora {

// Record identifiers from the counters file: section INDEX holds, per counter, the next
// identifier to hand out. Identifiers are never derived from the tables and never reused.
class Counters {
public:
    // A run of identifiers taken in one read and one write of the file.
    struct Block {
        QString first; // as the file held it, e.g. "007"
        qint32 firstNumber = 0;
        qint32 count = 0;
        // The i-th identifier of the block, 0 <= i < count.
        QString id(qint32 i) const;
    };

    static QString section() { return QStringLiteral("INDEX"); }
    static QString sheets() { return QStringLiteral("IDFOAIE"); }
    static QString lines() { return QStringLiteral("IDSOS"); }

    explicit Counters(QString iniPath);

    // Hands out the counter's value exactly as stored ("1" when there is none yet) and
    // stores its successor. A value that is not a 32-bit whole number, a counter with no
    // successor, or a file that cannot be written raise a CountersError; the file is then
    // unchanged and no identifier is handed out.
    QString next(const QString &counter) const;
    // The same for count identifiers at once: the file then holds first + count.
    Block reserve(const QString &counter, qint32 count) const;

private:
    IniFile m_file;
};

} // namespace velmora
