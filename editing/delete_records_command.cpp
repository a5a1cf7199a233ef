#include "editing/delete_records_command.h"

DeleteRecordsCommand::DeleteRecordsCommand(Document& document, SelectedRows selected,
                                           const QString& text)
    : RecordCommand(document, text), selected_(std::move(selected)) {}

void DeleteRecordsCommand::redo() {
    removed_.clear();
    RemoveMany(selected_.rows, removed_);
}

RecordCommand::Effect DeleteRecordsCommand::AfterRedo() const {
    const std::size_t first = selected_.rows.first();
    return {first == 0 ? 0 : first - 1, true, true};
}
