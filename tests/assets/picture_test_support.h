#pragma once

#include <string>

#include "assets/picture_error.h"
#include "support/files.h"

// The bytes of one of the built-in picture files.
inline QByteArray BuiltinFile(const char* name) {
    return ReadBytes(QStringLiteral(":/pictures/") + QLatin1StringView(name));
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
