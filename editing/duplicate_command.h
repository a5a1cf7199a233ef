#pragma once

#include "editing/record_command.h"

// Inserts a copy of a record right after it. The document must have room for
// one more record (Document::ReserveOneMore) when the step is first done;
// undoing and redoing never needs more than that.
class DuplicateCommand : public RecordCommand {
  public:
    DuplicateCommand(Document& document, std::size_t index, const QString& text);

    void redo() override { Insert(index_ + 1, copy_); }
    void undo() override { Remove(index_ + 1); }
    // The copy is selected; undone, the record that was duplicated.
    Effect AfterRedo() const override { return {index_ + 1, true, true}; }
    Effect AfterUndo() const override { return {index_, true, true}; }

  private:
    std::size_t index_;
    MenuItemRecord copy_;
};
