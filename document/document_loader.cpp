#include "document/document_loader.h"

#include "document/menu_file.h"

LoadedDocument LoadDocumentStreams(QIODevice& menuFile, QIODevice& textDbFile,
                                   const std::function<void(LoadedDocument::Stage)>& onStage) {
    if (onStage) onStage(LoadedDocument::Stage::ReadingMenuItems);
    LoadedDocument document = LoadMenuStream(menuFile);
    if (document.failure != LoadedDocument::Failure::None) return document;

    if (onStage) onStage(LoadedDocument::Stage::ReadingStrings);
    if (document.textDb.Read(textDbFile) != TextDb::ReadError::None) {
        document.failure = LoadedDocument::Failure::StringsOutOfMemory;
        document.menuItems = {};
    }
    return document;
}

LoadedDocument LoadMenuStream(QIODevice& menuFile) {
    LoadedDocument document;
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
    document.shortRecordBytes = items.shortRecordBytes;
    return document;
}

LoadedDocument ReloadTextDbStream(QIODevice& textDbFile) {
    LoadedDocument document;
    if (document.textDb.Read(textDbFile) != TextDb::ReadError::None)
        document.failure = LoadedDocument::Failure::StringsOutOfMemory;
    else if (document.textDb.count() == 0)
        document.failure = LoadedDocument::Failure::NoStrings;
    return document;
}
