#pragma once

#include "editing/record_command.h"

// Removes a record. Done, it selects the record before it (the new first one
// when the first was removed); undone, the record back in its place.
class DeleteCommand : public RecordCommand {
  public:
    DeleteCommand(Document& document, std::size_t index, const QString& text);

    void redo() override { Remove(index_); }
    void undo() override { Insert(index_, removed_); }
    Effect AfterRedo() const override { return {index_ == 0 ? 0 : index_ - 1, true, true}; }
    Effect AfterUndo() const override { return {index_, true, true}; }

  private:
    std::size_t index_;
    MenuItemRecord removed_;
};
