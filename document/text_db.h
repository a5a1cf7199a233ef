#pragma once

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
// offset 0, so such slots are held once, however large the count is. Of the
// rest of the file only the bytes some text can reach are held, each once; a
// text is found from its offset when asked for. Lookups go through an index
// built at load time that answers exactly what a scan from the first entry
// would.
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
    };
    // File bytes from fileStart on, copied to pool_ from poolStart up to the
    // next run's poolStart (or the end of pool_).
    struct Run {
        std::uint64_t fileStart;
        std::uint64_t poolStart;
    };
    struct FirstIndex {
        std::int32_t id;
        std::uint32_t index;
    };

    std::string_view TextAt(std::uint32_t offset) const;
    void ReadTexts(QIODevice& device, qint64 size, std::vector<std::uint32_t> offsets);
    void IndexFirstEntries();
    // The index of the first entry with this identifier, or the count.
    std::uint64_t FirstIndexOf(std::int32_t id) const;
    void Clear();

    std::uint32_t count_ = 0;
    std::vector<Slot> slots_;  // the slots that lie, wholly or partly, in the file
    std::vector<Run> runs_;    // ascending and apart from each other in the file
    std::string pool_;
    // The first index of each identifier in slots_, sorted by identifier;
    // empty when the slots' identifiers ascend and slots_ serves instead.
    std::vector<FirstIndex> firstIndex_;
    bool tableIsIndex_ = false;
};
