// Selecting, moving and resizing records right in the preview.
#include <QLineEdit>
#include <QMenu>
#include <bit>

#include "app/main_window.h"
#include "app/message_table.h"
#include "app/platform.h"
#include "app/preview_panel.h"
#include "app/preview_placing.h"
#include "app/view_status.h"
#include "base/number_text.h"
#include "editing/record_edits.h"
#include "editing/record_selection.h"

void TmainWin::CreatePreviewPlacing() {
    PreviewPlacing::Actions actions;
    actions.editPosition = [this](std::size_t index) {
        if (selectedIndex() != static_cast<int>(index)) {
            SelectRow(static_cast<int>(index));
            RefreshItemView();
        }
        edPosX->setFocus(Qt::MouseFocusReason);
        edPosX->selectAll();
    };
    actions.resize = [this](std::size_t index, const RecordGeometry& geometry, bool byKey) {
        editing::Resize(document_, index, geometry, MessageTable().resizeStep,
                        {static_cast<std::size_t>(selectedIndex()), byKey});
        RefreshItemView();
    };
    actions.move = [this](const RowRanges& moved, double dx, double dy, bool byKey) {
        const LanguageTexts& texts = MessageTable();
        editing::MoveSelected(document_, selection_->state(), moved, dx, dy,
                              moved.count() == 1 ? texts.moveStep : texts.moveSeveralStep, byKey);
        RefreshItemView();
    };
    // The fields follow the record on its way.
    actions.showDraft = [this](const RecordGeometry& geometry, bool resizing) {
        MenuItemRecord record;
        SetGeometry(record, geometry);
        for (const RecordField field :
             {RecordField::PosX, RecordField::PosY, RecordField::ScaleX, RecordField::ScaleY}) {
            EditOf(field)->setText(FloatDisplayText(std::bit_cast<float>(FieldBits(record, field)),
                                                    platform_.DecimalSeparator()));
        }
        viewStatus->ShowDraft(geometry, resizing, platform_.DecimalSeparator());
    };
    actions.showPointer = [this](const std::optional<preview::PointerPlace>& place) {
        viewStatus->ShowPointer(place);
    };
    actions.redraw = [this] { RefreshItemView(); };
    actions.showCommands = [this](QPoint global) { pmPreview->popup(global); };
    // A child of the panel, which it serves.
    previewPlacing_ = new PreviewPlacing(*pnMap, document_, *selection_, std::move(actions));
}
