#include "app/record_list_view.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "document/type_code.h"
#include "editing/record_selection.h"

namespace {

// Rows of one height, painted selected as the selection holds them.
class RecordRows : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    const RecordSelection* selection = nullptr;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(),
                     RecordListView::kRowHeight);
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem row(option);
        if (selection != nullptr) {
            row.state.setFlag(QStyle::State_Selected,
                              selection->Contains(static_cast<std::size_t>(index.row())));
        }
        QStyledItemDelegate::paint(painter, row, index);
    }
};

}  // namespace

RecordListView::RecordListView(QWidget* parent) : QListView(parent) {
    setItemDelegate(new RecordRows(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void RecordListView::SetSelection(RecordSelection* selection) {
    selection_ = selection;
    static_cast<RecordRows*>(itemDelegate())->selection = selection;
    connect(selection, &RecordSelection::changed, this, [this] { FollowSelection(); });
}

void RecordListView::FollowSelection() {
    viewport()->update();
    if (selection_->empty() || model() == nullptr) return;
    const QModelIndex current = model()->index(static_cast<int>(selection_->current()), 0);
    if (!current.isValid() || current == currentIndex()) return;
    moving_ = true;
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
    moving_ = false;
    scrollTo(current);
}

void RecordListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QListView::currentChanged(current, previous);
    // The current row moved by the program (not by a click or a key here):
    // that row alone is selected.
    if (!moving_ && selection_ != nullptr && current.isValid() &&
        static_cast<std::size_t>(current.row()) != selection_->current()) {
        selection_->Select(static_cast<std::size_t>(current.row()));
    }
}

void RecordListView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    moving_ = true;
    QListView::mousePressEvent(event);
    moving_ = false;
    pressedRow_ = -1;
    // A press below the last row changes nothing.
    if (selection_ == nullptr || !index.isValid()) return;
    const auto row = static_cast<std::size_t>(index.row());
    const Qt::KeyboardModifiers keys = event->modifiers();
    if (event->button() == Qt::RightButton) {
        // The commands then act on what the press points at: one of several
        // selected becomes the current one.
        if (!selection_->Contains(row)) {
            selection_->Select(row);
        } else {
            selection_->Set(selection_->rows(), row);
        }
    } else if (event->button() == Qt::LeftButton) {
        if (keys & Qt::ControlModifier) {
            selection_->Toggle(row);
        } else if (keys & Qt::ShiftModifier) {
            selection_->ExtendTo(row);
        } else {
            selection_->Select(row);
        }
        if (!(keys & Qt::ControlModifier)) pressedRow_ = index.row();
    }
    FollowSelection();
}

void RecordListView::mouseMoveEvent(QMouseEvent* event) {
    moving_ = true;
    QListView::mouseMoveEvent(event);
    moving_ = false;
    if (selection_ == nullptr || pressedRow_ < 0 || !(event->buttons() & Qt::LeftButton)) return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && static_cast<std::size_t>(index.row()) != selection_->current())
        selection_->ExtendTo(static_cast<std::size_t>(index.row()));
}

void RecordListView::keyPressEvent(QKeyEvent* event) {
    if (selection_ == nullptr) return QListView::keyPressEvent(event);
    if (event->matches(QKeySequence::SelectAll)) {
        selection_->SelectAll();
        return event->accept();
    }
    if (event->key() == Qt::Key_Space && (event->modifiers() & Qt::ControlModifier)) {
        if (!selection_->empty()) selection_->Toggle(selection_->current());
        return event->accept();
    }
    const QModelIndex before = currentIndex();
    moving_ = true;
    QListView::keyPressEvent(event);
    moving_ = false;
    const QModelIndex after = currentIndex();
    if (!after.isValid() || after == before) return;
    const auto row = static_cast<std::size_t>(after.row());
    if (event->modifiers() & Qt::ShiftModifier) {
        selection_->ExtendTo(row);
    } else {
        selection_->Select(row);
    }
}

QItemSelectionModel::SelectionFlags RecordListView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const {
    // The view's own selection holds the current row alone (the records
    // selected are the RecordSelection's): a row is only ever selected in
    // place of another, and a press on no row changes nothing.
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

void RecordListView::dataChanged(const QModelIndex&, const QModelIndex&, const QList<int>&) {
    viewport()->update();
}
