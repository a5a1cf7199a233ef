#include "editing/set_type_records_command.h"

#include <algorithm>

namespace {

void Store(MenuItemRecord& record, const SetTypeCommand::StoredType& stored) {
    std::copy(stored.begin(), stored.end(), record.type);
    record.type[4] = '\0';
}

}  // namespace

SetTypeRecordsCommand::SetTypeRecordsCommand(Document& document, SelectedRows selected,
                                             const StoredType& stored, const QString& text)
    : RecordCommand(document, text), selected_(std::move(selected)), after_(stored) {
    before_.reserve(selected_.rows.count());
    selected_.rows.ForEach([&](std::size_t row) {
        before_.push_back(SetTypeCommand::StoredOf(document.record(row)));
    });
}

void SetTypeRecordsCommand::redo() {
    EditMany(selected_.rows, [this](std::size_t, MenuItemRecord& record) { Store(record, after_); });
}

void SetTypeRecordsCommand::undo() {
    std::size_t next = 0;
    EditMany(selected_.rows,
             [this, &next](std::size_t, MenuItemRecord& record) { Store(record, before_[next++]); });
}
