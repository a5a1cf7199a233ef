#pragma once

#include <QObject>
#include <QPoint>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "document/menu_item_record.h"
#include "document/row_ranges.h"
#include "editing/record_geometry.h"
#include "preview/placement.h"
#include "preview/pointer_place.h"
#include "preview/preview_colors.h"

class Document;
class PreviewPanel;
class QContextMenuEvent;
class QKeyEvent;
class QMouseEvent;
class RecordSelection;
struct PreviewMarks;

// What the preview shows and how it is worked with pointer and keys.
//
// The preview draws the screen that holds the current record: its window
// with every element in place, or a record before the first window by
// itself; with "elements by themselves" every record is drawn by itself, as
// the selected record always was. The selected records of that screen are
// framed, the current one with its handles.
//
// A press on a record selects it in place (Ctrl or Shift: adds or removes it),
// so that the panel shows what a drag then moves; where selecting it would
// redraw the preview (an element drawn by itself) a click selects it once
// released, and a drag moves it without. A drag of a selected record moves
// every selected record by the same whole units, snapping by the group's
// bounding box (Alt: freely); a handle of the current record resizes it. A
// drag from empty space (or from the window's box with Shift) draws a rubber
// band that selects the elements it touches. While a drag lasts the preview
// is drawn from a copy of the screen; the document changes once, when the
// button is released, and not at all when Escape ends the drag. With the
// panel focused the arrow keys move the selection (Ctrl: resize the current
// record) and Ctrl+A selects every element of the screen. While the grid is
// shown, drags, handles and keys put what they move on its lines (Alt:
// freely). Pointer and keys work on the surface as it is shown, whatever
// its zoom and scrolling; a zoom in the middle of a drag calls the drag off.
class PreviewPlacing : public QObject {
  public:
    // What the window does for it.
    struct Actions {
        // A handle drag or Ctrl+arrow resized the current record: make the
        // values a step and refresh.
        std::function<void(std::size_t index, const RecordGeometry& geometry, bool byKey)> resize;
        // A drag or arrow key moved the records `moved` by (dx, dy) units.
        std::function<void(const RowRanges& moved, double dx, double dy, bool byKey)> move;
        // The current record's values while a drag or resize is on its way.
        std::function<void(const RecordGeometry& geometry, bool resizing)> showDraft;
        // Where the pointer is over the preview; nothing once it is off the
        // surface.
        std::function<void(const std::optional<preview::PointerPlace>& place)> showPointer;
        // A double click on a record: select it and go to its X field.
        std::function<void(std::size_t index)> editPosition;
        // A drag ended without a change: show the document as it is again.
        std::function<void()> redraw;
        // The record commands, at this point of the screen.
        std::function<void(QPoint global)> showCommands;
    };

    PreviewPlacing(PreviewPanel& panel, const Document& document, RecordSelection& selection,
                   Actions actions);

    // Pixels the pointer must move with the button down before a press
    // becomes a drag, so that a click never moves anything.
    static constexpr int kDragStartPixels = 3;

    // Shows the current record in its screen and marks the selection. The
    // picture is drawn again only when the records, what is shown or its
    // size changed; otherwise only the marks move.
    void Redraw();
    void SetElementsAlone(bool alone);
    // The surface shown got another size: the marks are placed anew.
    void ViewChanged();
    // The record whose drawing is shown.
    std::size_t shown() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Press {
        QPoint at;
        std::optional<std::size_t> hit;  // the record on top there
        std::optional<preview::Handle> handle;
        bool moved = false;      // far enough to be no click
        bool calledOff = false;  // Escape, or the document changed under it
        bool band = false;       // a drag draws a rubber band
        bool adding = false;     // Ctrl or Shift: the band adds to the selection
        // The press selected nothing yet: a click selects `hit` once released.
        bool selectOnRelease = false;
        // A press on one of several selected: a click selects it alone.
        bool collapseOnRelease = false;
    };
    struct Dragging {
        QPoint from;
        std::size_t shown = 0;
        // A resize of the current record by a handle.
        std::optional<preview::Handle> handle;
        preview::Drag drag;
        std::optional<RecordGeometry> placed;
        // A move: the rows moved, those of them drawn (indices from shown),
        // their values at the start and the group's box.
        RowRanges moved;
        std::vector<std::size_t> changing;
        std::vector<RecordGeometry> starts;
        preview::GroupDrag group;
        std::optional<preview::GroupPlace> place;
        preview::SnapTargets targets;
        // The screen's records with their values as they would be.
        std::vector<MenuItemRecord> screen;
    };

    // The pointer's events, which reach the viewport.
    bool ViewportEvent(QEvent& event);
    void Pressed(const QMouseEvent& event);
    void Moved(const QMouseEvent& event);
    void Released(const QMouseEvent& event);
    void DoubleClicked(const QMouseEvent& event);
    bool KeyPressed(const QKeyEvent& event);
    void ContextMenuAsked(const QContextMenuEvent& event);
    void BeginDrag();
    // Works out where the drag has got with the pointer at `at`, and shows
    // it when asked.
    void DragTo(QPoint at, bool free, bool show);
    void CallOff(bool redraw);
    void Remark();
    void ShowPointerAt(QPoint at);
    // The step the grid holds moves to, or 0 without a grid or with Alt.
    int GridStep(Qt::KeyboardModifiers keys) const;
    void ShowCursorFor(QPoint at);
    // The marks of the selection on `screen` (the records shown, from
    // shown() on), with the current record's handles.
    PreviewMarks MarksOf(std::span<const MenuItemRecord> screen) const;
    void SelectBand(const QRect& band, bool adding);
    void SelectScreen();
    bool ShownAfterSelecting(std::size_t index) const;
    std::optional<std::size_t> RecordAt(QPoint at) const;
    std::optional<preview::Handle> HandleAt(QPoint at) const;

    PreviewPanel& panel_;
    const Document& document_;
    RecordSelection& selection_;
    Actions actions_;
    bool elementsAlone_ = false;
    std::optional<Press> press_;
    std::optional<Dragging> drag_;
    // The record the last click selected: a double click goes on with it,
    // though the preview may show it elsewhere by then.
    std::optional<std::size_t> clicked_;
    // What the picture was last drawn of; drawn again when it changes.
    bool stale_ = true;
    // The texts changed: the drawing, which holds them, goes.
    bool textsChanged_ = true;
    std::size_t drawnShown_ = 0;
    preview::PreviewColors drawnColors_;
};
