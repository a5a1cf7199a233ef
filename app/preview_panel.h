#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QRegion>
#include <QTimer>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "document/menu_item_record.h"
#include "document/text_db.h"
#include "editing/record_geometry.h"
#include "preview/preview_compose.h"
#include "preview/preview_renderer.h"
#include "preview/view_geometry.h"

namespace preview {
class TiledPreview;
}

// What the preview marks above its picture, in the surface's pixels: a frame
// around the box of each selected record shown, the current one's (or the
// one being dragged) with the resize handles on it, the lines a snap holds
// to, and the rubber band being drawn. The marks, and the grid, are painted
// over the finished picture and never onto the drawing surface.
struct PreviewMarks {
    std::optional<QRect> box;  // the current record's pixels; may be empty
    bool handles = false;
    std::vector<QRect> selected;  // the other selected records' pixels
    std::optional<int> guideX;    // a column
    std::optional<int> guideY;    // a row
    std::optional<QRect> band;    // the rubber band, corner to corner
};

// The preview area (`pnMap`): the drawing surface of the screen shown, at
// the game resolution and zoom chosen, scrolled in a viewport. The surface
// is the picture that `kaveldef render --size WxH` makes at its size (the
// background picture, the records, the loading pictures), drawn where it is
// seen and kept in tiles, never whole; around a surface smaller than the
// viewport lies a dark margin. Above it lie the grid and the marks.
//
// It follows the viewport's size while the window is resized, drawing at
// most once a frame and once more when the resize stops; until then it
// shows, and hit tests work on, the last drawing. Ctrl+wheel zooms around
// the pointer, the wheel scrolls (Shift+wheel sideways), and a drag with the
// middle button, or with Space held, pans.
class PreviewPanel : public QAbstractScrollArea {
    Q_OBJECT

  public:
    explicit PreviewPanel(QWidget* parent = nullptr);
    ~PreviewPanel() override;

    // Draws record `shown` of the records (and, for a window, its screen)
    // and shows it, without marks. The texts looked up must stay as they are
    // until the next Redraw, or Forget.
    void Redraw(std::span<const MenuItemRecord> records, std::size_t shown, const TextDb& textDb,
                const preview::PreviewColors& colors);
    // Lets the drawing go: the texts it holds changed.
    void Forget();
    // While a drag lasts: records of those drawn (indices from the shown
    // one) take these values in the picture alone.
    void ChangeDrawn(std::span<const std::size_t> indices,
                     std::span<const RecordGeometry> geometries);

    void SetBackground(const QImage& picture);
    // 100, 101, 102 for the rcta pictures, 300 for the pbrt strip.
    void SetOverlayPicture(int id, const QImage& picture);

    // --- The view -------------------------------------------------------------
    const preview::ViewGeometry& view() const { return view_; }
    // Another resolution or zoom, the surface point under the viewport's
    // `anchor` kept there (its centre when none is given).
    void SetChoice(const preview::ViewChoice& choice, std::optional<QPoint> anchor = {});
    // One zoom step up (> 0) or down (< 0), as far as the steps go.
    void ZoomStep(int direction, std::optional<QPoint> anchor = {});
    // Grid lines every `step` units, or none (0).
    void SetGrid(int step);
    int gridStep() const { return gridStep_; }

    // The viewport's size.
    QSize previewSize() const { return viewport()->size(); }
    // The size of the surface shown: until a resize has been drawn, the one
    // drawn before it.
    QSize drawnSize() const { return view_.surface(); }
    // A point of the viewport (a mouse event's) on the surface shown.
    QPoint ToSurface(QPointF viewportPoint) const {
        return view_.ToSurface(viewportPoint.toPoint());
    }
    // What the viewport shows now, the grid and the marks left out.
    QImage Snapshot() const;
    // How often the surface has been drawn anew for a new size or screen.
    int redrawCount() const { return redrawCount_; }

    const PreviewMarks& marks() const { return marks_; }
    void SetMarks(const PreviewMarks& marks);
    // The viewport's pixels the marks and the grid paint over.
    QRegion MarksRegion() const;

    // The pointer's part: true while a press or a move belongs to a pan
    // (the middle button, Space held, a pan going on), which the panel
    // handles itself.
    bool Pans(const QMouseEvent& event) const;

  signals:
    // The surface's size changed (a resize drawn, a zoom, a resolution):
    // what is marked on it must be placed anew.
    void viewChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // Takes a new geometry: the scroll bars follow, a new surface size is
    // drawn anew, and what comes into view is drawn.
    void ApplyView(const preview::ViewGeometry& view);
    void ApplyResize();
    void DrawNew();
    void ShowVisible();
    void PaintPicture(QPainter& painter) const;
    void PaintGrid(QPainter& painter) const;
    void PaintMarks(QPainter& painter) const;
    void EndPan();

    preview::ViewGeometry view_;
    std::unique_ptr<preview::TiledPreview> tiled_;
    preview::TextLookup lookup_;
    preview::PreviewColors colors_;
    preview::PreviewPictures pictures_;
    PreviewMarks marks_;
    int gridStep_ = 0;
    int redrawCount_ = 0;
    // The scroll bars are being set from the view, not by the user.
    bool syncing_ = false;
    // Resizes are drawn once a frame; the tiles around the view while idle.
    QTimer resizeTimer_;
    QTimer drawAhead_;
    QSize resizedFrom_;
    int wheelZoom_ = 0;
    bool spaceHeld_ = false;
    std::optional<QPoint> panFrom_;
    Qt::MouseButton panButton_ = Qt::NoButton;
    QPoint panScroll_;
};
