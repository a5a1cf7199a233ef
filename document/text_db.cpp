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

// The pool's size when no text is longer than kMaxTextLength: each offset's
// 99 bytes and its NUL, cut at the end of the file, merged where they touch or
// overlap. Longer texts, which are rare, make the pool grow beyond it.
std::uint64_t PoolEstimate(const std::vector<std::uint32_t>& offsets, qint64 size) {
    std::uint64_t bytes = 0;
    qint64 end = -1;
    for (const std::uint32_t offset : offsets) {
        if (offset >= size) break;
        const qint64 reach = std::min<qint64>(size, qint64{offset} + TextDb::kMaxTextLength + 1);
        bytes += static_cast<std::uint64_t>(reach - std::max<qint64>(offset, end));
        end = std::max(end, reach);
    }
    return bytes;
}

// Reads byte runs at ascending positions through a window of the file, so that a
// database of any size is read with few seeks and bounded memory.
class FileWindow {
  public:
    FileWindow(QIODevice& device, qint64 size) : device_(device), size_(size) {}

    qint64 size() const { return size_; }

    // Appends the text at `position`, its NUL included, or the bytes up to
    // the end of the file when no NUL comes; returns where it ended.
    qint64 AppendText(qint64 position, std::string& out) {
        while (position < size_) {
            if (position < start_ || position >= start_ + buffer_.size()) Load(position);
            const qint64 inBuffer = start_ + buffer_.size() - position;
            if (inBuffer <= 0) break;
            const char* from = buffer_.constData() + (position - start_);
            const void* nul = std::memchr(from, '\0', static_cast<std::size_t>(inBuffer));
            const qint64 take = nul ? static_cast<const char*>(nul) - from + 1 : inBuffer;
            out.append(from, static_cast<std::size_t>(take));
            position += take;
            if (nul) break;
        }
        return position;
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
    header_ = {};
    slots_ = {};
    runs_ = {};
    pool_ = {};
    firstIndex_ = {};
    tableIsIndex_ = false;
    replaced_ = {};
    appended_ = {};
    firstAppended_ = {};
}

TextDb::ReadError TextDb::Read(QIODevice& device) {
    Clear();
    try {
        const qint64 size = std::max<qint64>(0, device.size());
        // A file too short to hold the count has no entries.
        // The count, and the 4 bytes after it, which are never interpreted,
        // only written back.
        char start[8] = {};
        if (size >= 4) ReadAt(device, 0, start, std::min<qint64>(8, size));
        count_ = LoadU32(start);
        std::memcpy(header_.data(), start + 4, header_.size());

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
    // Room is taken once for the usual texts: growing the pool as it fills
    // would copy it over and over and, for a while, hold it twice.
    pool_.reserve(PoolEstimate(offsets, size));

    // A run ends just after a NUL (or at the end of the file), so a text that
    // starts inside one ends inside it too. A file that shrinks while it is
    // read gives fewer bytes: the text that met the new end is cut there and
    // the later ones stay empty, so a text never runs on into bytes that are
    // not its own.
    FileWindow window(device, size);
    qint64 end = -1;
    for (const std::uint32_t offset : offsets) {
        if (offset >= window.size()) break;
        if (offset < end) continue;
        if (offset > end) runs_.push_back({offset, pool_.size()});
        end = window.AppendText(offset, pool_);
    }
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

std::uint64_t TextDb::FirstReadIndexOf(std::int32_t id) const {
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
    const std::string_view bytes(pool_.data() + begin, static_cast<std::size_t>(poolEnd - begin));
    return bytes.substr(0, bytes.find('\0'));
}

std::string_view TextDb::ReadText(std::uint32_t index) const {
    return TextAt(index < slots_.size() ? slots_[index].offset : 0);
}

std::int32_t TextDb::ReadId(std::uint32_t index) const {
    return index < slots_.size() ? slots_[index].id : 0;
}

std::uint32_t TextDb::count() const {
    return count_ + static_cast<std::uint32_t>(appended_.size());
}

std::int32_t TextDb::IdAt(std::uint32_t index) const {
    if (index < count_) return ReadId(index);
    return index - count_ < appended_.size() ? appended_[index - count_].id : 0;
}

std::string_view TextDb::WholeText(std::uint32_t index) const {
    if (index >= count_) {
        return index - count_ < appended_.size() ? std::string_view(appended_[index - count_].text)
                                                  : std::string_view();
    }
    const auto replaced = replaced_.find(index);
    return replaced != replaced_.end() ? std::string_view(replaced->second) : ReadText(index);
}

TextDbEntry TextDb::entry(std::uint32_t index) const {
    TextDbEntry result;
    result.id = IdAt(index);
    if (index < slots_.size()) result.offset = slots_[index].offset;
    const std::string_view text = WholeText(index).substr(0, kMaxTextLength);
    // An index past the count has no text, and no text pointer to copy from.
    if (!text.empty()) std::memcpy(result.text, text.data(), text.size());
    return result;
}

std::optional<std::uint32_t> TextDb::FirstIndexOf(std::int32_t id) const {
    const std::uint64_t read = FirstReadIndexOf(id);
    if (read < count_) return static_cast<std::uint32_t>(read);
    const auto appended = firstAppended_.find(id);
    if (appended == firstAppended_.end()) return std::nullopt;
    return count_ + appended->second;
}

std::optional<std::string_view> TextDb::FindText(std::int32_t textId) const {
    const std::optional<std::uint32_t> index = FirstIndexOf(textId);
    if (!index) return std::nullopt;
    return WholeText(*index).substr(0, kMaxTextLength);
}

std::optional<std::int32_t> TextDb::LargestId() const {
    std::optional<std::int32_t> largest;
    if (!slots_.empty()) largest = tableIsIndex_ ? slots_.back().id : firstIndex_.back().id;
    if (count_ > slots_.size()) largest = std::max(largest.value_or(0), 0);
    if (!firstAppended_.empty()) {
        const std::int32_t appended = firstAppended_.rbegin()->first;
        largest = largest ? std::max(*largest, appended) : appended;
    }
    return largest;
}

std::vector<std::int32_t> TextDb::Ids() const {
    std::vector<std::int32_t> ids;
    ids.reserve((tableIsIndex_ ? slots_.size() : firstIndex_.size()) + firstAppended_.size() + 1);
    if (tableIsIndex_) {
        for (const Slot& slot : slots_) ids.push_back(slot.id);
    } else {
        for (const FirstIndex& first : firstIndex_) ids.push_back(first.id);
    }
    if (count_ > slots_.size()) ids.push_back(0);
    for (const auto& [id, index] : firstAppended_) ids.push_back(id);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}
