#include "editing/arrange_command.h"

ArrangeCommand::ArrangeCommand(Document& document, RowRanges rows,
                               std::vector<RecordGeometry> after, SelectedRows selection,
                               const QString& text)
    : RecordCommand(document, text),
      rows_(std::move(rows)),
      after_(std::move(after)),
      selection_(std::move(selection)) {
    before_.reserve(rows_.count());
    rows_.ForEach([&](std::size_t row) { before_.push_back(GeometryOf(document.record(row))); });
}

void ArrangeCommand::Store(const std::vector<RecordGeometry>& geometries) {
    std::size_t next = 0;
    EditMany(rows_,
             [&](std::size_t, MenuItemRecord& record) { SetGeometry(record, geometries[next++]); });
}
