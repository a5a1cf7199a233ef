#include "editing/set_text_command.h"

SetTextCommand::SetTextCommand(Document& document, std::uint32_t entry, std::string text,
                               const QString& name, std::size_t shown)
    : RecordCommand(document, name),
      entry_(entry),
      shown_(shown),
      before_(document.textDb().WholeText(entry)),
      after_(std::move(text)) {}

void SetTextCommand::redo() {
    StoreText(entry_, after_);
    TextsDone();
}

void SetTextCommand::undo() {
    StoreText(entry_, before_);
    TextsUndone();
}
