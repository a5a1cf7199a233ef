#pragma once

#include <QUndoCommand>

// A step of a document's history, and which of the document's two files it
// changes: the document keeps the unsaved state of each file apart.
class DocumentStep : public QUndoCommand {
  public:
    // The records, which the menu definition file holds.
    virtual bool ChangesRecords() const { return true; }
    // The texts of the string database.
    virtual bool ChangesTexts() const { return false; }
};
