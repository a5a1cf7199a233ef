#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>

// Runs a drawing library over a file from outside in a child process, so that
// whatever the library does with it (draw for minutes, take gigabytes, crash)
// the program waits at most `timeLimit` and keeps its own memory whole.
//
// `draw` runs in the child and returns the picture as encoded bytes, or
// raises PictureError, whose message is handed back.
struct IsolatedDrawing {
    enum class Ending {
        Drawn,    // `bytes` holds what draw returned
        Refused,  // draw raised a PictureError; `message` holds its message
        TooSlow,  // still drawing when the time was up; the child was stopped
        Failed,   // the child died, could not be started, or sent too much
    };
    Ending ending = Ending::Failed;
    QByteArray bytes;
    QString message;
};

IsolatedDrawing DrawIsolated(const std::function<QByteArray()>& draw,
                             std::chrono::milliseconds timeLimit, qint64 maxBytes);
