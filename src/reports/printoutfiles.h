// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// The numbered files a sheet printout goes to: Rap1.rtf … Rap100.rtf, on Windows in C:\,
// elsewhere in the user's documents folder. A file the viewer still holds open cannot be
// deleted, and the next number is taken.
class PrintoutFiles {
public:
    static constexpr int kCount = 100;

    explicit PrintoutFiles(QString directory = defaultDirectory());
    static QString defaultDirectory();

    const QString &directory() const { return m_directory; }
    QString path(int number) const;
    // The first name that is free, or whose file could be deleted (it is, then). Creates the
    // directory when it is missing. A PrintoutError when no name can be used.
    QString choose() const;

private:
    QString m_directory;
};

} // namespace velmora
