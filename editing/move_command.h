#pragma once

#include "editing/record_command.h"

// Moves one record: sets its posX and posY, placed in the preview by pointer
// or keys. Steps made by key presses on the same record one after the other
// merge into one; a drag is always a step of its own.
class MoveCommand : public RecordCommand {
  public:
    // `shown` is the record the window showed when the step was made, shown
    // again when the step is undone or redone: moving an element of a
    // window's screen keeps that screen in view.
    MoveCommand(Document& document, std::size_t index, float posX, float posY,
                const QString& text, std::size_t shown, bool byKey);

    void redo() override { Store(afterX_, afterY_); }
    void undo() override { Store(beforeX_, beforeY_); }
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;
    Effect AfterRedo() const override { return {shown_}; }
    Effect AfterUndo() const override { return {shown_}; }

  private:
    void Store(float posX, float posY);

    std::size_t index_;
    std::size_t shown_;
    bool byKey_;
    float beforeX_;
    float beforeY_;
    float afterX_;
    float afterY_;
};
