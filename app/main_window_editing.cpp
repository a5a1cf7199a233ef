// The record list, the property panel, field commits and record commands.
#include <QAction>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "app/main_window.h"
#include "app/message_table.h"
#include "app/platform.h"
#include "app/preview_panel.h"
#include "config/code_page.h"
#include "document/type_code.h"
#include "editing/number_text.h"
#include "editing/record_commands.h"
#include "editing/record_list_model.h"

int TmainWin::selectedIndex() const {
    const QModelIndex current = lbMain->selectionModel()->currentIndex();
    if (!current.isValid() || !lbMain->selectionModel()->isSelected(current)) return -1;
    return current.row();
}

MenuItemRecord* TmainWin::SelectedRecord() {
    const int row = selectedIndex();
    if (row < 0 || static_cast<std::size_t>(row) >= menuItems_.size()) return nullptr;
    return &menuItems_[static_cast<std::size_t>(row)];
}

void TmainWin::SelectRow(int row) {
    updatingList_ = true;
    const QModelIndex index = listModel_->index(row);
    lbMain->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    lbMain->scrollTo(index);
    updatingList_ = false;
}

void TmainWin::RebuildItemList() {
    // The labels are computed when drawn, so repainting the list is the whole
    // rebuild, and the selected row stays as it is. (Announcing changed rows
    // to the view instead makes it walk every row of a long list.)
    const int row = selectedIndex();
    lbMain->viewport()->update();
    if (row >= 0 && row < listModel_->rowCount()) SelectRow(row);
}

void TmainWin::RefreshItemView() {
    FillPropertyPanel();
    DrawPreview();
}

void TmainWin::lbMainClick() {
    RefreshItemView();
}

void TmainWin::FillPropertyPanel() {
    const MenuItemRecord* record = SelectedRecord();
    if (record == nullptr) return;
    const QChar separator = platform_.DecimalSeparator();
    edID->setText(IntegerDisplayText(record->id));
    {
        const QSignalBlocker blocker(cbType);
        cbType->setCurrentIndex(-1);
        cbType->setEditText(FromCodePage(type_code::Shown(*record)));
    }
    edPosX->setText(FloatDisplayText(record->posX, separator));
    edPosY->setText(FloatDisplayText(record->posY, separator));
    edScaleX->setText(FloatDisplayText(record->scaleX, separator));
    edScaleY->setText(FloatDisplayText(record->scaleY, separator));
    edTextdb->setText(IntegerDisplayText(record->textId));
    edFont->setText(HexDisplayText(record->font));
    edColor->setText(HexDisplayText(record->color));
    for (QLineEdit* edit : {edID, edPosX, edPosY, edScaleX, edScaleY, edTextdb, edFont, edColor})
        edit->setCursorPosition(0);
}

bool TmainWin::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Only a move of the focus to another control of this window commits;
        // a popup or another window taking the focus does not.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
            !committing_) {
            RunCommit(watched);
        }
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == lbSbInfo2) lbSbInfo2Click();
        if (watched == lbSbInfo4) lbSbInfo4Click();
    }
    return QMainWindow::eventFilter(watched, event);
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

void TmainWin::CommitIntegerField(QLineEdit* field, std::int32_t MenuItemRecord::*member) {
    RunGuarded([&] {
        const std::int32_t value = ParseIntegerText(field->text());
        if (MenuItemRecord* record = SelectedRecord()) record->*member = value;
        RefreshItemView();
    });
}

void TmainWin::CommitAttributeField(QLineEdit* field, std::uint32_t MenuItemRecord::*member) {
    RunGuarded([&] {
        const auto value = static_cast<std::uint32_t>(ParseIntegerText(field->text()));
        if (MenuItemRecord* record = SelectedRecord()) record->*member = value;
        RefreshItemView();
    });
}

void TmainWin::CommitFloatField(QLineEdit* field, float MenuItemRecord::*member) {
    RunGuarded([&] {
        MenuItemRecord* record = SelectedRecord();
        if (record == nullptr) return;
        const QChar separator = platform_.DecimalSeparator();
        // A NaN or an infinity has no text that converts back; left as shown,
        // it stays exactly as stored.
        const float stored = record->*member;
        if (!std::isfinite(stored) && field->text() == FloatDisplayText(stored, separator)) {
            RefreshItemView();
            return;
        }
        const float value = ParseFloatText(field->text(), separator);
        record->*member = value;
        RefreshItemView();
    });
}

void TmainWin::edIDExit() {
    CommitIntegerField(edID, &MenuItemRecord::id);
}
void TmainWin::edPosXExit() {
    CommitFloatField(edPosX, &MenuItemRecord::posX);
}
void TmainWin::edPosYExit() {
    CommitFloatField(edPosY, &MenuItemRecord::posY);
}
void TmainWin::edScaleXExit() {
    CommitFloatField(edScaleX, &MenuItemRecord::scaleX);
}
void TmainWin::edScaleYExit() {
    CommitFloatField(edScaleY, &MenuItemRecord::scaleY);
}
void TmainWin::edTextdbExit() {
    CommitIntegerField(edTextdb, &MenuItemRecord::textId);
}
void TmainWin::edFontExit() {
    CommitAttributeField(edFont, &MenuItemRecord::font);
}
void TmainWin::edColorExit() {
    CommitAttributeField(edColor, &MenuItemRecord::color);
}

void TmainWin::cbTypeExit() {
    MenuItemRecord* record = SelectedRecord();
    if (record == nullptr) return;
    const QString text = cbType->currentText();
    if (text.isEmpty()) {
        const QSignalBlocker blocker(cbType);
        cbType->setEditText(FromCodePage(type_code::Shown(*record)));
        return;
    }
    type_code::SetFromShown(*record, ToCodePage(text.left(4)));
    RebuildItemList();
    RefreshItemView();
}

void TmainWin::mmMainCopyClick() {
    const MenuItemRecord* record = SelectedRecord();
    if (record == nullptr) return;
    copiedItem_ = *record;
    mmMainPaste->setEnabled(true);
    btPaste->setEnabled(true);
}

void TmainWin::mmMainPasteClick() {
    MenuItemRecord* record = SelectedRecord();
    if (record == nullptr || !copiedItem_) return;
    *record = *copiedItem_;
    RebuildItemList();
    RefreshItemView();
}

void TmainWin::mmMainInsertClick() {
    const int row = selectedIndex();
    if (row < 0) return;
    const LanguageTexts& texts = MessageTable();
    SetStatusText(texts.insertingItem);
    const auto selected = static_cast<std::size_t>(row);
    listModel_->BeginInsert(row + 1);
    const bool inserted = DuplicateRecord(menuItems_, selected);
    listModel_->EndInsert();
    if (!inserted) {
        ShowError(texts.unableToInsertItem);
        return;
    }
    lbMIcount2->setText(QString::number(menuItemCount()));
    lbMIcount2->adjustSize();
    SetStatusText(texts.insertedItem);
    RebuildItemList();
    SelectRow(row + 1);
    RefreshItemView();
}

void TmainWin::mmMainDeleteClick() {
    const int row = selectedIndex();
    if (row < 0) return;
    const LanguageTexts& texts = MessageTable();
    if (menuItems_.size() == 1) {
        platform_.ShowMessageBox(this, fixed_text::kAppTitle, texts.atLeastOneItem);
        return;
    }
    if (!platform_.AskYesNo(this, fixed_text::kAppTitle, texts.confirmDelete)) return;
    SetStatusText(texts.deletingItem);
    listModel_->BeginRemove(row);
    const bool deleted = DeleteRecord(menuItems_, static_cast<std::size_t>(row));
    listModel_->EndRemove();
    if (!deleted) {
        ShowError(texts.unableToDeleteItem);
        return;
    }
    lbMIcount2->setText(QString::number(menuItemCount()));
    lbMIcount2->adjustSize();
    SetStatusText(texts.deletedItem);
    RebuildItemList();
    SelectRow(static_cast<int>(SelectionAfterDelete(static_cast<std::size_t>(row))));
    RefreshItemView();
}
