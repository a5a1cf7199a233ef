// The edits that lie over a string database as read, and writing it.
#include <limits>

#include "document/text_db.h"
#include "document/text_db_file.h"

void TextDb::SetText(std::uint32_t index, std::string text) {
    if (index >= count_) {
        appended_[index - count_].text = std::move(text);
        return;
    }
    // A text set back to what was read leaves nothing to remember: undoing
    // an edit puts the database back as it was.
    if (text == ReadText(index)) {
        replaced_.erase(index);
    } else {
        replaced_.insert_or_assign(index, std::move(text));
    }
}

bool TextDb::Append(std::int32_t id, std::string text) {
    if (count() == std::numeric_limits<std::uint32_t>::max()) return false;
    firstAppended_.try_emplace(id, static_cast<std::uint32_t>(appended_.size()));
    appended_.push_back({id, std::move(text)});
    return true;
}

void TextDb::RemoveLast() {
    if (appended_.empty()) return;
    const auto last = static_cast<std::uint32_t>(appended_.size() - 1);
    const auto first = firstAppended_.find(appended_.back().id);
    if (first != firstAppended_.end() && first->second == last) firstAppended_.erase(first);
    appended_.pop_back();
}

std::optional<QByteArray> TextDb::Encode() const {
    return EncodeTextDbFile(
        header_, count(), [this](std::uint32_t i) { return IdAt(i); },
        [this](std::uint32_t i) { return WholeText(i); });
}
