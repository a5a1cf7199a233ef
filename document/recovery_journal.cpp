#include "document/recovery_journal.h"

#include <QDateTime>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

#include "document/document.h"
#include "document/recovery_folder.h"

namespace {

// Records copied between two events of the window: about a millisecond's
// worth, so that a key press never waits behind the copy.
constexpr std::size_t kSliceRecords = 32 * 1024;

}  // namespace

RecoveryJournal::RecoveryJournal(const Document& document, const QString& folder,
                                 std::chrono::milliseconds delay, QObject* parent)
    : QObject(parent), document_(document), folder_(folder) {
    delay_.setSingleShot(true);
    delay_.setTimerType(Qt::PreciseTimer);
    delay_.setInterval(delay);
    connect(&delay_, &QTimer::timeout, this, [this] { StartCopy(); });
    slice_.setSingleShot(true);
    slice_.setInterval(0);
    connect(&slice_, &QTimer::timeout, this, [this] { TakeSlice(); });
    connect(&writer_, &QFutureWatcherBase::finished, this, [this] { WriteFinished(); });

    connect(&document, &Document::recordChanged, this, [this](int row) {
        RecordChanged(static_cast<std::size_t>(row));
        Changed();
    });
    connect(&document, &Document::recordsChanged, this, [this](const RowRanges& rows) {
        rows.ForEach([this](std::size_t row) { RecordChanged(row); });
        Changed();
    });
    for (const auto signal : {&Document::recordInserted, &Document::recordRemoved}) {
        connect(&document, signal, this, [this] {
            RestartSnapshot();
            Changed();
        });
    }
    for (const auto signal : {&Document::recordsInserted, &Document::recordsRemoved}) {
        connect(&document, signal, this, [this] {
            RestartSnapshot();
            Changed();
        });
    }
    // The string database's texts, and which file has unsaved changes.
    connect(&document, &Document::textChanged, this, [this] { Changed(); });
    connect(&document, &Document::fileStatesChanged, this, [this] { Changed(); });
    connect(&document, &Document::reset, this, [this] {
        Restamp();
        RestartSnapshot();
        Changed();
    });
    connect(&document, &Document::saved, this, [this] { Restamp(); });
    connect(&document, &Document::modifiedChanged, this, [this] { Changed(); });
    connect(&document, &Document::textDbReplaced, this, [this] { Changed(); });
    Restamp();
}

RecoveryJournal::~RecoveryJournal() {
    if (writePending_) writer_.waitForFinished();
    Collect();
    if (kept_) return;
    if (!Wanted()) {
        Discard();
        return;
    }
    if (Dirty()) WriteNowAndKeep();
}

bool RecoveryJournal::Wanted() const {
    return document_.isOpen() && document_.isModified();
}

std::optional<std::chrono::milliseconds> RecoveryJournal::dueIn() const {
    if (!delay_.isActive()) return std::nullopt;
    return delay_.remainingTimeAsDuration();
}

QString RecoveryJournal::copyPath() const {
    return slot_ ? slot_->path() : QString();
}

void RecoveryJournal::NoteChange() {
    Changed();
}

void RecoveryJournal::Changed() {
    ++changes_;
    if (kept_) return;
    if (!Wanted()) {
        delay_.stop();
        slice_.stop();
        taking_ = false;
        writeDue_ = false;
        // A copy on its way is removed when it lands.
        if (!writePending_) Discard();
        return;
    }
    if (!delay_.isActive() && !taking_ && !writeDue_) delay_.start();
}

void RecoveryJournal::Restamp() {
    // What the files looked like when the document was loaded from them or
    // saved: the copy tells from it whether another program changed them.
    menuStamp_ = FileStamp::Of(document_.savePath());
    textDbStamp_ = FileStamp::Of(document_.textDbPath());
}

void RecoveryJournal::Adopt(std::unique_ptr<RecoverySlot> slot) {
    if (slot_ && slot_->path() != slot->path()) slot_->RemoveFile();
    slot_ = std::move(slot);
    // It holds the records, not yet this session's paths and stamps.
    onDisk_.reset();
    Changed();
}

void RecoveryJournal::StartCopy() {
    if (kept_ || !Wanted() || taking_) return;
    if (writePending_) {
        writeDue_ = true;
        return;
    }
    taking_ = true;
    RestartSnapshot();
    TakeSlice();
}

void RecoveryJournal::RestartSnapshot() {
    if (!taking_) return;
    copied_ = 0;
    snapshot_.records.clear();
    // Room taken, not touched: the slices fill it.
    const std::size_t count = document_.count();
    if (snapshot_.records.capacity() < count) snapshot_.records.reserve(count + count / 16);
}

void RecoveryJournal::RecordChanged(std::size_t index) {
    if (taking_ && index < copied_) snapshot_.records[index] = document_.record(index);
}

void RecoveryJournal::TakeSlice() {
    if (!taking_) return;
    const std::vector<MenuItemRecord>& records = document_.records();
    const std::size_t end = std::min(copied_ + kSliceRecords, records.size());
    snapshot_.records.insert(snapshot_.records.end(),
                             records.begin() + static_cast<std::ptrdiff_t>(copied_),
                             records.begin() + static_cast<std::ptrdiff_t>(end));
    copied_ = end;
    if (copied_ < records.size()) {
        slice_.start();
        return;
    }
    taking_ = false;
    FinishSnapshot();
}

bool RecoveryJournal::PrepareSlot() {
    if (!slot_) slot_ = RecoverySlot::Create(folder_);
    if (slot_) return true;
    if (!failing_) emit copyFailed(folder_);
    failing_ = true;
    return false;
}

void RecoveryJournal::FinishSnapshot() {
    snapshot_.writtenMs = QDateTime::currentMSecsSinceEpoch();
    snapshot_.menuPath = document_.savePath();
    snapshot_.menuStamp = menuStamp_;
    snapshot_.textDbPath = document_.textDbPath();
    snapshot_.textDbStamp = textDbStamp_;
    snapshot_.textDbBytes = unsavedTextDb ? unsavedTextDb() : std::nullopt;
    if (!PrepareSlot()) {
        delay_.start();  // tried again later
        return;
    }
    writePending_ = true;
    writer_.setFuture(QtConcurrent::run(
        [path = slot_->path(), copy = std::move(snapshot_), change = changes_]() mutable {
            const bool ok = WriteRecoveryFile(path, copy);
            return Written{std::move(copy), ok, change};
        }));
}

void RecoveryJournal::Collect() {
    if (!writePending_) return;
    writePending_ = false;
    Written written = writer_.future().takeResult();
    snapshot_ = std::move(written.copy);
    snapshot_.records.clear();
    if (written.ok) {
        onDisk_ = written.change;
        failing_ = false;
    } else if (!failing_) {
        failing_ = true;
        emit copyFailed(folder_);
    }
}

void RecoveryJournal::WriteFinished() {
    if (!writePending_) return;
    Collect();
    if (kept_) return;
    if (!Wanted()) {
        Discard();
        return;
    }
    if (writeDue_) {
        writeDue_ = false;
        StartCopy();
    } else if (Dirty() && !delay_.isActive()) {
        delay_.start();
    }
}

bool RecoveryJournal::WriteNowAndKeep() {
    if (writePending_) writer_.waitForFinished();
    Collect();
    delay_.stop();
    slice_.stop();
    taking_ = false;
    kept_ = true;
    if (!Wanted()) {
        Discard();
        return true;
    }
    if (!Dirty()) return true;
    snapshot_.records = document_.records();
    FinishSnapshot();
    if (!writePending_) return false;
    writer_.waitForFinished();
    Collect();
    return !Dirty();
}

void RecoveryJournal::Discard() {
    onDisk_.reset();
    snapshot_ = RecoveryCopy();
    if (!slot_) return;
    slot_->RemoveFile();
    slot_.reset();
}
