#include "document/text_db.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

std::uint32_t LoadU32(const char* at) {
    const auto* b = reinterpret_cast<const unsigned char*>(at);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

// Reads `length` bytes at `position`; bytes the device cannot give are zero.
QByteArray ReadPadded(QIODevice& device, qint64 position, qint64 length) {
    QByteArray bytes(length, '\0');
    if (length == 0 || !device.seek(position)) return bytes;
    qint64 done = 0;
    while (done < length) {
        const qint64 got = device.read(bytes.data() + done, length - done);
        if (got <= 0) break;
        done += got;
    }
    return bytes;
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
    tailText_ = 0;
    texts_ = {};
    pool_ = {};
    firstIndex_ = {};
}

TextDb::ReadError TextDb::Read(QIODevice& device) {
    Clear();
    try {
        const qint64 size = std::max<qint64>(0, device.size());
        // A file too short to hold the count has no entries.
        count_ = size < 4 ? 0 : LoadU32(ReadPadded(device, 0, 4).constData());

        // Slots that start inside the file; the rest all read as (0, 0).
        const qint64 tableBytes = std::max<qint64>(0, size - 8);
        const std::uint64_t slotsInFile =
            std::min<std::uint64_t>(count_, static_cast<std::uint64_t>((tableBytes + 7) / 8));
        const bool hasTail = count_ > slotsInFile;

        slots_.resize(slotsInFile);
        {
            const QByteArray table = ReadPadded(device, 8, static_cast<qint64>(slotsInFile) * 8);
            for (std::uint64_t i = 0; i < slotsInFile; ++i) {
                slots_[i].id = static_cast<std::int32_t>(LoadU32(table.constData() + 8 * i));
                slots_[i].offset = LoadU32(table.constData() + 8 * i + 4);
            }
        }

        // One text per distinct offset, read in ascending order.
        std::vector<std::uint32_t> offsets;
        offsets.reserve(slotsInFile + 1);
        for (const Slot& slot : slots_) offsets.push_back(slot.offset);
        if (hasTail) offsets.push_back(0);
        std::sort(offsets.begin(), offsets.end());
        offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());

        ReadTexts(device, size, offsets);

        auto textOf = [&offsets](std::uint32_t offset) {
            return static_cast<std::uint32_t>(
                std::lower_bound(offsets.begin(), offsets.end(), offset) - offsets.begin());
        };
        for (Slot& slot : slots_) slot.text = textOf(slot.offset);
        if (hasTail) tailText_ = textOf(0);

        // Walk backwards so that the lowest index of each identifier stays.
        firstIndex_.reserve(static_cast<qsizetype>(slotsInFile + 1));
        for (std::uint64_t i = slotsInFile; i-- > 0;) {
            firstIndex_.insert(slots_[i].id, static_cast<std::uint32_t>(i));
        }
        if (hasTail && !firstIndex_.contains(0)) {
            firstIndex_.insert(0, static_cast<std::uint32_t>(slotsInFile));
        }
    } catch (const std::bad_alloc&) {
        Clear();
        return ReadError::AllocateFailed;
    } catch (const std::length_error&) {
        Clear();
        return ReadError::AllocateFailed;
    }
    return ReadError::None;
}

void TextDb::ReadTexts(QIODevice& device, qint64 size, const std::vector<std::uint32_t>& offsets) {
    FileWindow window(device, size);
    texts_.reserve(offsets.size());
    // The run of file bytes [runFileStart, runFileEnd) copied to pool_ at runPoolStart.
    qint64 runFileStart = 0;
    qint64 runFileEnd = -1;
    std::size_t runPoolStart = 0;
    for (const std::uint32_t offset : offsets) {
        if (offset >= window.size()) {
            texts_.push_back(std::uint64_t{pool_.size()} << 7);
            continue;
        }
        if (offset > runFileEnd) {
            runFileStart = offset;
            runFileEnd = offset;
            runPoolStart = pool_.size();
        }
        const qint64 wantedEnd = std::min<qint64>(window.size(), qint64{offset} + kMaxTextLength);
        if (wantedEnd > runFileEnd) {
            window.AppendBytes(runFileEnd, wantedEnd - runFileEnd, pool_);
            runFileEnd = runFileStart + static_cast<qint64>(pool_.size() - runPoolStart);
        }
        const std::size_t begin = runPoolStart + static_cast<std::size_t>(offset - runFileStart);
        const std::size_t available =
            static_cast<std::size_t>(std::clamp<qint64>(runFileEnd - offset, 0, kMaxTextLength));
        const void* nul = std::memchr(pool_.data() + begin, '\0', available);
        const std::size_t length =
            nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - (pool_.data() + begin))
                : available;
        texts_.push_back((std::uint64_t{begin} << 7) | length);
    }
}

std::string_view TextDb::TextAt(std::uint32_t textIndex) const {
    const std::uint64_t packed = texts_[textIndex];
    return std::string_view(pool_).substr(packed >> 7, packed & 0x7F);
}

TextDbEntry TextDb::entry(std::uint32_t index) const {
    TextDbEntry result;
    std::string_view text;
    if (index < slots_.size()) {
        result.id = slots_[index].id;
        result.offset = slots_[index].offset;
        text = TextAt(slots_[index].text);
    } else if (index < count_) {
        text = TextAt(tailText_);
    }
    // An index past the count has no text, and no text pointer to copy from.
    if (!text.empty()) std::memcpy(result.text, text.data(), text.size());
    return result;
}

std::optional<std::string_view> TextDb::FindText(std::int32_t textId) const {
    const auto found = firstIndex_.constFind(textId);
    if (found == firstIndex_.constEnd()) return std::nullopt;
    const std::uint32_t index = found.value();
    return index < slots_.size() ? TextAt(slots_[index].text) : TextAt(tailText_);
}
