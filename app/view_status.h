#pragma once

#include <QObject>
#include <optional>

#include "editing/record_geometry.h"
#include "preview/pointer_place.h"

class PreviewPanel;
class QLabel;
class QWidget;
struct LanguageTexts;

// The status bar's part of the preview, right of the language box: the zoom
// the surface is shown at, and where the pointer is over it, in the game's
// units ("x 312, y 148 · in window: x 212, y 6"), or, while a record is
// dragged, its new position or size.
class ViewStatus : public QObject {
  public:
    // Its labels go into the status bar at (left, top); the zoom follows
    // the panel's.
    ViewStatus(QWidget* statusBar, int left, int top, PreviewPanel& panel);

    void ApplyTexts(const LanguageTexts& texts);
    void ShowPointer(const std::optional<preview::PointerPlace>& place);
    // The values of the record dragged: its position, or its size while a
    // handle resizes it.
    void ShowDraft(const RecordGeometry& geometry, bool resizing, QChar decimalSeparator);

    QLabel* zoomLabel() const { return zoom_; }
    QLabel* placeLabel() const { return place_; }

  private:
    void ShowZoom();
    void LayOut();

    PreviewPanel& panel_;
    QLabel* zoom_;
    QLabel* place_;
    int left_;
    int top_;
    std::optional<preview::PointerPlace> shownPlace_;
};
