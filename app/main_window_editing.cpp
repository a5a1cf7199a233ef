// The record list, the property panel, field commits, record commands, and
// undo and redo.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QUndoStack>
#include <bit>
#include <cmath>

#include "app/arrange_menu.h"
#include "app/main_window.h"
#include "app/message_table.h"
#include "app/panel_values.h"
#include "app/platform.h"
#include "app/preview_panel.h"
#include "app/record_clipboard.h"
#include "app/record_list_view.h"
#include "app/text_line.h"
#include "base/code_page.h"
#include "base/conversion_error.h"
#include "base/number_text.h"
#include "document/type_code.h"
#include "editing/record_edits.h"
#include "editing/record_list_model.h"
#include "editing/record_selection.h"

namespace {

constexpr RecordField kPanelFields[] = {
    RecordField::Id,     RecordField::PosX,   RecordField::PosY, RecordField::ScaleX,
    RecordField::ScaleY, RecordField::TextId, RecordField::Font, RecordField::Color};

}  // namespace

int TmainWin::selectedIndex() const {
    if (!document_.isOpen() || selection_->empty()) return -1;
    return static_cast<int>(selection_->current());
}

const MenuItemRecord* TmainWin::SelectedRecord() const {
    const int row = selectedIndex();
    if (row < 0 || static_cast<std::size_t>(row) >= document_.count()) return nullptr;
    return &document_.record(static_cast<std::size_t>(row));
}

void TmainWin::SelectRow(int row) {
    updatingList_ = true;
    selection_->Select(static_cast<std::size_t>(row));
    lbMain->scrollTo(listModel_->index(row));
    updatingList_ = false;
}

void TmainWin::RebuildItemList() {
    // The labels are computed when drawn and the model follows the document
    // row by row, so repainting the list is the whole rebuild, and the
    // selection stays as it is.
    lbMain->viewport()->update();
}

void TmainWin::RefreshItemView() {
    FillPropertyPanel();
    DrawPreview();
    ShowFindState();
    arrangeMenu->Update();
}

void TmainWin::lbMainClick() {
    RefreshItemView();
}

void TmainWin::ShowCount() {
    lbMIcount2->setText(QString::number(document_.count()));
    lbMIcount2->adjustSize();
}

QString TmainWin::ShownText(RecordField field) const {
    return panelValues_->Text(field, platform_.DecimalSeparator());
}

void TmainWin::FillPropertyPanel() {
    panelValues_->Take(document_, *selection_);
    if (SelectedRecord() == nullptr) return;
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    for (const RecordField field : kPanelFields) {
        QLineEdit* edit = EditOf(field);
        const QString text = ShownText(field);
        edit->setText(text);
        edit->setCursorPosition(0);
        // A value longer than its narrow field (1.00000001504747E30 would
        // read as 1.00000) shows whole when pointed at. Qt keeps two pixels
        // of margin inside the frame.
        const bool cut =
            edit->fontMetrics().horizontalAdvance(text) > edit->width() - 2 * frame - 4;
        edit->setToolTip(cut ? text : QString());
    }
    cbType->ShowCode(panelValues_->TypeText());
    textLine->Fill();
    UpdateTitle();
}

QLineEdit* TmainWin::EditOf(RecordField field) const {
    switch (field) {
        case RecordField::Id:
            return edID;
        case RecordField::PosX:
            return edPosX;
        case RecordField::PosY:
            return edPosY;
        case RecordField::ScaleX:
            return edScaleX;
        case RecordField::ScaleY:
            return edScaleY;
        case RecordField::TextId:
            return edTextdb;
        case RecordField::Font:
            return edFont;
        case RecordField::Color:
            return edColor;
    }
    return edID;
}

const QString& TmainWin::StepName(RecordField field) const {
    const LanguageTexts& texts = MessageTable();
    switch (field) {
        case RecordField::Id:
            return texts.idStep;
        case RecordField::PosX:
            return texts.positionXStep;
        case RecordField::PosY:
            return texts.positionYStep;
        case RecordField::ScaleX:
            return texts.scaleXStep;
        case RecordField::ScaleY:
            return texts.scaleYStep;
        case RecordField::TextId:
            return texts.textIdStep;
        case RecordField::Font:
            return texts.fontColorStep;
        case RecordField::Color:
            return texts.colorStep;
    }
    return texts.idStep;
}

bool TmainWin::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Only a move of the focus to another control of this window commits;
        // a popup, another window or the menu bar (which takes the focus when
        // Alt is pressed under some styles) taking the focus does not.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
            reason != Qt::MenuBarFocusReason && !committing_ && !IntoOwnList(watched)) {
            RunCommit(watched);
        }
    } else if (event->type() == QEvent::KeyPress &&
               (watched == cbType || qobject_cast<QLineEdit*>(watched) != nullptr)) {
        if (PanelKeyPressed(watched, *static_cast<QKeyEvent*>(event))) return true;
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == lbSbInfo2) lbSbInfo2Click();
        if (watched == lbSbInfo4) lbSbInfo4Click();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TmainWin::IntoOwnList(QObject* field) const {
    // The type box's list, opened by a click on its arrow, takes the focus
    // with a reason of its own: the box is still being edited.
    if (field != cbType) return false;
    const QWidget* list = cbType->view()->window();
    const QWidget* next = QApplication::focusWidget();
    return list->isVisible() && next != nullptr && (next == list || list->isAncestorOf(next));
}

bool TmainWin::PanelKeyPressed(QObject* field, const QKeyEvent& key) {
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    if (!enter && key.key() != Qt::Key_Escape) return false;
    if (enter) {
        // Takes the text over as leaving the field does; the focus stays.
        RunCommit(field);
    } else {
        // The typing goes: the field shows the stored value again.
        FillPropertyPanel();
    }
    QLineEdit* edit = field == cbType ? cbType->lineEdit() : qobject_cast<QLineEdit*>(field);
    if (edit != nullptr) edit->selectAll();
    return true;
}

void TmainWin::RunCommit(QObject* field) {
    if (SelectedRecord() == nullptr) return;
    committing_ = true;
    if (field == edID)
        edIDExit();
    else if (field == edPosX)
        edPosXExit();
    else if (field == edPosY)
        edPosYExit();
    else if (field == edScaleX)
        edScaleXExit();
    else if (field == edScaleY)
        edScaleYExit();
    else if (field == edTextdb)
        edTextdbExit();
    else if (field == edFont)
        edFontExit();
    else if (field == edColor)
        edColorExit();
    else if (field == cbType)
        cbTypeExit();
    else if (field == textLine->field())
        RunGuarded([this] {
            textLine->Commit();
            RefreshItemView();
        });
    committing_ = false;
}

void TmainWin::ShowErrorBoxLater(const QString& message) {
    // The box waits until the event that raised the error has finished (a
    // click on another row, say), so that the handler is never entered again
    // while the box is open.
    QTimer::singleShot(0, this, [this, message] {
        platform_.ShowErrorBox(this, fixed_text::kAppTitle, message + QLatin1Char('.'));
    });
}

bool TmainWin::RunGuarded(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::runtime_error& error) {
        ShowErrorBoxLater(QString::fromUtf8(error.what()));
        return false;
    }
}

void TmainWin::CommitField(QLineEdit* field, RecordField recordField) {
    RunGuarded([&] {
        CommitFieldText(recordField, field->text());
        RefreshItemView();
    });
}

void TmainWin::CommitFieldText(RecordField field, const QString& text) {
    if (SelectedRecord() == nullptr) return;
    const std::optional<std::uint32_t> shown = panelValues_->Bits(field);
    // A field the selected records differ in, left empty, changes none; a
    // NaN or an infinity has no text that converts back: left as shown, it
    // stays exactly as stored.
    if (text == ShownText(field) &&
        (!shown || (IsFloatField(field) && !std::isfinite(std::bit_cast<float>(*shown)))))
        return;
    const std::uint32_t bits =
        IsFloatField(field)
            ? std::bit_cast<std::uint32_t>(ParseFloatText(text, platform_.DecimalSeparator()))
            : static_cast<std::uint32_t>(ParseIntegerText(text));
    editing::SetFieldSelected(document_, selection_->state(), field, bits, StepName(field));
}

void TmainWin::edIDExit() {
    CommitField(edID, RecordField::Id);
}
void TmainWin::edPosXExit() {
    CommitField(edPosX, RecordField::PosX);
}
void TmainWin::edPosYExit() {
    CommitField(edPosY, RecordField::PosY);
}
void TmainWin::edScaleXExit() {
    CommitField(edScaleX, RecordField::ScaleX);
}
void TmainWin::edScaleYExit() {
    CommitField(edScaleY, RecordField::ScaleY);
}
void TmainWin::edTextdbExit() {
    CommitField(edTextdb, RecordField::TextId);
}
void TmainWin::edFontExit() {
    CommitField(edFont, RecordField::Font);
}
void TmainWin::edColorExit() {
    CommitField(edColor, RecordField::Color);
}

void TmainWin::CommitTypeText(const QString& text) {
    if (SelectedRecord() == nullptr) return;
    // A box left as the panel showed it keeps all four stored bytes, also
    // those that its text cannot show (a NUL in the middle, say).
    if (text == panelValues_->TypeText()) return;
    // A code is single bytes of the code page: a character it lacks is
    // refused rather than stored as "?".
    if (const std::optional<char32_t> refused = FirstCharOutsideCodePage(text.left(4)))
        throw ConversionError(MessageTable().typeCharacterRefused.arg(QString::fromUcs4(&*refused, 1)));
    MenuItemRecord typed;
    type_code::SetFromShown(typed, ToCodePage(text.left(4)));
    editing::SetTypeSelected(document_, selection_->state(), SetTypeCommand::StoredOf(typed),
                             MessageTable().typeStep);
}

void TmainWin::cbTypeExit() {
    if (SelectedRecord() == nullptr) return;
    const QString text = cbType->currentText();
    if (text.isEmpty()) {
        cbType->ShowCode(panelValues_->TypeText());
        return;
    }
    if (!RunGuarded([&] { CommitTypeText(text); })) return;
    RebuildItemList();
    RefreshItemView();
}

bool TmainWin::HasUncommittedTyping() const {
    if (SelectedRecord() == nullptr) return false;
    for (const RecordField field : kPanelFields) {
        if (EditOf(field)->text() != ShownText(field)) return true;
    }
    const QString type = cbType->currentText();
    return !type.isEmpty() && type != panelValues_->TypeText();
}

bool TmainWin::CommitUncommittedTyping() {
    if (SelectedRecord() == nullptr) return true;
    // Every text is taken before any is committed: a commit refreshes the
    // whole panel.
    std::vector<std::pair<RecordField, QString>> typed;
    for (const RecordField field : kPanelFields) {
        if (EditOf(field)->text() != ShownText(field))
            typed.emplace_back(field, EditOf(field)->text());
    }
    const QString type = cbType->currentText();
    const bool typeTyped = !type.isEmpty() && type != panelValues_->TypeText();
    const bool committed = RunGuarded([&] {
        // The text first: it was typed for the text the line showed.
        textLine->Commit();
        for (const auto& [field, text] : typed) CommitFieldText(field, text);
        if (typeTyped) CommitTypeText(type);
    });
    RebuildItemList();
    RefreshItemView();
    return committed;
}

void TmainWin::mmMainCopyClick() {
    if (selectedIndex() < 0) return;
    clipboard_->Copy(document_, selection_->rows());
}

void TmainWin::mmMainPasteClick() {
    if (selectedIndex() < 0) return;
    const LanguageTexts& texts = MessageTable();
    const RecordClipboard::Taken taken = clipboard_->Take();
    if (!taken.refusal.isEmpty()) return ShowErrorBoxLater(texts.clipboardNotDump.arg(taken.refusal));
    // One record overwrites each selected record; several are inserted after
    // the current one.
    updatingList_ = true;
    const bool pasted =
        taken.records.size() == 1
            ? editing::PasteSelected(document_, selection_->state(), taken.records[0],
                                     texts.pasteStep)
            : editing::InsertRecords(document_, selection_->current() + 1, taken.records,
                                     selection_->state(), texts.pasteSeveralStep);
    updatingList_ = false;
    if (pasted) ShowStepEffect(*editing::LastDone(document_));
}

void TmainWin::mmMainInsertClick() {
    if (selectedIndex() < 0) return;
    const LanguageTexts& texts = MessageTable();
    const std::size_t count = selection_->count();
    SetStatusText(texts.insertingItem);
    updatingList_ = true;
    const bool inserted = editing::DuplicateSelected(
        document_, selection_->state(), count == 1 ? texts.duplicateStep : texts.duplicateSeveralStep);
    updatingList_ = false;
    if (!inserted) {
        ShowError(texts.unableToInsertItem);
        return;
    }
    SetStatusText(count == 1 ? texts.insertedItem : texts.insertedItems.arg(count));
    ShowStepEffect(*editing::LastDone(document_));
}

void TmainWin::mmMainDeleteClick() {
    if (selectedIndex() < 0) return;
    const LanguageTexts& texts = MessageTable();
    const std::size_t count = selection_->count();
    if (count >= document_.count()) {
        platform_.ShowMessageBox(this, fixed_text::kAppTitle, texts.atLeastOneItem);
        return;
    }
    if (!platform_.AskYesNo(this, fixed_text::kAppTitle,
                            count == 1 ? texts.confirmDelete : texts.confirmDeleteSeveral.arg(count)))
        return;
    SetStatusText(texts.deletingItem);
    updatingList_ = true;
    editing::DeleteSelected(document_, selection_->state(),
                            count == 1 ? texts.deleteStep : texts.deleteSeveralStep);
    updatingList_ = false;
    SetStatusText(count == 1 ? texts.deletedItem : texts.deletedItems.arg(count));
    ShowStepEffect(*editing::LastDone(document_));
}

void TmainWin::mmMainNewTextClick() {
    if (SelectedRecord() == nullptr) return;
    RunGuarded([this] {
        textLine->NewText();
        RefreshItemView();
    });
}

void TmainWin::mmMainUndoClick() {
    StepThroughHistory(false);
}

void TmainWin::mmMainRedoClick() {
    StepThroughHistory(true);
}

void TmainWin::StepThroughHistory(bool forward) {
    QUndoStack& history = document_.history();
    const QString step = forward ? history.redoText() : history.undoText();
    updatingList_ = true;
    const auto effect = forward ? editing::Redo(document_) : editing::Undo(document_);
    updatingList_ = false;
    if (!effect) return;
    ShowStepEffect(*effect);
    // The status line no longer tells of the command the step stood for.
    const LanguageTexts& texts = MessageTable();
    SetStatusText((forward ? texts.redoneStatus : texts.undoneStatus).arg(step));
}

void TmainWin::ShowStepEffect(const RecordCommand::Effect& effect) {
    if (effect.countChanged) ShowCount();
    if (effect.labelsChanged) RebuildItemList();
    SelectRow(static_cast<int>(effect.select));
    updatingList_ = true;
    if (!effect.selected.empty()) selection_->Set(effect.selected, effect.select);
    updatingList_ = false;
    RefreshItemView();
}

void TmainWin::UpdateHistoryActions() {
    const LanguageTexts& texts = MessageTable();
    const QUndoStack& history = document_.history();
    mmMainUndo->setEnabled(history.canUndo());
    mmMainRedo->setEnabled(history.canRedo());
    mmMainUndo->setText(history.canUndo() ? texts.undoStepAction.arg(history.undoText())
                                          : texts.undoAction);
    mmMainRedo->setText(history.canRedo() ? texts.redoStepAction.arg(history.redoText())
                                          : texts.redoAction);
}
