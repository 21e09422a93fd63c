#include "app/dialog_from_module.h"

#include <cstdint>

#include "platform/module.h"
#include "ui/dialog_module.h"

int ShowConfigurationDialogFromModule(const std::string& inputPath, CodePage& source,
                                      CodePage& target, std::string& failureReason) {
  const std::string path = platform::ProgramDirectory() + platform::ModuleFileName(kDialogModuleName);
  const auto show = reinterpret_cast<DialogModuleFunction>(
      platform::LoadModuleFunction(path, kDialogFunctionName, failureReason));
  if (show == nullptr) {
    failureReason = "the dialog module is missing or broken: " + failureReason;
    return -1;
  }
  std::uint32_t chosenSource = source;
  std::uint32_t chosenTarget = target;
  char reason[512] = {};
  const int result = show(inputPath.c_str(), &chosenSource, &chosenTarget, reason, sizeof reason);
  if (result == 1) {
    source = chosenSource;
    target = chosenTarget;
  }
  if (result == -1) failureReason = reason;
  return result;
}
