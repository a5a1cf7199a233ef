#include "editing/set_type_command.h"

#include <algorithm>

SetTypeCommand::SetTypeCommand(Document& document, std::size_t index, const StoredType& stored,
                               const QString& text)
    : RecordCommand(document, text),
      index_(index),
      before_(StoredOf(document.record(index))),
      after_(stored) {}

SetTypeCommand::StoredType SetTypeCommand::StoredOf(const MenuItemRecord& record) {
    StoredType stored;
    std::copy_n(record.type, 4, stored.begin());
    return stored;
}

void SetTypeCommand::redo() {
    Store(after_);
}

void SetTypeCommand::undo() {
    Store(before_);
}

void SetTypeCommand::Store(const StoredType& stored) {
    MenuItemRecord record = document().record(index_);
    std::copy(stored.begin(), stored.end(), record.type);
    record.type[4] = '\0';
    Replace(index_, record);
}
