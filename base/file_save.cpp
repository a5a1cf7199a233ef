#include "base/file_save.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>

// Qt's QSaveFile syncs the new file and renames it into place, but does not
// sync the folder, and a save it loses to a kill can leave a temporary file
// whose name ("NAME.Ab12Cd") cannot be told from a user's own. This writer
// does both steps itself, with names that are recognisably this program's.

namespace {

constexpr QLatin1StringView kTemporaryMark(".kavel-save-");

// Where the bytes go: the file a symbolic link names, so that the link stays.
QString Target(const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink()) return path;
    const QString resolved = info.canonicalFilePath();
    return resolved.isEmpty() ? info.symLinkTarget() : resolved;
}

template <typename Call>
auto RetryOnSignal(Call call) {
    auto result = call();
    while (result == -1 && errno == EINTR) result = call();
    return result;
}

bool WriteAll(int fd, const QByteArray& bytes) {
    const char* at = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = RetryOnSignal([&] { return ::write(fd, at, std::size_t(left)); });
        if (written <= 0) return false;
        at += written;
        left -= written;
    }
    return true;
}

// A rename is only an entry in the folder, and the folder's blocks reach the
// disk when the file system gets round to them: until the folder is synced, a
// power cut can bring the old file back, or leave no file at all, after the
// save reported success.
bool SyncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder the user may write to but not list cannot be opened to sync;
    // refusing every save there would help no one.
    if (fd < 0) return errno == EACCES;
    const int result = RetryOnSignal([fd] { return ::fsync(fd); });
    // Some file systems cannot sync a folder and say so; their renames are
    // as safe as they can make them.
    const bool synced = result == 0 || errno == EINVAL || errno == EROFS;
    ::close(fd);
    return synced;
}

bool ProcessIsGone(qint64 pid) {
    if (pid <= 0 || pid == ::getpid() || pid > 0x7FFFFFFF) return false;
    return ::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH;
}

}  // namespace

bool SaveFileAtomically(const QString& path, const QByteArray& bytes) {
    if (QFile::encodeName(path).isEmpty()) return false;
    const QString target = Target(path);
    const QByteArray native = QFile::encodeName(target);
    struct stat status {};
    const bool exists = ::stat(native.constData(), &status) == 0;
    if (exists) {
        if (!S_ISREG(status.st_mode)) return false;
        // A file without any write permission stays as it is, even for root.
        if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
        if (::access(native.constData(), W_OK) != 0) return false;
    }
    const QFileInfo info(target);
    RemoveStaleSaveTemporaries(info.absolutePath(), info.fileName());

    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const QString name = QLatin1Char('.') + info.fileName() + kTemporaryMark +
                         QString::number(::getpid()) + QLatin1Char('-') +
                         QString::number(QRandomGenerator::global()->generate64(), 36);
    const QByteArray temporary = QFile::encodeName(info.absoluteDir().filePath(name));
    // A new file gets the permissions the user's umask gives; a replaced one
    // keeps its own, and no one else reads the new bytes in the meantime.
    const int fd = RetryOnSignal([&] {
        return ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                      exists ? 0600 : 0666);
    });
    if (fd < 0) return false;
    // Held until the end: a cleaner that takes our process for gone (another
    // PID namespace) still finds the file in use.
    ::flock(fd, LOCK_EX | LOCK_NB);
    bool written = WriteAll(fd, bytes) && (!exists || ::fchmod(fd, status.st_mode & 07777) == 0) &&
                   RetryOnSignal([fd] { return ::fsync(fd); }) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(temporary.constData(), native.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return SyncFolder(folder);
}

void RemoveStaleSaveTemporaries(const QString& folder, const QString& name) {
    const QDir dir(folder);
    // Listed whole and compared here: a file's name may hold characters that
    // a name filter reads as wildcards.
    const QStringList entries =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        const qsizetype mark = entry.lastIndexOf(kTemporaryMark);
        if (!entry.startsWith(QLatin1Char('.')) || mark <= 1) continue;
        if (!name.isEmpty() && entry.first(mark) != QLatin1Char('.') + name) continue;
        const QString rest = entry.mid(mark + kTemporaryMark.size());
        const qsizetype dash = rest.indexOf(QLatin1Char('-'));
        bool isNumber = false;
        const qint64 pid = rest.left(dash).toLongLong(&isNumber);
        if (dash <= 0 || !isNumber || !ProcessIsGone(pid)) continue;
        const QByteArray file = QFile::encodeName(dir.filePath(entry));
        const int fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) continue;
        struct stat status {};
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(file.constData());
        ::close(fd);
    }
}
