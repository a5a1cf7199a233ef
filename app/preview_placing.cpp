#include "app/preview_placing.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <cstdlib>

#include "app/message_table.h"
#include "app/preview_panel.h"
#include "document/document.h"
#include "document/type_code.h"
#include "editing/arrange.h"
#include "editing/record_selection.h"
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

bool Adding(Qt::KeyboardModifiers keys) {
    return keys & (Qt::ControlModifier | Qt::ShiftModifier);
}

// The box a record of the screen covers, its window at screen[0].
std::optional<QRect> CoveredOf(std::span<const MenuItemRecord> screen, std::size_t at, QSize size) {
    const preview::Origin origin = preview::OriginOf(screen, 0, at);
    const preview::RecordBox box =
        preview::BoxOf(screen[at], origin.x, origin.y, size.width(), size.height());
    if (!box.defined) return std::nullopt;
    return preview::CoveredRect(box);
}

}  // namespace

PreviewPlacing::PreviewPlacing(PreviewPanel& panel, const Document& document,
                               RecordSelection& selection, Actions actions)
    : QObject(&panel),
      panel_(panel),
      document_(document),
      selection_(selection),
      actions_(std::move(actions)) {
    // The panel takes the focus on a click, which commits a field being
    // edited before the click selects anything.
    panel_.setFocusPolicy(Qt::ClickFocus);
    panel_.viewport()->setMouseTracking(true);
    // The pointer's events reach the viewport, the keys the panel.
    panel_.installEventFilter(this);
    panel_.viewport()->installEventFilter(this);
    connect(&panel_, &PreviewPanel::viewChanged, this, [this] { ViewChanged(); });
    // A drag stands on the records as they were at its start; the picture
    // is drawn again at the next redraw.
    const auto changed = [this] {
        stale_ = true;
        CallOff(false);
    };
    connect(&document_, &Document::aboutToReset, this, changed);
    connect(&document_, &Document::recordAboutToBeInserted, this, changed);
    connect(&document_, &Document::recordAboutToBeRemoved, this, changed);
    connect(&document_, &Document::recordChanged, this, changed);
    connect(&document_, &Document::recordsAboutToBeInserted, this, changed);
    connect(&document_, &Document::recordsAboutToBeRemoved, this, changed);
    connect(&document_, &Document::recordsChanged, this, changed);
    // The drawing holds the texts it drew.
    const auto textsChanged = [this] {
        stale_ = true;
        textsChanged_ = true;
    };
    connect(&document_, &Document::aboutToReset, this, textsChanged);
    connect(&document_, &Document::textChanged, this, textsChanged);
    connect(&document_, &Document::textDbReplaced, this, [this, textsChanged] {
        textsChanged();
        CallOff(true);
    });
}

std::size_t PreviewPlacing::shown() const {
    if (selection_.empty() || selection_.current() >= document_.count()) return 0;
    return preview::ShownFor(document_.records(), selection_.current(), !elementsAlone_);
}

bool PreviewPlacing::ShownAfterSelecting(std::size_t index) const {
    return preview::ShownFor(document_.records(), index, !elementsAlone_) == shown();
}

void PreviewPlacing::SetElementsAlone(bool alone) {
    elementsAlone_ = alone;
    stale_ = true;
}

void PreviewPlacing::Redraw() {
    // A drag stands on the picture drawn at its start; a press that has not
    // moved yet goes on (it may have just selected the record pressed).
    if (drag_) CallOff(false);
    if (selection_.empty() || selection_.current() >= document_.count()) return;
    const std::size_t now = shown();
    if (stale_ || now != drawnShown_ || panel_.drawnSize() != panel_.view().surface() ||
        panel_.previewSize() != panel_.view().area() || !(drawnColors_ == SkinColors())) {
        if (textsChanged_) panel_.Forget();
        panel_.Redraw(document_.records(), now, document_.textDb(), SkinColors());
        stale_ = false;
        textsChanged_ = false;
        drawnShown_ = now;
        drawnColors_ = SkinColors();
    }
    Remark();
}

void PreviewPlacing::Remark() {
    if (selection_.empty() || selection_.current() >= document_.count()) return;
    const std::size_t now = shown();
    const std::span<const MenuItemRecord> records = document_.records();
    panel_.SetMarks(MarksOf(records.subspan(now, preview::ShownEnd(records, now) - now)));
}

void PreviewPlacing::ViewChanged() {
    // What was pressed or dragged stands on pixels of the surface before.
    if (drag_ || press_) {
        CallOff(true);
        return;
    }
    Remark();
}

int PreviewPlacing::GridStep(Qt::KeyboardModifiers keys) const {
    return keys & Qt::AltModifier ? 0 : panel_.gridStep();
}

PreviewMarks PreviewPlacing::MarksOf(std::span<const MenuItemRecord> screen) const {
    PreviewMarks marks;
    const std::size_t first = shown();
    const QSize size = panel_.drawnSize();
    for (std::size_t at = 0; at < screen.size(); ++at) {
        const std::size_t row = first + at;
        if (!selection_.Contains(row)) continue;
        const std::optional<QRect> covered = CoveredOf(screen, at, size);
        if (!covered) continue;
        if (row == selection_.current()) {
            marks.box = covered;
            marks.handles = IsFinite(GeometryOf(screen[at]));
        } else {
            marks.selected.push_back(*covered);
        }
    }
    return marks;
}

bool PreviewPlacing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panel_.viewport()) return ViewportEvent(*event);
    if (watched != &panel_) return false;
    switch (event->type()) {
        case QEvent::KeyPress:
            return KeyPressed(static_cast<const QKeyEvent&>(*event));
        case QEvent::ContextMenu:
            ContextMenuAsked(static_cast<const QContextMenuEvent&>(*event));
            return true;
        case QEvent::FocusOut:
        case QEvent::Hide:
            if (drag_ || (press_ && press_->band)) CallOff(true);
            return false;
        default:
            return false;
    }
}

bool PreviewPlacing::ViewportEvent(QEvent& event) {
    const auto& mouse = static_cast<const QMouseEvent&>(event);
    switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            // A pan is the panel's.
            if (panel_.Pans(mouse)) return false;
            break;
        case QEvent::Leave:
            if (actions_.showPointer) actions_.showPointer(std::nullopt);
            return false;
        case QEvent::ContextMenu:
            ContextMenuAsked(static_cast<const QContextMenuEvent&>(event));
            return true;
        default:
            return false;
    }
    if (event.type() == QEvent::MouseButtonPress) Pressed(mouse);
    if (event.type() == QEvent::MouseMove) Moved(mouse);
    if (event.type() == QEvent::MouseButtonRelease) Released(mouse);
    if (event.type() == QEvent::MouseButtonDblClick) DoubleClicked(mouse);
    return true;
}

std::optional<std::size_t> PreviewPlacing::RecordAt(QPoint at) const {
    if (selection_.empty() || selection_.current() >= document_.count()) return {};
    const QSize size = panel_.drawnSize();
    return preview::RecordAt(document_.records(), shown(), at, size.width(), size.height());
}

std::optional<preview::Handle> PreviewPlacing::HandleAt(QPoint at) const {
    const PreviewMarks& marks = panel_.marks();
    if (selection_.empty() || !marks.box || !marks.handles) return {};
    return preview::HandleAt(*marks.box, at);
}

void PreviewPlacing::Pressed(const QMouseEvent& event) {
    // Other buttons leave a press or a drag of the left one as it is.
    if (event.button() != Qt::LeftButton) return;
    if (drag_) CallOff(true);
    press_.reset();
    if (!document_.isOpen()) return;
    Press press;
    press.at = panel_.ToSurface(event.position());
    press.hit = RecordAt(press.at);
    press.handle = HandleAt(press.at);
    press.adding = Adding(event.modifiers());
    const bool onWindow = press.hit && *press.hit == shown() &&
                          type_code::IsWindow(document_.record(*press.hit));
    if (press.handle) {
        // The current record's handle: a resize.
    } else if (!press.hit || (onWindow && (event.modifiers() & Qt::ShiftModifier))) {
        press.band = true;
    } else if (press.adding) {
        // Ctrl or Shift: the record joins the selection or leaves it, in place.
        if (ShownAfterSelecting(*press.hit)) selection_.Toggle(*press.hit);
        press.calledOff = true;
    } else if (!ShownAfterSelecting(*press.hit)) {
        press.selectOnRelease = true;
    } else if (selection_.Contains(*press.hit)) {
        press.collapseOnRelease = selection_.count() > 1;
        if (selection_.current() != *press.hit) selection_.Set(selection_.rows(), *press.hit);
    } else {
        selection_.Select(*press.hit);
    }
    press_ = press;
}

void PreviewPlacing::Moved(const QMouseEvent& event) {
    const QPoint at = panel_.ToSurface(event.position());
    if (!press_ || !(event.buttons() & Qt::LeftButton)) {
        ShowCursorFor(at);
        ShowPointerAt(at);
        return;
    }
    if (!press_->moved) {
        const QPoint offset = at - press_->at;
        if (std::max(std::abs(offset.x()), std::abs(offset.y())) < kDragStartPixels) return;
        press_->moved = true;
        if (!press_->calledOff && !press_->band) BeginDrag();
    }
    if (drag_) {
        DragTo(at, event.modifiers() & Qt::AltModifier, true);
    } else if (press_->band && !press_->calledOff) {
        PreviewMarks marks = panel_.marks();
        marks.band = QRect(press_->at, at);
        panel_.SetMarks(marks);
    }
}

void PreviewPlacing::Released(const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || !press_) return;
    const Press press = *press_;
    press_.reset();
    clicked_.reset();
    const QPoint at = panel_.ToSurface(event.position());
    if (drag_) {
        DragTo(at, event.modifiers() & Qt::AltModifier, false);
        const Dragging drag = std::move(*drag_);
        drag_.reset();
        if (drag.handle && drag.placed && !SameBits(*drag.placed, drag.drag.start)) {
            actions_.resize(selection_.current(), *drag.placed, false);
        } else if (!drag.handle && drag.place && (drag.place->dx != 0 || drag.place->dy != 0)) {
            actions_.move(drag.moved, drag.place->dx, drag.place->dy, false);
        } else {
            actions_.redraw();
        }
    } else if (press.band && !press.calledOff) {
        if (press.moved) SelectBand(QRect(press.at, at), press.adding);
        Redraw();
    } else if (!press.calledOff && !press.moved && press.hit) {
        clicked_ = press.hit;
        if (press.selectOnRelease || press.collapseOnRelease) selection_.Select(*press.hit);
    }
    ShowCursorFor(at);
}

void PreviewPlacing::SelectBand(const QRect& band, bool adding) {
    const std::size_t first = shown();
    const std::span<const MenuItemRecord> records = document_.records();
    const std::size_t end = preview::ShownEnd(records, first);
    const QRect area = band.normalized().adjusted(0, 0, 1, 1);
    // The elements it touches; the window itself is where the band lies.
    const std::size_t from = type_code::IsWindow(records[first]) ? first + 1 : first;
    RowRanges touched;
    for (std::size_t row = from; row < end; ++row) {
        const std::optional<QRect> covered =
            CoveredOf(records.subspan(first, end - first), row - first, panel_.drawnSize());
        if (covered && covered->intersects(area)) touched.Append(row, row + 1);
    }
    if (touched.empty()) return;
    if (adding) {
        selection_.Add(touched);
    } else {
        selection_.Set(touched, touched.Contains(selection_.current()) ? selection_.current()
                                                                       : touched.first());
    }
}

void PreviewPlacing::SelectScreen() {
    const std::size_t first = shown();
    const std::span<const MenuItemRecord> records = document_.records();
    const std::size_t end = preview::ShownEnd(records, first);
    const std::size_t from = end > first + 1 ? first + 1 : first;
    const RowRanges screen = RowRanges::Span(from, end);
    selection_.Set(screen, screen.Contains(selection_.current()) ? selection_.current() : from);
}

void PreviewPlacing::DoubleClicked(const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) return;
    if (drag_) CallOff(true);
    press_.reset();
    if (!document_.isOpen()) return;
    // The first click selected the record under the pointer, and the preview
    // may show it somewhere else now.
    const std::optional<std::size_t> target =
        clicked_ ? clicked_ : RecordAt(panel_.ToSurface(event.position()));
    clicked_.reset();
    if (target && *target < document_.count()) actions_.editPosition(*target);
}

bool PreviewPlacing::KeyPressed(const QKeyEvent& event) {
    if (press_) {
        if (event.key() == Qt::Key_Escape) {
            CallOff(true);
            // A band goes; the selection's marks stay.
            if (press_->band) Redraw();
        }
        // Keys do not place anything while the button is down.
        return event.key() == Qt::Key_Escape || event.key() == Qt::Key_Left ||
               event.key() == Qt::Key_Right || event.key() == Qt::Key_Up ||
               event.key() == Qt::Key_Down;
    }
    if (event.matches(QKeySequence::SelectAll)) {
        if (document_.isOpen() && !selection_.empty()) SelectScreen();
        return true;
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
    if (modifiers & ~(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) return false;
    if (selection_.empty() || selection_.current() >= document_.count()) return true;
    const double step = modifiers & Qt::ShiftModifier ? kShiftKeyStep : kKeyStep;
    const std::size_t index = selection_.current();
    const RecordGeometry start = GeometryOf(document_.record(index));
    const int grid = GridStep(modifiers);
    if (!(modifiers & Qt::ControlModifier)) {
        // The whole selection moves, the elements of a selected window with
        // it; on a grid the current record goes to the next line and the
        // others keep their places to it.
        const RowRanges moved = arrange::MovedRows(document_.records(), selection_.rows());
        if (moved.empty()) return true;
        if (grid == 0) {
            actions_.move(moved, dx * step, dy * step, true);
        } else if (const std::optional<RecordGeometry> placed = preview::Nudged(
                       start, std::nullopt, static_cast<int>(dx), static_cast<int>(dy), step, grid)) {
            actions_.move(moved, static_cast<double>(placed->posX) - start.posX,
                          static_cast<double>(placed->posY) - start.posY, true);
        }
        return true;
    }
    // Ctrl pulls the current record's right or bottom edge, as the handle
    // there would.
    const std::optional<RecordGeometry> placed =
        preview::Nudged(start, preview::Handle::BottomRight, static_cast<int>(dx),
                        static_cast<int>(dy), step, grid);
    if (placed) actions_.resize(index, *placed, true);
    return true;
}

void PreviewPlacing::ContextMenuAsked(const QContextMenuEvent& event) {
    // Not in the middle of a drag, nor with nothing to act on.
    if (press_ || !document_.isOpen()) return;
    if (event.reason() == QContextMenuEvent::Mouse) {
        // The record under the pointer, as a click would select it; one of
        // several selected becomes the current one.
        if (const std::optional<std::size_t> hit = RecordAt(panel_.ToSurface(event.pos()))) {
            if (!selection_.Contains(*hit)) {
                selection_.Select(*hit);
            } else if (selection_.current() != *hit) {
                selection_.Set(selection_.rows(), *hit);
            }
        }
    }
    actions_.showCommands(event.globalPos());
}

void PreviewPlacing::BeginDrag() {
    if (selection_.empty() || selection_.current() >= document_.count()) return;
    const std::span<const MenuItemRecord> records = document_.records();
    const std::size_t first = shown();
    const std::size_t end = preview::ShownEnd(records, first);
    Dragging drag;
    drag.from = press_->at;
    drag.shown = first;
    drag.handle = press_->handle;
    drag.screen.assign(records.begin() + static_cast<std::ptrdiff_t>(first),
                       records.begin() + static_cast<std::ptrdiff_t>(end));
    std::size_t index = selection_.current();
    if (drag.handle) {
        if (index < first || index >= end) return;
        drag.drag = {GeometryOf(records[index]), preview::OriginOf(records, first, index),
                     drag.handle};
        drag.targets = preview::SnapTargetsFor(records, first, index);
        drag.changing = {index - first};
    } else {
        if (!press_->hit || !IsFinite(GeometryOf(records[*press_->hit]))) return;
        // A record pressed but not selected (drawn elsewhere once selected)
        // moves by itself; a selected one takes the selection along.
        drag.moved = press_->selectOnRelease
                         ? RowRanges::Single(*press_->hit)
                         : arrange::MovedRows(records, selection_.rows());
        const std::optional<preview::GroupDrag> group =
            preview::GroupOf(records, first, drag.moved);
        if (!group) return;
        drag.group = *group;
        // The grid holds the record taken hold of.
        drag.group.anchorX = records[*press_->hit].posX;
        drag.group.anchorY = records[*press_->hit].posY;
        drag.targets = preview::SnapTargetsFor(records, first, drag.moved);
        drag.moved.ForEach([&](std::size_t row) {
            if (row < first || row >= end) return;
            drag.changing.push_back(row - first);
            drag.starts.push_back(GeometryOf(records[row]));
        });
    }
    drag_ = std::move(drag);
    // The drag changes the picture alone: the next redraw brings it back in
    // line with the document.
    stale_ = true;
}

void PreviewPlacing::DragTo(QPoint at, bool free, bool show) {
    Dragging& drag = *drag_;
    // The size the draft is drawn at.
    const QSize size = panel_.drawnSize();
    const preview::SnapTargets* targets = free ? nullptr : &drag.targets;
    const int grid = free ? 0 : panel_.gridStep();
    std::vector<RecordGeometry> geometries;
    std::optional<double> guideX;
    std::optional<double> guideY;
    if (drag.handle) {
        const std::optional<preview::DragPlace> place =
            preview::DragTo(drag.drag, at - drag.from, size.width(), size.height(), targets, grid);
        if (!place) return;
        drag.placed = place->geometry;
        geometries = {place->geometry};
        guideX = place->guideX;
        guideY = place->guideY;
    } else {
        const std::optional<preview::GroupPlace> place =
            preview::GroupDragTo(drag.group, at - drag.from, size.width(), size.height(), targets,
                                 grid);
        if (!place) return;
        drag.place = place;
        for (RecordGeometry geometry : drag.starts) {
            geometry.posX = static_cast<float>(geometry.posX + place->dx);
            geometry.posY = static_cast<float>(geometry.posY + place->dy);
            geometries.push_back(geometry);
        }
        guideX = place->guideX;
        guideY = place->guideY;
    }
    for (std::size_t k = 0; k < drag.changing.size(); ++k)
        SetGeometry(drag.screen[drag.changing[k]], geometries[k]);
    if (!show) return;
    panel_.ChangeDrawn(drag.changing, geometries);
    PreviewMarks marks = MarksOf(drag.screen);
    if (guideX) marks.guideX = preview::MapX(*guideX, size.width());
    if (guideY) marks.guideY = preview::MapY(*guideY, size.height());
    panel_.SetMarks(marks);
    // The panel's fields follow the current record on its way.
    const std::size_t current = selection_.current();
    if (current >= drag.shown && current - drag.shown < drag.screen.size() &&
        std::find(drag.changing.begin(), drag.changing.end(), current - drag.shown) !=
            drag.changing.end()) {
        actions_.showDraft(GeometryOf(drag.screen[current - drag.shown]), drag.handle.has_value());
    }
}

void PreviewPlacing::CallOff(bool redraw) {
    if (press_) press_->calledOff = true;
    if (!drag_) return;
    drag_.reset();
    if (redraw) actions_.redraw();
}

void PreviewPlacing::ShowCursorFor(QPoint at) {
    QWidget* viewport = panel_.viewport();
    if (!document_.isOpen()) {
        viewport->unsetCursor();
        return;
    }
    if (const std::optional<preview::Handle> handle = HandleAt(at)) {
        viewport->setCursor(CursorOf(*handle));
        return;
    }
    const std::optional<std::size_t> hit = RecordAt(at);
    if (hit && IsFinite(GeometryOf(document_.record(*hit)))) {
        viewport->setCursor(Qt::SizeAllCursor);
    } else {
        viewport->unsetCursor();
    }
}

void PreviewPlacing::ShowPointerAt(QPoint at) {
    if (!actions_.showPointer) return;
    if (!document_.isOpen() || selection_.empty() || selection_.current() >= document_.count()) {
        actions_.showPointer(std::nullopt);
        return;
    }
    actions_.showPointer(
        preview::PointerPlaceAt(document_.records(), shown(), at, panel_.drawnSize()));
}
