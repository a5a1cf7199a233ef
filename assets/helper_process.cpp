#include "assets/helper_process.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <algorithm>

namespace {

// A killed helper is gone at once; the bound only keeps a process stuck in
// the kernel from holding the program too.
constexpr int kReapMilliseconds = 5000;

int MillisecondsLeft(const QDeadlineTimer& deadline) {
    return static_cast<int>(std::clamp<qint64>(deadline.remainingTime(), 0, 24 * 3600 * 1000));
}

}  // namespace

HelperAnswer RunDrawingHelper(const QString& program, const QStringList& arguments,
                              const QByteArray& input, std::chrono::milliseconds timeLimit,
                              qint64 maxBytes) {
    HelperAnswer answer;
    const QDeadlineTimer deadline(timeLimit.count());
    QProcess helper;
    // What it says on its error channel (a sanitizer's report, a library's
    // complaint) goes where the program's own would.
    helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    helper.start(program, arguments);
    if (!helper.waitForStarted(MillisecondsLeft(deadline)) &&
        helper.error() == QProcess::FailedToStart) {
        answer.ending = HelperAnswer::Ending::NotStarted;
        return answer;
    }
    // Written while the answer is read: a helper that answers before it has
    // read everything never blocks the program, nor the program it.
    helper.write(input);
    helper.closeWriteChannel();

    QByteArray received;
    bool tooMuch = false;
    bool timedOut = false;
    for (;;) {
        received += helper.readAllStandardOutput();
        if (received.size() > maxBytes + 1) {
            tooMuch = true;
            break;
        }
        if (helper.state() == QProcess::NotRunning) break;
        if (deadline.hasExpired()) {
            timedOut = true;
            break;
        }
        helper.waitForReadyRead(MillisecondsLeft(deadline));
    }
    if (helper.state() != QProcess::NotRunning) {
        helper.kill();
        helper.waitForFinished(kReapMilliseconds);
    }

    if (timedOut) {
        answer.ending = HelperAnswer::Ending::TooSlow;
        return answer;
    }
    const bool finished = helper.exitStatus() == QProcess::NormalExit && helper.exitCode() == 0;
    if (tooMuch || !finished || received.isEmpty()) return answer;
    const char tag = received.front();
    received.remove(0, 1);
    if (tag == kHelperDrewTag) {
        answer.ending = HelperAnswer::Ending::Drawn;
        answer.bytes = std::move(received);
    } else if (tag == kHelperRefusedTag) {
        answer.ending = HelperAnswer::Ending::Refused;
        answer.message = QString::fromUtf8(received);
    }
    return answer;
}
