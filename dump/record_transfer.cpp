#include "dump/record_transfer.h"

#include "document/menu_file.h"

namespace dump {

QByteArray RecordsBytes(const std::vector<MenuItemRecord>& records) {
    return EncodeMenuItems(records);
}

std::optional<std::vector<MenuItemRecord>> RecordsFromBytes(const QByteArray& bytes) {
    if (bytes.isEmpty() || bytes.size() % kMenuItemRecordSize != 0) return std::nullopt;
    MenuReadResult read = DecodeMenuItems(bytes);
    if (read.error != MenuReadError::None) return std::nullopt;
    return std::move(read.items);
}

QByteArray RecordsText(const std::vector<MenuItemRecord>& records, const TextDb* textDb) {
    return WriteDump(records, static_cast<qint64>(records.size()) * kMenuItemRecordSize,
                     Format::Csv, textDb);
}

ReadResult RecordsFromText(const QByteArray& text) {
    ReadResult read = ReadDump(text, DetectFormat(QString(), text));
    if (read.problems.empty() && read.records.empty())
        read.problems.push_back({1, -1, {}, QStringLiteral("the dump holds no record")});
    return read;
}

}  // namespace dump
