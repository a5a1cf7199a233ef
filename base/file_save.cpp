#include "base/file_save.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QSaveFile>

bool SaveFileAtomically(const QString& path, const QByteArray& bytes) {
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty()) return false;
    struct stat status {};
    if (::stat(native.constData(), &status) == 0) {
        if (!S_ISREG(status.st_mode)) return false;
        // A file without any write permission stays as it is, even for root.
        if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
        if (::access(native.constData(), W_OK) != 0) return false;
    }
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
