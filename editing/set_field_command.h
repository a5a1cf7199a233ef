#pragma once

#include <cstdint>

#include "editing/record_command.h"
#include "editing/record_field.h"

// Sets one 32-bit field of one record (a commit of the property panel).
class SetFieldCommand : public RecordCommand {
  public:
    SetFieldCommand(Document& document, std::size_t index, RecordField field, std::uint32_t bits,
                    const QString& text);

    void redo() override;
    void undo() override;
    Effect AfterRedo() const override { return {index_}; }
    Effect AfterUndo() const override { return {index_}; }

  private:
    void Store(std::uint32_t bits);

    std::size_t index_;
    RecordField field_;
    std::uint32_t before_;
    std::uint32_t after_;
};
