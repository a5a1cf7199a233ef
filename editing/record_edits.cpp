#include "editing/record_edits.h"

#include <cstring>

#include "editing/delete_command.h"
#include "editing/duplicate_command.h"
#include "editing/move_command.h"
#include "editing/paste_command.h"
#include "editing/resize_command.h"
#include "editing/set_field_command.h"

namespace editing {

namespace {

bool SameBytes(const MenuItemRecord& a, const MenuItemRecord& b) {
    return a.id == b.id && std::memcmp(a.type, b.type, 4) == 0 &&
           FieldBits(a, RecordField::PosX) == FieldBits(b, RecordField::PosX) &&
           FieldBits(a, RecordField::PosY) == FieldBits(b, RecordField::PosY) &&
           FieldBits(a, RecordField::ScaleX) == FieldBits(b, RecordField::ScaleX) &&
           FieldBits(a, RecordField::ScaleY) == FieldBits(b, RecordField::ScaleY) &&
           a.textId == b.textId && a.font == b.font && a.color == b.color;
}

const RecordCommand* StepAt(const QUndoStack& history, int index) {
    if (index < 0 || index >= history.count()) return nullptr;
    return dynamic_cast<const RecordCommand*>(history.command(index));
}

}  // namespace

bool SetField(Document& document, std::size_t index, RecordField field, std::uint32_t bits,
              const QString& stepName) {
    if (FieldBits(document.record(index), field) == bits) return false;
    document.history().push(new SetFieldCommand(document, index, field, bits, stepName));
    return true;
}

bool SetType(Document& document, std::size_t index, const SetTypeCommand::StoredType& stored,
             const QString& stepName) {
    if (SetTypeCommand::StoredOf(document.record(index)) == stored) return false;
    document.history().push(new SetTypeCommand(document, index, stored, stepName));
    return true;
}

bool Duplicate(Document& document, std::size_t index, const QString& stepName) {
    if (!document.ReserveOneMore()) return false;
    document.history().push(new DuplicateCommand(document, index, stepName));
    return true;
}

bool Delete(Document& document, std::size_t index, const QString& stepName) {
    if (document.count() <= 1) return false;
    document.history().push(new DeleteCommand(document, index, stepName));
    return true;
}

bool Paste(Document& document, std::size_t index, const MenuItemRecord& pasted,
           const QString& stepName) {
    if (SameBytes(document.record(index), pasted)) return false;
    document.history().push(new PasteCommand(document, index, pasted, stepName));
    return true;
}

bool Move(Document& document, std::size_t index, float posX, float posY, const QString& stepName,
          const Placing& placing) {
    const RecordGeometry before = GeometryOf(document.record(index));
    RecordGeometry after = before;
    after.posX = posX;
    after.posY = posY;
    if (!IsFinite(before) || !IsFinite(after) || SameBits(after, before)) return false;
    document.history().push(
        new MoveCommand(document, index, posX, posY, stepName, placing.shown, placing.byKey));
    return true;
}

bool Resize(Document& document, std::size_t index, const RecordGeometry& geometry,
            const QString& stepName, const Placing& placing) {
    const RecordGeometry before = GeometryOf(document.record(index));
    if (!IsFinite(before) || !IsFinite(geometry) || SameBits(geometry, before)) return false;
    document.history().push(
        new ResizeCommand(document, index, geometry, stepName, placing.shown, placing.byKey));
    return true;
}

std::optional<RecordCommand::Effect> Undo(Document& document) {
    QUndoStack& history = document.history();
    const RecordCommand* step = StepAt(history, history.index() - 1);
    if (step == nullptr) return std::nullopt;
    const RecordCommand::Effect effect = step->AfterUndo();
    history.undo();
    return effect;
}

std::optional<RecordCommand::Effect> Redo(Document& document) {
    QUndoStack& history = document.history();
    const RecordCommand* step = StepAt(history, history.index());
    if (step == nullptr) return std::nullopt;
    const RecordCommand::Effect effect = step->AfterRedo();
    history.redo();
    return effect;
}

}  // namespace editing
