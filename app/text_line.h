#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class Document;
class QLabel;
class QLineEdit;
class QWidget;

// The Text line of the property panel: the text of the selected record in
// the string database (the entry FindText finds for its textId), in a field
// that edits it, and a note below that says how many records share the text
// and when a long text is shown cut.
//
// The window commits the field as it commits the others (leaving it, Enter)
// and puts it back on Escape; each change is one step of the history.
class TextLine : public QObject {
  public:
    // `selected` names the record whose text the line shows, nothing when
    // the records selected have different texts: the line then says so and
    // takes nothing typed.
    TextLine(Document& document, QWidget* panel,
             std::function<std::optional<std::size_t>()> selected);

    QLabel* caption() const { return caption_; }
    QLineEdit* field() const { return field_; }
    QLabel* note() const { return note_; }

    // The caption and the placeholder in the interface language.
    void ApplyTexts();
    // Shows the selected record's text; what was typed goes.
    void Fill();
    // The field holds a text typed and not yet taken over.
    bool HasTyping() const;

    // Takes the typed text over as one step: the text of the record's entry,
    // or a new entry with the record's textId when it has none. A text left
    // as shown changes nothing, so a long text stays whole. Throws
    // ConversionError, and changes nothing, for a text the database cannot
    // hold.
    void Commit();
    // Gives the record a textId of its own, one above the largest of the
    // database, and an entry with the field's text, as one step. Throws
    // ConversionError as Commit does, and when no identifier is left.
    void NewText();

  private:
    // The field's text as the database holds it, or ConversionError.
    std::string StoredText() const;

    Document& document_;
    std::function<std::optional<std::size_t>()> selected_;
    QLabel* caption_ = nullptr;
    QLineEdit* field_ = nullptr;
    QLabel* note_ = nullptr;
    // The text the field showed at the last Fill.
    QString shown_;
    // The records sharing the text shown, as counted at a version of them.
    struct Users {
        std::int32_t textId;
        std::uint64_t version;
        std::size_t count;
    };
    std::optional<Users> users_;
};
