#include "app/record_list_view.h"

#include <QEvent>
#include <QStyledItemDelegate>

namespace {

class FixedHeightRows : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(),
                     RecordListView::kRowHeight);
    }
};

}  // namespace

RecordListView::RecordListView(QWidget* parent) : QListView(parent) {
    setItemDelegate(new FixedHeightRows(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

QItemSelectionModel::SelectionFlags RecordListView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const {
    // A row is only ever selected in place of another, never taken away:
    // the toggle of Ctrl+click and Ctrl+Space becomes a plain selection, and
    // a press on no row changes nothing.
    if (!index.isValid()) return QItemSelectionModel::NoUpdate;
    if (event != nullptr && event->type() == QEvent::MouseButtonRelease)
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect;
}
