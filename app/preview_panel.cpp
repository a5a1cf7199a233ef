#include "app/preview_panel.h"

#include <QPainter>
#include <array>

#include "preview/draft_redraw.h"
#include "preview/placement.h"
#include "preview/preview_look.h"

namespace {

// The current record in a strong blue with handles, the others selected with
// it in a lighter one, and the rubber band see-through.
const QColor kMarkColor(0, 120, 215);
const QColor kSelectedColor(90, 170, 255);
const QColor kBandFill(0, 120, 215, 40);
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

PreviewPanel::~PreviewPanel() = default;

void PreviewPanel::PrepareSurface(QSize screen, const preview::PreviewColors& colors) {
    draft_.reset();
    surface_ = preview::PreparePreviewSurface(screen, colors, logicalDpiY());
    keyed_ = preview::KeyedSurface(surface_, previewSize());
    Compose(QRect(QPoint(0, 0), previewSize()));
}

void PreviewPanel::Redraw(const std::vector<MenuItemRecord>& records, std::size_t shown,
                          const TextDb& textDb, const preview::PreviewColors& colors) {
    draft_.reset();
    marks_ = {};
    if (surface_.isNull()) return;
    const QSize size = previewSize();
    placements_ = preview::DrawPreview(
        surface_, records, static_cast<std::ptrdiff_t>(shown),
        [&textDb](std::int32_t id) { return textDb.FindText(id); }, colors, size.width(),
        size.height());
    keyed_ = preview::KeyedSurface(surface_, size);
    Compose(QRect(QPoint(0, 0), size));
    drawnSize_ = size;
    update();
}

void PreviewPanel::BeginDraft(std::vector<MenuItemRecord> shown,
                              std::vector<std::size_t> changing, const TextDb& textDb,
                              const preview::PreviewColors& colors) {
    draft_.reset();
    if (surface_.isNull()) return;
    const QSize size = previewSize();
    draft_ = std::make_unique<preview::DraftRedraw>(
        surface_, std::move(shown), std::move(changing),
        [&textDb](std::int32_t id) { return textDb.FindText(id); }, colors, size.width(),
        size.height());
    placements_ = draft_->placements();
    keyed_ = preview::KeyedSurface(surface_, size);
    Compose(QRect(QPoint(0, 0), size));
    drawnSize_ = size;
    update();
}

void PreviewPanel::RedrawDraft(std::span<const RecordGeometry> geometries) {
    if (!draft_) return;
    const preview::OverlayPlacements before = placements_;
    const QRect area = draft_->Change(geometries);
    placements_ = draft_->placements();
    preview::RekeySurface(keyed_, surface_, area);
    // A loading picture that moved leaves its old place and takes a new one.
    QRegion changed(area);
    for (std::size_t i = 0; i < placements_.size(); ++i) {
        for (const preview::OverlayPlacement& placement : {before[i], placements_[i]}) {
            if (placement.visible) changed += placement.bounds.translated(-1, -1);
        }
    }
    Compose(changed.boundingRect());
    update();
}

void PreviewPanel::EndDraft() {
    draft_.reset();
}

void PreviewPanel::SetMarks(const PreviewMarks& marks) {
    marks_ = marks;
    update();
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
    const QSize size = previewSize();
    if (marks_.guideX) region += QRect(*marks_.guideX, 0, 1, size.height());
    if (marks_.guideY) region += QRect(0, *marks_.guideY, size.width(), 1);
    return region & QRect(QPoint(0, 0), size);
}

void PreviewPanel::SetBackground(const QImage& picture) {
    pictures_.background = picture;
    background_ = QImage();
    Compose(QRect(QPoint(0, 0), previewSize()));
}

void PreviewPanel::SetOverlayPicture(int id, const QImage& picture) {
    preview::SetOverlayPicture(pictures_, id, picture);
    Compose(QRect(QPoint(0, 0), previewSize()));
}

QImage PreviewPanel::Snapshot() const {
    // The panel composes when its size is known; a hidden one may not be told.
    if (composed_.size() != previewSize()) {
        return preview::ComposePreviewImage(previewSize(), pictures_, keyed_, placements_);
    }
    return composed_;
}

void PreviewPanel::Compose(const QRect& area) {
    const QSize size = previewSize();
    if (background_.size() != size) {
        background_ = QImage(size, QImage::Format_RGB32);
        if (background_.isNull()) return;
        QPainter painter(&background_);
        preview::ComposeBackground(painter, size, pictures_);
    }
    const bool whole = composed_.size() != size;
    if (whole) composed_ = QImage(size, QImage::Format_RGB32);
    if (composed_.isNull() || (!whole && area.isEmpty())) return;
    // Clipped, the same pixels come out there as from composing it all.
    QPainter painter(&composed_);
    const QRect part = whole ? composed_.rect() : area & composed_.rect();
    painter.setClipRect(part);
    painter.drawImage(part.topLeft(), background_, part);
    preview::ComposeOverBackground(painter, size, pictures_, keyed_, placements_);
    update();
}

void PreviewPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.translate(contentsRect().topLeft());
    painter.drawImage(QPoint(0, 0), composed_);
    PaintMarks(painter);
}

void PreviewPanel::PaintMarks(QPainter& painter) const {
    const QSize size = previewSize();
    painter.setClipRect(QRect(QPoint(0, 0), size));
    if (marks_.guideX) painter.fillRect(QRect(*marks_.guideX, 0, 1, size.height()), kGuideColor);
    if (marks_.guideY) painter.fillRect(QRect(0, *marks_.guideY, size.width(), 1), kGuideColor);
    if (!marks_.selected.empty()) {
        // One call for thousands of frames; a cosmetic pen of one pixel on
        // the ring just outside each box.
        std::vector<QRect> rings;
        rings.reserve(marks_.selected.size());
        for (const QRect& box : marks_.selected) rings.push_back(box.adjusted(-1, -1, 0, 0));
        painter.setPen(QPen(kSelectedColor, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRects(rings.data(), static_cast<int>(rings.size()));
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

void PreviewPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    // No redraw: the background follows the new size at once, while the boxes
    // keep their pixels until the next refresh; a strip uncovered by growing
    // shows what the surface held there.
    if (!surface_.isNull()) keyed_ = preview::KeyedSurface(surface_, previewSize());
    Compose(QRect(QPoint(0, 0), previewSize()));
}
