#include "document/document.h"

#include <QFileInfo>
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
    const QFileInfo menuFile(menuPath);
    RemoveStaleSaveTemporaries(menuFile.absolutePath(), menuFile.fileName());
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
    emit saved();
    return true;
}

void Document::MarkModified() {
    history_.resetClean();
}

bool Document::ReserveOneMore() {
    if (records_.capacity() > records_.size()) return true;
    try {
        records_.reserve(records_.size() + 1);
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
