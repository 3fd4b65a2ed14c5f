// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace velmora {

// The two forms an exported file takes.
//
// "Excel (Romania)", the default, is what a spreadsheet under Romanian settings opens as it
// is: ";" between fields, CR LF line ends, UTF-8 with a byte-order mark (without it Excel
// reads the file in the Windows code page), a decimal comma, dates dd.MM.yyyy, and the
// comma-below letters ș ț Ș Ț where the tables hold their cedilla forms ş ţ Ş Ţ, since
// Romanian fonts and spell checkers expect those.
//
// "CSV standard" is for other programs: ",", LF, UTF-8 without a mark, a decimal point,
// ISO dates yyyy-MM-dd, and the letters exactly as the tables hold them, so that a value
// compares equal with what velmora-tool sql prints and with what a statement writes back.
//
// Both quote with '"' where a value needs it, write hours HH:mm, no thousands separator,
// the same column titles, and guard text that a spreadsheet would run as a formula.
class CsvDialect {
public:
    enum class Kind { Romanian, Standard };

    constexpr CsvDialect() = default;
    constexpr explicit CsvDialect(Kind kind)
        : m_kind(kind) {}
    static constexpr CsvDialect romanian() { return CsvDialect(Kind::Romanian); }
    static constexpr CsvDialect standard() { return CsvDialect(Kind::Standard); }
    // In the order a choice lists them, the default first.
    static QList<Kind> kinds() { return {Kind::Romanian, Kind::Standard}; }

    constexpr Kind kind() const { return m_kind; }
    // "Excel (Romania)" or "CSV standard".
    QString name() const;

    constexpr char separator() const { return m_kind == Kind::Romanian ? ';' : ','; }
    constexpr char decimalPoint() const { return m_kind == Kind::Romanian ? ',' : '.'; }
    QByteArray lineEnd() const;
    // What the file starts with: the UTF-8 byte-order mark, or nothing.
    QByteArray start() const;
    constexpr bool commaBelow() const { return m_kind == Kind::Romanian; }
    // dd.MM.yyyy or yyyy-MM-dd.
    constexpr bool dayFirst() const { return m_kind == Kind::Romanian; }

    friend constexpr bool operator==(CsvDialect a, CsvDialect b) { return a.m_kind == b.m_kind; }

private:
    Kind m_kind = Kind::Romanian;
};

} // namespace velmora
