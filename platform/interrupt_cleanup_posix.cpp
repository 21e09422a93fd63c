// Interruption clean-up on POSIX. The handler may only use async-signal-safe calls: the path lives
// in a static buffer, and the handler unlinks it and raises the signal again with the default
// action.
#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "platform/interrupt_cleanup.h"

namespace platform {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

char g_path[PATH_MAX + 1];
std::atomic<bool> g_armed{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void RemoveAndReraise(int signalNumber) {
  if (g_armed.load()) unlink(g_path);
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);  // delivered when the handler returns, and ends the process
}

// Takes over each signal whose disposition is still the default: one the caller chose to ignore
// (a background job's SIGINT) stays ignored, and a handler of someone else's stays in place.
void InstallHandlers() {
  for (const int signalNumber : kSignals) {
    struct sigaction current {};
    if (sigaction(signalNumber, nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
        (current.sa_flags & SA_SIGINFO) != 0) {
      continue;
    }
    struct sigaction action {};
    action.sa_handler = RemoveAndReraise;
    sigemptyset(&action.sa_mask);
    for (const int other : kSignals) sigaddset(&action.sa_mask, other);
    sigaction(signalNumber, &action, nullptr);
  }
}

sigset_t InterruptSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signalNumber : kSignals) sigaddset(&set, signalNumber);
  return set;
}

}  // namespace

void RemoveOnInterrupt(const std::string& path) {
  InstallHandlers();
  g_armed.store(false);
  // A longer path cannot have been created, so there is nothing to remember.
  if (path.size() >= sizeof g_path) return;
  std::memcpy(g_path, path.c_str(), path.size() + 1);
  g_armed.store(true);
}

void ForgetOnInterrupt() { g_armed.store(false); }

InterruptBlock::InterruptBlock() {
  const sigset_t set = InterruptSignals();
  sigprocmask(SIG_BLOCK, &set, &previous_);
}

InterruptBlock::~InterruptBlock() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }

}  // namespace platform
