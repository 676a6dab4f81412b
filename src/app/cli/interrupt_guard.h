#pragma once
// Ctrl+C as the Cancel button. While an InterruptGuard lives, the first SIGINT only
// sets a flag that the running work polls (the handler does nothing else, so it is
// async-signal-safe); a second SIGINT ends the program as usual.

#include <csignal>

namespace arkivo::cli {

class InterruptGuard {
  public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    // True once SIGINT arrived while the guard was installed.
    static bool Interrupted();

  private:
    struct sigaction previous_ {};
};

}  // namespace arkivo::cli
