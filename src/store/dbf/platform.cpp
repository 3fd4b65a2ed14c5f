// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dbf/platform.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <algorithm>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmora {

namespace {

int lastSystemError() {
#ifdef Q_OS_WIN
    return static_cast<int>(GetLastError());
#else
    return errno;
#endif
}

#ifdef Q_OS_WIN
constexpr int kCommonErrors[] = {
    ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION,
    ERROR_LOCK_VIOLATION, ERROR_WRITE_PROTECT,  ERROR_DISK_FULL,     ERROR_HANDLE_DISK_FULL,
    ERROR_DIRECTORY,      ERROR_ALREADY_EXISTS, ERROR_FILE_EXISTS,   ERROR_NOT_ENOUGH_MEMORY,
    ERROR_OUTOFMEMORY};
constexpr int kIsDirectory = ERROR_DIRECTORY;
constexpr int kDenied = ERROR_ACCESS_DENIED;
constexpr int kExists = ERROR_FILE_EXISTS;
constexpr int kMissing = ERROR_FILE_NOT_FOUND;
#else
constexpr int kCommonErrors[] = {ENOENT, EACCES, EPERM,  EROFS,  ENOSPC, ENOTDIR,      EISDIR,
                                 EEXIST, EIO,    ENOMEM, EMFILE, ENFILE, ENAMETOOLONG, EPIPE,
#ifdef EDQUOT
                                 EDQUOT
#endif
};
constexpr int kIsDirectory = EISDIR;
constexpr int kDenied = EACCES;
constexpr int kExists = EEXIST;
constexpr int kMissing = ENOENT;
#endif

// Qt's own words (QIODevice, QFile, QSaveFile, untranslated in the tool) for failures that
// the system would have named; the file's name, where Qt puts one in, stands between the two
// parts.
struct QtWords {
    const char *before;
    const char *after;
    int code;
};
constexpr QtWords kQtWords[] = {
    {"file to open is a directory", "", kIsDirectory},
    {"Filename refers to a directory", "", kIsDirectory},
    {"Existing file ", " is not writable", kDenied},
    {"Destination file exists", "", kExists},
    {"Source file does not exist.", "", kMissing},
};

QString unknownReason() {
    return QStringLiteral("motivul nu este cunoscut");
}

QString systemText(int code) {
#ifdef Q_OS_WIN
    wchar_t *buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    QString text = n ? QString::fromWCharArray(buffer, static_cast<int>(n)).trimmed() : QString();
    LocalFree(buffer);
    return text;
#else
    return QString::fromLocal8Bit(std::strerror(code));
#endif
}

} // namespace

QString Platform::reasonText(int systemError) {
#ifdef Q_OS_WIN
    switch (systemError) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return QStringLiteral("fisierul sau directorul nu exista");
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return QStringLiteral("accesul nu este permis");
    case ERROR_WRITE_PROTECT:
        return QStringLiteral("discul este protejat la scriere");
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return QStringLiteral("discul este plin");
    case ERROR_DIRECTORY:
        return QStringLiteral("este un director");
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return QStringLiteral("exista deja un fisier cu acest nume");
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return QStringLiteral("memoria nu ajunge");
    default:
        return {};
    }
#else
    switch (systemError) {
    case ENOENT:
        return QStringLiteral("fisierul sau directorul nu exista");
    case EACCES:
    case EPERM:
        return QStringLiteral("accesul nu este permis");
    case EROFS:
        return QStringLiteral("discul este protejat la scriere");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("discul este plin");
    case EISDIR:
        return QStringLiteral("este un director");
    case EEXIST:
        return QStringLiteral("exista deja un fisier cu acest nume");
    case ENOTDIR:
        return QStringLiteral("o parte a caii nu este un director");
    case EIO:
        return QStringLiteral("eroare de citire sau scriere pe disc");
    case ENOMEM:
        return QStringLiteral("memoria nu ajunge");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("sunt deschise prea multe fisiere");
    case ENAMETOOLONG:
        return QStringLiteral("numele este prea lung");
    case EPIPE:
        return QStringLiteral("programul care citea a inchis legatura");
    default:
        return {};
    }
#endif
}

QString Platform::reason(const QString &qtText) {
    // Compared as text, not through errno: by the time a message is made, errno may speak for
    // a later call (a close, a removal of what was half written).
    const QString text = qtText.trimmed();
    const qsizetype colon = text.lastIndexOf(QStringLiteral(": "));
    const QStringView afterCall = colon < 0 ? QStringView() : QStringView(text).mid(colon + 2);
    for (const int code : kCommonErrors) {
        const QString system = systemText(code);
        if (!system.isEmpty() && (text == system || afterCall == system))
            return reasonText(code);
    }
    for (const QtWords &words : kQtWords) {
        const QLatin1String before(words.before);
        const QLatin1String after(words.after);
        if (text.size() >= before.size() + after.size() && text.startsWith(before) &&
            text.endsWith(after))
            return reasonText(words.code);
    }
    if (text == QLatin1String("Unknown error"))
        return unknownReason();
    return qtText;
}

QString Platform::reason(const QIODevice &device) {
    return reason(device.errorString());
}

QString Platform::lastReason() {
    const int code = lastSystemError();
    if (code == 0)
        return unknownReason();
    const QString text = reasonText(code);
    return text.isEmpty() ? systemText(code) : text;
}

bool Platform::replaceFile(const QString &from, const QString &to, QString *error) {
#ifdef Q_OS_WIN
    const std::wstring src = QDir::toNativeSeparators(from).toStdWString();
    const std::wstring dst = QDir::toNativeSeparators(to).toStdWString();
    if (MoveFileExW(src.c_str(), dst.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    if (error)
        *error = lastReason();
    return false;
#else
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    if (error)
        *error = lastReason();
    return false;
#endif
}

namespace {
bool g_sync = true;
Platform::SyncObserver g_syncObserver = nullptr;
struct DirectoryFault {
    Platform::DirectoryCall call = Platform::DirectoryCall::Open;
    int error = 0;
};
DirectoryFault g_directoryFault;
} // namespace

void Platform::setSyncObserver(SyncObserver observer) {
    g_syncObserver = observer;
}

void Platform::setSyncEnabled(bool on) {
    g_sync = on;
}

bool Platform::syncEnabled() {
    return g_sync;
}

bool Platform::syncFile(QFileDevice &file) {
    if (!file.flush())
        return false;
    if (!g_sync)
        return true;
#ifdef Q_OS_WIN
    const bool done =
        FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()))) != 0;
#elif defined(Q_OS_LINUX)
    // The data and what is needed to read it back (the size) reach the disk; the times are
    // left to the next write-back, which saves a journal commit on every statement.
    const bool done = ::fdatasync(file.handle()) == 0;
#else
    const bool done = ::fsync(file.handle()) == 0;
#endif
    if (done && g_syncObserver)
        g_syncObserver(file.fileName());
    return done;
}

void Platform::failDirectorySync(DirectoryCall call, int systemError) {
    g_directoryFault = {call, systemError};
}

bool Platform::syncDirectory(const QString &path, QString *error) {
    if (!g_sync)
        return true;
#ifdef Q_OS_WIN
    // NTFS journals its directory entries; there is no handle to flush.
    Q_UNUSED(error);
#else
    const auto injected = [](DirectoryCall call) {
        if (g_directoryFault.error == 0 || g_directoryFault.call != call)
            return false;
        errno = g_directoryFault.error;
        return true;
    };
    const int fd = injected(DirectoryCall::Open) ? -1
                                                 : ::open(QFile::encodeName(path).constData(),
                                                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = lastReason();
        return false;
    }
    const bool synced = !injected(DirectoryCall::Sync) && ::fsync(fd) == 0;
    const int syncError = errno;
    ::close(fd);
    if (!synced) {
        if (syncError == EINVAL)
            return true;
        errno = syncError;
        if (error)
            *error = lastReason();
        return false;
    }
#endif
    if (g_syncObserver)
        g_syncObserver(path);
    return true;
}

bool Platform::isReadOnly(const QString &path) {
#ifdef Q_OS_WIN
    const DWORD attributes =
        GetFileAttributesW(QDir::toNativeSeparators(path).toStdWString().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_READONLY);
#else
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
           ::access(name.constData(), W_OK) != 0;
#endif
}

bool Platform::isReadOnly(const QFileDevice &file) {
#ifdef Q_OS_WIN
    // Windows refuses to open a read-only file for writing, whoever asks.
    Q_UNUSED(file);
    return false;
#else
    struct stat info;
    if (file.handle() < 0 || ::fstat(file.handle(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
#endif
}

Platform::LockHandle Platform::openLockFile(const QString &path, QString *error) {
#ifdef Q_OS_WIN
    const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
    HANDLE h = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        h = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (error)
            *error = lastReason();
        return kNoLock;
    }
    return reinterpret_cast<LockHandle>(h);
#else
    const QByteArray name = QFile::encodeName(path);
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    // A lock file that exists but cannot be written locks just as well.
    if (fd < 0)
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = lastReason();
        return kNoLock;
    }
    return fd;
#endif
}

bool Platform::tryLockFile(LockHandle handle, bool exclusive) {
#ifdef Q_OS_WIN
    OVERLAPPED at = {};
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    return LockFileEx(reinterpret_cast<HANDLE>(handle), flags, 0, MAXDWORD, MAXDWORD, &at) != 0;
#else
    // flock locks belong to the open file, not to the process as fcntl's do, so two handles
    // of one process exclude each other too, and closing an unrelated descriptor of the same
    // file never drops them.
    const int fd = static_cast<int>(handle);
    while (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
#endif
}

void Platform::closeLockFile(LockHandle handle) {
    if (handle == kNoLock)
        return;
#ifdef Q_OS_WIN
    CloseHandle(reinterpret_cast<HANDLE>(handle));
#else
    ::close(static_cast<int>(handle));
#endif
}

Platform::FileKind Platform::kindOf(const QString &path) {
#ifdef Q_OS_WIN
    const DWORD attributes =
        GetFileAttributesW(QDir::toNativeSeparators(path).toStdWString().c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FileKind::Missing;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return FileKind::SymLink;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return FileKind::Directory;
    if (attributes & FILE_ATTRIBUTE_DEVICE)
        return FileKind::Other;
    return FileKind::Regular;
#else
    struct stat info;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return FileKind::Missing;
    if (S_ISREG(info.st_mode))
        return FileKind::Regular;
    if (S_ISDIR(info.st_mode))
        return FileKind::Directory;
    if (S_ISLNK(info.st_mode))
        return FileKind::SymLink;
    return FileKind::Other;
#endif
}

QList<Platform::DirEntry> Platform::listDirectory(const QString &dir, QString *error) {
    QList<DirEntry> entries;
#ifdef Q_OS_WIN
    const std::wstring pattern =
        QDir::toNativeSeparators(dir + QStringLiteral("/*")).toStdWString();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND && error)
            *error = lastReason();
        return entries;
    }
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        DirEntry entry;
        entry.name = name;
        entry.kind = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? FileKind::SymLink
                     : (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)   ? FileKind::Directory
                                                                             : FileKind::Regular;
        entries.append(entry);
    } while (FindNextFileW(search, &found));
    FindClose(search);
#else
    const QByteArray path = QFile::encodeName(dir);
    DIR *stream = ::opendir(path.constData());
    if (!stream) {
        if (error)
            *error = lastReason();
        return entries;
    }
    while (const dirent *found = ::readdir(stream)) {
        const QByteArray raw(found->d_name);
        if (raw == "." || raw == "..")
            continue;
        DirEntry entry;
        entry.name = QFile::decodeName(raw);
        entry.textual = QFile::encodeName(entry.name) == raw;
        struct stat info;
        const QByteArray full = path + '/' + raw;
        if (::lstat(full.constData(), &info) != 0)
            entry.kind = FileKind::Missing;
        else if (S_ISREG(info.st_mode))
            entry.kind = FileKind::Regular;
        else if (S_ISDIR(info.st_mode))
            entry.kind = FileKind::Directory;
        else if (S_ISLNK(info.st_mode))
            entry.kind = FileKind::SymLink;
        entries.append(entry);
    }
    ::closedir(stream);
#endif
    return entries;
}

bool Platform::openRegularFile(const QString &path, QFile &file, QString *error) {
#ifdef Q_OS_WIN
    // Windows keeps no pipes among files; a link is told by its attributes.
    if (kindOf(path) != FileKind::Regular) {
        if (error)
            *error = QStringLiteral("nu este un fisier obisnuit");
        return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = reason(file);
        return false;
    }
    return true;
#else
    // Without O_NONBLOCK, opening a named pipe waits for a writer that may never come; without
    // O_NOFOLLOW, a link swapped in after a check would be followed anyway.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error =
                errno == ELOOP ? QStringLiteral("este o legatura catre alt fisier") : lastReason();
        return false;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        if (error)
            *error = QStringLiteral("nu este un fisier obisnuit");
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
#endif
}

QByteArray Platform::readIdentity(LockHandle handle) {
    if (handle == kNoLock)
        return {};
    char buffer[kIdentitySize];
#ifdef Q_OS_WIN
    OVERLAPPED at = {};
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(handle), buffer, kIdentitySize, &got, &at))
        return {};
    return QByteArray(buffer, static_cast<qsizetype>(got));
#else
    ssize_t got;
    do {
        got = ::pread(static_cast<int>(handle), buffer, kIdentitySize, 0);
    } while (got < 0 && errno == EINTR);
    return got > 0 ? QByteArray(buffer, static_cast<qsizetype>(got)) : QByteArray();
#endif
}

bool Platform::writeIdentity(LockHandle handle, QByteArrayView identity, QString *error) {
    // Always the whole size, so that a shorter identity never leaves the end of a longer one.
    QByteArray bytes =
        identity.first(std::min<qsizetype>(identity.size(), kIdentitySize)).toByteArray();
    bytes.append(QByteArray(kIdentitySize - bytes.size(), ' '));
#ifdef Q_OS_WIN
    const HANDLE h = reinterpret_cast<HANDLE>(handle);
    OVERLAPPED at = {};
    DWORD written = 0;
    const bool done = WriteFile(h, bytes.constData(), kIdentitySize, &written, &at) &&
                      written == DWORD(kIdentitySize) && (!g_sync || FlushFileBuffers(h));
#else
    const int fd = static_cast<int>(handle);
    ssize_t written;
    do {
        written = ::pwrite(fd, bytes.constData(), kIdentitySize, 0);
    } while (written < 0 && errno == EINTR);
    const bool done = written == kIdentitySize && (!g_sync || ::fsync(fd) == 0);
#endif
    if (!done && error)
        *error = lastReason();
    return done;
}

void Platform::reportBrokenPipes() {
#ifndef Q_OS_WIN
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

void Platform::allowForegroundSwitch() {
#ifdef Q_OS_WIN
    AllowSetForegroundWindow(ASFW_ANY);
#endif
}

void Platform::adviseLargeBuffer(char *data, qint64 size) {
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t huge = std::uintptr_t(1) << 21;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = (start + huge - 1) & ~(huge - 1);
    const std::uintptr_t end = (start + static_cast<std::uintptr_t>(size)) & ~(huge - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

} // namespace velmora
