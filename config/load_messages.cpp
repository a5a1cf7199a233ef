#include "config/load_messages.h"

namespace load_messages {

QString FailureText(const LanguageTexts& texts, LoadedDocument::Failure failure) {
    switch (failure) {
        case LoadedDocument::Failure::None:
            break;
        case LoadedDocument::Failure::MenuItemsOutOfMemory:
            return texts.unableToAllocateItems;
        case LoadedDocument::Failure::MenuItemsOutOfMemoryGrowing:
            return texts.unableToReallocateItems;
        case LoadedDocument::Failure::NoMenuItems:
            return texts.menuFileEmpty;
        case LoadedDocument::Failure::StringsOutOfMemory:
            return texts.unableToAllocateStrings;
        case LoadedDocument::Failure::NoStrings:
            return texts.textDbEmpty;
    }
    return {};
}

QString Note(const LanguageTexts& texts, const LoadedDocument& loaded) {
    if (loaded.shortRecordBytes == 0 || loaded.menuItems.empty()) return {};
    // The check's finding begins in lower case, as a line of its output; here
    // it is a sentence of its own.
    QString note =
        texts.ShortLastRecordFinding(loaded.menuItems.size() - 1, loaded.shortRecordBytes);
    if (!note.isEmpty()) note[0] = note[0].toUpper();
    return QLatin1Char(' ') + note + QLatin1Char('.');
}

}  // namespace load_messages
