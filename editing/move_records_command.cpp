#include "editing/move_records_command.h"

#include <algorithm>

#include "editing/record_geometry.h"

namespace {

constexpr int kKeyMoveSeveralId = 0x4D4F5653;  // "MOVS"

}  // namespace

MoveRecordsCommand::MoveRecordsCommand(Document& document, RowRanges moved,
                                       std::vector<Position> after, SelectedRows selection,
                                       const QString& text, bool byKey)
    : RecordCommand(document, text),
      moved_(std::move(moved)),
      after_(std::move(after)),
      selection_(std::move(selection)),
      byKey_(byKey) {
    before_.reserve(moved_.count());
    moved_.ForEach([&](std::size_t row) {
        const MenuItemRecord& record = document.record(row);
        before_.push_back({record.posX, record.posY});
    });
}

int MoveRecordsCommand::id() const {
    return byKey_ ? kKeyMoveSeveralId : -1;
}

bool MoveRecordsCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const MoveRecordsCommand*>(other);
    if (next == nullptr || !next->byKey_ || !(next->moved_ == moved_)) return false;
    after_ = next->after_;
    // Keys that went there and back leave nothing to undo.
    setObsolete(std::equal(after_.begin(), after_.end(), before_.begin(),
                           [](const Position& a, const Position& b) {
                               return SameBits(a.x, b.x) && SameBits(a.y, b.y);
                           }));
    return true;
}

void MoveRecordsCommand::Store(const std::vector<Position>& positions) {
    std::size_t next = 0;
    EditMany(moved_, [&](std::size_t, MenuItemRecord& record) {
        record.posX = positions[next].x;
        record.posY = positions[next].y;
        ++next;
    });
}
