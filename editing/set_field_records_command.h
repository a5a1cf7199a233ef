#pragma once

#include <cstdint>
#include <vector>

#include "editing/record_command.h"
#include "editing/record_field.h"
#include "editing/selected_rows.h"

// Sets one 32-bit field of several records to the same bits (a value typed
// into the property panel with several records selected).
class SetFieldRecordsCommand : public RecordCommand {
  public:
    SetFieldRecordsCommand(Document& document, SelectedRows selected, RecordField field,
                           std::uint32_t bits, const QString& text);

    void redo() override;
    void undo() override;
    Effect AfterRedo() const override { return selected_.AsEffect(); }
    Effect AfterUndo() const override { return selected_.AsEffect(); }

  private:
    SelectedRows selected_;
    RecordField field_;
    std::vector<std::uint32_t> before_;
    std::uint32_t after_;
};
