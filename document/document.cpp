#include "document/document.h"

#include <new>
#include <stdexcept>

#include "base/file_save.h"
#include "document/menu_file.h"

Document::Document(QObject* parent) : QObject(parent) {
    connect(&history_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
}

Document::~Document() = default;

void Document::Replace(LoadedDocument&& loaded, const QString& menuPath,
                       const QString& textDbPath) {
    emit aboutToReset();
    // The old steps refer to records that are gone.
    history_.clear();
    records_ = std::move(loaded.menuItems);
    textDb_ = std::move(loaded.textDb);
    loadedPath_ = menuPath;
    savePath_ = menuPath;
    textDbPath_ = textDbPath;
    open_ = true;
    emit reset();
}

void Document::ReplaceRecords(std::vector<MenuItemRecord>&& records, const QString& menuPath) {
    emit aboutToReset();
    history_.clear();
    records_ = std::move(records);
    loadedPath_ = menuPath;
    savePath_ = menuPath;
    emit reset();
}

void Document::ReplaceTextDb(TextDb&& textDb) {
    textDb_ = std::move(textDb);
    emit textDbReplaced();
}

bool Document::SaveTo(const QString& path) {
    if (!SaveFileAtomically(path, EncodeMenuItems(records_))) return false;
    history_.setClean();
    return true;
}

void Document::MarkModified() {
    history_.resetClean();
}

bool Document::ReserveOneMore() {
    return ReserveMore(1);
}

bool Document::ReserveMore(std::size_t count) {
    if (records_.capacity() - records_.size() >= count) return true;
    try {
        if (count > records_.max_size() - records_.size()) return false;
        records_.reserve(records_.size() + count);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

void Document::Close() {
    emit aboutToReset();
    history_.clear();
    records_ = {};
    textDb_ = TextDb();
    open_ = false;
    emit reset();
}

void Document::InsertRecord(std::size_t index, const MenuItemRecord& record) {
    emit recordAboutToBeInserted(static_cast<int>(index));
    records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(index), record);
    emit recordInserted(static_cast<int>(index));
}

void Document::RemoveRecord(std::size_t index) {
    emit recordAboutToBeRemoved(static_cast<int>(index));
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index));
    emit recordRemoved(static_cast<int>(index));
}

void Document::ReplaceRecord(std::size_t index, const MenuItemRecord& record) {
    records_[index] = record;
    emit recordChanged(static_cast<int>(index));
}

void Document::InsertRecords(const RowRanges& rows, std::span<const MenuItemRecord> records) {
    if (rows.empty()) return;
    emit recordsAboutToBeInserted(rows);
    InsertRows(records_, rows, records);
    emit recordsInserted(rows);
}

void Document::RemoveRecords(const RowRanges& rows, std::vector<MenuItemRecord>& removed) {
    if (rows.empty()) return;
    emit recordsAboutToBeRemoved(rows);
    RemoveRows(records_, rows, &removed);
    emit recordsRemoved(rows);
}

void Document::EditRecords(const RowRanges& rows,
                           const std::function<void(std::size_t, MenuItemRecord&)>& edit) {
    if (rows.empty()) return;
    rows.ForEach([&](std::size_t row) { edit(row, records_[row]); });
    emit recordsChanged(rows);
}
