// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Golden files: what the program writes (a printout, a table, an archive) compared byte for
// byte with a file kept in the test's folder under data/. A difference fails the test with
// the first differing offset and the bytes around it on both sides, and leaves what was made
// in the temporary folder to be looked at.
//
// A change that alters the output on purpose regenerates the files:
//     VELMORA_REGENERATE_GOLDEN=1 ctest --preset dev -R '<test>'
// writes what was made over the golden files (the tests pass), and `git diff` shows what
// changed; commit the new files with the change that made them.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTest>
#include <source_location>

namespace velmora::test {

inline bool regeneratingGoldenFiles() {
    return qEnvironmentVariableIsSet("VELMORA_REGENERATE_GOLDEN");
}

// The golden file's place in the source tree: data/name beside the test's source file. The
// compiler names that file relative to the build's top folder when ccache shortens the paths
// (its base_dir), and the test programs are in that folder's bin.
inline QString goldenPath(const QString &name,
                          std::source_location where = std::source_location::current()) {
    const QString source = QString::fromLocal8Bit(where.file_name());
    const QString folder =
        QDir::isAbsolutePath(source)
            ? QFileInfo(source).absolutePath()
            : QFileInfo(QCoreApplication::applicationDirPath() + QStringLiteral("/../") + source)
                  .absolutePath();
    return QDir::cleanPath(folder + QStringLiteral("/data/") + name);
}

inline QByteArray goldenBytes(const QString &name,
                              std::source_location where = std::source_location::current()) {
    QFile file(goldenPath(name, where));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

namespace golden {

// Up to 16 bytes from offset on, as hex, and as text where printable.
inline QString around(const QByteArray &bytes, qsizetype offset) {
    const QByteArray part = bytes.mid(offset, 16);
    QString text;
    for (const char c : part)
        text += c >= 0x20 && c < 0x7f ? QChar::fromLatin1(c) : QChar(u'.');
    return part.isEmpty()
               ? QStringLiteral("(end of file)")
               : QString::fromLatin1(part.toHex(' ')) + QStringLiteral("  |") + text + u'|';
}

} // namespace golden

// True when actual is the golden file's content; otherwise records the failure at the
// caller's line and returns false. While regenerating, writes actual as the golden file.
inline bool compareWithGolden(const QByteArray &actual, const QString &name,
                              std::source_location where = std::source_location::current()) {
    const QString path = goldenPath(name, where);
    const auto fail = [&](const QString &message) {
        QTest::qFail(qPrintable(message), where.file_name(), int(where.line()));
        return false;
    };
    if (regeneratingGoldenFiles()) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(actual) != actual.size() || !file.flush())
            return fail(QStringLiteral("cannot write the golden file %1").arg(path));
        qInfo("golden file written: %s", qPrintable(path));
        return true;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(
            QStringLiteral("no golden file %1; VELMORA_REGENERATE_GOLDEN=1 makes it").arg(path));
    const QByteArray expected = file.readAll();
    if (actual == expected)
        return true;

    qsizetype offset = 0;
    while (offset < actual.size() && offset < expected.size() && actual[offset] == expected[offset])
        ++offset;
    const QString kept = QDir::temp().filePath(QFileInfo(path).fileName());
    QFile made(kept);
    const bool keptOk = made.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                        made.write(actual) == actual.size();
    return fail(QStringLiteral("%1 differs from its golden file at offset %2 (0x%3); golden %4 "
                               "bytes, made %5 bytes.\n   golden: %6\n   made:   %7\n"
                               "   What was made is in %8. If the change is meant, "
                               "VELMORA_REGENERATE_GOLDEN=1 rewrites the golden file.")
                    .arg(name)
                    .arg(offset)
                    .arg(offset, 0, 16)
                    .arg(expected.size())
                    .arg(actual.size())
                    .arg(golden::around(expected, offset), golden::around(actual, offset),
                         keptOk ? kept : QStringLiteral("(could not be kept)")));
}

} // namespace velmora::test

// Fails the test (and returns) unless actual is the golden file data/name of this test folder.
#define VELMORA_COMPARE_GOLDEN(actual, name)                                                       \
    do {                                                                                           \
        if (!velmora::test::compareWithGolden((actual), (name)))                                   \
            return;                                                                                \
    } while (false)
