#include "editing/duplicate_records_command.h"

DuplicateRecordsCommand::DuplicateRecordsCommand(Document& document, SelectedRows selected,
                                                 const QString& text)
    : RecordCommand(document, text),
      selected_(std::move(selected)),
      at_(selected_.rows.last() + 1) {
    copies_.reserve(selected_.rows.count());
    selected_.rows.ForEach([&](std::size_t row) { copies_.push_back(document.record(row)); });
}

void DuplicateRecordsCommand::undo() {
    std::vector<MenuItemRecord> removed;
    RemoveMany(Copies(), removed);
}

RecordCommand::Effect DuplicateRecordsCommand::AfterRedo() const {
    return {at_ + selected_.rows.CountBefore(selected_.current), true, true, Copies()};
}
