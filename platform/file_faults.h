// A seam for tests: lets a test make the file layer's steps fail, as a full disk, a failing
// device or a vanished directory would, without touching the code above the layer. The program
// itself never sets a hook.
#pragma once

#include <functional>

namespace platform {

enum class FileStep {
  kInputRead,         // each read of the input
  kOutputCreate,      // creating the output's temporary file
  kOutputWrite,       // each write to the output
  kOutputCommit,      // flushing the output to disk, before it is moved into place
  kPrivateFileWrite,  // writing a private file (the settings)
};

// Called before each step: returns 0 to let it go on, or an errno value that the step fails with.
// It may also act on the world (remove a directory, raise a signal) before answering.
using FileFaultHook = std::function<int(FileStep step)>;

// Installs the hook; an empty one removes it.
void SetFileFaultHook(FileFaultHook hook);

// What the hook says about a step; 0 when there is no hook.
int FileFaultFor(FileStep step);

}  // namespace platform
