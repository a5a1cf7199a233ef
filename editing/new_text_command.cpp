#include "editing/new_text_command.h"

NewTextCommand::NewTextCommand(Document& document, std::size_t index, std::int32_t id,
                               std::string text, const QString& name)
    : RecordCommand(document, name),
      index_(index),
      before_(document.record(index).textId),
      after_(id),
      text_(std::move(text)) {}

void NewTextCommand::redo() {
    // The entry first, so that the record never names a text that is not there.
    AppendText(after_, text_);
    SetTextId(after_);
    TextsDone();
}

void NewTextCommand::undo() {
    SetTextId(before_);
    RemoveLastText();
    TextsUndone();
}

void NewTextCommand::SetTextId(std::int32_t id) {
    MenuItemRecord record = document().record(index_);
    record.textId = id;
    Replace(index_, record);
}
