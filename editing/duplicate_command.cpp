#include "editing/duplicate_command.h"

DuplicateCommand::DuplicateCommand(Document& document, std::size_t index, const QString& text)
    : RecordCommand(document, text), index_(index), copy_(document.record(index)) {}
