// Selecting, moving and resizing records right in the preview.
#include <QLineEdit>
#include <QMenu>

#include "app/main_window.h"
#include "app/message_table.h"
#include "app/preview_panel.h"
#include "app/preview_placing.h"
#include "editing/record_edits.h"

void TmainWin::CreatePreviewPlacing() {
    PreviewPlacing::Actions actions;
    actions.selected = [this] { return selectedIndex(); };
    actions.select = [this](std::size_t index) {
        SelectRow(static_cast<int>(index));
        RefreshItemView();
    };
    actions.editPosition = [this](std::size_t index) {
        if (selectedIndex() != static_cast<int>(index)) {
            SelectRow(static_cast<int>(index));
            RefreshItemView();
        }
        edPosX->setFocus(Qt::MouseFocusReason);
        edPosX->selectAll();
    };
    actions.place = [this](std::size_t index, const RecordGeometry& geometry, bool resize,
                           bool byKey) {
        const int shown = selectedIndex();
        if (shown < 0) return;
        const editing::Placing placing{static_cast<std::size_t>(shown), byKey};
        const LanguageTexts& texts = MessageTable();
        if (resize) {
            editing::Resize(document_, index, geometry, texts.resizeStep, placing);
        } else {
            editing::Move(document_, index, geometry.posX, geometry.posY, texts.moveStep, placing);
        }
        RefreshItemView();
    };
    actions.redraw = [this] { DrawPreview(); };
    actions.showCommands = [this](QPoint global) { pmRecord->popup(global); };
    // A child of the panel, which it serves.
    new PreviewPlacing(*pnMap, document_, std::move(actions));
}
