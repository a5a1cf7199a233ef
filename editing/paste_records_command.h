#pragma once

#include <vector>

#include "editing/record_command.h"
#include "editing/selected_rows.h"

// Overwrites several records with the one copied record, every field
// included.
class PasteRecordsCommand : public RecordCommand {
  public:
    PasteRecordsCommand(Document& document, SelectedRows selected, const MenuItemRecord& pasted,
                        const QString& text);

    void redo() override;
    void undo() override;
    Effect AfterRedo() const override { return selected_.AsEffect(false, true); }
    Effect AfterUndo() const override { return selected_.AsEffect(false, true); }

  private:
    SelectedRows selected_;
    std::vector<MenuItemRecord> before_;
    MenuItemRecord pasted_;
};
