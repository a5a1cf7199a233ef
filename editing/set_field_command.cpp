#include "editing/set_field_command.h"

SetFieldCommand::SetFieldCommand(Document& document, std::size_t index, RecordField field,
                                 std::uint32_t bits, const QString& text)
    : RecordCommand(document, text),
      index_(index),
      field_(field),
      before_(FieldBits(document.record(index), field)),
      after_(bits) {}

void SetFieldCommand::redo() {
    Store(after_);
}

void SetFieldCommand::undo() {
    Store(before_);
}

void SetFieldCommand::Store(std::uint32_t bits) {
    MenuItemRecord record = document().record(index_);
    SetFieldBits(record, field_, bits);
    Replace(index_, record);
}
