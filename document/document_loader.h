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
        NoMenuItems,                  // an empty file
        StringsOutOfMemory,           // "Error: unable to allocate strings array!"
        NoStrings,                    // a string database read again holds no entry
    };
    enum class Stage { ReadingMenuItems, ReadingStrings };

    std::vector<MenuItemRecord> menuItems;
    TextDb textDb;
    Failure failure = Failure::None;
    // The bytes the menu file holds of its last record when that is short,
    // else 0 (see MenuReadResult).
    int shortRecordBytes = 0;
};

LoadedDocument LoadDocumentStreams(QIODevice& menuFile, QIODevice& textDbFile,
                                   const std::function<void(LoadedDocument::Stage)>& onStage);

// The records alone: the first stage of a load, and what a menu file changed
// by another program is read with.
LoadedDocument LoadMenuStream(QIODevice& menuFile);
// The string database of an open document read again after another program
// changed it. One that now holds no entry at all is refused (NoStrings): no
// game ships one, so it is most likely still being written, and taking it
// would blank every text.
LoadedDocument ReloadTextDbStream(QIODevice& textDbFile);
