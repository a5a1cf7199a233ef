#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>

#include "assets/picture_error.h"

// The bytes of one of the built-in picture files.
inline QByteArray BuiltinFile(const char* name) {
    QFile file(QStringLiteral(":/pictures/") + QLatin1StringView(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Runs `action` and returns the message of the PictureError it raises, or
// "(no error)". A std::string, so that failures print readably.
template <typename Action>
std::string PictureErrorOf(Action action) {
    try {
        action();
    } catch (const PictureError& error) {
        return error.message().toStdString();
    }
    return "(no error)";
}
