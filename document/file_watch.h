#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <cstdint>

class QFile;

// Enough of a file on disk to tell one version of it from another: whether
// it is there, whether it is a regular file, and the size and a hash of the
// bytes of one. Times are not used for files of up to kWholeContentLimit: a
// save and another program's write in the same clock tick would look alike,
// and a file rewritten with the same bytes would look changed. A larger file
// stands by its size, its time of last modification and its identity, so
// that a file of gigabytes put in place of a document is never read through.
// What only changes the file's metadata (its mode, its owner, and with them
// its status change time) changes no fingerprint.
struct FileFingerprint {
    enum class Kind { Missing, Regular, Other };
    static constexpr std::int64_t kWholeContentLimit = 256LL << 20;

    Kind kind = Kind::Missing;
    std::int64_t size = 0;
    std::uint64_t hash = 0;
    std::int64_t modifiedNs = 0;  // files above the limit only
    std::uint64_t identity = 0;   // files above the limit only

    bool operator==(const FileFingerprint&) const = default;

    // The file at `path` as it is now. Only a regular file is opened, so a
    // FIFO or a device never blocks; one that cannot be read (a file the
    // program may not read, say) counts as Other.
    static FileFingerprint OfPath(const QString& path);
    // An open regular file, read from its start in pieces; the file is left
    // at its start, ready to be loaded from.
    static FileFingerprint OfFile(QFile& file);
};

// Follows one file on disk for the program that holds its contents, and
// says so when the file no longer holds what the program last had of it
// (`known`): changed (or no longer readable), or gone; and when, after that,
// it holds it again. `known` changes only by SetKnown: a version the
// program could not take in (one it may not read, an empty one) is never
// taken for the one it holds.
//
// A file written in several steps is reported once, when no event has come
// for a quiet period. Replacing a file by renaming another over it (as build
// tools and version control do) drops the kernel's watch with the old file,
// so the folder is watched too and the file's watch is taken up again.
// Changes are told apart by content, so the program's own save, once made
// known with SetKnown, is never reported.
class WatchedFile : public QObject {
    Q_OBJECT

  public:
    explicit WatchedFile(std::chrono::milliseconds quietPeriod, QObject* parent = nullptr);

    void Watch(const QString& path, const FileFingerprint& known);
    void Stop();
    const QString& path() const { return path_; }

    // What the program now holds of the file: what a reload read, what a
    // save wrote, or what the user chose to keep their own over.
    void SetKnown(const FileFingerprint& known);
    const FileFingerprint& known() const { return known_; }

    // A change waiting for its quiet period is looked at now.
    void CheckNowIfPending();
    // Looks again after another quiet period: the program could not take a
    // change in just now.
    void CheckLater();
    // How many times the file has been looked at after a quiet period.
    int looks() const { return looks_; }

  signals:
    // The file is there and differs from `known`, or cannot be read. Until
    // SetKnown, every later look reports it again.
    void changed();
    // The file is gone; said once each time it goes.
    void removed();
    // After a change or a removal, the file holds `known` again.
    void restored();

  private:
    enum class State { AsKnown, Changed, Gone };

    void OnFileEvent();
    void OnFolderEvent();
    void Check();
    void FollowPath();

    QFileSystemWatcher watcher_;
    QTimer quiet_;
    QString path_;
    QString folder_;
    FileFingerprint known_;
    // What was last said of the file.
    State state_ = State::AsKnown;
    int looks_ = 0;
    // The file's status at the last event, so that events of other files in
    // the folder are let pass.
    QByteArray lastStatus_;
};
