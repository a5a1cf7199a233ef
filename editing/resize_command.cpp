#include "editing/resize_command.h"

namespace {

constexpr int kKeyResizeId = 0x53495A45;  // "SIZE"

}  // namespace

ResizeCommand::ResizeCommand(Document& document, std::size_t index,
                             const RecordGeometry& geometry, const QString& text,
                             std::size_t shown, bool byKey)
    : RecordCommand(document, text),
      index_(index),
      shown_(shown),
      byKey_(byKey),
      before_(GeometryOf(document.record(index))),
      after_(geometry) {}

int ResizeCommand::id() const {
    return byKey_ ? kKeyResizeId : -1;
}

bool ResizeCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const ResizeCommand*>(other);
    if (next == nullptr || !next->byKey_ || next->index_ != index_) return false;
    after_ = next->after_;
    setObsolete(SameBits(after_, before_));
    return true;
}

void ResizeCommand::Store(const RecordGeometry& geometry) {
    MenuItemRecord record = document().record(index_);
    SetGeometry(record, geometry);
    Replace(index_, record);
}
