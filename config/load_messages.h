#pragma once

#include <QString>

#include "config/language_texts.h"
#include "document/document_loader.h"

// What the status line says of loading a document's files, or of reading one
// of them again after another program changed it.
namespace load_messages {

// The message of a load that failed; empty for Failure::None.
QString FailureText(const LanguageTexts& texts, LoadedDocument::Failure failure);

// A sentence to follow the report of a load that succeeded: a short last
// record, in the words `kaveldef check` uses for it. Empty when there is
// nothing to say.
QString Note(const LanguageTexts& texts, const LoadedDocument& loaded);

}  // namespace load_messages
