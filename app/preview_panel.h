#pragma once

#include <QFrame>
#include <QImage>
#include <cstddef>
#include <vector>

#include "document/menu_item_record.h"
#include "document/text_db.h"
#include "preview/preview_compose.h"
#include "preview/preview_renderer.h"

// The preview area (`pnMap`): the background picture, the drawing surface
// shown over it with its key colour transparent, and the four loading
// pictures above. Drawing is the core renderer's; this panel only shows it.
class PreviewPanel : public QFrame {
  public:
    explicit PreviewPanel(QWidget* parent = nullptr);

    // Creates the screen-sized surface, filled with the key colour.
    void PrepareSurface(QSize screen, const preview::PreviewColors& colors);
    // Draws the selected record (and its window's screen) and shows it.
    void Redraw(const std::vector<MenuItemRecord>& records, std::size_t selected,
                const TextDb& textDb, const preview::PreviewColors& colors);

    void SetBackground(const QImage& picture);
    // 100, 101, 102 for the rcta pictures, 300 for the pbrt strip.
    void SetOverlayPicture(int id, const QImage& picture);

    // The preview size W x H: the panel less its bevel.
    QSize previewSize() const { return contentsRect().size(); }
    const preview::OverlayPlacements& overlays() const { return placements_; }
    const QImage& surface() const { return surface_; }
    // What the panel's client area shows now.
    QImage Snapshot() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QImage surface_;
    QImage keyed_;
    preview::PreviewPictures pictures_;
    preview::OverlayPlacements placements_{};
};
