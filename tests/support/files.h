#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// Whole files for the tests; a file that cannot be read reads as empty.
inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A fresh folder; Write returns the path of the file it writes.
class Folder {
  public:
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString Write(const QString& name, const QByteArray& bytes) const {
        EXPECT_TRUE(WriteBytes(Path(name), bytes)) << name.toStdString();
        return Path(name);
    }

  private:
    QTemporaryDir dir_;
};
