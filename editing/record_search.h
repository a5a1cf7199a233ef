#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Document;
class RowRanges;
struct MenuItemRecord;

// What a typed find text matches. A record matches when
// - its text in the string database (the preview's text, decoded from the
//   code page) contains the typed text, letters compared by their Unicode
//   case folding;
// - or its type code as shown equals the typed text exactly, case kept;
// - or the typed text is a whole number (decimal, an optional leading '-',
//   within 32 bits) equal to its `id` or its `textId`.
// An empty text matches nothing.
class RecordQuery {
  public:
    RecordQuery() = default;
    explicit RecordQuery(const QString& typed);

    bool isEmpty() const { return empty_; }
    // The rule for a record's text, as the string database holds it.
    bool MatchesText(std::string_view codePageText) const;
    // The rules for the type code and the two numbers.
    bool MatchesFields(const MenuItemRecord& record) const;

    // Folded texts (see FoldCodePage) contain the typed text exactly when
    // they contain this; nothing when no text of the code page can.
    const std::optional<std::string>& foldedPattern() const { return foldedPattern_; }

    // Each byte of a code-page text replaced by one representative of the
    // bytes whose characters fold to the same: containment of folded bytes is
    // containment of case-folded texts, tested without decoding.
    static void FoldCodePage(std::string_view text, std::string& out);

  private:
    bool empty_ = true;
    std::optional<std::string> foldedPattern_;
    // The shown type code in code-page bytes, when the text can be one.
    std::optional<std::string> shownType_;
    std::optional<std::int32_t> number_;
};

// The records of a document that match a query, kept exact while the
// document changes, and the walk through them.
//
// Matching a million records at each keystroke cannot afford a database
// lookup per record. The search keeps a table of the records' texts, each
// text folded once per identifier, and follows the document's changes record
// by record. Building that table costs a lookup per record, so it is built in
// steps of a given length (Work), between which the window stays responsive;
// a query then tests each distinct text once and each record by a table look.
class RecordSearch : public QObject {
  public:
    explicit RecordSearch(const Document& document, QObject* parent = nullptr);

    void SetQuery(const QString& typed);
    const QString& query() const { return typed_; }

    // Does about `budget` of the outstanding work, or all of it when it
    // needs no more. True when the matches below are those of the query over
    // the document as it is now. The table of texts is built from the first
    // call on, whatever the query, so that it can be ready before the first
    // character is typed.
    bool Work(std::chrono::milliseconds budget);
    bool upToDate() const;

    // Valid while upToDate(). Indices in ascending order.
    const std::vector<std::uint32_t>& matches() const { return matches_; }
    std::size_t count() const { return matches_.size(); }
    // The first match at or after `index`, wrapping to the first of all.
    std::optional<std::size_t> AtOrAfter(std::size_t index) const;
    // The first match after `index` / the last before it, wrapping.
    std::optional<std::size_t> After(std::size_t index) const;
    std::optional<std::size_t> Before(std::size_t index) const;
    // The place of the record among the matches, from 0; nothing when it is
    // not one.
    std::optional<std::size_t> PositionOf(std::size_t index) const;

  private:
    static constexpr std::uint32_t kNoText = 0xFFFFFFFF;

    void Forget();
    void RecordInserted(int index);
    void RecordRemoved(int index);
    void RecordChanged(int index);
    void TextChanged(std::int32_t id);
    void RecordsInserted(const RowRanges& rows);
    void RecordsRemoved(const RowRanges& rows);
    void RecordsChanged(const RowRanges& rows);
    std::uint32_t TextOf(std::int32_t textId);
    void TestTexts();
    void MatchRecords();

    const Document& document_;
    QString typed_;
    RecordQuery query_;

    // The table of texts: built from the first record on, up to `built_`.
    bool building_ = false;
    std::size_t built_ = 0;
    std::vector<std::uint32_t> textOfRecord_;  // index into texts_, or kNoText
    QHash<std::int32_t, std::uint32_t> textOfId_;
    std::string pool_;                  // the folded texts, one after another
    std::vector<std::uint64_t> texts_;  // start in pool_ << 7 | length

    // The query over the texts tested so far, and over the records.
    std::vector<std::uint8_t> textMatches_;
    std::size_t textsTested_ = 0;
    bool matchesKnown_ = false;
    std::vector<std::uint32_t> matches_;
};
