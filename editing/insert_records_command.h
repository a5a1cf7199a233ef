#pragma once

#include <vector>

#include "editing/record_command.h"
#include "editing/selected_rows.h"

// Inserts new records (pasted ones), in their order, from row `at` on, and
// selects them, the first current. Undone, the selection they were pasted
// over is shown again. The document must have room for them
// (Document::ReserveMore) when the step is first done.
class InsertRecordsCommand : public RecordCommand {
  public:
    InsertRecordsCommand(Document& document, std::size_t at, std::vector<MenuItemRecord> records,
                         SelectedRows before, const QString& text);

    void redo() override { InsertMany(Inserted(), records_); }
    void undo() override;
    Effect AfterRedo() const override { return {at_, true, true, Inserted()}; }
    Effect AfterUndo() const override { return before_.AsEffect(true, true); }

  private:
    RowRanges Inserted() const { return RowRanges::Span(at_, at_ + records_.size()); }

    std::size_t at_;
    std::vector<MenuItemRecord> records_;
    SelectedRows before_;
};
