// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace velmora {

// The name a member is stored under: "Data\" and the file's own name, in cp1250. A stored
// name is a path relative to the program directory; the reader takes only the ones that lead
// to a plain file directly inside Data.
class MemberName {
public:
    // The longest file name the file systems allow, and "Data\" with it.
    static constexpr qint32 kMaxFileName = 255;
    static constexpr qint32 kMaxLength = 5 + kMaxFileName;

    // An InputError when the name cannot be written in cp1250 or is not a plain name.
    static QByteArray stored(const QString &fileName);
    // The file name inside Data that a stored name leads to; empty when the stored name is
    // refused (absolute, a separator or ".." after "Data\", a name a file system cannot hold
    // or one that belongs to the engine).
    static QString fileName(QByteArrayView stored);
    // Whether a stored name begins as every stored name does, with "Data\".
    static bool hasPrefix(QByteArrayView stored);
    // Whether a file name is a plain name any supported file system keeps as it is.
    static bool isPlain(const QString &fileName);
    // Why a file of Data cannot go into an archive under its name, in words for the user;
    // empty when it can.
    static QString refusal(const QString &fileName);
};

} // namespace velmora
