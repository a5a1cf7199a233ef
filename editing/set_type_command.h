#pragma once

#include <array>

#include "editing/record_command.h"

// Sets the four stored bytes of a record's type code.
class SetTypeCommand : public RecordCommand {
  public:
    using StoredType = std::array<char, 4>;

    SetTypeCommand(Document& document, std::size_t index, const StoredType& stored,
                   const QString& text);

    void redo() override;
    void undo() override;
    Effect AfterRedo() const override { return {index_, false, true}; }
    Effect AfterUndo() const override { return {index_, false, true}; }

    static StoredType StoredOf(const MenuItemRecord& record);

  private:
    void Store(const StoredType& stored);

    std::size_t index_;
    StoredType before_;
    StoredType after_;
};
