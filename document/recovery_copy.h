#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "document/menu_item_record.h"

// What a file on disk looked like when a document was loaded from it or
// saved to it: enough to tell later whether another program changed it since.
struct FileStamp {
    bool exists = false;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;  // since the epoch

    bool operator==(const FileStamp&) const = default;
    static FileStamp Of(const QString& path);
};

// The unsaved state of a document, as kept in a recovery file so that a
// killed editor loses nothing: the records, the string database's bytes when
// it has unsaved changes of its own, and the two files they belong to.
struct RecoveryCopy {
    std::int64_t writtenMs = 0;  // when the copy was made, since the epoch
    QString menuPath;            // where Save writes the records
    FileStamp menuStamp;         // that file when loaded or last saved
    QString textDbPath;
    FileStamp textDbStamp;
    std::vector<MenuItemRecord> records;
    // The string database as it would be saved, when it has unsaved changes.
    std::optional<QByteArray> textDbBytes;
};

// Why a recovery file was refused. A damaged or foreign file is set aside;
// one of a newer version of the program is left to that version, and one
// that could not be read just now (no memory for it, a failing disk) to a
// later start.
enum class RecoveryReadError { None, Foreign, NewerVersion, Damaged, Unreadable };

struct RecoveryReadResult {
    RecoveryCopy copy;
    RecoveryReadError error = RecoveryReadError::None;
};

// The file: a magic text and a version, the time, the two paths with their
// stamps, then sections of (kind, length, bytes): the records as the menu
// definition file would hold them, and optionally the string database's
// bytes. A CRC-32 of everything before it ends the file, so that a file cut
// short, torn or changed is never taken for a copy, nor loaded in part.
// Numbers are little-endian; paths are in the file system's own encoding.
QByteArray EncodeRecoveryCopy(const RecoveryCopy& copy);
RecoveryReadResult DecodeRecoveryCopy(const QByteArray& bytes);
