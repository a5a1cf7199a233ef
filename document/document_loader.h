#pragma once

#include <QIODevice>
#include <functional>
#include <vector>

#include "document/menu_item_record.h"
#include "document/text_db.h"

// Reads the two files of a document into fresh arrays. The caller swaps them
// in only when both were read, so a failed load never touches the document
// that was open before.
struct LoadedDocument {
    enum class Failure {
        None,
        MenuItemsOutOfMemory,         // "Error: unable to allocate menu items array!"
        MenuItemsOutOfMemoryGrowing,  // "Error: unable to reallocate menu items array!"
        NoMenuItems,                  // an empty file: the same message
        StringsOutOfMemory,           // "Error: unable to allocate strings array!"
    };
    enum class Stage { ReadingMenuItems, ReadingStrings };

    std::vector<MenuItemRecord> menuItems;
    TextDb textDb;
    Failure failure = Failure::None;
};

LoadedDocument LoadDocumentStreams(QIODevice& menuFile, QIODevice& textDbFile,
                                   const std::function<void(LoadedDocument::Stage)>& onStage);
