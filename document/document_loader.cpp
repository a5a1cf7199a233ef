#include "document/document_loader.h"

#include "document/menu_file.h"

LoadedDocument LoadDocumentStreams(QIODevice& menuFile, QIODevice& textDbFile,
                                   const std::function<void(LoadedDocument::Stage)>& onStage) {
    LoadedDocument document;
    if (onStage) onStage(LoadedDocument::Stage::ReadingMenuItems);
    MenuReadResult items = ReadMenuItems(menuFile);
    switch (items.error) {
        case MenuReadError::None:
            break;
        case MenuReadError::OutOfMemory:
            document.failure = LoadedDocument::Failure::MenuItemsOutOfMemory;
            return document;
        case MenuReadError::OutOfMemoryGrowing:
            document.failure = LoadedDocument::Failure::MenuItemsOutOfMemoryGrowing;
            return document;
        case MenuReadError::NoRecords:
            document.failure = LoadedDocument::Failure::NoMenuItems;
            return document;
    }
    document.menuItems = std::move(items.items);

    if (onStage) onStage(LoadedDocument::Stage::ReadingStrings);
    if (document.textDb.Read(textDbFile) != TextDb::ReadError::None) {
        document.failure = LoadedDocument::Failure::StringsOutOfMemory;
        document.menuItems = {};
    }
    return document;
}
