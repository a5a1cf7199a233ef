#include "app/record_list_view.h"

#include <QEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

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
    // The widest label the rows can have: as many of the widest digit as the
    // last index has, the three blanks and the widest catalogued code. Qt cuts
    // a label only when its exact width exceeds the room.
    const QFontMetricsF metrics(font());
    QChar digit = QLatin1Char('0');
    for (char c = '1'; c <= '9'; ++c) {
        if (metrics.horizontalAdvance(QLatin1Char(c)) > metrics.horizontalAdvance(digit))
            digit = QLatin1Char(c);
    }
    QString code;
    for (const char* row : type_code::kCatalogue) {
        const QString candidate = QString::fromLatin1(row).left(4);
        if (metrics.horizontalAdvance(candidate) > metrics.horizontalAdvance(code))
            code = candidate;
    }
    const auto digits = static_cast<qsizetype>(std::to_string(rows - 1).size());
    const QString widest = QString(digits, digit) + QStringLiteral("   ") + code;
    const auto label = static_cast<int>(std::ceil(metrics.horizontalAdvance(widest)));
    // The style's text margin on either side of the label, the frame and the
    // scroll bar.
    const int textMargin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int chrome = 2 * textMargin + 2 * frameWidth() +
                       style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return std::max(least, label + chrome);
}
