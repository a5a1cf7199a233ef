#include "app/preview_panel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <array>
#include <cstdlib>

#include "preview/hit_test.h"
#include "preview/placement.h"
#include "preview/preview_look.h"
#include "preview/tiled_preview.h"
#include "preview/view_grid.h"

namespace {

// The current record in a strong blue with handles, the others selected with
// it in a lighter one, and the rubber band see-through; the grid faint over
// both the dark background picture and the light boxes.
const QColor kMarkColor(0, 120, 215);
const QColor kSelectedColor(90, 170, 255);
const QColor kBandFill(0, 120, 215, 40);
const QColor kHandleFill(Qt::white);
const QColor kGuideColor(255, 0, 200);
const QColor kGridColor(0, 170, 255, 90);

// A window being resized is drawn at most this often.
constexpr int kFrameMilliseconds = 16;
// Tiles drawn ahead of a scroll in one idle turn, so that input waits little.
constexpr int kTilesAhead = 2;
// One notch of a wheel; a scroll bar step in pixels.
constexpr int kWheelNotch = 120;
constexpr int kScrollStep = 20;

// The one-pixel frame just outside the box, as its four sides.
std::array<QRect, 4> FrameAround(const QRect& box) {
    const QRect ring = box.adjusted(-1, -1, 1, 1);
    return {QRect(ring.left(), ring.top(), ring.width(), 1),
            QRect(ring.left(), ring.bottom(), ring.width(), 1),
            QRect(ring.left(), ring.top(), 1, ring.height()),
            QRect(ring.right(), ring.top(), 1, ring.height())};
}

}  // namespace

PreviewPanel::PreviewPanel(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    pictures_ = preview::BuiltinPreviewPictures();
    // Every pixel of the viewport is painted; nothing fills it first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    resizeTimer_.setSingleShot(true);
    resizeTimer_.setInterval(kFrameMilliseconds);
    connect(&resizeTimer_, &QTimer::timeout, this, [this] { ApplyResize(); });
    drawAhead_.setSingleShot(true);
    drawAhead_.setInterval(0);
    connect(&drawAhead_, &QTimer::timeout, this, [this] {
        if (tiled_ && tiled_->DrawAhead(view_.visibleSurface(), kTilesAhead) > 0)
            drawAhead_.start();
    });
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
        bar->setSingleStep(kScrollStep);
    view_ = preview::ViewGeometry({}, previewSize());
}

PreviewPanel::~PreviewPanel() = default;

void PreviewPanel::Redraw(std::span<const MenuItemRecord> records, std::size_t shown,
                          const TextDb& textDb, const preview::PreviewColors& colors) {
    marks_ = {};
    if (shown >= records.size()) return;
    const std::span<const MenuItemRecord> screen =
        records.subspan(shown, preview::ShownEnd(records, shown) - shown);
    lookup_ = [&textDb](std::int32_t id) { return textDb.FindText(id); };
    // What is drawn follows the viewport as it is now.
    resizeTimer_.stop();
    const preview::ViewGeometry view = view_.Changed(view_.choice(), previewSize(), QPoint(0, 0));
    // The same screen edited keeps its drawing and redraws what changed.
    const bool kept = tiled_ && colors == colors_ && tiled_->size() == view.surface() &&
                      tiled_->Update(screen, view.visibleSurface());
    colors_ = colors;
    if (!kept) {
        tiled_ = std::make_unique<preview::TiledPreview>(
            std::vector<MenuItemRecord>(screen.begin(), screen.end()), lookup_, colors_, pictures_,
            view.surface(), logicalDpiY());
        ++redrawCount_;
    }
    ApplyView(view);
}

void PreviewPanel::Forget() {
    tiled_.reset();
}

void PreviewPanel::ChangeDrawn(std::span<const std::size_t> indices,
                               std::span<const RecordGeometry> geometries) {
    if (!tiled_) return;
    tiled_->Change(indices, geometries, view_.visibleSurface());
    viewport()->update();
}

void PreviewPanel::SetBackground(const QImage& picture) {
    pictures_.background = picture;
    DrawNew();
}

void PreviewPanel::SetOverlayPicture(int id, const QImage& picture) {
    preview::SetOverlayPicture(pictures_, id, picture);
    DrawNew();
}

void PreviewPanel::SetChoice(const preview::ViewChoice& choice, std::optional<QPoint> anchor) {
    resizeTimer_.stop();
    const QSize area = previewSize();
    ApplyView(view_.Changed(choice, area,
                            anchor.value_or(QPoint(area.width() / 2, area.height() / 2))));
}

void PreviewPanel::ZoomStep(int direction, std::optional<QPoint> anchor) {
    if (const std::optional<int> step = preview::ZoomStep(view_.zoom(), direction))
        SetChoice({view_.choice().resolution, *step}, anchor);
}

void PreviewPanel::SetGrid(int step) {
    gridStep_ = step;
    viewport()->update();
}

void PreviewPanel::ApplyView(const preview::ViewGeometry& view) {
    const bool resized = view.surface() != view_.surface() || !(view.zoom() == view_.zoom());
    view_ = view;
    resizedFrom_ = size();
    syncing_ = true;
    const std::pair<QScrollBar*, int> bars[] = {
        {horizontalScrollBar(), 0}, {verticalScrollBar(), 1}};
    for (const auto& [bar, vertical] : bars) {
        bar->setRange(0, vertical ? view_.maxScroll().y() : view_.maxScroll().x());
        bar->setPageStep(vertical ? view_.area().height() : view_.area().width());
        bar->setValue(vertical ? view_.scroll().y() : view_.scroll().x());
    }
    syncing_ = false;
    if (tiled_ && tiled_->size() != view_.surface()) DrawNew();
    ShowVisible();
    viewport()->update();
    if (resized) emit viewChanged();
}

void PreviewPanel::ApplyResize() {
    resizeTimer_.stop();
    if (previewSize() != view_.area())
        ApplyView(view_.Changed(view_.choice(), previewSize(), QPoint(0, 0)));
}

void PreviewPanel::DrawNew() {
    if (tiled_) {
        tiled_ = std::make_unique<preview::TiledPreview>(tiled_->records(), lookup_, colors_,
                                                         pictures_, view_.surface(), logicalDpiY());
        ++redrawCount_;
    }
    ShowVisible();
    viewport()->update();
}

void PreviewPanel::ShowVisible() {
    if (!tiled_) return;
    tiled_->Show(view_.visibleSurface());
    drawAhead_.start();
}

void PreviewPanel::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (previewSize() == view_.area()) return;
    // Scroll bars that came or went in a panel of the same size: at once.
    // A resize of the window: once a frame, the last drawing shown meanwhile.
    if (size() == resizedFrom_) {
        ApplyResize();
    } else if (!resizeTimer_.isActive()) {
        resizeTimer_.start();
    }
}

void PreviewPanel::scrollContentsBy(int dx, int dy) {
    if (syncing_) return;
    view_ = view_.Scrolled(QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()));
    ShowVisible();
    // The picture and its marks move along; only what comes into view is painted.
    viewport()->scroll(dx, dy);
}

void PreviewPanel::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        // Whole notches zoom a step each, around the pointer.
        wheelZoom_ += delta.y() != 0 ? delta.y() : delta.x();
        while (std::abs(wheelZoom_) >= kWheelNotch) {
            const int direction = wheelZoom_ > 0 ? 1 : -1;
            wheelZoom_ -= direction * kWheelNotch;
            ZoomStep(direction, event->position().toPoint());
        }
        event->accept();
        return;
    }
    if (event->modifiers() & Qt::ShiftModifier) {
        // Sideways, whether the wheel's turn comes as such or not.
        QScrollBar* bar = horizontalScrollBar();
        const int turn = delta.x() != 0 ? delta.x() : delta.y();
        bar->setValue(bar->value() -
                      turn * bar->singleStep() * QApplication::wheelScrollLines() / kWheelNotch);
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

bool PreviewPanel::Pans(const QMouseEvent& event) const {
    if (panFrom_) return true;
    if (event.type() == QEvent::MouseButtonPress || event.type() == QEvent::MouseButtonDblClick) {
        // Only a button pressed alone starts a pan.
        return event.buttons() == event.button() &&
               (event.button() == Qt::MiddleButton ||
                (spaceHeld_ && event.button() == Qt::LeftButton));
    }
    // Space held shows the hand over the picture.
    return event.type() == QEvent::MouseMove && spaceHeld_ && event.buttons() == Qt::NoButton;
}

void PreviewPanel::mousePressEvent(QMouseEvent* event) {
    if (!panFrom_ && Pans(*event)) {
        panFrom_ = event->position().toPoint();
        panScroll_ = view_.scroll();
        panButton_ = event->button();
        viewport()->setCursor(Qt::ClosedHandCursor);
    }
    event->accept();
}

void PreviewPanel::mouseMoveEvent(QMouseEvent* event) {
    if (panFrom_) {
        const QPoint to = panScroll_ - (event->position().toPoint() - *panFrom_);
        horizontalScrollBar()->setValue(to.x());
        verticalScrollBar()->setValue(to.y());
    } else if (spaceHeld_) {
        viewport()->setCursor(Qt::OpenHandCursor);
    }
    event->accept();
}

void PreviewPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (panFrom_ && event->button() == panButton_) EndPan();
    event->accept();
}

void PreviewPanel::EndPan() {
    panFrom_.reset();
    if (spaceHeld_) {
        viewport()->setCursor(Qt::OpenHandCursor);
    } else {
        viewport()->unsetCursor();
    }
}

void PreviewPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        spaceHeld_ = true;
        if (!panFrom_) viewport()->setCursor(Qt::OpenHandCursor);
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void PreviewPanel::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        spaceHeld_ = false;
        if (!panFrom_) viewport()->unsetCursor();
        event->accept();
        return;
    }
    QAbstractScrollArea::keyReleaseEvent(event);
}

void PreviewPanel::focusOutEvent(QFocusEvent* event) {
    spaceHeld_ = false;
    if (panFrom_) {
        EndPan();
    } else {
        viewport()->unsetCursor();
    }
    QAbstractScrollArea::focusOutEvent(event);
}

void PreviewPanel::SetMarks(const PreviewMarks& marks) {
    marks_ = marks;
    viewport()->update();
}

QRegion PreviewPanel::MarksRegion() const {
    QRegion region;
    const auto frame = [&region](const QRect& box) {
        for (const QRect& side : FrameAround(box)) region += side;
    };
    for (const QRect& box : marks_.selected) frame(box);
    if (marks_.box) {
        frame(*marks_.box);
        if (marks_.handles) {
            for (const preview::Handle handle : preview::kHandles)
                region += preview::HandleRect(*marks_.box, handle);
        }
    }
    if (marks_.band) region += marks_.band->normalized().adjusted(0, 0, 1, 1);
    region.translate(view_.surfaceOrigin());
    const QSize size = previewSize();
    const QPoint origin = view_.surfaceOrigin();
    if (marks_.guideX) region += QRect(*marks_.guideX + origin.x(), 0, 1, size.height());
    if (marks_.guideY) region += QRect(0, *marks_.guideY + origin.y(), size.width(), 1);
    if (gridStep_ > 0 && tiled_) {
        const QRect shown = view_.ToArea(view_.visibleSurface());
        const preview::GridLines grid = preview::VisibleGridLines(
            view_, preview::GridOrigin(tiled_->records(), 0), gridStep_);
        for (const int column : grid.columns) region += QRect(column, shown.top(), 1, shown.height());
        for (const int row : grid.rows) region += QRect(shown.left(), row, shown.width(), 1);
    }
    return region & QRect(QPoint(0, 0), size);
}

QImage PreviewPanel::Snapshot() const {
    QImage image(previewSize(), QImage::Format_RGB32);
    if (image.isNull()) return image;
    QPainter painter(&image);
    PaintPicture(painter);
    return image;
}

void PreviewPanel::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    PaintPicture(painter);
    PaintGrid(painter);
    PaintMarks(painter);
}

void PreviewPanel::PaintPicture(QPainter& painter) const {
    QRegion margin(QRect(QPoint(0, 0), previewSize()));
    if (tiled_) {
        margin -= view_.ToArea(QRect(QPoint(0, 0), view_.surface()));
        tiled_->Paint(painter, view_.surfaceOrigin(), view_.visibleSurface());
    }
    for (const QRect& part : margin) painter.fillRect(part, palette().color(QPalette::Dark));
}

void PreviewPanel::PaintGrid(QPainter& painter) const {
    if (gridStep_ <= 0 || !tiled_) return;
    // Across the surface's part in view, on the columns and rows where a
    // record placed on a line has its edge.
    const QRect shown = view_.ToArea(view_.visibleSurface());
    const preview::GridLines grid =
        preview::VisibleGridLines(view_, preview::GridOrigin(tiled_->records(), 0), gridStep_);
    for (const int column : grid.columns)
        painter.fillRect(QRect(column, shown.top(), 1, shown.height()), kGridColor);
    for (const int row : grid.rows)
        painter.fillRect(QRect(shown.left(), row, shown.width(), 1), kGridColor);
}

void PreviewPanel::PaintMarks(QPainter& painter) const {
    const QSize size = previewSize();
    const QPoint origin = view_.surfaceOrigin();
    if (marks_.guideX)
        painter.fillRect(QRect(*marks_.guideX + origin.x(), 0, 1, size.height()), kGuideColor);
    if (marks_.guideY)
        painter.fillRect(QRect(0, *marks_.guideY + origin.y(), size.width(), 1), kGuideColor);
    // The rest is placed on the surface.
    painter.translate(origin);
    // The frames in view, side by side: filling thin rectangles is what the
    // painter does fastest, and a view of thousands of frames shows few.
    const QRect shown = QRect(QPoint(0, 0), size).translated(-origin);
    for (const QRect& box : marks_.selected) {
        const QRect ring = box.adjusted(-1, -1, 1, 1);
        if (!ring.intersects(shown)) continue;
        for (const QRect& side : FrameAround(box)) painter.fillRect(side, kSelectedColor);
    }
    if (marks_.band) {
        painter.setPen(QPen(kMarkColor, 0, Qt::DashLine));
        painter.setBrush(kBandFill);
        painter.drawRect(marks_.band->normalized());
    }
    if (!marks_.box) return;
    for (const QRect& side : FrameAround(*marks_.box)) painter.fillRect(side, kMarkColor);
    if (!marks_.handles) return;
    for (const preview::Handle handle : preview::kHandles) {
        const QRect square = preview::HandleRect(*marks_.box, handle);
        painter.fillRect(square, kMarkColor);
        painter.fillRect(square.adjusted(1, 1, -1, -1), kHandleFill);
    }
}
