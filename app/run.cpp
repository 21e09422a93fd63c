#include "app/run.h"

#include <cstdio>
#include <cstring>

#include "app/exit_codes.h"
#include "app/file_conversion.h"
#include "app/output_path.h"
#include "app/run_failure.h"
#include "platform/runtime.h"
#include "res/strings.h"
#include "settings/settings_file.h"

namespace {

constexpr int kDialogOk = 1;
constexpr CodePage kDefaultSource = 932;
constexpr CodePage kDefaultTarget = 936;

void PrintFailure(const std::string& message) {
  std::fprintf(stderr, "%s%s\n", kMessagePrefix, message.c_str());
}

}  // namespace

int RunMirovex(int argc, const char* const* argv, ConfigurationDialogStep showDialog) {
  if (!platform::InitializeRuntime()) {
    std::printf("%s", kFatalInitialization);
    return kExitInitFailed;
  }

  const bool plainRun = argc == 2;
  const bool dialogRun = argc == 3 && std::strcmp(argv[1], kDialogSwitch) == 0;
  if (!plainRun && !dialogRun) {
    std::printf("%s", kUsageLine1);
    std::printf("%s", kUsageLine2);
    return kExitOk;
  }
  const std::string inputPath = argv[dialogRun ? 2 : 1];
  const std::string outputPath = MakeOutputPath(inputPath);

  CodePage source = kDefaultSource;
  CodePage target = kDefaultTarget;
  const std::string settingsPath = GetSettingsPath();
  LoadSettings(settingsPath, source, target);

  if (dialogRun) {
    CodePage chosenSource = source;
    CodePage chosenTarget = target;
    std::string failureReason;
    const int result = showDialog != nullptr
                           ? showDialog(inputPath, chosenSource, chosenTarget, failureReason)
                           : -1;
    if (result != kDialogOk) {
      SaveSettings(settingsPath, source, target, kFormatAfterCancel);
      if (result >= 0) return kExitOk;
      PrintFailure(FormatMessage(MIROVEX_MSG_DIALOG_FAILED, failureReason.c_str()));
      return kExitDialogFailed;
    }
    source = chosenSource;
    target = chosenTarget;
  }

  try {
    ConvertFile(inputPath, outputPath, source, target);
  } catch (const RunFailure& failure) {
    PrintFailure(failure.what());
    return failure.ExitCode();
  }
  SaveSettings(settingsPath, source, target, kFormatAfterConversion);
  return kExitOk;
}
