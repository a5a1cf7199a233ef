#pragma once

#include <QHash>
#include <QIODevice>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One entry of a string database as the game defines it.
struct TextDbEntry {
    std::int32_t id = 0;
    std::uint32_t offset = 0;
    char text[100] = {};  // at most 99 characters, always terminated
};

// The game's read-only string database (`textdb_xx.def`): a count, a table of
// (identifier, offset) slots from byte 8 on, and NUL-terminated texts.
//
// Every slot that lies beyond the end of the file reads as identifier 0 and
// offset 0, so such slots are held once, however large the count is. Texts are
// held once per distinct offset. Lookups go through an index built at load
// time that answers exactly what a scan from the first entry would.
class TextDb {
  public:
    enum class ReadError { None, AllocateFailed };

    static constexpr int kMaxTextLength = 99;

    // Reads a whole database from a random-access device. On AllocateFailed
    // the database is left empty.
    ReadError Read(QIODevice& device);

    // The count stored in the file (`textDbCount`).
    std::uint32_t count() const { return count_; }
    TextDbEntry entry(std::uint32_t index) const;

    // The text of the first entry with this identifier, or nothing.
    std::optional<std::string_view> FindText(std::int32_t textId) const;

  private:
    struct Slot {
        std::int32_t id;
        std::uint32_t offset;
        std::uint32_t text;  // index into texts_
    };

    std::string_view TextAt(std::uint32_t textIndex) const;
    void ReadTexts(QIODevice& device, qint64 size, const std::vector<std::uint32_t>& offsets);
    void Clear();

    std::uint32_t count_ = 0;
    std::vector<Slot> slots_;     // the slots that lie, wholly or partly, in the file
    std::uint32_t tailText_ = 0;  // text of the slots beyond the file (offset 0)
    // One text per distinct offset: its start in pool_ shifted left by 7 bits,
    // its length (at most 99) in the low 7 bits. Overlapping texts share the
    // bytes of pool_, which holds each byte of the file at most once.
    std::vector<std::uint64_t> texts_;
    std::string pool_;
    QHash<std::int32_t, std::uint32_t> firstIndex_;
};
