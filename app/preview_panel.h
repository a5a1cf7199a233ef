#pragma once

#include <QFrame>
#include <QImage>
#include <QRegion>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "document/menu_item_record.h"
#include "editing/record_geometry.h"
#include "document/text_db.h"
#include "preview/preview_compose.h"
#include "preview/preview_renderer.h"

namespace preview {
class DraftRedraw;
}

// What the preview marks above its picture, in the client area's pixels:
// a frame around the box of each selected record shown, the current one's
// (or the one being dragged) with the resize handles on it, the lines a snap
// holds to, and the rubber band being drawn. The marks are painted over the
// finished picture and never onto the drawing surface.
struct PreviewMarks {
    std::optional<QRect> box;  // the current record's pixels; may be empty
    bool handles = false;
    std::vector<QRect> selected;  // the other selected records' pixels
    std::optional<int> guideX;    // a column
    std::optional<int> guideY;    // a row
    std::optional<QRect> band;    // the rubber band, corner to corner
};

// The preview area (`pnMap`): the background picture, the drawing surface
// shown over it with its key colour transparent, and the four loading
// pictures above, with the marks on top. Drawing is the core renderer's;
// this panel only shows it.
class PreviewPanel : public QFrame {
  public:
    explicit PreviewPanel(QWidget* parent = nullptr);
    ~PreviewPanel() override;

    // Creates the screen-sized surface, filled with the key colour.
    void PrepareSurface(QSize screen, const preview::PreviewColors& colors);
    // Draws record `shown` (and, for a window, its screen) and shows it,
    // without marks.
    void Redraw(const std::vector<MenuItemRecord>& records, std::size_t shown,
                const TextDb& textDb, const preview::PreviewColors& colors);

    // While a drag lasts: the records shown (the selected one first), of
    // which only those at `changing` (ascending) change from one redraw to
    // the next. The preview shows what Redraw would show of them, without
    // drawing them all again each time.
    void BeginDraft(std::vector<MenuItemRecord> shown, std::vector<std::size_t> changing,
                    const TextDb& textDb, const preview::PreviewColors& colors);
    // One geometry for each changing record, in order.
    void RedrawDraft(std::span<const RecordGeometry> geometries);
    void EndDraft();

    void SetBackground(const QImage& picture);
    // 100, 101, 102 for the rcta pictures, 300 for the pbrt strip.
    void SetOverlayPicture(int id, const QImage& picture);

    // The preview size W x H: the panel less its bevel.
    QSize previewSize() const { return contentsRect().size(); }
    // A point of the panel (a mouse event's) on the drawn picture: the one
    // place where the panel's pixels become the surface's.
    QPoint ToSurface(QPointF panelPoint) const {
        return panelPoint.toPoint() - contentsRect().topLeft();
    }
    const preview::OverlayPlacements& overlays() const { return placements_; }
    const QImage& surface() const { return surface_; }
    // What the panel's client area shows now, the marks left out.
    QImage Snapshot() const;

    // The size the last redraw mapped the records to: what is on screen,
    // until the next redraw after the window was resized.
    QSize drawnSize() const { return drawnSize_; }

    const PreviewMarks& marks() const { return marks_; }
    void SetMarks(const PreviewMarks& marks);
    // The client area's pixels the marks paint over.
    QRegion MarksRegion() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void PaintMarks(QPainter& painter) const;
    // Composes the client area's picture again where it changed: the same
    // picture whatever part is composed at a time, painted as it is.
    void Compose(const QRect& area);

    QImage surface_;
    QImage keyed_;
    // The background picture stretched over the client area, made once per
    // size and picture, and the whole picture composed over it.
    QImage background_;
    QImage composed_;
    std::unique_ptr<preview::DraftRedraw> draft_;
    preview::PreviewPictures pictures_;
    preview::OverlayPlacements placements_{};
    QSize drawnSize_;
    PreviewMarks marks_;
};
