#include "app/preview_panel.h"

#include <QPainter>

#include "assets/builtin_pictures.h"

PreviewPanel::PreviewPanel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    pictures_.background = BuiltinBackground();
    pictures_.overlays[static_cast<std::size_t>(preview::Overlay::Atcr100)] = BuiltinAtcr100();
    pictures_.overlays[static_cast<std::size_t>(preview::Overlay::Atcr101)] = BuiltinAtcr101();
    pictures_.overlays[static_cast<std::size_t>(preview::Overlay::Atcr102)] = BuiltinAtcr102();
    pictures_.overlays[static_cast<std::size_t>(preview::Overlay::Trbp300)] = BuiltinTrbp300();
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
    preview::Overlay overlay = preview::Overlay::Atcr100;
    switch (id) {
        case 100:
            overlay = preview::Overlay::Atcr100;
            break;
        case 101:
            overlay = preview::Overlay::Atcr101;
            break;
        case 102:
            overlay = preview::Overlay::Atcr102;
            break;
        case 300:
            overlay = preview::Overlay::Trbp300;
            break;
        default:
            return;
    }
    pictures_.overlays[static_cast<std::size_t>(overlay)] = picture;
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
