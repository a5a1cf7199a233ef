#include "document/file_watch.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>

#include "base/file_open.h"

namespace {

// The file's identity and times, or nothing when it is not there.
QByteArray StatusOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) return {};
    const std::int64_t fields[] = {static_cast<std::int64_t>(status.st_dev),
                                   static_cast<std::int64_t>(status.st_ino),
                                   static_cast<std::int64_t>(status.st_mode),
                                   static_cast<std::int64_t>(status.st_size),
                                   status.st_mtim.tv_sec,
                                   status.st_mtim.tv_nsec,
                                   status.st_ctim.tv_sec,
                                   status.st_ctim.tv_nsec};
    return QByteArray(reinterpret_cast<const char*>(fields), sizeof(fields));
}

}  // namespace

FileFingerprint FileFingerprint::OfPath(const QString& path) {
    QFile file;
    if (OpenRegularFileForReading(path, file)) return OfFile(file);
    FileFingerprint fingerprint;
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) == 0) fingerprint.kind = Kind::Other;
    return fingerprint;
}

FileFingerprint FileFingerprint::OfFile(QFile& file) {
    FileFingerprint fingerprint;
    fingerprint.kind = Kind::Regular;
    struct stat status {};
    if (::fstat(file.handle(), &status) == 0 && status.st_size > kWholeContentLimit) {
        fingerprint.size = status.st_size;
        fingerprint.modifiedNs =
            std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec;
        fingerprint.identity = (static_cast<std::uint64_t>(status.st_dev) << 32) ^
                               static_cast<std::uint64_t>(status.st_ino);
        return fingerprint;
    }
    constexpr qint64 kPiece = 1 << 20;
    QByteArray piece(kPiece, '\0');
    std::size_t hash = 0;
    if (file.seek(0)) {
        for (;;) {
            // Whole pieces, so that the same bytes always hash alike.
            qint64 filled = 0;
            while (filled < kPiece) {
                const qint64 got = file.read(piece.data() + filled, kPiece - filled);
                if (got <= 0) break;
                filled += got;
            }
            if (filled == 0) break;
            hash = qHashBits(piece.constData(), static_cast<std::size_t>(filled), hash);
            fingerprint.size += filled;
            if (filled < kPiece) break;
        }
    }
    fingerprint.hash = hash;
    file.seek(0);
    return fingerprint;
}

WatchedFile::WatchedFile(std::chrono::milliseconds quietPeriod, QObject* parent) : QObject(parent) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(quietPeriod);
    connect(&quiet_, &QTimer::timeout, this, [this] { Check(); });
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { OnFileEvent(); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { OnFolderEvent(); });
}

void WatchedFile::Watch(const QString& path, const FileFingerprint& known) {
    Stop();
    path_ = QFileInfo(path).absoluteFilePath();
    folder_ = QFileInfo(path_).absolutePath();
    SetKnown(known);
    lastStatus_ = StatusOf(path_);
    FollowPath();
}

void WatchedFile::SetKnown(const FileFingerprint& known) {
    // The program has just read or written the file: it holds that now.
    known_ = known;
    state_ = known.kind == FileFingerprint::Kind::Missing ? State::Gone : State::AsKnown;
}

void WatchedFile::Stop() {
    quiet_.stop();
    const QStringList watched = watcher_.files() + watcher_.directories();
    if (!watched.isEmpty()) watcher_.removePaths(watched);
    path_.clear();
    folder_.clear();
}

void WatchedFile::FollowPath() {
    if (path_.isEmpty()) return;
    // The kernel's watch goes with the file it was put on; a file renamed
    // into its place, or made anew, needs one of its own.
    if (!watcher_.files().contains(path_) && QFileInfo::exists(path_)) watcher_.addPath(path_);
    if (!watcher_.directories().contains(folder_) && QFileInfo(folder_).isDir())
        watcher_.addPath(folder_);
}

void WatchedFile::OnFileEvent() {
    lastStatus_ = StatusOf(path_);
    FollowPath();
    quiet_.start();
}

void WatchedFile::OnFolderEvent() {
    // Most events of a folder are about its other files.
    const QByteArray status = StatusOf(path_);
    if (status == lastStatus_) return;
    lastStatus_ = status;
    FollowPath();
    quiet_.start();
}

void WatchedFile::CheckNowIfPending() {
    if (!quiet_.isActive()) return;
    quiet_.stop();
    Check();
}

void WatchedFile::CheckLater() {
    if (!path_.isEmpty()) quiet_.start();
}

void WatchedFile::Check() {
    if (path_.isEmpty()) return;
    ++looks_;
    FollowPath();
    struct stat status {};
    if (::stat(QFile::encodeName(path_).constData(), &status) != 0) {
        if (state_ != State::Gone) {
            state_ = State::Gone;
            emit removed();
        }
        return;
    }
    // Another size needs no reading to be told apart; otherwise the bytes
    // decide, whatever happened to the file's mode, owner or times.
    const bool sameSize = !S_ISREG(status.st_mode) ||
                          known_.kind != FileFingerprint::Kind::Regular ||
                          status.st_size == known_.size;
    if (sameSize && FileFingerprint::OfPath(path_) == known_) {
        if (state_ != State::AsKnown) {
            state_ = State::AsKnown;
            emit restored();
        }
        return;
    }
    state_ = State::Changed;
    emit changed();
}
