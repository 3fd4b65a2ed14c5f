// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace velmora {

// Every failure of the core is one of these, carrying the Romanian text the user sees.
// The windows let them travel to the event loop's boundary, where the standard error box
// shows them; the command-line tool prints them on stderr.
class Error : public std::exception {
public:
    explicit Error(QString message);
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

    // What the user reads when memory runs out (std::bad_alloc has no words of its own).
    static QString outOfMemoryText();

private:
    QString m_message;
    QByteArray m_utf8;
};

// The SQL engine refused a statement or could not read a table.
class EngineError : public Error {
    using Error::Error;
};

// A file or directory could not be created, read, written or replaced.
class FileError : public Error {
    using Error::Error;
};

// The settings store refused a write.
class SettingsError : public Error {
    using Error::Error;
};

// The counters file holds something that is not a counter, or cannot be written.
class CountersError : public Error {
    using Error::Error;
};

// What the user reads about whatever stopped an operation; the one place where an exception
// becomes words, for the windows' error box and the tool's stderr alike: an Error's own
// message; for memory that ran out, outOfMemoryText(); for another standard exception, a
// Romanian sentence that keeps its technical text for whoever reports it; for anything else,
// a Romanian sentence. Null gives an empty text.
QString userMessage(std::exception_ptr error);

// A backup archive is damaged or cannot be written.
class ArchiveError : public Error {
    using Error::Error;
};

// Two tables that must agree no longer do: a change was written, what had to follow it was
// refused, and putting the change back was refused too. The message says what is now out of
// step, so that the user can set it right.
class OutOfStepError : public Error {
    using Error::Error;
};

// Text that the tables' code page cannot hold, or another refused input value.
class InputError : public Error {
    using Error::Error;
};

} // namespace velmora
