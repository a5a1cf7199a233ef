#pragma once

#include <QLockFile>
#include <QString>
#include <memory>
#include <vector>

#include "document/recovery_copy.h"

// Recovery files live in the user's state folder, one for each document that
// an editor holds with unsaved changes: "ID.kavelrecovery", beside the lock
// file "ID.kavelrecovery.lock" that names the editor holding it. A file whose
// editor is gone (ended, killed, or the machine restarted since) is left
// behind for the user to recover; while its editor runs, no other touches it.

inline constexpr QLatin1StringView kRecoverySuffix(".kavelrecovery");

// $XDG_STATE_HOME/kavel-editor, or ~/.local/state/kavel-editor when that is
// not set to an absolute path.
QString DefaultRecoveryFolder();

// One recovery file, held by this process.
class RecoverySlot {
  public:
    // A new file of this process in `folder`, made (readable by the user
    // alone) when missing. Nothing when the folder cannot be made or used.
    static std::unique_ptr<RecoverySlot> Create(const QString& folder);
    // The file at `path`, when the editor that held it is gone; nothing
    // while that editor runs.
    static std::unique_ptr<RecoverySlot> Claim(const QString& path);

    // Lets the file go; the file stays.
    ~RecoverySlot() = default;
    RecoverySlot(const RecoverySlot&) = delete;
    RecoverySlot& operator=(const RecoverySlot&) = delete;

    const QString& path() const { return path_; }
    // The unsaved changes it holds are gone for good: saved, or let go.
    void RemoveFile() const;
    // A damaged or foreign file is renamed, never deleted, so that it is not
    // offered again and its bytes stay for whoever wants to look. The new
    // name, or nothing when it could not be renamed.
    QString SetAside() const;

  private:
    explicit RecoverySlot(const QString& path);

    QString path_;
    QLockFile lock_;
};

// Writes a copy to `path` atomically: the file holds the whole new copy or
// the whole previous one, whenever the program or the machine stops.
bool WriteRecoveryFile(const QString& path, const RecoveryCopy& copy);
// Reads and checks a copy. Larger files than any copy could be are not read.
RecoveryReadResult ReadRecoveryFile(const QString& path);

// The recovery files left behind in `folder`, each claimed for this process,
// the oldest first. The new files of writes cut off there are removed.
std::vector<std::unique_ptr<RecoverySlot>> ClaimLeftCopies(const QString& folder);
