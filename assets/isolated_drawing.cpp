#include "assets/isolated_drawing.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "assets/picture_error.h"

#if defined(__SANITIZE_ADDRESS__)
#define KAVEL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KAVEL_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

// The first byte the child sends says how its drawing ended.
constexpr char kDrawnTag = 'D';
constexpr char kRefusedTag = 'R';

bool WriteAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

void LimitChildMemory() {
#ifndef KAVEL_ADDRESS_SANITIZER
    // The address space is capped a fixed amount above what the child holds
    // already; the sanitizer's reserved shadow memory would not fit any cap.
    constexpr qint64 kChildMemoryBytes = 2LL * 1024 * 1024 * 1024;
    long pages = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
        std::fclose(statm);
    }
    if (pages <= 0) return;
    const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) +
                         static_cast<rlim_t>(kChildMemoryBytes);
    const rlimit cap{limit, limit};
    ::setrlimit(RLIMIT_AS, &cap);
#endif
}

[[noreturn]] void RunChild(int fd, const std::function<QByteArray()>& draw) {
    LimitChildMemory();
    char tag = 0;
    QByteArray payload;
    try {
        payload = draw();
        tag = kDrawnTag;
    } catch (const PictureError& error) {
        payload = error.message().toUtf8();
        tag = kRefusedTag;
    } catch (...) {
        ::_exit(2);
    }
    const bool sent = WriteAll(fd, &tag, 1) && WriteAll(fd, payload.constData(), payload.size());
    // No exit handlers: they belong to the program, not to this copy of it.
    ::_exit(sent ? 0 : 1);
}

}  // namespace

IsolatedDrawing DrawIsolated(const std::function<QByteArray()>& draw,
                             std::chrono::milliseconds timeLimit, qint64 maxBytes) {
    using Clock = std::chrono::steady_clock;
    IsolatedDrawing result;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return result;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return result;
    }
    if (child == 0) {
        ::close(fds[0]);
        RunChild(fds[1], draw);
    }
    ::close(fds[1]);

    QByteArray received;
    bool timedOut = false;
    bool tooMuch = false;
    const Clock::time_point deadline = Clock::now() + timeLimit;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        pollfd wanted{fds[0], POLLIN, 0};
        const int ready = ::poll(&wanted, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) break;
        if (ready == 0) {
            timedOut = true;
            break;
        }
        char chunk[64 * 1024];
        const ssize_t got = ::read(fds[0], chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;  // the end, or a broken pipe
        if (received.size() + got > maxBytes + 1) {
            tooMuch = true;
            break;
        }
        received.append(chunk, got);
    }
    ::close(fds[0]);
    if (timedOut || tooMuch) ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }

    if (timedOut) {
        result.ending = IsolatedDrawing::Ending::TooSlow;
        return result;
    }
    const bool finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (tooMuch || !finished || received.isEmpty()) return result;
    const char tag = received.front();
    received.remove(0, 1);
    if (tag == kDrawnTag) {
        result.ending = IsolatedDrawing::Ending::Drawn;
        result.bytes = std::move(received);
    } else if (tag == kRefusedTag) {
        result.ending = IsolatedDrawing::Ending::Refused;
        result.message = QString::fromUtf8(received);
    }
    return result;
}
