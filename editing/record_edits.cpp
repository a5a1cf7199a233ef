#include "editing/record_edits.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "editing/arrange_command.h"
#include "editing/delete_command.h"
#include "editing/delete_records_command.h"
#include "editing/duplicate_command.h"
#include "editing/duplicate_records_command.h"
#include "editing/insert_records_command.h"
#include "editing/move_command.h"
#include "editing/move_records_command.h"
#include "editing/paste_command.h"
#include "editing/paste_records_command.h"
#include "editing/resize_command.h"
#include "editing/set_field_command.h"
#include "editing/set_field_records_command.h"
#include "editing/set_type_records_command.h"

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

bool DeleteSelected(Document& document, const SelectedRows& selected, const QString& stepName) {
    if (selected.rows.empty() || selected.rows.count() >= document.count()) return false;
    if (selected.rows.count() == 1) return Delete(document, selected.rows.first(), stepName);
    document.history().push(new DeleteRecordsCommand(document, selected, stepName));
    return true;
}

bool DuplicateSelected(Document& document, const SelectedRows& selected, const QString& stepName) {
    if (selected.rows.empty()) return false;
    if (selected.rows.count() == 1) return Duplicate(document, selected.rows.first(), stepName);
    if (!document.ReserveMore(selected.rows.count())) return false;
    document.history().push(new DuplicateRecordsCommand(document, selected, stepName));
    return true;
}

bool InsertRecords(Document& document, std::size_t at, std::vector<MenuItemRecord> records,
                   const SelectedRows& before, const QString& stepName) {
    if (records.empty() || at > document.count() || !document.ReserveMore(records.size()))
        return false;
    document.history().push(
        new InsertRecordsCommand(document, at, std::move(records), before, stepName));
    return true;
}

bool PasteSelected(Document& document, const SelectedRows& selected,
                   const MenuItemRecord& pasted, const QString& stepName) {
    if (selected.rows.empty()) return false;
    if (selected.rows.count() == 1) return Paste(document, selected.rows.first(), pasted, stepName);
    bool changes = false;
    selected.rows.ForEach(
        [&](std::size_t row) { changes = changes || !SameBytes(document.record(row), pasted); });
    if (!changes) return false;
    document.history().push(new PasteRecordsCommand(document, selected, pasted, stepName));
    return true;
}

bool SetFieldSelected(Document& document, const SelectedRows& selected, RecordField field,
                      std::uint32_t bits, const QString& stepName) {
    if (selected.rows.empty()) return false;
    if (selected.rows.count() == 1)
        return SetField(document, selected.rows.first(), field, bits, stepName);
    bool changes = false;
    selected.rows.ForEach(
        [&](std::size_t row) { changes = changes || FieldBits(document.record(row), field) != bits; });
    if (!changes) return false;
    document.history().push(new SetFieldRecordsCommand(document, selected, field, bits, stepName));
    return true;
}

bool SetTypeSelected(Document& document, const SelectedRows& selected,
                     const SetTypeCommand::StoredType& stored, const QString& stepName) {
    if (selected.rows.empty()) return false;
    if (selected.rows.count() == 1) return SetType(document, selected.rows.first(), stored, stepName);
    bool changes = false;
    selected.rows.ForEach([&](std::size_t row) {
        changes = changes || SetTypeCommand::StoredOf(document.record(row)) != stored;
    });
    if (!changes) return false;
    document.history().push(new SetTypeRecordsCommand(document, selected, stored, stepName));
    return true;
}

bool MoveSelected(Document& document, const SelectedRows& selected, const RowRanges& moved,
                  double dx, double dy, const QString& stepName, bool byKey) {
    std::vector<MoveRecordsCommand::Position> after;
    after.reserve(moved.count());
    bool finite = true;
    bool changes = false;
    moved.ForEach([&](std::size_t row) {
        const MenuItemRecord& record = document.record(row);
        const double x = record.posX + dx;
        const double y = record.posY + dy;
        const double largest = std::numeric_limits<float>::max();
        finite = finite && std::abs(x) <= largest && std::abs(y) <= largest;
        after.push_back({static_cast<float>(x), static_cast<float>(y)});
        changes = changes || !SameBits(after.back().x, record.posX) ||
                  !SameBits(after.back().y, record.posY);
    });
    if (!finite || !changes) return false;
    document.history().push(
        new MoveRecordsCommand(document, moved, std::move(after), selected, stepName, byKey));
    return true;
}

bool ArrangeSelected(Document& document, const SelectedRows& selected,
                     arrange::Arrangement arrangement, const QString& stepName) {
    if (arrange::Check(document.records(), selected.rows, arrangement)) return false;
    std::vector<RecordGeometry> boxes;
    boxes.reserve(selected.rows.count());
    selected.rows.ForEach([&](std::size_t row) { boxes.push_back(GeometryOf(document.record(row))); });
    const std::vector<RecordGeometry> arranged = arrange::Arranged(
        boxes, selected.rows.CountBefore(selected.current), arrangement);
    RowRanges changed;
    std::vector<RecordGeometry> after;
    std::size_t next = 0;
    selected.rows.ForEach([&](std::size_t row) {
        if (!SameBits(arranged[next], boxes[next])) {
            changed.Append(row, row + 1);
            after.push_back(arranged[next]);
        }
        ++next;
    });
    if (changed.empty()) return false;
    document.history().push(
        new ArrangeCommand(document, std::move(changed), std::move(after), selected, stepName));
    return true;
}

std::optional<RecordCommand::Effect> LastDone(const Document& document) {
    const RecordCommand* step = StepAt(document.history(), document.history().index() - 1);
    if (step == nullptr) return std::nullopt;
    return step->AfterRedo();
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
