#include "editing/record_search.h"

#include <QElapsedTimer>
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <utility>

#include "base/code_page.h"
#include "document/document.h"
#include "document/row_ranges.h"

namespace {

// The code page's 256 characters under Unicode case folding. Each folds to
// one character, so a folded text is as long as the text, and the bytes whose
// characters fold alike ('A' and 'a', 0x8A and 0x9A, the micro sign and the
// Greek mu it folds to) share one representative byte.
struct FoldTable {
    std::array<char, 256> representative{};
    // Folded character -> representative byte, sorted by the character.
    std::vector<std::pair<char16_t, char>> byFolded;
};

const FoldTable& Folds() {
    static const FoldTable table = [] {
        FoldTable folds;
        std::array<char16_t, 256> folded{};
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const QString text = FromCodePage(std::string_view(&byte, 1)).toCaseFolded();
            folded[static_cast<std::size_t>(b)] = text.at(0).unicode();
        }
        for (std::size_t b = 0; b < 256; ++b) {
            const auto first = std::find(folded.begin(), folded.end(), folded[b]) - folded.begin();
            folds.representative[b] = static_cast<char>(first);
            if (static_cast<std::size_t>(first) == b)
                folds.byFolded.emplace_back(folded[b], static_cast<char>(b));
        }
        std::sort(folds.byFolded.begin(), folds.byFolded.end());
        return folds;
    }();
    return table;
}

// A decimal whole number of 32 bits, an optional '-' before it, nothing else.
std::optional<std::int32_t> WholeNumber(const QString& text) {
    qsizetype at = 0;
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative) at = 1;
    if (at == text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; at < text.size(); ++at) {
        const char16_t c = text.at(at).unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

bool Contains(std::string_view text, std::string_view pattern) {
    if (pattern.size() == 1) return std::memchr(text.data(), pattern[0], text.size()) != nullptr;
    return text.find(pattern) != std::string_view::npos;
}

}  // namespace

// ------------------------------------------------------------------ the query

void RecordQuery::FoldCodePage(std::string_view text, std::string& out) {
    const FoldTable& folds = Folds();
    const std::size_t start = out.size();
    out.resize(start + text.size());
    char* to = out.data() + start;
    for (const char byte : text) *to++ = folds.representative[static_cast<unsigned char>(byte)];
}

RecordQuery::RecordQuery(const QString& typed) : empty_(typed.isEmpty()) {
    if (empty_) return;

    const FoldTable& folds = Folds();
    std::string pattern;
    for (const QChar c : typed.toCaseFolded()) {
        const auto found = std::lower_bound(
            folds.byFolded.begin(), folds.byFolded.end(), c.unicode(),
            [](const std::pair<char16_t, char>& entry, char16_t key) { return entry.first < key; });
        if (found == folds.byFolded.end() || found->first != c.unicode()) {
            pattern.clear();
            break;
        }
        pattern.push_back(found->second);
    }
    // A character outside the code page's foldings, or a NUL, which ends
    // every text, is in no text.
    if (!pattern.empty() && pattern.find('\0') == std::string::npos) foldedPattern_ = pattern;

    if (typed.size() <= 4) {
        const QByteArray bytes = ToCodePage(typed);
        // A shown code ends before its first NUL, and holds only characters
        // of the code page.
        if (!bytes.contains('\0') && FromCodePage(bytes) == typed) shownType_ = bytes.toStdString();
    }
    number_ = WholeNumber(typed);
}

bool RecordQuery::MatchesText(std::string_view codePageText) const {
    if (!foldedPattern_) return false;
    std::string folded;
    FoldCodePage(codePageText, folded);
    return Contains(folded, *foldedPattern_);
}

bool RecordQuery::MatchesFields(const MenuItemRecord& record) const {
    if (number_ && (record.id == *number_ || record.textId == *number_)) return true;
    if (!shownType_) return false;
    // The shown code is the stored bytes read backwards up to the first NUL.
    const std::string& shown = *shownType_;
    const std::size_t length = shown.size();
    for (std::size_t i = 0; i < length; ++i) {
        if (record.type[3 - i] != shown[i]) return false;
    }
    return length == 4 || record.type[3 - length] == '\0';
}

// ------------------------------------------------------------------ the search

RecordSearch::RecordSearch(const Document& document, QObject* parent)
    : QObject(parent), document_(document) {
    connect(&document, &Document::reset, this, [this] { Forget(); });
    connect(&document, &Document::textDbReplaced, this, [this] { Forget(); });
    connect(&document, &Document::textChanged, this, [this](std::int32_t id) { TextChanged(id); });
    connect(&document, &Document::recordInserted, this, [this](int i) { RecordInserted(i); });
    connect(&document, &Document::recordRemoved, this, [this](int i) { RecordRemoved(i); });
    connect(&document, &Document::recordChanged, this, [this](int i) { RecordChanged(i); });
    connect(&document, &Document::recordsInserted, this,
            [this](const RowRanges& rows) { RecordsInserted(rows); });
    connect(&document, &Document::recordsRemoved, this,
            [this](const RowRanges& rows) { RecordsRemoved(rows); });
    connect(&document, &Document::recordsChanged, this,
            [this](const RowRanges& rows) { RecordsChanged(rows); });
}

void RecordSearch::Forget() {
    building_ = false;
    built_ = 0;
    textOfRecord_ = {};
    textOfId_ = {};
    pool_ = {};
    texts_ = {};
    textMatches_ = {};
    textsTested_ = 0;
    matchesKnown_ = false;
    matches_ = {};
}

void RecordSearch::RecordInserted(int index) {
    matchesKnown_ = false;
    if (!building_) return;
    const auto at = static_cast<std::size_t>(index);
    textOfRecord_.insert(textOfRecord_.begin() + index, TextOf(document_.record(at).textId));
    if (at < built_) ++built_;
}

void RecordSearch::RecordRemoved(int index) {
    matchesKnown_ = false;
    if (!building_) return;
    textOfRecord_.erase(textOfRecord_.begin() + index);
    if (static_cast<std::size_t>(index) < built_) --built_;
}

void RecordSearch::RecordChanged(int index) {
    matchesKnown_ = false;
    if (!building_) return;
    const auto at = static_cast<std::size_t>(index);
    textOfRecord_[at] = TextOf(document_.record(at).textId);
}

void RecordSearch::TextChanged(std::int32_t id) {
    matchesKnown_ = false;
    if (!building_) return;
    // No record built so far has this text: it is looked up when one is.
    const auto known = textOfId_.constFind(id);
    if (known == textOfId_.constEnd()) return;
    const auto found = document_.textDb().FindText(id);
    if (known.value() == kNoText || !found) {
        // Records gain or lose their text: they are looked up again.
        Forget();
        return;
    }
    // Every record of this text shares its place in the table: the new text
    // takes that place, and is tested again when the old one was.
    const std::uint32_t text = known.value();
    const std::size_t start = pool_.size();
    RecordQuery::FoldCodePage(*found, pool_);
    texts_[text] = (std::uint64_t{start} << 7) | (pool_.size() - start);
    if (text < textsTested_) {
        const std::optional<std::string>& pattern = query_.foldedPattern();
        textMatches_[text] = pattern && Contains(std::string_view(pool_).substr(start), *pattern);
    }
}

void RecordSearch::RecordsInserted(const RowRanges& rows) {
    matchesKnown_ = false;
    if (!building_) return;
    const std::size_t oldCount = textOfRecord_.size();
    std::vector<std::uint32_t> texts;
    texts.reserve(rows.count());
    rows.ForEach([&](std::size_t row) { texts.push_back(TextOf(document_.record(row).textId)); });
    InsertRows<std::uint32_t>(textOfRecord_, rows, texts);
    // The records before the first one not yet looked at are all known now.
    built_ = built_ >= oldCount ? textOfRecord_.size()
                                : RowRanges::Single(built_).AfterInsert(rows).first();
}

void RecordSearch::RecordsRemoved(const RowRanges& rows) {
    matchesKnown_ = false;
    if (!building_) return;
    built_ -= rows.CountBefore(built_);
    RemoveRows(textOfRecord_, rows);
}

void RecordSearch::RecordsChanged(const RowRanges& rows) {
    matchesKnown_ = false;
    if (!building_) return;
    rows.ForEach([&](std::size_t row) { textOfRecord_[row] = TextOf(document_.record(row).textId); });
}

std::uint32_t RecordSearch::TextOf(std::int32_t textId) {
    const auto known = textOfId_.constFind(textId);
    if (known != textOfId_.constEnd()) return known.value();
    std::uint32_t text = kNoText;
    if (const auto found = document_.textDb().FindText(textId)) {
        text = static_cast<std::uint32_t>(texts_.size());
        const std::size_t start = pool_.size();
        RecordQuery::FoldCodePage(*found, pool_);
        texts_.push_back((std::uint64_t{start} << 7) | (pool_.size() - start));
    }
    textOfId_.insert(textId, text);
    return text;
}

void RecordSearch::SetQuery(const QString& typed) {
    if (typed == typed_) return;
    const std::optional<std::string> before = query_.foldedPattern();
    typed_ = typed;
    query_ = RecordQuery(typed);
    matchesKnown_ = false;
    const std::optional<std::string>& now = query_.foldedPattern();
    if (before && now && now->find(*before) != std::string::npos) {
        // A text that holds the longer text holds the shorter one: only the
        // texts that matched before need testing again.
        for (std::size_t i = 0; i < textsTested_; ++i) {
            if (textMatches_[i] == 0) continue;
            const std::uint64_t packed = texts_[i];
            textMatches_[i] =
                Contains(std::string_view(pool_).substr(packed >> 7, packed & 0x7F), *now);
        }
    } else {
        textsTested_ = 0;
    }
}

bool RecordSearch::upToDate() const {
    return query_.isEmpty() || matchesKnown_;
}

bool RecordSearch::Work(std::chrono::milliseconds budget) {
    if (matchesKnown_) return true;
    // The table does not depend on the query: it is built even before the
    // first character is typed.
    const std::size_t count = document_.count();
    if (!building_) {
        building_ = true;
        built_ = 0;
        textOfRecord_.assign(count, kNoText);
        textOfId_.reserve(static_cast<qsizetype>(std::min<std::size_t>(count, 1 << 22)));
    }
    if (built_ < count) {
        QElapsedTimer clock;
        clock.start();
        const auto& records = document_.records();
        while (built_ < count) {
            const std::size_t end = std::min(count, built_ + 4096);
            for (; built_ < end; ++built_) textOfRecord_[built_] = TextOf(records[built_].textId);
            if (built_ < count && clock.elapsed() >= budget.count()) return false;
        }
    }
    if (query_.isEmpty()) {
        matches_ = {};
        return true;
    }
    TestTexts();
    MatchRecords();
    matchesKnown_ = true;
    return true;
}

void RecordSearch::TestTexts() {
    textMatches_.resize(texts_.size());
    const std::optional<std::string>& pattern = query_.foldedPattern();
    if (!pattern) {
        std::fill(textMatches_.begin() + static_cast<std::ptrdiff_t>(textsTested_),
                  textMatches_.end(), 0);
    } else {
        const std::string_view pool(pool_);
        for (std::size_t i = textsTested_; i < texts_.size(); ++i) {
            const std::uint64_t packed = texts_[i];
            textMatches_[i] = Contains(pool.substr(packed >> 7, packed & 0x7F), *pattern);
        }
    }
    textsTested_ = texts_.size();
}

void RecordSearch::MatchRecords() {
    matches_.clear();
    const auto& records = document_.records();
    // Indices are kept in 32 bits: a file of more records than that would be
    // more than 150 GB.
    const std::size_t count =
        std::min<std::size_t>(records.size(), std::numeric_limits<std::uint32_t>::max());
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t text = textOfRecord_[i];
        if ((text != kNoText && textMatches_[text] != 0) || query_.MatchesFields(records[i]))
            matches_.push_back(static_cast<std::uint32_t>(i));
    }
}

std::optional<std::size_t> RecordSearch::AtOrAfter(std::size_t index) const {
    if (matches_.empty()) return std::nullopt;
    const auto found = std::lower_bound(matches_.begin(), matches_.end(), index);
    return found == matches_.end() ? matches_.front() : *found;
}

std::optional<std::size_t> RecordSearch::After(std::size_t index) const {
    if (matches_.empty()) return std::nullopt;
    const auto found = std::upper_bound(matches_.begin(), matches_.end(), index);
    return found == matches_.end() ? matches_.front() : *found;
}

std::optional<std::size_t> RecordSearch::Before(std::size_t index) const {
    if (matches_.empty()) return std::nullopt;
    const auto found = std::lower_bound(matches_.begin(), matches_.end(), index);
    return found == matches_.begin() ? matches_.back() : *(found - 1);
}

std::optional<std::size_t> RecordSearch::PositionOf(std::size_t index) const {
    const auto found = std::lower_bound(matches_.begin(), matches_.end(), index);
    if (found == matches_.end() || *found != index) return std::nullopt;
    return static_cast<std::size_t>(found - matches_.begin());
}
