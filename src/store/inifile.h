// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace velmora {

// One value at a time of an initialization file, the way the Windows profile-string calls
// treat it: "[section]" lines, then "key=value" lines; section and key names compared
// without regard to case; blanks around names and values not part of them. The file is
// cp1250 text. Nothing is cached: every call opens the file, reads or writes, and lets it go.
class IniFile {
public:
    explicit IniFile(QString path);
    const QString &path() const { return m_path; }

    // The value of the first such key in the first such section; empty when the file, the
    // section or the key is missing, or the file cannot be read.
    QString read(QStringView section, QStringView key) const;

    // Sets the key, creating the file, the section (at the end) and the key (after the last
    // key of its section) as needed. Every other line keeps its bytes and its line ending;
    // lines written end with CR LF. The file is replaced as a whole, so a kill leaves either
    // the old or the new file. Raises an InputError for a name or value the file cannot hold
    // (nothing is written then), a CountersError when the file cannot be read or replaced.
    void write(QStringView section, QStringView key, QStringView value) const;

private:
    QString m_path;
};

} // namespace velmora
