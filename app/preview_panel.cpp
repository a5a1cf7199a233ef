#include "app/preview_panel.h"

#include <QPainter>
#include <array>

#include "editing/record_geometry.h"
#include "preview/placement.h"
#include "preview/preview_look.h"

namespace {

const QColor kMarkColor(0, 120, 215);
const QColor kHandleFill(Qt::white);
const QColor kGuideColor(255, 0, 200);

// The one-pixel frame just outside the box, as its four sides.
std::array<QRect, 4> FrameAround(const QRect& box) {
    const QRect ring = box.adjusted(-1, -1, 1, 1);
    return {QRect(ring.left(), ring.top(), ring.width(), 1),
            QRect(ring.left(), ring.bottom(), ring.width(), 1),
            QRect(ring.left(), ring.top(), 1, ring.height()),
            QRect(ring.right(), ring.top(), 1, ring.height())};
}

}  // namespace

PreviewPanel::PreviewPanel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    pictures_ = preview::BuiltinPreviewPictures();
}

void PreviewPanel::PrepareSurface(QSize screen, const preview::PreviewColors& colors) {
    surface_ = preview::PreparePreviewSurface(screen, colors, logicalDpiY());
    keyed_ = preview::KeyedSurface(surface_, previewSize());
    update();
}

void PreviewPanel::Redraw(const std::vector<MenuItemRecord>& records, std::size_t selected,
                          const TextDb& textDb, const preview::PreviewColors& colors) {
    if (surface_.isNull()) return;
    const QSize size = previewSize();
    placements_ = preview::DrawPreview(
        surface_, records, static_cast<std::ptrdiff_t>(selected),
        [&textDb](std::int32_t id) { return textDb.FindText(id); }, colors, size.width(),
        size.height());
    keyed_ = preview::KeyedSurface(surface_, size);
    drawnSize_ = size;
    marks_ = {};
    if (selected < records.size()) {
        const preview::RecordBox box =
            preview::BoxOf(records[selected], 0.0, 0.0, size.width(), size.height());
        if (box.defined) {
            marks_.box = preview::CoveredRect(box);
            marks_.handles = IsFinite(GeometryOf(records[selected]));
        }
    }
    update();
}

void PreviewPanel::SetMarks(const PreviewMarks& marks) {
    marks_ = marks;
    update();
}

QRegion PreviewPanel::MarksRegion() const {
    QRegion region;
    if (marks_.box) {
        for (const QRect& side : FrameAround(*marks_.box)) region += side;
        if (marks_.handles) {
            for (const preview::Handle handle : preview::kHandles)
                region += preview::HandleRect(*marks_.box, handle);
        }
    }
    const QSize size = previewSize();
    if (marks_.guideX) region += QRect(*marks_.guideX, 0, 1, size.height());
    if (marks_.guideY) region += QRect(0, *marks_.guideY, size.width(), 1);
    return region & QRect(QPoint(0, 0), size);
}

void PreviewPanel::SetBackground(const QImage& picture) {
    pictures_.background = picture;
    update();
}

void PreviewPanel::SetOverlayPicture(int id, const QImage& picture) {
    preview::SetOverlayPicture(pictures_, id, picture);
    update();
}

QImage PreviewPanel::Snapshot() const {
    return preview::ComposePreviewImage(previewSize(), pictures_, keyed_, placements_);
}

void PreviewPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.translate(contentsRect().topLeft());
    preview::ComposePreview(painter, previewSize(), pictures_, keyed_, placements_);
    PaintMarks(painter);
}

void PreviewPanel::PaintMarks(QPainter& painter) const {
    const QSize size = previewSize();
    painter.setClipRect(QRect(QPoint(0, 0), size));
    if (marks_.guideX) painter.fillRect(QRect(*marks_.guideX, 0, 1, size.height()), kGuideColor);
    if (marks_.guideY) painter.fillRect(QRect(0, *marks_.guideY, size.width(), 1), kGuideColor);
    if (!marks_.box) return;
    for (const QRect& side : FrameAround(*marks_.box)) painter.fillRect(side, kMarkColor);
    if (!marks_.handles) return;
    for (const preview::Handle handle : preview::kHandles) {
        const QRect square = preview::HandleRect(*marks_.box, handle);
        painter.fillRect(square, kMarkColor);
        painter.fillRect(square.adjusted(1, 1, -1, -1), kHandleFill);
    }
}

void PreviewPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    // No redraw: the background follows the new size at once, while the boxes
    // keep their pixels until the next refresh; a strip uncovered by growing
    // shows what the surface held there.
    if (!surface_.isNull()) keyed_ = preview::KeyedSurface(surface_, previewSize());
}
