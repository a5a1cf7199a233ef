#pragma once

#include <QObject>
#include <cstddef>

#include "document/row_ranges.h"
#include "editing/selected_rows.h"

class Document;

// The selected records of a document and the current one among them, which
// the record list and the preview both show and change.
//
// While the document holds records at least one is selected, and the current
// record is always one of the selected: a click selects a record alone, a
// toggle adds or removes one (but never the last), an extension selects the
// run from the anchor (the record last clicked or toggled) to another, and
// Select all takes every record. Rows are kept as runs (RowRanges), so that
// every record of a million-record document can be selected at the cost of
// one run. The selection follows records inserted and removed, so that it
// stands for the same records afterwards; when every selected record is
// removed, the record before the first removed one is selected.
class RecordSelection : public QObject {
    Q_OBJECT

  public:
    explicit RecordSelection(const Document& document, QObject* parent = nullptr);

    // True only while the document holds no record.
    bool empty() const { return selected_.rows.empty(); }
    std::size_t current() const { return selected_.current; }
    std::size_t anchor() const { return anchor_; }
    const RowRanges& rows() const { return selected_.rows; }
    const SelectedRows& state() const { return selected_; }
    std::size_t count() const { return selected_.rows.count(); }
    bool Contains(std::size_t row) const { return selected_.rows.Contains(row); }

    // Rows past the document's last record are ignored by each of these.
    void Select(std::size_t row);
    void Toggle(std::size_t row);
    void ExtendTo(std::size_t row);
    void SelectAll();
    // These rows, `current` among them (added when it is not).
    void Set(const RowRanges& rows, std::size_t current);
    // Adds rows, the current record staying.
    void Add(const RowRanges& rows);

  signals:
    void changed();

  private:
    void Follow(const RowRanges& inserted, const RowRanges& removed);
    void Store(RowRanges rows, std::size_t current, std::size_t anchor);
    std::size_t RecordCount() const;

    const Document& document_;
    SelectedRows selected_;
    std::size_t anchor_ = 0;
};
