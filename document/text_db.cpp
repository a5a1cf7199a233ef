#include "document/text_db.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <new>

#include "base/little_endian.h"

namespace {

std::uint32_t LoadU32(const char* at) {
    return little_endian::Load<std::uint32_t>(at);
}

// Reads up to `length` bytes at `position` into `out`; bytes the device
// cannot give are left as they are.
void ReadAt(QIODevice& device, qint64 position, char* out, qint64 length) {
    if (length <= 0 || !device.seek(position)) return;
    qint64 done = 0;
    while (done < length) {
        const qint64 got = device.read(out + done, length - done);
        if (got <= 0) break;
        done += got;
    }
}

// Sorts by the 32-bit key `keyOf` gives, keeping equal keys in their order.
// Databases mostly come with their table in order, so a sorted table costs one
// look. Otherwise a counting pass per key byte (skipped where every key has the
// same byte) sorts a million keys in a fifth of the time std::sort takes, and
// being stable it keeps the first of equal keys first.
template <typename T, typename KeyOf>
void StableSortByKey(std::vector<T>& values, KeyOf keyOf) {
    if (std::is_sorted(values.begin(), values.end(),
                       [&keyOf](const T& a, const T& b) { return keyOf(a) < keyOf(b); })) {
        return;
    }
    std::array<std::array<std::size_t, 256>, 4> starts{};
    for (const T& value : values) {
        const std::uint32_t key = keyOf(value);
        for (int b = 0; b < 4; ++b) ++starts[b][(key >> (8 * b)) & 0xFF];
    }
    std::vector<T> sorted(values.size());
    for (int b = 0; b < 4; ++b) {
        auto& start = starts[b];
        const auto digit = [&keyOf, b](const T& value) { return (keyOf(value) >> (8 * b)) & 0xFF; };
        if (start[digit(values.front())] == values.size()) continue;
        std::size_t next = 0;
        for (std::size_t& slot : start) {
            const std::size_t count = slot;
            slot = next;
            next += count;
        }
        for (const T& value : values) sorted[start[digit(value)]++] = value;
        values.swap(sorted);
    }
}

// Calls `visit(start, end)` for each run of file bytes that the texts at these
// ascending offsets lie in: each offset's 99 bytes, cut at the end of the
// file, merged where they touch or overlap.
template <typename Visit>
void ForEachTextRun(const std::vector<std::uint32_t>& offsets, qint64 size, Visit visit) {
    qint64 start = 0;
    qint64 end = -1;
    for (const std::uint32_t offset : offsets) {
        if (offset >= size) break;
        if (offset > end) {
            if (end > start) visit(start, end);
            start = offset;
        }
        end = std::max(end, std::min<qint64>(size, qint64{offset} + TextDb::kMaxTextLength));
    }
    if (end > start) visit(start, end);
}

// Reads byte runs at ascending positions through a window of the file, so that a
// database of any size is read with few seeks and bounded memory.
class FileWindow {
  public:
    FileWindow(QIODevice& device, qint64 size) : device_(device), size_(size) {}

    qint64 size() const { return size_; }

    // Appends up to `length` bytes from `position` on; fewer at the end of the file.
    void AppendBytes(qint64 position, qint64 length, std::string& out) {
        while (length > 0 && position < size_) {
            if (position < start_ || position >= start_ + buffer_.size()) Load(position);
            const qint64 inBuffer = start_ + buffer_.size() - position;
            if (inBuffer <= 0) return;
            const qint64 take = std::min(length, inBuffer);
            out.append(buffer_.constData() + (position - start_), static_cast<std::size_t>(take));
            position += take;
            length -= take;
        }
    }

  private:
    void Load(qint64 position) {
        constexpr qint64 kWindow = 1 << 20;
        start_ = position;
        buffer_.resize(std::min<qint64>(kWindow, size_ - position));
        qint64 done = 0;
        if (device_.seek(position)) {
            while (done < buffer_.size()) {
                const qint64 got = device_.read(buffer_.data() + done, buffer_.size() - done);
                if (got <= 0) break;
                done += got;
            }
        }
        if (done < buffer_.size()) {
            // The file ended early (it shrank while being read): that is its end now.
            buffer_.resize(done);
            size_ = position + done;
        }
    }

    QIODevice& device_;
    qint64 size_;
    qint64 start_ = 0;
    QByteArray buffer_;
};

}  // namespace

void TextDb::Clear() {
    count_ = 0;
    slots_ = {};
    runs_ = {};
    pool_ = {};
    firstIndex_ = {};
    tableIsIndex_ = false;
}

TextDb::ReadError TextDb::Read(QIODevice& device) {
    Clear();
    try {
        const qint64 size = std::max<qint64>(0, device.size());
        // A file too short to hold the count has no entries.
        char countBytes[4] = {};
        if (size >= 4) ReadAt(device, 0, countBytes, 4);
        count_ = LoadU32(countBytes);

        // Slots that start inside the file; the rest all read as (0, 0).
        const qint64 tableBytes = std::max<qint64>(0, size - 8);
        const std::uint64_t slotsInFile =
            std::min<std::uint64_t>(count_, static_cast<std::uint64_t>((tableBytes + 7) / 8));
        const bool hasTail = count_ > slotsInFile;

        // The table is read straight into the slots, which have its layout, so
        // it is not held twice; a last slot the file holds in part keeps zeros.
        static_assert(sizeof(Slot) == 8);
        slots_.resize(slotsInFile);
        ReadAt(device, 8, reinterpret_cast<char*>(slots_.data()),
               std::min<qint64>(tableBytes, static_cast<qint64>(slotsInFile) * 8));
        for (Slot& slot : slots_) {
            char raw[8];
            std::memcpy(raw, &slot, sizeof raw);
            slot.id = static_cast<std::int32_t>(LoadU32(raw));
            slot.offset = LoadU32(raw + 4);
        }

        std::vector<std::uint32_t> offsets;
        offsets.reserve(slotsInFile + 1);
        if (hasTail) offsets.push_back(0);
        for (const Slot& slot : slots_) offsets.push_back(slot.offset);
        ReadTexts(device, size, std::move(offsets));

        IndexFirstEntries();
    } catch (const std::bad_alloc&) {
        Clear();
        return ReadError::AllocateFailed;
    } catch (const std::length_error&) {
        Clear();
        return ReadError::AllocateFailed;
    }
    return ReadError::None;
}

void TextDb::ReadTexts(QIODevice& device, qint64 size, std::vector<std::uint32_t> offsets) {
    // Ascending offsets let the texts be read in one sweep through the file.
    StableSortByKey(offsets, [](std::uint32_t offset) { return offset; });

    // Room is taken once, exactly: growing the pool as it fills would copy it
    // over and over and, for a while, hold it twice.
    std::size_t runs = 0;
    std::uint64_t bytes = 0;
    ForEachTextRun(offsets, size, [&](qint64 start, qint64 end) {
        ++runs;
        bytes += static_cast<std::uint64_t>(end - start);
    });
    runs_.reserve(runs);
    pool_.reserve(bytes);

    // A file that shrinks while it is read gives fewer bytes: the run that
    // met the new end is cut there and the later ones stay empty, so a text
    // never runs on into bytes that are not its own.
    FileWindow window(device, size);
    ForEachTextRun(offsets, size, [&](qint64 start, qint64 end) {
        runs_.push_back({static_cast<std::uint64_t>(start), pool_.size()});
        window.AppendBytes(start, end - start, pool_);
    });
}

void TextDb::IndexFirstEntries() {
    // When the identifiers ascend, as they mostly do, the table is its own
    // index. Otherwise a sorted array of first indices, rather than a hash
    // table: built with the same sort, 8 bytes an identifier, and quick
    // enough to search for the few texts shown at a time.
    tableIsIndex_ = std::is_sorted(slots_.begin(), slots_.end(),
                                   [](const Slot& a, const Slot& b) { return a.id < b.id; });
    if (tableIsIndex_) return;
    firstIndex_.reserve(slots_.size());
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        firstIndex_.push_back({slots_[i].id, static_cast<std::uint32_t>(i)});
    }
    // Flipping the sign bit orders the identifiers as signed numbers.
    StableSortByKey(firstIndex_, [](const FirstIndex& first) {
        return static_cast<std::uint32_t>(first.id) ^ 0x80000000u;
    });
    // The sort is stable, so the first of each identifier has its lowest index.
    firstIndex_.erase(
        std::unique(firstIndex_.begin(), firstIndex_.end(),
                    [](const FirstIndex& a, const FirstIndex& b) { return a.id == b.id; }),
        firstIndex_.end());
    firstIndex_.shrink_to_fit();
}

std::uint64_t TextDb::FirstIndexOf(std::int32_t id) const {
    const auto firstWith = [id](const auto& byId) {
        const auto found = std::lower_bound(
            byId.begin(), byId.end(), id,
            [](const auto& element, std::int32_t wanted) { return element.id < wanted; });
        return found != byId.end() && found->id == id ? &*found : nullptr;
    };
    if (tableIsIndex_) {
        if (const Slot* slot = firstWith(slots_)) {
            return static_cast<std::uint64_t>(slot - slots_.data());
        }
    } else if (const FirstIndex* first = firstWith(firstIndex_)) {
        return first->index;
    }
    // Every slot beyond the file reads as identifier 0.
    return id == 0 ? slots_.size() : count_;
}

std::string_view TextDb::TextAt(std::uint32_t offset) const {
    // The last run that starts at or before the offset is the only one that
    // can hold it.
    const auto next =
        std::upper_bound(runs_.begin(), runs_.end(), offset,
                         [](std::uint32_t at, const Run& run) { return at < run.fileStart; });
    if (next == runs_.begin()) return {};
    const Run& run = *std::prev(next);
    const std::uint64_t poolEnd = next == runs_.end() ? pool_.size() : next->poolStart;
    const std::uint64_t begin = run.poolStart + (offset - run.fileStart);
    if (begin >= poolEnd) return {};
    const std::string_view bytes(
        pool_.data() + begin,
        static_cast<std::size_t>(std::min<std::uint64_t>(kMaxTextLength, poolEnd - begin)));
    return bytes.substr(0, bytes.find('\0'));
}

TextDbEntry TextDb::entry(std::uint32_t index) const {
    TextDbEntry result;
    std::string_view text;
    if (index < slots_.size()) {
        result.id = slots_[index].id;
        result.offset = slots_[index].offset;
        text = TextAt(result.offset);
    } else if (index < count_) {
        text = TextAt(0);
    }
    // An index past the count has no text, and no text pointer to copy from.
    if (!text.empty()) std::memcpy(result.text, text.data(), text.size());
    return result;
}

std::optional<std::string_view> TextDb::FindText(std::int32_t textId) const {
    const std::uint64_t index = FirstIndexOf(textId);
    if (index >= count_) return std::nullopt;
    return index < slots_.size() ? TextAt(slots_[index].offset) : TextAt(0);
}
