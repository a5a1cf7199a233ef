#include "editing/record_command.h"

RecordCommand::RecordCommand(Document& document, const QString& text)
    : document_(document), serial_(document.NewStepSerial()) {
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

void RecordCommand::StoreText(std::uint32_t entry, const std::string& text) {
    document_.StoreText(entry, text);
}

bool RecordCommand::AppendText(std::int32_t id, const std::string& text) {
    return document_.AppendText(id, text);
}

void RecordCommand::RemoveLastText() {
    document_.RemoveLastText();
}

void RecordCommand::TextsDone() {
    document_.TextStepDone(serial_);
}

void RecordCommand::TextsUndone() {
    document_.TextStepUndone();
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
