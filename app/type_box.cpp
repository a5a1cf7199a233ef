#include "app/type_box.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {

// The box stores the first four characters of its text.
constexpr qsizetype kCodeLength = 4;

}  // namespace

TypeBox::TypeBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxVisibleItems(50);
    lineEdit()->setMaxLength(kCodeLength);
    connect(this, &QComboBox::textActivated, this, [this](const QString& text) {
        if (text.isEmpty()) ShowCode(code_);
    });
}

void TypeBox::ShowCode(const QString& code) {
    code_ = code;
    const QSignalBlocker blocker(this);
    setCurrentIndex(-1);
    setEditText(code);
}

int TypeBox::RowOfShownCode() const {
    const QString text = currentText();
    if (text.isEmpty()) return -1;
    if (currentIndex() >= 0 && itemText(currentIndex()) == text) return currentIndex();
    for (int row = 0; row < count(); ++row) {
        if (itemText(row).left(kCodeLength) == text.left(kCodeLength)) return row;
    }
    return -1;
}

void TypeBox::showPopup() {
    const int row = RowOfShownCode();
    QComboBox::showPopup();
    if (row < 0) return;
    const QModelIndex index = model()->index(row, modelColumn(), rootModelIndex());
    view()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    view()->scrollTo(index, QAbstractItemView::PositionAtCenter);
}
