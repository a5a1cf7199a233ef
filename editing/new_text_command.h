#pragma once

#include <string>

#include "editing/record_command.h"

// Gives a record a text of its own, in one step: a text identifier no entry
// has, set as the record's textId, and an entry with it and the text added
// after the last one. The database must have room for the entry when the
// step is first done.
class NewTextCommand : public RecordCommand {
  public:
    NewTextCommand(Document& document, std::size_t index, std::int32_t id, std::string text,
                   const QString& name);

    void redo() override;
    void undo() override;
    bool ChangesTexts() const override { return true; }
    Effect AfterRedo() const override { return {index_}; }
    Effect AfterUndo() const override { return {index_}; }

  private:
    void SetTextId(std::int32_t id);

    std::size_t index_;
    std::int32_t before_;
    std::int32_t after_;
    std::string text_;
};
