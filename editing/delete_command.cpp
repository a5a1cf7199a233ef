#include "editing/delete_command.h"

DeleteCommand::DeleteCommand(Document& document, std::size_t index, const QString& text)
    : RecordCommand(document, text), index_(index), removed_(document.record(index)) {}
