#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>

#include "document/document.h"
#include "document/document_step.h"

// A step of a document's history: one change of its records or texts, which
// can be undone and done again. Each verb is a class of its own.
//
// A step stores only what it changes (a record or one field of it, a text,
// and its index), never a copy of the document; undo puts back exactly the
// bytes of before and redo exactly the bytes of after.
class RecordCommand : public DocumentStep {
  public:
    // What the window brings in line once the step is done or undone: the
    // row it selects (the current one), the rows selected with it (none: that
    // row alone), and whether the count or a row's label changed.
    struct Effect {
        std::size_t select = 0;
        bool countChanged = false;
        bool labelsChanged = false;
        RowRanges selected = {};
    };
    virtual Effect AfterRedo() const = 0;
    virtual Effect AfterUndo() const = 0;

  protected:
    RecordCommand(Document& document, const QString& text);

    const Document& document() const { return document_; }
    void Insert(std::size_t index, const MenuItemRecord& record);
    void Remove(std::size_t index);
    void Replace(std::size_t index, const MenuItemRecord& record);
    // Many records in one pass (Document::InsertRecords ...).
    void InsertMany(const RowRanges& rows, std::span<const MenuItemRecord> records);
    void RemoveMany(const RowRanges& rows, std::vector<MenuItemRecord>& removed);
    void EditMany(const RowRanges& rows,
                  const std::function<void(std::size_t, MenuItemRecord&)>& edit);

    // The texts. A step that changes them calls TextsDone at the end of
    // each redo and TextsUndone at the end of each undo.
    void StoreText(std::uint32_t entry, const std::string& text);
    bool AppendText(std::int32_t id, const std::string& text);
    void RemoveLastText();
    void TextsDone();
    void TextsUndone();

  private:
    Document& document_;
    std::uint64_t serial_;
};
