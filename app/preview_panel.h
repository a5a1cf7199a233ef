#pragma once

#include <QFrame>
#include <QImage>
#include <QRegion>
#include <cstddef>
#include <memory>
#include <optional>
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
// the frame around a box (the selected record's, or the one being dragged),
// the resize handles on it, and the lines a snap holds to. The marks are
// painted over the finished picture and never onto the drawing surface.
struct PreviewMarks {
    std::optional<QRect> box;  // the pixels the box covers; may be empty
    bool handles = false;
    std::optional<int> guideX;  // a column
    std::optional<int> guideY;  // a row
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
    // Draws the selected record (and its window's screen) and shows it,
    // marked with its frame, and with its handles when it can be resized.
    void Redraw(const std::vector<MenuItemRecord>& records, std::size_t selected,
                const TextDb& textDb, const preview::PreviewColors& colors);

    // While a drag lasts: the records shown (the selected one first), of
    // which only the one at `changing` changes from one redraw to the next.
    // The preview shows what Redraw would show of them, without drawing
    // them all again each time.
    void BeginDraft(std::vector<MenuItemRecord> shown, std::size_t changing,
                    const TextDb& textDb, const preview::PreviewColors& colors);
    void RedrawDraft(const RecordGeometry& geometry);
    void EndDraft();

    void SetBackground(const QImage& picture);
    // 100, 101, 102 for the rcta pictures, 300 for the pbrt strip.
    void SetOverlayPicture(int id, const QImage& picture);

    // The preview size W x H: the panel less its bevel.
    QSize previewSize() const { return contentsRect().size(); }
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
