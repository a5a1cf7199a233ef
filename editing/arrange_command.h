#pragma once

#include <vector>

#include "editing/record_command.h"
#include "editing/record_geometry.h"
#include "editing/selected_rows.h"

// Gives several records new positions and sizes at once: an entry of the
// Arrange menu (align, distribute, same size), named after it.
class ArrangeCommand : public RecordCommand {
  public:
    // `after` holds the new geometry of each row of `rows`, in order.
    ArrangeCommand(Document& document, RowRanges rows, std::vector<RecordGeometry> after,
                   SelectedRows selection, const QString& text);

    void redo() override { Store(after_); }
    void undo() override { Store(before_); }
    Effect AfterRedo() const override { return selection_.AsEffect(); }
    Effect AfterUndo() const override { return selection_.AsEffect(); }

  private:
    void Store(const std::vector<RecordGeometry>& geometries);

    RowRanges rows_;
    std::vector<RecordGeometry> before_;
    std::vector<RecordGeometry> after_;
    SelectedRows selection_;
};
