#pragma once

#include <vector>

#include "editing/record_command.h"
#include "editing/selected_rows.h"

// Inserts copies of several records, in their order, right after the last of
// them, and selects the copies (the copy of the current record is current).
// The document must have room for them (Document::ReserveMore) when the
// step is first done.
class DuplicateRecordsCommand : public RecordCommand {
  public:
    DuplicateRecordsCommand(Document& document, SelectedRows selected, const QString& text);

    void redo() override { InsertMany(Copies(), copies_); }
    void undo() override;
    Effect AfterRedo() const override;
    Effect AfterUndo() const override { return selected_.AsEffect(true, true); }

  private:
    RowRanges Copies() const { return RowRanges::Span(at_, at_ + copies_.size()); }

    SelectedRows selected_;
    std::size_t at_;
    std::vector<MenuItemRecord> copies_;
};
