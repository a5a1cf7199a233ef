#include "base/file_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool OpenRegularFileForReading(const QString& path, QFile& file) {
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty()) return false;
    // O_NONBLOCK keeps a FIFO without a writer from blocking the open; the
    // kind of file is checked on the opened descriptor, so it cannot change
    // between the check and the read.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

bool IsSameExistingFile(const QString& first, const QString& second) {
    const QByteArray firstNative = QFile::encodeName(first);
    const QByteArray secondNative = QFile::encodeName(second);
    if (firstNative.isEmpty() || secondNative.isEmpty()) return false;
    struct stat firstStatus {};
    struct stat secondStatus {};
    return ::stat(firstNative.constData(), &firstStatus) == 0 &&
           ::stat(secondNative.constData(), &secondStatus) == 0 &&
           firstStatus.st_dev == secondStatus.st_dev && firstStatus.st_ino == secondStatus.st_ino;
}
