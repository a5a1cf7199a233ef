#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>

// A drawing helper is a program that reads a file from outside on its
// standard input and answers on its standard output with one tag byte and
// what follows it: the picture drawn, or the message of its refusal (UTF-8).
// Whatever the drawing library does with the file (draw for minutes, take
// gigabytes, crash), it does it in the helper, and the program waits at most
// a time limit and keeps its own memory whole.
inline constexpr char kHelperDrewTag = 'D';
inline constexpr char kHelperRefusedTag = 'R';

struct HelperAnswer {
    enum class Ending {
        Drawn,       // `bytes` holds the picture
        Refused,     // `message` holds the helper's refusal
        TooSlow,     // still running when the time was up; it was killed
        Failed,      // it crashed, ended with an error, or said too much or nonsense
        NotStarted,  // the program could not be run
    };
    Ending ending = Ending::Failed;
    QByteArray bytes;
    QString message;
};

// Runs `program` with `arguments` on `input`; the answer may hold at most
// `maxBytes` after its tag.
HelperAnswer RunDrawingHelper(const QString& program, const QStringList& arguments,
                              const QByteArray& input, std::chrono::milliseconds timeLimit,
                              qint64 maxBytes);
