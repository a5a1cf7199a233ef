#include "document/recovery_copy.h"

#include <sys/stat.h>
#include <zlib.h>

#include <QFile>
#include <cstring>
#include <new>

#include "base/little_endian.h"
#include "document/menu_file.h"

namespace {

constexpr char kMagic[8] = {'K', 'A', 'V', 'E', 'L', 'R', 'C', 'V'};
constexpr std::uint32_t kVersion = 1;
constexpr std::uint32_t kRecordsSection = 1;
constexpr std::uint32_t kTextDbSection = 2;
// A path longer than this is no path of a file system.
constexpr std::uint32_t kLongestPath = 64 * 1024;
constexpr qsizetype kChecksumSize = 4;

std::uint32_t Checksum(const char* data, std::size_t size) {
    return static_cast<std::uint32_t>(
        crc32_z(crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(data), size));
}

class Writer {
  public:
    explicit Writer(QByteArray& out) : out_(out) {}
    void U32(std::uint32_t value) { little_endian::Append(out_, value); }
    void I64(std::int64_t value) {
        const auto bits = static_cast<std::uint64_t>(value);
        U32(static_cast<std::uint32_t>(bits));
        U32(static_cast<std::uint32_t>(bits >> 32));
    }
    void Text(const QString& text) {
        const QByteArray bytes = QFile::encodeName(text);
        U32(static_cast<std::uint32_t>(bytes.size()));
        out_.append(bytes);
    }
    void Stamp(const FileStamp& stamp) {
        U32(stamp.exists ? 1 : 0);
        I64(stamp.size);
        I64(stamp.modifiedNs);
    }

  private:
    QByteArray& out_;
};

// Reads forward through the bytes; any read past the end turns it bad, and
// every later read gives zeros.
class Reader {
  public:
    Reader(const char* data, qsizetype size) : data_(data), size_(size) {}
    bool bad() const { return bad_; }
    qsizetype left() const { return size_ - at_; }

    const char* Take(qsizetype count) {
        if (bad_ || count < 0 || count > left()) {
            bad_ = true;
            return nullptr;
        }
        const char* taken = data_ + at_;
        at_ += count;
        return taken;
    }
    std::uint32_t U32() {
        const char* at = Take(4);
        return at ? little_endian::Load<std::uint32_t>(at) : 0;
    }
    std::int64_t I64() {
        const std::uint64_t low = U32();
        const std::uint64_t high = U32();
        return static_cast<std::int64_t>(low | (high << 32));
    }
    QString Text() {
        const std::uint32_t size = U32();
        if (size > kLongestPath) bad_ = true;
        const char* at = Take(size);
        return at ? QFile::decodeName(QByteArray(at, size)) : QString();
    }
    FileStamp Stamp() {
        FileStamp stamp;
        const std::uint32_t exists = U32();
        if (exists > 1) bad_ = true;
        stamp.exists = exists == 1;
        stamp.size = I64();
        stamp.modifiedNs = I64();
        return stamp;
    }

  private:
    const char* data_;
    qsizetype size_;
    qsizetype at_ = 0;
    bool bad_ = false;
};

RecoveryReadResult Failed(RecoveryReadError error) {
    RecoveryReadResult result;
    result.error = error;
    return result;
}

}  // namespace

FileStamp FileStamp::Of(const QString& path) {
    FileStamp stamp;
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0) return stamp;
    stamp.exists = true;
    stamp.size = status.st_size;
    stamp.modifiedNs = std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec;
    return stamp;
}

QByteArray EncodeRecoveryCopy(const RecoveryCopy& copy) {
    const qsizetype recordBytes = static_cast<qsizetype>(copy.records.size()) * kMenuItemRecordSize;
    QByteArray out;
    out.reserve(recordBytes + (copy.textDbBytes ? copy.textDbBytes->size() : 0) + 1024);
    out.append(kMagic, sizeof kMagic);
    Writer writer(out);
    writer.U32(kVersion);
    writer.I64(copy.writtenMs);
    writer.Text(copy.menuPath);
    writer.Stamp(copy.menuStamp);
    writer.Text(copy.textDbPath);
    writer.Stamp(copy.textDbStamp);
    writer.U32(copy.textDbBytes ? 2 : 1);
    writer.U32(kRecordsSection);
    writer.I64(recordBytes);
    const qsizetype recordsAt = out.size();
    out.resize(recordsAt + recordBytes);
    StoreMenuItems(copy.records, out.data() + recordsAt);
    if (copy.textDbBytes) {
        writer.U32(kTextDbSection);
        writer.I64(copy.textDbBytes->size());
        out.append(*copy.textDbBytes);
    }
    writer.U32(Checksum(out.constData(), static_cast<std::size_t>(out.size())));
    return out;
}

RecoveryReadResult DecodeRecoveryCopy(const QByteArray& bytes) {
    if (bytes.size() < qsizetype(sizeof kMagic) + 4 ||
        std::memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0)
        return Failed(RecoveryReadError::Foreign);
    const std::uint32_t version = little_endian::Load<std::uint32_t>(bytes.constData() + 8);
    if (version > kVersion) return Failed(RecoveryReadError::NewerVersion);
    // Checked before anything else is believed: a damaged copy is never
    // loaded, not even in part.
    const qsizetype body = bytes.size() - kChecksumSize;
    if (version != kVersion || body < 12 ||
        Checksum(bytes.constData(), static_cast<std::size_t>(body)) !=
            little_endian::Load<std::uint32_t>(bytes.constData() + body))
        return Failed(RecoveryReadError::Damaged);

    Reader reader(bytes.constData() + 12, body - 12);
    RecoveryReadResult result;
    RecoveryCopy& copy = result.copy;
    copy.writtenMs = reader.I64();
    copy.menuPath = reader.Text();
    copy.menuStamp = reader.Stamp();
    copy.textDbPath = reader.Text();
    copy.textDbStamp = reader.Stamp();
    // The records, then the string database's bytes when it had changes.
    const std::uint32_t sections = reader.U32();
    if (sections < 1 || sections > 2) return Failed(RecoveryReadError::Damaged);
    for (std::uint32_t i = 0; i < sections && !reader.bad(); ++i) {
        const std::uint32_t kind = reader.U32();
        const std::int64_t size = reader.I64();
        if (kind != (i == 0 ? kRecordsSection : kTextDbSection) || size < 0 || size > reader.left())
            return Failed(RecoveryReadError::Damaged);
        const char* at = reader.Take(static_cast<qsizetype>(size));
        if (kind == kTextDbSection) {
            copy.textDbBytes = QByteArray(at, static_cast<qsizetype>(size));
            continue;
        }
        if (size == 0 || size % kMenuItemRecordSize != 0) return Failed(RecoveryReadError::Damaged);
        try {
            copy.records = DecodeMenuItems(QByteArray::fromRawData(at, size)).items;
        } catch (const std::bad_alloc&) {
            copy.records.clear();
        }
        if (copy.records.size() != static_cast<std::size_t>(size / kMenuItemRecordSize))
            return Failed(RecoveryReadError::Unreadable);
    }
    if (reader.bad() || reader.left() != 0 || copy.records.empty() || copy.menuPath.isEmpty())
        return Failed(RecoveryReadError::Damaged);
    return result;
}
