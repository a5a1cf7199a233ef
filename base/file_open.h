#pragma once

#include <QFile>
#include <QString>

// Opens a regular file for reading. A folder, a FIFO, a device or any other
// kind of file is refused at once, without blocking; so is a missing one.
bool OpenRegularFileForReading(const QString& path, QFile& file);

// Whether two paths name the same existing file, through links and other
// names of it alike.
bool IsSameExistingFile(const QString& first, const QString& second);
