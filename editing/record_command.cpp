#include "editing/record_command.h"

RecordCommand::RecordCommand(Document& document, const QString& text) : document_(document) {
    setText(text);
}

void RecordCommand::Insert(std::size_t index, const MenuItemRecord& record) {
    document_.InsertRecord(index, record);
}

void RecordCommand::Remove(std::size_t index) {
    document_.RemoveRecord(index);
}

void RecordCommand::Replace(std::size_t index, const MenuItemRecord& record) {
    document_.ReplaceRecord(index, record);
}
