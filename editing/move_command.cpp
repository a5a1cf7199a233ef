#include "editing/move_command.h"

#include "editing/record_geometry.h"

namespace {

constexpr int kKeyMoveId = 0x4D4F5645;  // "MOVE"

}  // namespace

MoveCommand::MoveCommand(Document& document, std::size_t index, float posX, float posY,
                         const QString& text, std::size_t shown, bool byKey)
    : RecordCommand(document, text),
      index_(index),
      shown_(shown),
      byKey_(byKey),
      beforeX_(document.record(index).posX),
      beforeY_(document.record(index).posY),
      afterX_(posX),
      afterY_(posY) {}

int MoveCommand::id() const {
    return byKey_ ? kKeyMoveId : -1;
}

bool MoveCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const MoveCommand*>(other);
    if (next == nullptr || !next->byKey_ || next->index_ != index_) return false;
    afterX_ = next->afterX_;
    afterY_ = next->afterY_;
    // Keys that went there and back leave nothing to undo.
    setObsolete(SameBits(afterX_, beforeX_) && SameBits(afterY_, beforeY_));
    return true;
}

void MoveCommand::Store(float posX, float posY) {
    MenuItemRecord record = document().record(index_);
    record.posX = posX;
    record.posY = posY;
    Replace(index_, record);
}
