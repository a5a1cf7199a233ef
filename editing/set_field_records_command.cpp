#include "editing/set_field_records_command.h"

SetFieldRecordsCommand::SetFieldRecordsCommand(Document& document, SelectedRows selected,
                                               RecordField field, std::uint32_t bits,
                                               const QString& text)
    : RecordCommand(document, text), selected_(std::move(selected)), field_(field), after_(bits) {
    before_.reserve(selected_.rows.count());
    selected_.rows.ForEach(
        [&](std::size_t row) { before_.push_back(FieldBits(document.record(row), field_)); });
}

void SetFieldRecordsCommand::redo() {
    EditMany(selected_.rows,
             [this](std::size_t, MenuItemRecord& record) { SetFieldBits(record, field_, after_); });
}

void SetFieldRecordsCommand::undo() {
    std::size_t next = 0;
    EditMany(selected_.rows, [this, &next](std::size_t, MenuItemRecord& record) {
        SetFieldBits(record, field_, before_[next++]);
    });
}
