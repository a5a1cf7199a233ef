#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <cstddef>
#include <vector>

#include "document/document_loader.h"
#include "document/menu_item_record.h"
#include "document/text_db.h"

class RecordCommand;

// The open document: the records of the menu definition file, the string
// database shown with them, the paths of the two files, and the history of
// changes. Anyone may read it; its records change only through the commands
// of editing/, each pushed onto history() as one step that can be undone.
// Every change is announced before and after it happens, the way Qt's item
// models expect, so a list can follow a million records row by row.
class Document : public QObject {
    Q_OBJECT

  public:
    explicit Document(QObject* parent = nullptr);
    ~Document() override;

    // False until the first successful load, and again after Close().
    bool isOpen() const { return open_; }

    const std::vector<MenuItemRecord>& records() const { return records_; }
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

    // True while the records differ from what was last loaded or saved; undoing
    // back to that point makes the document unmodified again.
    bool isModified() const { return !history_.isClean(); }

    // Takes in a document read by LoadDocumentStreams. The history starts anew
    // and the document is unmodified. What saves of the menu file that were
    // cut off (by a kill, a power cut) left beside it is cleared away.
    void Replace(LoadedDocument&& loaded, const QString& menuPath, const QString& textDbPath);
    // The records of the menu file read again from disk (the string database
    // stays). The history starts anew: the old steps refer to other records.
    void ReplaceRecords(std::vector<MenuItemRecord>&& records, const QString& menuPath);
    // Another string database for the same records; the history stays.
    void ReplaceTextDb(TextDb&& textDb);

    void SetSavePath(const QString& path) { savePath_ = path; }

    // Writes every record to `path` in place of the file there, or leaves that
    // file as it was and returns false. A successful save is the point the
    // document is unmodified at, and says so with saved().
    bool SaveTo(const QString& path);

    // The records no longer match any file on disk (the user kept them over a
    // file changed by another program): modified until the next save, even
    // when every step is undone.
    void MarkModified();

    // Room for one more record, taken before a command inserts one, so that
    // the insert itself never fails halfway. False when the memory is not there.
    bool ReserveOneMore();

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
    void textDbReplaced();
    void modifiedChanged(bool modified);
    void saved();

  private:
    // The commands' door to the records.
    friend class RecordCommand;
    void InsertRecord(std::size_t index, const MenuItemRecord& record);
    void RemoveRecord(std::size_t index);
    void ReplaceRecord(std::size_t index, const MenuItemRecord& record);

    bool open_ = false;
    std::vector<MenuItemRecord> records_;
    TextDb textDb_;
    QString loadedPath_;
    QString savePath_;
    QString textDbPath_;
    QUndoStack history_;
};
