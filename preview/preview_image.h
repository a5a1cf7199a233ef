#pragma once

#include <QImage>
#include <QSize>
#include <cstddef>
#include <span>

#include "document/menu_item_record.h"
#include "preview/preview_look.h"

class TextDb;

namespace preview {

// What the editor's preview panel shows for the selected record at a client
// area of `size`: the surface drawn at 96 dots per inch, keyed, and composed
// over the background with the loading pictures. Needs no window.
QImage RenderPreviewImage(std::span<const MenuItemRecord> records, std::size_t selected,
                          const TextDb& textDb, QSize size, const PreviewLook& look);

}  // namespace preview
