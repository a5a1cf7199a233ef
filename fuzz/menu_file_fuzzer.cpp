// The menu definition reader: any bytes decode, and the records encode back to
// the same bytes (a trailing part shorter than a record comes back padded
// with zero bytes). Reading through a device gives the same records.

#include <QBuffer>

#include "document/menu_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes = FuzzBytes(data, size);
    const MenuReadResult decoded = DecodeMenuItems(bytes);
    if (size == 0) {
        FUZZ_CHECK(decoded.error == MenuReadError::NoRecords);
        FUZZ_CHECK(decoded.items.empty());
        return 0;
    }
    FUZZ_CHECK(decoded.error == MenuReadError::None);
    const std::size_t records = (size + kMenuItemRecordSize - 1) / kMenuItemRecordSize;
    FUZZ_CHECK(decoded.items.size() == records);
    FUZZ_CHECK(decoded.shortRecordBytes == static_cast<int>(size % kMenuItemRecordSize));
    for (const MenuItemRecord& record : decoded.items) FUZZ_CHECK(record.type[4] == '\0');

    const QByteArray encoded = EncodeMenuItems(decoded.items);
    FUZZ_CHECK(static_cast<std::size_t>(encoded.size()) == records * kMenuItemRecordSize);
    FUZZ_CHECK(encoded.left(bytes.size()) == bytes);
    for (qsizetype i = bytes.size(); i < encoded.size(); ++i) FUZZ_CHECK(encoded[i] == '\0');

    // A whole-record file is its own encoding, so it decodes to itself again.
    if (size % kMenuItemRecordSize == 0) {
        FUZZ_CHECK(encoded == bytes);
    } else {
        FUZZ_CHECK(EncodeMenuItems(DecodeMenuItems(encoded).items) == encoded);
    }

    QBuffer device(&bytes);
    FUZZ_CHECK(device.open(QIODevice::ReadOnly));
    const MenuReadResult read = ReadMenuItems(device);
    FUZZ_CHECK(read.error == MenuReadError::None);
    FUZZ_CHECK(EncodeMenuItems(read.items) == encoded);
    FUZZ_CHECK(read.shortRecordBytes == decoded.shortRecordBytes);

    QByteArray written;
    QBuffer out(&written);
    FUZZ_CHECK(out.open(QIODevice::WriteOnly));
    FUZZ_CHECK(WriteMenuItems(out, decoded.items));
    FUZZ_CHECK(written == encoded);
    return 0;
}
