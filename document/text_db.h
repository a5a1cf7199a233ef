#pragma once

#include <QByteArray>
#include <QIODevice>
#include <array>
#include <cstdint>
#include <deque>
#include <map>
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

// The game's string database (`textdb_xx.def`): a count, 4 bytes nobody
// interprets, a table of (identifier, offset) slots from byte 8 on, and
// NUL-terminated texts.
//
// What was read is held compactly and never changes. Every slot that lies
// beyond the end of the file reads as identifier 0 and offset 0, so such
// slots are held once, however large the count is. Of the rest of the file
// only the bytes some text covers are held, each once; a text runs from its
// offset to its NUL (or the end of the file), however long, and is found from
// its offset when asked for. Lookups go through an index built at load time
// that answers exactly what a scan from the first entry would.
//
// Edits lie over that: texts replaced by entry index, and entries appended
// after the last one. An edit and its undoing cost a lookup in a small
// ordered map, whatever the size of the database; no entry ever changes its
// identifier or its place.
class TextDb {
  public:
    enum class ReadError { None, AllocateFailed };

    // What the window shows and the preview draws of a text.
    static constexpr int kMaxTextLength = 99;

    // Reads a whole database from a random-access device. On AllocateFailed
    // the database is left empty.
    ReadError Read(QIODevice& device);

    // The number of entries: the count stored in the file (`textDbCount`)
    // and the entries appended since.
    std::uint32_t count() const;
    // An entry with its text cut to kMaxTextLength; an appended entry has
    // offset 0. Past the count: identifier 0, offset 0, no text.
    TextDbEntry entry(std::uint32_t index) const;
    std::int32_t IdAt(std::uint32_t index) const;
    // The entry's whole text, however long, with every byte as read or set.
    // Valid until the database changes.
    std::string_view WholeText(std::uint32_t index) const;

    // The index of the first entry with this identifier, or nothing.
    std::optional<std::uint32_t> FirstIndexOf(std::int32_t id) const;
    // The text of the first entry with this identifier, cut to
    // kMaxTextLength, or nothing.
    std::optional<std::string_view> FindText(std::int32_t textId) const;
    // The largest identifier of any entry; nothing when there is none.
    std::optional<std::int32_t> LargestId() const;
    // Every identifier once, in ascending order.
    std::vector<std::int32_t> Ids() const;

    // The 4 bytes at offset 4 (missing bytes of a short file read as 0).
    const std::array<char, 4>& headerBytes() const { return header_; }
    void SetHeaderBytes(const std::array<char, 4>& header) { header_ = header; }

    // Gives an entry another text. The index must be below count().
    void SetText(std::uint32_t index, std::string text);
    // Adds an entry after the last; false, and no change, when the count
    // would no longer fit in 32 bits.
    bool Append(std::int32_t id, std::string text);
    // Takes the last appended entry away again.
    void RemoveLast();

    // The file as this program writes it (EncodeTextDbFile): every entry
    // with its identifier and whole text, in table order, and the 4 header
    // bytes. A file laid out so is written back byte for byte. Nothing when
    // the file would not fit the format's 32-bit offsets, or the memory.
    std::optional<QByteArray> Encode() const;

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
    struct Appended {
        std::int32_t id;
        std::string text;
    };

    // The whole text at a file offset, as read.
    std::string_view TextAt(std::uint32_t offset) const;
    // The whole text of an entry of the file as read, and its identifier.
    std::string_view ReadText(std::uint32_t index) const;
    std::int32_t ReadId(std::uint32_t index) const;
    void ReadTexts(QIODevice& device, qint64 size, std::vector<std::uint32_t> offsets);
    void IndexFirstEntries();
    // The index of the first entry of the file with this identifier, or count_.
    std::uint64_t FirstReadIndexOf(std::int32_t id) const;
    void Clear();

    // The file as read.
    std::uint32_t count_ = 0;
    std::array<char, 4> header_{};
    std::vector<Slot> slots_;  // the slots that lie, wholly or partly, in the file
    std::vector<Run> runs_;    // ascending and apart from each other in the file
    std::string pool_;
    // The first index of each identifier in slots_, sorted by identifier;
    // empty when the slots' identifiers ascend and slots_ serves instead.
    std::vector<FirstIndex> firstIndex_;
    bool tableIsIndex_ = false;

    // The edits. A deque keeps each appended text where it is, so that a view
    // of one stays valid while others are added.
    std::map<std::uint32_t, std::string> replaced_;
    std::deque<Appended> appended_;
    // The first appended index (counted from count_) of each identifier.
    std::map<std::int32_t, std::uint32_t> firstAppended_;
};
