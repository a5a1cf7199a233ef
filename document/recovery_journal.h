#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "document/recovery_copy.h"

class Document;
class RecoverySlot;

// Keeps a recovery copy of a document's unsaved state in the recovery folder,
// so that a killed editor, or a machine that stops, costs at most the last
// moments of work. The copy exists exactly while the document is open and
// has unsaved changes: the first change writes it, saving or closing the
// document removes it.
//
// A copy is made at most `delay` after a change, and no more often: changes
// that come while one is made are taken by the next. Typing and dragging
// never wait for it. The records are copied here, on the window's thread, a
// slice at a time between its events (a change to a record already copied is
// copied again at once, an insert or a removal starts the copy over); the
// copy is then encoded and written atomically on a thread of its own, which
// shares nothing with this one while it runs.
//
// The document must outlive the journal. A journal destroyed with the
// document still open and changed writes what it has not written yet: the
// program ends without the user having let the changes go.
class RecoveryJournal : public QObject {
    Q_OBJECT

  public:
    static constexpr std::chrono::milliseconds kDelay{2000};

    RecoveryJournal(const Document& document, const QString& folder,
                    std::chrono::milliseconds delay = kDelay, QObject* parent = nullptr);
    ~RecoveryJournal() override;

    // The string database's unsaved changes, when it has any: the bytes it
    // would be saved as. Asked on this thread each time a copy is made.
    std::function<std::optional<QByteArray>()> unsavedTextDb;

    // A change the document does not announce itself (the string database's
    // texts): a copy is due.
    void NoteChange();
    // A recovered copy's file becomes this document's own: it holds the
    // document's state already, and later copies replace it.
    void Adopt(std::unique_ptr<RecoverySlot> slot);
    // Starts a copy at once instead of when the delay runs out.
    void StartCopy();
    // Writes what is unsaved now, waiting for it, and leaves the file as it
    // is from then on, whatever the document does: for a program that is
    // told to end. False when the copy could not be written.
    bool WriteNowAndKeep();

    bool writing() const { return writePending_; }
    // The records are being copied, between the window's events.
    bool taking() const { return taking_; }
    // How long until the next copy is begun, while one is due.
    std::optional<std::chrono::milliseconds> dueIn() const;
    // The file of this document's copy; empty while it has none.
    QString copyPath() const;

  signals:
    // Said once when copies start failing (a full disk, a folder that cannot
    // be made), and again only after one has succeeded.
    void copyFailed(const QString& folder);

  private:
    struct Written {
        RecoveryCopy copy;
        bool ok = false;
        std::uint64_t change = 0;
    };

    bool Wanted() const;
    bool Dirty() const { return !onDisk_ || *onDisk_ != changes_; }
    void Changed();
    void Restamp();
    void RecordChanged(std::size_t index);
    void RestartSnapshot();
    void TakeSlice();
    void FinishSnapshot();
    bool PrepareSlot();
    void WriteFinished();
    void Collect();
    void Discard();

    const Document& document_;
    QString folder_;
    QTimer delay_;
    QTimer slice_;
    std::unique_ptr<RecoverySlot> slot_;

    // The copy being taken; its room is kept for the next one while the
    // document stays changed.
    RecoveryCopy snapshot_;
    bool taking_ = false;
    std::size_t copied_ = 0;
    FileStamp menuStamp_;
    FileStamp textDbStamp_;

    QFutureWatcher<Written> writer_;
    bool writePending_ = false;
    bool writeDue_ = false;
    std::uint64_t changes_ = 0;
    std::optional<std::uint64_t> onDisk_;
    bool failing_ = false;
    bool kept_ = false;
};
