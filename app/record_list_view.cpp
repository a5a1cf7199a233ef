#include "app/record_list_view.h"

#include <QEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>

#include "document/type_code.h"

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

QModelIndex RecordListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // The base goes to the last row laid out so far.
    if (action == MoveEnd && model() != nullptr && model()->rowCount(rootIndex()) > 0)
        return model()->index(model()->rowCount(rootIndex()) - 1, modelColumn(), rootIndex());
    return QListView::moveCursor(action, modifiers);
}

void RecordListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    // Keys and the mouse select by the rectangle of the current row, which is
    // empty for a row not laid out yet; selecting by an empty rectangle would
    // clear the selection. The one row ever selected is the current row.
    const QModelIndex current = currentIndex();
    if ((command & QItemSelectionModel::Select) && current.isValid()) {
        selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
        return;
    }
    QListView::setSelection(rect, command);
}

void RecordListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    // A million rows take a few dozen steps.
    scrollTriesLeft_ = 1000;
    ScrollWhenLaidOut(index, hint);
}

void RecordListView::ScrollWhenLaidOut(const QModelIndex& index, ScrollHint hint) {
    QListView::scrollTo(index, hint);
    if (!index.isValid() || visualRect(index).isValid() || scrollTriesLeft_-- <= 0) {
        scrollPending_ = QPersistentModelIndex();
        return;
    }
    // Asked again after the next step of the layout; the latest row asked
    // for wins.
    const bool waiting = scrollPending_.isValid();
    scrollPending_ = QPersistentModelIndex(index);
    scrollPendingHint_ = hint;
    if (waiting) return;
    QTimer::singleShot(0, this, [this] {
        const QPersistentModelIndex pending = std::exchange(scrollPending_, {});
        if (pending.isValid()) ScrollWhenLaidOut(pending, scrollPendingHint_);
    });
}

int RecordListView::WidthToShowLabels(std::size_t rows, int least) const {
    if (rows == 0) return least;
    const QFontMetrics metrics = fontMetrics();
    int digit = 0;
    for (char c = '0'; c <= '9'; ++c) digit = std::max(digit, metrics.horizontalAdvance(QChar(c)));
    int code = 0;
    for (const char* row : type_code::kCatalogue) {
        code = std::max(code, metrics.horizontalAdvance(QString::fromLatin1(row).left(4)));
    }
    const auto digits = static_cast<int>(std::to_string(rows - 1).size());
    const int label = digits * digit + metrics.horizontalAdvance(QStringLiteral("   ")) + code;
    // The style's text margin on either side of the label, one pixel of
    // rounding, the frame and the scroll bar.
    const int textMargin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int chrome = 2 * textMargin + 1 + 2 * frameWidth() +
                       style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return std::max(least, label + chrome);
}
