#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at `path` with `bytes`, or leaves it exactly as it was.
// The bytes go to a new file beside it, which takes the old one's place only
// once every byte has been written and flushed. Refused: a path whose file is
// not a regular file (a device, a FIFO, a folder), and an existing file that
// is read-only, whoever the user is. Returns false when nothing was saved.
bool SaveFileAtomically(const QString& path, const QByteArray& bytes);
