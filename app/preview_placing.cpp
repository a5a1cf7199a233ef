#include "app/preview_placing.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cstdlib>

#include "app/message_table.h"
#include "app/preview_panel.h"
#include "document/document.h"
#include "preview/hit_test.h"
#include "preview/preview_mapping.h"

namespace {

constexpr double kKeyStep = 1.0;
constexpr double kShiftKeyStep = 10.0;

Qt::CursorShape CursorOf(preview::Handle handle) {
    switch (handle) {
        case preview::Handle::TopLeft:
        case preview::Handle::BottomRight:
            return Qt::SizeFDiagCursor;
        case preview::Handle::TopRight:
        case preview::Handle::BottomLeft:
            return Qt::SizeBDiagCursor;
        case preview::Handle::Left:
        case preview::Handle::Right:
            return Qt::SizeHorCursor;
        case preview::Handle::Top:
        case preview::Handle::Bottom:
            break;
    }
    return Qt::SizeVerCursor;
}

}  // namespace

PreviewPlacing::PreviewPlacing(PreviewPanel& panel, const Document& document, Actions actions)
    : QObject(&panel), panel_(panel), document_(document), actions_(std::move(actions)) {
    // The panel takes the focus on a click, which commits a field being
    // edited before the click selects anything.
    panel_.setFocusPolicy(Qt::ClickFocus);
    panel_.setMouseTracking(true);
    panel_.installEventFilter(this);
    // A drag stands on the records as they were at its start.
    const auto changed = [this] { CallOff(false); };
    connect(&document_, &Document::aboutToReset, this, changed);
    connect(&document_, &Document::recordAboutToBeInserted, this, changed);
    connect(&document_, &Document::recordAboutToBeRemoved, this, changed);
    connect(&document_, &Document::recordChanged, this, changed);
    connect(&document_, &Document::textDbReplaced, this, [this] { CallOff(true); });
}

bool PreviewPlacing::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &panel_) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            Pressed(static_cast<const QMouseEvent&>(*event));
            return true;
        case QEvent::MouseMove:
            Moved(static_cast<const QMouseEvent&>(*event));
            return true;
        case QEvent::MouseButtonRelease:
            Released(static_cast<const QMouseEvent&>(*event));
            return true;
        case QEvent::MouseButtonDblClick:
            DoubleClicked(static_cast<const QMouseEvent&>(*event));
            return true;
        case QEvent::KeyPress:
            return KeyPressed(static_cast<const QKeyEvent&>(*event));
        case QEvent::ContextMenu:
            ContextMenuAsked(static_cast<const QContextMenuEvent&>(*event));
            return true;
        case QEvent::FocusOut:
        case QEvent::Hide:
            if (drag_) CallOff(true);
            return false;
        default:
            return false;
    }
}

QPoint PreviewPlacing::ClientPoint(const QMouseEvent& event) const {
    return event.position().toPoint() - panel_.contentsRect().topLeft();
}

std::optional<std::size_t> PreviewPlacing::RecordAt(QPoint at) const {
    const int selected = actions_.selected();
    if (selected < 0 || static_cast<std::size_t>(selected) >= document_.count()) return {};
    const QSize size = panel_.drawnSize();
    return preview::RecordAt(document_.records(), static_cast<std::size_t>(selected), at,
                             size.width(), size.height());
}

std::optional<preview::Handle> PreviewPlacing::HandleAt(QPoint at) const {
    const int selected = actions_.selected();
    const PreviewMarks& marks = panel_.marks();
    if (selected < 0 || !marks.box || !marks.handles) return {};
    return preview::HandleAt(*marks.box, at);
}

void PreviewPlacing::Pressed(const QMouseEvent& event) {
    // Other buttons leave a press or a drag of the left one as it is.
    if (event.button() != Qt::LeftButton) return;
    if (drag_) CallOff(true);
    press_.reset();
    if (!document_.isOpen()) return;
    Press press;
    press.at = ClientPoint(event);
    press.hit = RecordAt(press.at);
    press.handle = HandleAt(press.at);
    if (press.handle) {
        press.grabbed = static_cast<std::size_t>(actions_.selected());
    } else if (press.hit && IsFinite(GeometryOf(document_.record(*press.hit)))) {
        press.grabbed = press.hit;
    }
    press_ = press;
}

void PreviewPlacing::Moved(const QMouseEvent& event) {
    const QPoint at = ClientPoint(event);
    if (!press_ || !(event.buttons() & Qt::LeftButton)) {
        ShowCursorFor(at);
        return;
    }
    if (!press_->moved) {
        const QPoint offset = at - press_->at;
        if (std::max(std::abs(offset.x()), std::abs(offset.y())) < kDragStartPixels) return;
        press_->moved = true;
        if (!press_->calledOff && press_->grabbed) BeginDrag();
    }
    if (drag_) DragTo(at, event.modifiers() & Qt::AltModifier, true);
}

void PreviewPlacing::Released(const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || !press_) return;
    const Press press = *press_;
    press_.reset();
    clicked_.reset();
    if (drag_) {
        DragTo(ClientPoint(event), event.modifiers() & Qt::AltModifier, false);
        const Dragging drag = std::move(*drag_);
        drag_.reset();
        panel_.EndDraft();
        if (drag.placed && !SameBits(*drag.placed, drag.drag.start)) {
            actions_.place(drag.index, *drag.placed, drag.drag.handle.has_value(), false);
        } else {
            actions_.redraw();
        }
    } else if (!press.calledOff && !press.moved && press.hit) {
        clicked_ = press.hit;
        actions_.select(*press.hit);
    }
    ShowCursorFor(ClientPoint(event));
}

void PreviewPlacing::DoubleClicked(const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) return;
    if (drag_) CallOff(true);
    press_.reset();
    if (!document_.isOpen()) return;
    // The first click selected the record under the pointer, and the preview
    // may show it somewhere else now.
    const std::optional<std::size_t> target = clicked_ ? clicked_ : RecordAt(ClientPoint(event));
    clicked_.reset();
    if (target && *target < document_.count()) actions_.editPosition(*target);
}

bool PreviewPlacing::KeyPressed(const QKeyEvent& event) {
    if (press_) {
        if (event.key() == Qt::Key_Escape && drag_) CallOff(true);
        // Keys do not place anything while the button is down.
        return event.key() == Qt::Key_Escape || event.key() == Qt::Key_Left ||
               event.key() == Qt::Key_Right || event.key() == Qt::Key_Up ||
               event.key() == Qt::Key_Down;
    }
    double dx = 0.0;
    double dy = 0.0;
    switch (event.key()) {
        case Qt::Key_Left:
            dx = -1.0;
            break;
        case Qt::Key_Right:
            dx = 1.0;
            break;
        case Qt::Key_Up:
            dy = -1.0;
            break;
        case Qt::Key_Down:
            dy = 1.0;
            break;
        default:
            return false;
    }
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (modifiers & ~(Qt::ShiftModifier | Qt::ControlModifier)) return false;
    const int selected = actions_.selected();
    if (selected < 0 || static_cast<std::size_t>(selected) >= document_.count()) return true;
    const auto index = static_cast<std::size_t>(selected);
    const double step = modifiers & Qt::ShiftModifier ? kShiftKeyStep : kKeyStep;
    const bool resize = modifiers & Qt::ControlModifier;
    // Ctrl pulls the right or bottom edge, as the handle there would.
    const std::optional<RecordGeometry> placed = preview::Placed(
        GeometryOf(document_.record(index)),
        resize ? std::optional(preview::Handle::BottomRight) : std::nullopt, dx * step, dy * step);
    if (placed) actions_.place(index, *placed, resize, true);
    return true;
}

void PreviewPlacing::ContextMenuAsked(const QContextMenuEvent& event) {
    // Not in the middle of a drag, nor with nothing to act on.
    if (press_ || !document_.isOpen()) return;
    if (event.reason() == QContextMenuEvent::Mouse) {
        // The record under the pointer, as a click would select it.
        if (const std::optional<std::size_t> hit =
                RecordAt(event.pos() - panel_.contentsRect().topLeft()))
            actions_.select(*hit);
    }
    actions_.showCommands(event.globalPos());
}

void PreviewPlacing::BeginDrag() {
    const int selected = actions_.selected();
    if (selected < 0 || static_cast<std::size_t>(selected) >= document_.count()) return;
    const std::span<const MenuItemRecord> records = document_.records();
    const auto shown = static_cast<std::size_t>(selected);
    const std::size_t end = preview::ShownEnd(records, shown);
    const std::size_t index = *press_->grabbed;
    if (index < shown || index >= end) return;
    Dragging drag;
    drag.from = press_->at;
    drag.selected = shown;
    drag.index = index;
    drag.drag = {GeometryOf(records[index]), preview::OriginOf(records, shown, index),
                 press_->handle};
    drag.targets = preview::SnapTargetsFor(records, shown, index);
    drag.record = records[index];
    drag_ = std::move(drag);
    panel_.BeginDraft({records.begin() + static_cast<std::ptrdiff_t>(shown),
                       records.begin() + static_cast<std::ptrdiff_t>(end)},
                      index - shown, document_.textDb(), SkinColors());
}

void PreviewPlacing::DragTo(QPoint at, bool free, bool show) {
    Dragging& drag = *drag_;
    // The size the draft is drawn at.
    const QSize size = panel_.drawnSize();
    const std::optional<preview::DragPlace> place = preview::DragTo(
        drag.drag, at - drag.from, size.width(), size.height(), free ? nullptr : &drag.targets);
    if (!place) return;
    drag.placed = place->geometry;
    SetGeometry(drag.record, place->geometry);
    if (!show) return;
    panel_.RedrawDraft(place->geometry);

    PreviewMarks marks;
    const preview::RecordBox box = preview::BoxOf(drag.record, drag.drag.origin.x,
                                                  drag.drag.origin.y, size.width(), size.height());
    if (box.defined) marks.box = preview::CoveredRect(box);
    marks.handles = drag.index == drag.selected;
    if (place->guideX) marks.guideX = preview::MapX(*place->guideX, size.width());
    if (place->guideY) marks.guideY = preview::MapY(*place->guideY, size.height());
    panel_.SetMarks(marks);
}

void PreviewPlacing::CallOff(bool redraw) {
    if (press_) press_->calledOff = true;
    if (!drag_) return;
    drag_.reset();
    panel_.EndDraft();
    if (redraw) actions_.redraw();
}

void PreviewPlacing::ShowCursorFor(QPoint at) {
    if (!document_.isOpen()) {
        panel_.unsetCursor();
        return;
    }
    if (const std::optional<preview::Handle> handle = HandleAt(at)) {
        panel_.setCursor(CursorOf(*handle));
        return;
    }
    const std::optional<std::size_t> hit = RecordAt(at);
    if (hit && IsFinite(GeometryOf(document_.record(*hit)))) {
        panel_.setCursor(Qt::SizeAllCursor);
    } else {
        panel_.unsetCursor();
    }
}
