#pragma once

#include <QListView>

// The record list `lbMain`. Its rows are 15 pixels high whatever the style,
// and while it has rows one of them is always selected: the property panel,
// the commits and every record command act on the selected record, so no
// click or key (Ctrl+click or Ctrl+Space on the selected row, a click below
// the last row) may leave the list without one.
class RecordListView : public QListView {
  public:
    explicit RecordListView(QWidget* parent = nullptr);

    static constexpr int kRowHeight = 15;

  protected:
    QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex& index, const QEvent* event = nullptr) const override;
};
