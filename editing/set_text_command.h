#pragma once

#include <string>

#include "editing/record_command.h"

// Gives an entry of the string database another text. `shown` is the record
// whose text it is, selected again when the step is undone or redone.
class SetTextCommand : public RecordCommand {
  public:
    SetTextCommand(Document& document, std::uint32_t entry, std::string text,
                   const QString& name, std::size_t shown);

    void redo() override;
    void undo() override;
    bool ChangesRecords() const override { return false; }
    bool ChangesTexts() const override { return true; }
    Effect AfterRedo() const override { return {shown_}; }
    Effect AfterUndo() const override { return {shown_}; }

  private:
    std::uint32_t entry_;
    std::size_t shown_;
    std::string before_;
    std::string after_;
};
