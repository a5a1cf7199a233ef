#pragma once

#include <vector>

#include "editing/record_command.h"
#include "editing/selected_rows.h"
#include "editing/set_type_command.h"

// Sets the four stored type bytes of several records alike.
class SetTypeRecordsCommand : public RecordCommand {
  public:
    using StoredType = SetTypeCommand::StoredType;

    SetTypeRecordsCommand(Document& document, SelectedRows selected, const StoredType& stored,
                          const QString& text);

    void redo() override;
    void undo() override;
    Effect AfterRedo() const override { return selected_.AsEffect(false, true); }
    Effect AfterUndo() const override { return selected_.AsEffect(false, true); }

  private:
    SelectedRows selected_;
    std::vector<StoredType> before_;
    StoredType after_;
};
