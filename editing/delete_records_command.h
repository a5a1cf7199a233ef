#pragma once

#include <vector>

#include "editing/record_command.h"
#include "editing/selected_rows.h"

// Removes several records in one pass. Done, it selects the record before
// the first removed one (the new first record when that was the first);
// undone, the records are back in their places, selected as they were.
class DeleteRecordsCommand : public RecordCommand {
  public:
    DeleteRecordsCommand(Document& document, SelectedRows selected, const QString& text);

    void redo() override;
    void undo() override { InsertMany(selected_.rows, removed_); }
    Effect AfterRedo() const override;
    Effect AfterUndo() const override { return selected_.AsEffect(true, true); }

  private:
    SelectedRows selected_;
    // Filled when the step is done: the records taken out, in order.
    std::vector<MenuItemRecord> removed_;
};
