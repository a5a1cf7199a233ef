#include "app/preview_panel.h"

#include <QPainter>

#include "preview/preview_look.h"

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
    update();
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
}

void PreviewPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    // No redraw: the background follows the new size at once, while the boxes
    // keep their pixels until the next refresh; a strip uncovered by growing
    // shows what the surface held there.
    if (!surface_.isNull()) keyed_ = preview::KeyedSurface(surface_, previewSize());
}
