// POSIX: removes the temporary file being written when the process is interrupted (SIGINT,
// SIGTERM, SIGHUP), so that an interrupted run leaves nothing behind; the signal then takes its
// default course. One file at a time: the program writes one temporary file at a time.
#pragma once

#include <signal.h>

#include <string>

namespace platform {

// Remembers `path` for removal on interruption, installing the handlers on first use.
void RemoveOnInterrupt(const std::string& path);
// Forgets it (the file has been moved into place or removed).
void ForgetOnInterrupt();

// Holds the signals off while a temporary file is created and remembered, so that an interruption
// cannot fall between the two.
class InterruptBlock {
 public:
  InterruptBlock();
  ~InterruptBlock();
  InterruptBlock(const InterruptBlock&) = delete;
  InterruptBlock& operator=(const InterruptBlock&) = delete;

 private:
  sigset_t previous_;
};

}  // namespace platform
