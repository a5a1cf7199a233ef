#include "editing/insert_records_command.h"

InsertRecordsCommand::InsertRecordsCommand(Document& document, std::size_t at,
                                           std::vector<MenuItemRecord> records,
                                           SelectedRows before, const QString& text)
    : RecordCommand(document, text),
      at_(at),
      records_(std::move(records)),
      before_(std::move(before)) {}

void InsertRecordsCommand::undo() {
    std::vector<MenuItemRecord> removed;
    RemoveMany(Inserted(), removed);
}
