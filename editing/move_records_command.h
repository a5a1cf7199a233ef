#pragma once

#include <vector>

#include "editing/record_command.h"
#include "editing/selected_rows.h"

// Moves several records (a group dragged in the preview, or nudged by keys):
// sets their posX and posY. Key steps on the same records one after the
// other merge into one; a drag is always a step of its own.
class MoveRecordsCommand : public RecordCommand {
  public:
    struct Position {
        float x = 0.0f;
        float y = 0.0f;
    };

    // `after` holds the new position of each row of `moved`, in order;
    // `selection` is shown again when the step is undone or redone.
    MoveRecordsCommand(Document& document, RowRanges moved, std::vector<Position> after,
                       SelectedRows selection, const QString& text, bool byKey);

    void redo() override { Store(after_); }
    void undo() override { Store(before_); }
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;
    Effect AfterRedo() const override { return selection_.AsEffect(); }
    Effect AfterUndo() const override { return selection_.AsEffect(); }

  private:
    void Store(const std::vector<Position>& positions);

    RowRanges moved_;
    std::vector<Position> before_;
    std::vector<Position> after_;
    SelectedRows selection_;
    bool byKey_;
};
