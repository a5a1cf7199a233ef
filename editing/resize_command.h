#pragma once

#include "editing/record_command.h"
#include "editing/record_geometry.h"

// Resizes one record in the preview: sets its scaleX and scaleY, and its posX
// and posY where the left or top edge moved. Steps made by key presses on the
// same record one after the other merge into one; a drag is always a step
// of its own.
class ResizeCommand : public RecordCommand {
  public:
    // `shown`: the record the window showed when the step was made, as for
    // MoveCommand.
    ResizeCommand(Document& document, std::size_t index, const RecordGeometry& geometry,
                  const QString& text, std::size_t shown, bool byKey);

    void redo() override { Store(after_); }
    void undo() override { Store(before_); }
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;
    Effect AfterRedo() const override { return {shown_}; }
    Effect AfterUndo() const override { return {shown_}; }

  private:
    void Store(const RecordGeometry& geometry);

    std::size_t index_;
    std::size_t shown_;
    bool byKey_;
    RecordGeometry before_;
    RecordGeometry after_;
};
