#pragma once

#include <QListView>
#include <QPersistentModelIndex>
#include <cstddef>

// The record list `lbMain`. Its rows are 15 pixels high whatever the style,
// and while it has rows one of them is always selected: the property panel,
// the commits and every record command act on the selected record, so no
// click or key (Ctrl+click or Ctrl+Space on the selected row, a click below
// the last row, End while a long list is still being laid out) may leave the
// list without one.
//
// A long list is laid out in steps between events, so that opening or
// changing a million records never waits for the whole list; rows past the
// part laid out so far have no place yet. End still goes to the last row,
// and a row scrolled to before it has a place is scrolled to once it has.
class RecordListView : public QListView {
  public:
    explicit RecordListView(QWidget* parent = nullptr);

    static constexpr int kRowHeight = 15;
    // The list's width while its labels fit in it.
    static constexpr int kWidth = 89;

    // The width at which every row label of a list of `rows` rows shows
    // whole (the longest index with the widest catalogued type code, beside
    // a vertical scroll bar), and never less than `least`.
    int WidthToShowLabels(std::size_t rows, int least) const;

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

  protected:
    QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex& index, const QEvent* event = nullptr) const override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;

  private:
    void ScrollWhenLaidOut(const QModelIndex& index, ScrollHint hint);

    QPersistentModelIndex scrollPending_;
    ScrollHint scrollPendingHint_ = EnsureVisible;
    int scrollTriesLeft_ = 0;
};
