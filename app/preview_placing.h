#pragma once

#include <QObject>
#include <QPoint>
#include <cstddef>
#include <functional>
#include <optional>

#include "document/menu_item_record.h"
#include "editing/record_geometry.h"
#include "preview/placement.h"

class Document;
class PreviewPanel;
class QContextMenuEvent;
class QKeyEvent;
class QMouseEvent;

// Selecting, moving and resizing records by pointer and keys, right in the
// preview panel. A click selects the record drawn on top under the pointer;
// a press on a box and a move of a few pixels drags it, a press on a handle
// of the selected record resizes it. While a drag lasts the preview is drawn
// from a copy of the screen shown with the dragged record's new values; the
// document changes once, when the button is released, and not at all when
// Escape ends the drag. With the panel focused the arrow keys move the
// selected record and, with Ctrl, resize it. A right click selects as a click
// does and offers the record commands.
class PreviewPlacing : public QObject {
  public:
    // What the window does for it.
    struct Actions {
        // The selected row, or -1.
        std::function<int()> selected;
        // A click on a record: select its row and refresh as a click in the
        // list does.
        std::function<void(std::size_t index)> select;
        // A double click on a record: select it and go to its X field.
        std::function<void(std::size_t index)> editPosition;
        // A finished drag or a key press gave a record these values: make
        // them a step and refresh. `resize` tells a resize from a move.
        std::function<void(std::size_t index, const RecordGeometry& geometry, bool resize,
                           bool byKey)>
            place;
        // A drag ended without a change: show the document as it is again.
        std::function<void()> redraw;
        // The record commands, at this point of the screen.
        std::function<void(QPoint global)> showCommands;
    };

    PreviewPlacing(PreviewPanel& panel, const Document& document, Actions actions);

    // Pixels the pointer must move with the button down before a press
    // becomes a drag, so that a click never moves anything.
    static constexpr int kDragStartPixels = 3;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Press {
        QPoint at;
        std::optional<std::size_t> hit;      // the record on top there
        std::optional<std::size_t> grabbed;  // the record a drag would place
        std::optional<preview::Handle> handle;
        bool moved = false;      // far enough to be no click
        bool calledOff = false;  // Escape, or the document changed under it
    };
    struct Dragging {
        QPoint from;
        std::size_t selected = 0;
        std::size_t index = 0;
        preview::Drag drag;
        preview::SnapTargets targets;
        // The dragged record with its values as they would be.
        MenuItemRecord record;
        std::optional<RecordGeometry> placed;
    };

    void Pressed(const QMouseEvent& event);
    void Moved(const QMouseEvent& event);
    void Released(const QMouseEvent& event);
    void DoubleClicked(const QMouseEvent& event);
    bool KeyPressed(const QKeyEvent& event);
    void ContextMenuAsked(const QContextMenuEvent& event);
    void BeginDrag();
    // Works out the dragged record's values with the pointer at `at`, and
    // shows them when asked.
    void DragTo(QPoint at, bool free, bool show);
    void CallOff(bool redraw);
    void ShowCursorFor(QPoint at);
    QPoint ClientPoint(const QMouseEvent& event) const;
    std::optional<std::size_t> RecordAt(QPoint at) const;
    std::optional<preview::Handle> HandleAt(QPoint at) const;

    PreviewPanel& panel_;
    const Document& document_;
    Actions actions_;
    std::optional<Press> press_;
    std::optional<Dragging> drag_;
    // The record the last click selected: a double click goes on with it,
    // though the preview may show it elsewhere by then.
    std::optional<std::size_t> clicked_;
};
