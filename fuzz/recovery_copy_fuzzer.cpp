// The recovery file reader. Whatever the bytes, it answers without crashing;
// a copy it accepts is whole (at least one record, a path) and encodes back
// to a file it reads as the same copy. Random bytes rarely carry a right
// checksum, so each input is also read with its last four bytes made the
// checksum of the rest: the fuzzer then reaches the parts behind it.

#include <zlib.h>

#include "document/menu_file.h"
#include "document/recovery_copy.h"
#include "fuzz_support.h"

namespace {

void Check(const QByteArray& bytes) {
    const RecoveryReadResult read = DecodeRecoveryCopy(bytes);
    if (read.error != RecoveryReadError::None) return;
    const RecoveryCopy& copy = read.copy;
    FUZZ_CHECK(!copy.records.empty() && !copy.menuPath.isEmpty());
    const RecoveryReadResult again = DecodeRecoveryCopy(EncodeRecoveryCopy(copy));
    FUZZ_CHECK(again.error == RecoveryReadError::None);
    const RecoveryCopy& back = again.copy;
    FUZZ_CHECK(EncodeMenuItems(back.records) == EncodeMenuItems(copy.records));
    FUZZ_CHECK(back.writtenMs == copy.writtenMs && back.textDbBytes == copy.textDbBytes);
    FUZZ_CHECK(back.menuStamp == copy.menuStamp && back.textDbStamp == copy.textDbStamp);
    FUZZ_CHECK(back.menuPath == copy.menuPath && back.textDbPath == copy.textDbPath);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes = FuzzBytes(data, size);
    Check(bytes);
    if (bytes.size() >= 16) {
        const qsizetype body = bytes.size() - 4;
        const auto crc = static_cast<std::uint32_t>(
            crc32_z(0, reinterpret_cast<const Bytef*>(bytes.constData()), std::size_t(body)));
        little_endian::Store(bytes.data() + body, crc);
        Check(bytes);
    }
    return 0;
}
