#pragma once

#include <QObject>
#include <QSize>
#include <optional>
#include <vector>

class PreviewPanel;
class Platform;
class QAction;
class QMenu;
class QWidget;
struct LanguageTexts;

// The View menu's commands for the preview: the zoom (Ctrl++ and Ctrl+-
// through the steps, Ctrl+0 to fit the area, Ctrl+1 for one surface pixel a
// screen pixel), the game resolution the surface stands for (fitted to the
// window, one the game is often played at, or one of the user's own), and
// the grid (Ctrl+', 5 to 50 units). The resolution and the grid are kept
// between runs where Qt programs keep their settings; a new resolution is
// shown fitted, and the zoom is the window's to change.
class ViewMenu : public QObject {
  public:
    // Adds its entries to `menu`; a custom resolution is asked for over
    // `window`.
    ViewMenu(QMenu* menu, PreviewPanel& panel, Platform& platform, QWidget* window);

    void ApplyTexts(const LanguageTexts& texts);

    QAction* zoomIn() const { return zoomIn_; }
    QAction* zoomOut() const { return zoomOut_; }
    QAction* fitToWindow() const { return fit_; }
    QAction* actualSize() const { return actualSize_; }
    QAction* showGrid() const { return showGrid_; }
    QMenu* resolutionMenu() const { return resolutionMenu_; }
    QMenu* gridSizeMenu() const { return gridSizeMenu_; }
    // "Fit to window", the game's resolutions in order, then "Custom...".
    const std::vector<QAction*>& resolutions() const { return resolutions_; }
    const std::vector<QAction*>& gridSizes() const { return gridSizes_; }

  private:
    void Choose(std::optional<QSize> resolution);
    void AskCustom();
    // Checks the entry of the resolution shown.
    void CheckChosen();
    void ApplyGrid();

    PreviewPanel& panel_;
    Platform& platform_;
    QWidget* window_;
    QAction* zoomIn_;
    QAction* zoomOut_;
    QAction* fit_;
    QAction* actualSize_;
    QMenu* resolutionMenu_;
    std::vector<QAction*> resolutions_;
    QAction* showGrid_;
    QMenu* gridSizeMenu_;
    std::vector<QAction*> gridSizes_;
    int gridStep_;
};
