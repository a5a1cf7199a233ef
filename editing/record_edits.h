#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

#include <vector>

#include "document/document.h"
#include "editing/arrange.h"
#include "editing/record_command.h"
#include "editing/record_field.h"
#include "editing/record_geometry.h"
#include "editing/selected_rows.h"
#include "editing/set_type_command.h"

// The changes a user makes to a document's records, each pushed onto its
// history as one step named `stepName` ("X position", "Delete item"). A
// change that would store the same bytes again adds no step.
namespace editing {

// False when the field holds these bits already.
bool SetField(Document& document, std::size_t index, RecordField field, std::uint32_t bits,
              const QString& stepName);
// False when the record holds these four type bytes already.
bool SetType(Document& document, std::size_t index, const SetTypeCommand::StoredType& stored,
             const QString& stepName);
// False when there is no memory for one more record; nothing has changed then.
bool Duplicate(Document& document, std::size_t index, const QString& stepName);
// The document keeps at least one record: false, and no change, for the last.
bool Delete(Document& document, std::size_t index, const QString& stepName);
// False when the record equals the pasted one already.
bool Paste(Document& document, std::size_t index, const MenuItemRecord& pasted,
           const QString& stepName);

// How a step that places a record came about: the record the window showed
// (selected again when the step is undone or redone), and whether a key
// press made it (key steps on one record in a row merge into one).
struct Placing {
    std::size_t shown = 0;
    bool byKey = false;
};
// Moves the record to (posX, posY). False, and no change, when the record's
// position or size is not finite, when a new value is not, or when the
// record stands there already.
bool Move(Document& document, std::size_t index, float posX, float posY, const QString& stepName,
          const Placing& placing);
// Gives the record a new position and size, on the same terms as Move.
bool Resize(Document& document, std::size_t index, const RecordGeometry& geometry,
            const QString& stepName, const Placing& placing);

// --- Several records at once: the selected rows and the current one among
// them. Each change is one step; with a single row selected it is the
// one-record step above.

// The document keeps at least one record: false, and no change, when every
// record is selected.
bool DeleteSelected(Document& document, const SelectedRows& selected, const QString& stepName);
// Copies of the selected records right after the last of them, in order.
// False when there is no memory for them; nothing has changed then.
bool DuplicateSelected(Document& document, const SelectedRows& selected, const QString& stepName);
// New records, in order, from row `at` on (pasted after the current record);
// `before` is the selection they were pasted over. False when there is no
// memory for them, or none is given.
bool InsertRecords(Document& document, std::size_t at, std::vector<MenuItemRecord> records,
                   const SelectedRows& before, const QString& stepName);
// Overwrites every selected record with `pasted`. False when they all equal
// it already.
bool PasteSelected(Document& document, const SelectedRows& selected,
                   const MenuItemRecord& pasted, const QString& stepName);
// Sets a field of every selected record. False when they all hold the bits.
bool SetFieldSelected(Document& document, const SelectedRows& selected, RecordField field,
                      std::uint32_t bits, const QString& stepName);
bool SetTypeSelected(Document& document, const SelectedRows& selected,
                     const SetTypeCommand::StoredType& stored, const QString& stepName);
// Moves the records `moved` (arrange::MovedRows of the selection) by the
// same (dx, dy) units. False, and no change, when a new position would not be
// a finite float or none changes. Key steps on the same records merge.
bool MoveSelected(Document& document, const SelectedRows& selected, const RowRanges& moved,
                  double dx, double dy, const QString& stepName, bool byKey);
// Arranges the selected records (arrange::Arranged, the current record the
// model); the step holds only the records that change. False when the
// selection cannot be arranged so (arrange::Check) or nothing changes.
bool ArrangeSelected(Document& document, const SelectedRows& selected,
                     arrange::Arrangement arrangement, const QString& stepName);

// What the window brings in line after the step done last (pushed or
// redone), or nothing when no step is done.
std::optional<RecordCommand::Effect> LastDone(const Document& document);

// Undoes or redoes one step; what the window brings in line afterwards, or
// nothing when there was no step to take.
std::optional<RecordCommand::Effect> Undo(Document& document);
std::optional<RecordCommand::Effect> Redo(Document& document);

}  // namespace editing
