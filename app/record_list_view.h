#pragma once

#include <QListView>
#include <QPersistentModelIndex>
#include <cstddef>

// The record list `lbMain`. Its rows are 15 pixels high whatever the style.
// It shows and changes the selection (RecordSelection), which the preview
// shares: a click selects a row alone, Ctrl+click adds or removes one,
// Shift+click, Shift+arrows, Shift+Home/End and Shift+PgUp/PgDn extend a run
// from the row last clicked, a drag over rows selects the run it covers, and
// Ctrl+A selects every record. The current row has the focus frame. While it
// has rows one of them is always selected: no click or key (Ctrl+click or
// Ctrl+Space on the last selected row, a click below the last row, End while
// a long list is still being laid out) may leave the list without one. The
// selection is held as runs of rows and painted from there; the view's own
// selection model holds only the current row, so that selecting a hundred
// thousand rows costs no more than one.
//
// A long list is laid out in steps between events, so that opening or
// changing a million records never waits for the whole list; rows past the
// part laid out so far have no place yet. End still goes to the last row,
// and a row scrolled to before it has a place is scrolled to once it has.
class RecordSelection;

class RecordListView : public QListView {
  public:
    explicit RecordListView(QWidget* parent = nullptr);

    // The selection shown and changed; set once, before the list is used.
    void SetSelection(RecordSelection* selection);

    static constexpr int kRowHeight = 15;
    // The list's width while its labels fit in it.
    static constexpr int kWidth = 89;

    // The width at which every row label of a list of `rows` rows shows
    // whole (the longest index with the widest catalogued type code, beside
    // a vertical scroll bar), and never less than `least`.
    int WidthToShowLabels(std::size_t rows, int least) const;

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex& index, const QEvent* event = nullptr) const override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    // Rows all of one height need no new layout when their labels change:
    // they are painted again, and a command on a thousand records never
    // lays out a list of a million again.
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = {}) override;

  private:
    void ScrollWhenLaidOut(const QModelIndex& index, ScrollHint hint);
    // Brings the view's current row and painting in line with the selection.
    void FollowSelection();

    RecordSelection* selection_ = nullptr;
    // Set while the view moves its current row itself: the move is not a
    // selection of its own.
    bool moving_ = false;
    // The row a left press selected from, for a drag over rows.
    int pressedRow_ = -1;

    QPersistentModelIndex scrollPending_;
    ScrollHint scrollPendingHint_ = EnsureVisible;
    int scrollTriesLeft_ = 0;
};
