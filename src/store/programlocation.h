// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// Where the program keeps its data. A copy that runs from a folder it can write keeps its
// data there, beside the program file, as a portable copy does. An installed copy (its folder
// cannot be written, or the installed layout's share/velmora sits beside its bin folder) keeps
// it in the user's own data location, QStandardPaths::AppDataLocation, which therefore
// depends on the application name set before the call.
class ProgramLocation {
public:
    // executableDir: the folder of the running program file.
    explicit ProgramLocation(const QString &executableDir);

    // The program directory: the folder that holds Data and the sheet template.
    const QString &programDir() const { return m_programDir; }
    // True when the data lives beside the program file.
    bool isPortable() const { return m_portable; }
    // The installed template, share/velmora/Foaie.rtf relative to the program file's folder.
    QString installedTemplate() const;

    // Creates the program directory when missing and, the first time, copies the installed
    // template into it, so that the user changes a copy of their own; a copy already there is
    // never replaced. A FileError when the directory cannot be made or the copy fails.
    void prepare() const;

    static QString templateName() { return QStringLiteral("Foaie.rtf"); }
    // True when a file can really be created in the folder (permission bits lie for root and
    // on read-only mounts).
    static bool canCreateFilesIn(const QString &folder);

private:
    QString m_executableDir;
    QString m_programDir;
    bool m_portable = false;
};

} // namespace velmora
