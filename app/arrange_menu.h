#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "editing/arrange.h"

class Document;
class QAction;
class QMenu;
class RecordSelection;
struct LanguageTexts;

// The Arrange menu: aligning, distributing and sizing the selected records
// alike, each entry one step named after it. An entry that cannot apply to
// the selection (too few records, records of different screens, a window
// with its own elements) is disabled, and its tooltip says why.
class ArrangeMenu : public QObject {
  public:
    // `done` runs after a step was made, to bring the window in line.
    ArrangeMenu(QMenu* menu, Document& document, const RecordSelection& selection,
                std::function<void()> done);

    QMenu* menu() const { return menu_; }
    QAction* Action(arrange::Arrangement arrangement) const;
    void ApplyTexts(const LanguageTexts& texts);
    // Enables the entries that apply to the selection as it is.
    void Update();
    // Arranges the selection; false when nothing changed.
    bool Run(arrange::Arrangement arrangement);

  private:
    QMenu* menu_;
    Document& document_;
    const RecordSelection& selection_;
    std::function<void()> done_;
    std::array<QAction*, arrange::kArrangements.size()> actions_{};
};
