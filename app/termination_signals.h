#pragma once

#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGHUP and SIGINT (a logout, a shutdown, Ctrl+C in a
// terminal) into a call on the window's thread, so that the program can keep
// its unsaved work before it ends. The signal handler only writes the
// signal's number into a pipe, the one thing a handler may safely do; the
// event loop reads it and calls `received`. While the object lives, those
// signals no longer end the program by themselves.
class TerminationSignals {
  public:
    explicit TerminationSignals(std::function<void(int signal)> received);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

  private:
    std::function<void(int)> received_;
    QSocketNotifier* notifier_ = nullptr;
};
