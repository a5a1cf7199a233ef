#pragma once

#include "editing/record_command.h"

// Overwrites a record with the copied one, every field included.
class PasteCommand : public RecordCommand {
  public:
    PasteCommand(Document& document, std::size_t index, const MenuItemRecord& pasted,
                 const QString& text);

    void redo() override { Replace(index_, after_); }
    void undo() override { Replace(index_, before_); }
    Effect AfterRedo() const override { return {index_, false, true}; }
    Effect AfterUndo() const override { return {index_, false, true}; }

  private:
    std::size_t index_;
    MenuItemRecord before_;
    MenuItemRecord after_;
};
