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

void RecordCommand::InsertMany(const RowRanges& rows, std::span<const MenuItemRecord> records) {
    document_.InsertRecords(rows, records);
}

void RecordCommand::RemoveMany(const RowRanges& rows, std::vector<MenuItemRecord>& removed) {
    document_.RemoveRecords(rows, removed);
}

void RecordCommand::EditMany(const RowRanges& rows,
                             const std::function<void(std::size_t, MenuItemRecord&)>& edit) {
    document_.EditRecords(rows, edit);
}
