#pragma once

#include <string>

#include "editing/record_command.h"

// Adds an entry after the last one of the string database, for a text
// identifier that has none yet. The database must have room for it when the
// step is first done. `shown` is the record whose text it is.
class AddTextCommand : public RecordCommand {
  public:
    AddTextCommand(Document& document, std::int32_t id, std::string text, const QString& name,
                   std::size_t shown)
        : RecordCommand(document, name), id_(id), shown_(shown), text_(std::move(text)) {}

    void redo() override {
        AppendText(id_, text_);
        TextsDone();
    }
    void undo() override {
        RemoveLastText();
        TextsUndone();
    }
    bool ChangesRecords() const override { return false; }
    bool ChangesTexts() const override { return true; }
    Effect AfterRedo() const override { return {shown_}; }
    Effect AfterUndo() const override { return {shown_}; }

  private:
    std::int32_t id_;
    std::size_t shown_;
    std::string text_;
};
