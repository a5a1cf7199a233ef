#pragma once

#include <QObject>
#include <functional>

class QAction;
class QMenu;
struct LanguageTexts;

// The View menu's choice of how the preview draws a selected element: in its
// window's screen (the default), or by itself, at its own position, as the
// preview always drew it ("Show elements by themselves"). The choice is kept
// between runs where Qt programs keep their settings (QSettings), so that
// settings.txt holds the language choice alone.
class ViewOptions : public QObject {
  public:
    // Adds its entry to `viewMenu`; `changed` runs after each change.
    ViewOptions(QMenu* viewMenu, std::function<void()> changed);

    bool elementsAlone() const;
    QAction* elementsAloneAction() const { return elementsAlone_; }
    void ApplyTexts(const LanguageTexts& texts);

  private:
    QAction* elementsAlone_;
};
