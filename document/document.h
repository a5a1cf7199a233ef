#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "document/document_loader.h"
#include "document/menu_item_record.h"
#include "document/row_ranges.h"
#include "document/text_db.h"

class RecordCommand;

// The open document: the records of the menu definition file, the string
// database with their texts, the paths of the two files, and one history of
// changes for both. Anyone may read it; its records and texts change only
// through the commands of editing/, each pushed onto history() as one step
// that can be undone. Every change of a record is announced before and after
// it happens, the way Qt's item models expect, so a list can follow a million
// records row by row. A change of many records at once (a selection of
// 100,000 deleted) is one pass over the records and one announcement of the
// rows it touches.
//
// Each file has unsaved changes of its own: the menu file while a step that
// changes records lies between its saved point in the history and now (Qt's
// clean index, which Qt keeps valid as steps merge and are dropped), the
// string database while the text steps done differ from those done when it
// was saved. Text steps never merge, and a step is only dropped once undone,
// so the text steps done form a stack whose top tells one state from another.
class Document : public QObject {
    Q_OBJECT

  public:
    explicit Document(QObject* parent = nullptr);
    ~Document() override;

    // False until the first successful load, and again after Close().
    bool isOpen() const { return open_; }

    const std::vector<MenuItemRecord>& records() const { return records_; }
    // Changes whenever any record does (inserted, removed, replaced, edited
    // or all loaded anew), before the signal that tells it: what is worked
    // out of the records can be kept while it stays the same.
    std::uint64_t recordsVersion() const { return recordsVersion_; }
    std::size_t count() const { return records_.size(); }
    const MenuItemRecord& record(std::size_t index) const { return records_[index]; }
    const TextDb& textDb() const { return textDb_; }

    // The menu definition file as loaded, and where Save writes (the same
    // until Save as chooses another name).
    const QString& loadedPath() const { return loadedPath_; }
    const QString& savePath() const { return savePath_; }
    const QString& textDbPath() const { return textDbPath_; }

    QUndoStack& history() { return history_; }
    const QUndoStack& history() const { return history_; }

    // True while a file differs from what was last loaded or saved; undoing
    // back to that point makes it unmodified again. The menu file counts as
    // modified too while the document's records are its only copy left.
    bool isModified() const { return menuFileModified() || textDbModified_; }
    bool menuFileModified() const { return menuFileModified_ || onlyCopy_; }
    bool textDbModified() const { return textDbModified_; }
    // True while the records differ from what was last loaded or saved.
    bool hasEdits() const { return menuFileModified_; }

    // The bytes each file would be saved as. The string database has none
    // when it would not fit its format or the memory.
    QByteArray EncodeMenuFile() const;
    std::optional<QByteArray> EncodeTextDb() const { return textDb_.Encode(); }

    // Takes in a document read by LoadDocumentStreams. The history starts anew
    // and the document is unmodified. What saves of the menu file that were
    // cut off (by a kill, a power cut) left beside it is cleared away.
    void Replace(LoadedDocument&& loaded, const QString& menuPath, const QString& textDbPath);
    // The records of the menu file read again from disk (the string database
    // stays). The history starts anew: the old steps refer to other records.
    void ReplaceRecords(std::vector<MenuItemRecord>&& records, const QString& menuPath);
    // Another string database for the same records, unmodified. The history
    // stays unless a step in it changes texts: those would refer to entries
    // of the database replaced. The menu file keeps its unsaved state.
    void ReplaceTextDb(TextDb&& textDb);

    void SetSavePath(const QString& path) { savePath_ = path; }

    struct SaveOutcome {
        bool menuFileSaved = false;
        bool textDbWritten = false;  // it had unsaved changes and was written
        bool textDbFailed = false;   // it had unsaved changes and was not written
        bool ok() const { return menuFileSaved && !textDbFailed; }
    };
    // Writes every record to `path` in place of the file there, and then the
    // string database to its own path when it has unsaved changes. Each file
    // is replaced whole or left as it was; a file written is unmodified from
    // then on, one that failed keeps its unsaved state. saved() tells of a
    // save that wrote either file.
    SaveOutcome SaveTo(const QString& path);

    // A file no longer matches what is on disk (the user kept the document's
    // version over a file changed by another program): modified until the
    // next save, even when every step is undone.
    void MarkModified();
    void MarkTextDbModified();

    // The menu file no longer holds the records as loaded or last saved (it
    // was removed, emptied, made unreadable), or holds them again. While it
    // does not, the records are the only copy of the document: it counts as
    // modified until it is saved or the file holds them again, whatever the
    // history says; the history's own clean point stays where it was.
    void SetOnlyCopy(bool onlyCopy);

    // Room for one more record, taken before a command inserts one, so that
    // the insert itself never fails halfway. False when the memory is not there.
    bool ReserveOneMore();
    // Room for `count` more records, on the same terms.
    bool ReserveMore(std::size_t count);

    // Releases the records and the string database; the document is closed.
    void Close();

  signals:
    void aboutToReset();
    void reset();
    void recordAboutToBeInserted(int index);
    void recordInserted(int index);
    void recordAboutToBeRemoved(int index);
    void recordRemoved(int index);
    void recordChanged(int index);
    // Many records at once: the rows inserted (where they stand afterwards),
    // removed (where they stood) or changed, in one announcement each.
    void recordsAboutToBeInserted(const RowRanges& rows);
    void recordsInserted(const RowRanges& rows);
    void recordsAboutToBeRemoved(const RowRanges& rows);
    void recordsRemoved(const RowRanges& rows);
    void recordsChanged(const RowRanges& rows);
    void textDbReplaced();
    // The text that FindText gives for this identifier may have changed.
    void textChanged(std::int32_t id);
    void modifiedChanged(bool modified);
    // menuFileModified() or textDbModified() changed.
    void fileStatesChanged();
    void saved();

  private:
    // The commands' door to the records.
    friend class RecordCommand;
    void InsertRecord(std::size_t index, const MenuItemRecord& record);
    void RemoveRecord(std::size_t index);
    void ReplaceRecord(std::size_t index, const MenuItemRecord& record);
    // `records` (one per row, in order) come to stand at `rows`.
    void InsertRecords(const RowRanges& rows, std::span<const MenuItemRecord> records);
    // Takes the records at `rows` out; they are added to `removed`, in order.
    void RemoveRecords(const RowRanges& rows, std::vector<MenuItemRecord>& removed);
    // Calls edit(row, record) for each row, in order, then announces them.
    void EditRecords(const RowRanges& rows,
                     const std::function<void(std::size_t, MenuItemRecord&)>& edit);
    void StoreText(std::uint32_t index, std::string text);
    bool AppendText(std::int32_t id, std::string text);
    void RemoveLastText();
    // A step that changes texts tells when it is done and undone.
    std::uint64_t NewStepSerial() { return ++lastStepSerial_; }
    void TextStepDone(std::uint64_t step) { textSteps_.push_back(step); }
    void TextStepUndone() { textSteps_.pop_back(); }

    // Drops every step; the records as they are now are the saved state.
    void ClearHistory();
    void UpdateModified();
    bool RecordsChangedSinceSave() const;
    void ForgetTextSteps();

    bool open_ = false;
    bool onlyCopy_ = false;
    std::vector<MenuItemRecord> records_;
    std::uint64_t recordsVersion_ = 0;
    TextDb textDb_;
    QString loadedPath_;
    QString savePath_;
    QString textDbPath_;
    QUndoStack history_;
    bool menuFileModified_ = false;
    bool textDbModified_ = false;
    bool textDbMarked_ = false;
    std::uint64_t lastStepSerial_ = 0;
    std::vector<std::uint64_t> textSteps_;
    std::size_t savedTextSteps_ = 0;
    std::uint64_t savedTextTop_ = 0;
};
