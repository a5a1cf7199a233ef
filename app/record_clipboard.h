#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "document/menu_item_record.h"

class Document;
class RowRanges;

// Copy and Paste of records: the program's own buffer and the system
// clipboard.
//
// Copy keeps the records and puts them on the clipboard as the program's own
// type (the records' bytes, exact) and as the text of a CSV dump, as
// `kaveldef dump` writes it, so that another editor, a text editor or a
// spreadsheet can take them. The data is made only when a program asks for
// it, so copying a hundred thousand records costs a copy of their bytes.
//
// Paste takes what the clipboard holds: the records of this program or of
// another editor, or a text that is a dump (CSV or JSON, from any program),
// read when Paste is chosen. Without any of these, the records copied last
// in this program. Whether Paste has something is told from the clipboard's
// formats alone, without reading a large clipboard at every change.
class RecordClipboard : public QObject {
  public:
    // `changed` runs when what Paste has may have changed.
    explicit RecordClipboard(std::function<void()> changed, QObject* parent = nullptr);

    void Copy(const Document& document, const RowRanges& rows);
    bool CanPaste() const;

    // What Paste takes: the records, or why the clipboard's text was
    // refused (a dump's place and reason), or neither when there is nothing.
    struct Taken {
        std::vector<MenuItemRecord> records;
        QString refusal;
    };
    Taken Take() const;

  private:
    std::vector<MenuItemRecord> copied_;
    std::function<void()> changed_;
};
