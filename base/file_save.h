#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at `path` with `bytes`, or leaves it exactly as it was.
// The bytes go to a new file beside it, which takes the old one's place only
// once every byte has been written and synced to the disk; then the folder is
// synced too, so that a save that returned true survives a power cut. A
// symbolic link is kept: the file it names is replaced. Refused: a path whose
// file is not a regular file (a device, a FIFO, a folder), and an existing
// file that is read-only, whoever the user is. Returns false when nothing was
// saved, and also when the folder could not be synced: the new bytes are in
// place then, but may not outlive a power cut, so the caller keeps them as
// unsaved.
bool SaveFileAtomically(const QString& path, const QByteArray& bytes);

// A save cut off by a kill or a crash leaves its new file behind, named
// ".NAME.kavel-save-PID-RANDOM" beside the file NAME it was to replace.
// Removes those in `folder` whose writing process is gone: those of the file
// `name`, or of every file when no name is given. A save still running in
// another process keeps its file, and no other file is ever touched.
void RemoveStaleSaveTemporaries(const QString& folder, const QString& name = QString());
