// The dialog as a module of its own, which the program loads only for a dialog run.
#include <cstdint>
#include <cstring>
#include <string>

#include "ui/dialog_module.h"
#include "ui/dialog_step.h"

extern "C" MIROVEX_DIALOG_EXPORT int MirovexShowConfigurationDialog(const char* inputPath,
                                                                    std::uint32_t* source,
                                                                    std::uint32_t* target,
                                                                    char* failureReason,
                                                                    std::size_t reasonSize) {
  CodePage chosenSource = *source;
  CodePage chosenTarget = *target;
  std::string reason;
  const int result = ShowConfigurationDialog(inputPath, chosenSource, chosenTarget, reason);
  *source = chosenSource;
  *target = chosenTarget;
  if (reasonSize > 0) {
    const std::size_t length = reason.size() < reasonSize - 1 ? reason.size() : reasonSize - 1;
    std::memcpy(failureReason, reason.data(), length);
    failureReason[length] = '\0';
  }
  return result;
}
