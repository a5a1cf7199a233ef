#include "document/document.h"

#include <QFileInfo>
#include <algorithm>
#include <new>
#include <stdexcept>

#include "base/file_save.h"
#include "document/document_step.h"
#include "document/menu_file.h"

Document::Document(QObject* parent) : QObject(parent) {
    connect(&history_, &QUndoStack::indexChanged, this, [this] { UpdateModified(); });
    connect(&history_, &QUndoStack::cleanChanged, this, [this] { UpdateModified(); });
}

Document::~Document() {
    // The history, which goes last, says its steps are gone as it goes: the
    // states it would update are gone before it.
    disconnect(&history_, nullptr, this, nullptr);
}

void Document::Replace(LoadedDocument&& loaded, const QString& menuPath,
                       const QString& textDbPath) {
    SetOnlyCopy(false);
    emit aboutToReset();
    // The old steps refer to records that are gone.
    ClearHistory();
    records_ = std::move(loaded.menuItems);
    textDb_ = std::move(loaded.textDb);
    ForgetTextSteps();
    // Saves of either file that a killed editor left half done.
    for (const QString& path : {menuPath, textDbPath}) {
        const QFileInfo file(path);
        RemoveStaleSaveTemporaries(file.absolutePath(), file.fileName());
    }
    loadedPath_ = menuPath;
    savePath_ = menuPath;
    textDbPath_ = textDbPath;
    open_ = true;
    UpdateModified();
    ++recordsVersion_;
    emit reset();
}

void Document::ReplaceRecords(std::vector<MenuItemRecord>&& records, const QString& menuPath) {
    SetOnlyCopy(false);
    emit aboutToReset();
    // Text steps go with the history; the texts they changed stay, and so
    // does the string database's unsaved state.
    ClearHistory();
    records_ = std::move(records);
    loadedPath_ = menuPath;
    savePath_ = menuPath;
    UpdateModified();
    ++recordsVersion_;
    emit reset();
}

void Document::ReplaceTextDb(TextDb&& textDb) {
    const auto changesTexts = [this](int i) {
        const auto* step = dynamic_cast<const DocumentStep*>(history_.command(i));
        return step == nullptr || step->ChangesTexts();
    };
    bool textSteps = false;
    for (int i = 0; i < history_.count() && !textSteps; ++i) textSteps = changesTexts(i);
    if (textSteps) {
        const bool menuFileModified = menuFileModified_;
        ClearHistory();
        if (menuFileModified) history_.resetClean();
    }
    textDb_ = std::move(textDb);
    ForgetTextSteps();
    UpdateModified();
    emit textDbReplaced();
}

void Document::ClearHistory() {
    // Qt's clear() leaves the saved point alone when there is no step to
    // clear: a history emptied before, its saved point dropped, would keep
    // the records modified after they were read anew.
    history_.clear();
    history_.setClean();
}

void Document::ForgetTextSteps() {
    textSteps_ = {};
    savedTextSteps_ = 0;
    savedTextTop_ = 0;
    textDbMarked_ = false;
}

QByteArray Document::EncodeMenuFile() const {
    return EncodeMenuItems(records_);
}

Document::SaveOutcome Document::SaveTo(const QString& path) {
    SaveOutcome outcome;
    // The menu file first; whatever happens to it, the string database is
    // saved on its own terms, so that a failure of one never costs the other.
    outcome.menuFileSaved = SaveFileAtomically(path, EncodeMenuFile());
    if (outcome.menuFileSaved) history_.setClean();
    if (textDbModified_) {
        const std::optional<QByteArray> bytes = textDb_.Encode();
        outcome.textDbWritten = bytes && SaveFileAtomically(textDbPath_, *bytes);
        outcome.textDbFailed = !outcome.textDbWritten;
        if (outcome.textDbWritten) {
            savedTextSteps_ = textSteps_.size();
            savedTextTop_ = textSteps_.empty() ? 0 : textSteps_.back();
            textDbMarked_ = false;
        }
    }
    UpdateModified();
    if (outcome.menuFileSaved) SetOnlyCopy(false);
    if (outcome.menuFileSaved || outcome.textDbWritten) emit saved();
    return outcome;
}

void Document::MarkModified() {
    history_.resetClean();
    UpdateModified();
}

void Document::MarkTextDbModified() {
    textDbMarked_ = true;
    UpdateModified();
}

bool Document::RecordsChangedSinceSave() const {
    const int clean = history_.cleanIndex();
    if (clean < 0) return true;
    const int now = history_.index();
    // From the latest step back: mostly it changes records, and the look ends.
    for (int i = std::max(clean, now) - 1; i >= std::min(clean, now); --i) {
        const auto* step = dynamic_cast<const DocumentStep*>(history_.command(i));
        if (step == nullptr || step->ChangesRecords()) return true;
    }
    return false;
}

void Document::UpdateModified() {
    const bool menuFile = open_ && RecordsChangedSinceSave();
    const bool textDb =
        open_ && (textDbMarked_ || textSteps_.size() != savedTextSteps_ ||
                  (textSteps_.empty() ? 0 : textSteps_.back()) != savedTextTop_);
    if (menuFile == menuFileModified_ && textDb == textDbModified_) return;
    const bool was = isModified();
    menuFileModified_ = menuFile;
    textDbModified_ = textDb;
    emit fileStatesChanged();
    if (was != isModified()) emit modifiedChanged(isModified());
}

void Document::SetOnlyCopy(bool onlyCopy) {
    if (onlyCopy == onlyCopy_) return;
    const bool wasModified = isModified();
    onlyCopy_ = onlyCopy;
    emit fileStatesChanged();
    if (isModified() != wasModified) emit modifiedChanged(!wasModified);
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
    SetOnlyCopy(false);
    emit aboutToReset();
    ClearHistory();
    records_ = {};
    textDb_ = TextDb();
    ForgetTextSteps();
    open_ = false;
    UpdateModified();
    ++recordsVersion_;
    emit reset();
}

void Document::InsertRecord(std::size_t index, const MenuItemRecord& record) {
    emit recordAboutToBeInserted(static_cast<int>(index));
    records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(index), record);
    ++recordsVersion_;
    emit recordInserted(static_cast<int>(index));
}

void Document::RemoveRecord(std::size_t index) {
    emit recordAboutToBeRemoved(static_cast<int>(index));
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index));
    ++recordsVersion_;
    emit recordRemoved(static_cast<int>(index));
}

void Document::ReplaceRecord(std::size_t index, const MenuItemRecord& record) {
    records_[index] = record;
    ++recordsVersion_;
    emit recordChanged(static_cast<int>(index));
}

void Document::StoreText(std::uint32_t index, std::string text) {
    textDb_.SetText(index, std::move(text));
    emit textChanged(textDb_.IdAt(index));
}

bool Document::AppendText(std::int32_t id, std::string text) {
    if (!textDb_.Append(id, std::move(text))) return false;
    emit textChanged(id);
    return true;
}

void Document::RemoveLastText() {
    const std::int32_t id = textDb_.IdAt(textDb_.count() - 1);
    textDb_.RemoveLast();
    emit textChanged(id);
}

void Document::InsertRecords(const RowRanges& rows, std::span<const MenuItemRecord> records) {
    if (rows.empty()) return;
    emit recordsAboutToBeInserted(rows);
    InsertRows(records_, rows, records);
    ++recordsVersion_;
    emit recordsInserted(rows);
}

void Document::RemoveRecords(const RowRanges& rows, std::vector<MenuItemRecord>& removed) {
    if (rows.empty()) return;
    emit recordsAboutToBeRemoved(rows);
    RemoveRows(records_, rows, &removed);
    ++recordsVersion_;
    emit recordsRemoved(rows);
}

void Document::EditRecords(const RowRanges& rows,
                           const std::function<void(std::size_t, MenuItemRecord&)>& edit) {
    if (rows.empty()) return;
    rows.ForEach([&](std::size_t row) { edit(row, records_[row]); });
    ++recordsVersion_;
    emit recordsChanged(rows);
}
