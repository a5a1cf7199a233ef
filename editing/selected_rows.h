#pragma once

#include <cstddef>

#include "document/row_ranges.h"
#include "editing/record_command.h"

// The records a command on several works on, and the current one among them:
// the selection it was made on, shown again when it is undone or redone.
struct SelectedRows {
    RowRanges rows;
    std::size_t current = 0;

    RecordCommand::Effect AsEffect(bool countChanged = false, bool labelsChanged = false) const {
        return {current, countChanged, labelsChanged, rows};
    }
};
