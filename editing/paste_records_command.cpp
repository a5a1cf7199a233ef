#include "editing/paste_records_command.h"

PasteRecordsCommand::PasteRecordsCommand(Document& document, SelectedRows selected,
                                         const MenuItemRecord& pasted, const QString& text)
    : RecordCommand(document, text), selected_(std::move(selected)), pasted_(pasted) {
    before_.reserve(selected_.rows.count());
    selected_.rows.ForEach([&](std::size_t row) { before_.push_back(document.record(row)); });
}

void PasteRecordsCommand::redo() {
    EditMany(selected_.rows, [this](std::size_t, MenuItemRecord& record) { record = pasted_; });
}

void PasteRecordsCommand::undo() {
    std::size_t next = 0;
    EditMany(selected_.rows,
             [this, &next](std::size_t, MenuItemRecord& record) { record = before_[next++]; });
}
