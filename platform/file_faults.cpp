#include "platform/file_faults.h"

#include <utility>

namespace platform {
namespace {
FileFaultHook& Hook() {
  static FileFaultHook hook;
  return hook;
}
}  // namespace

void SetFileFaultHook(FileFaultHook hook) { Hook() = std::move(hook); }

int FileFaultFor(FileStep step) { return Hook() ? Hook()(step) : 0; }

}  // namespace platform
