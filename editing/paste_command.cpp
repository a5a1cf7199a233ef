#include "editing/paste_command.h"

PasteCommand::PasteCommand(Document& document, std::size_t index, const MenuItemRecord& pasted,
                           const QString& text)
    : RecordCommand(document, text),
      index_(index),
      before_(document.record(index)),
      after_(pasted) {}
