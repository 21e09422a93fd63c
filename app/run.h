// The order of a run, from the command line to the exit code.
#pragma once

#include <string>

#include "codepage/code_page.h"

// Shows the configuration dialog for `inputPath` with the pair preselected. Returns 1 (OK: the
// chosen pair is in source and target), 2 (cancelled) or -1 (not shown: the reason is in
// `failureReason`). The dialog is gone when it returns.
using ConfigurationDialogStep = int (*)(const std::string& inputPath, CodePage& source,
                                        CodePage& target, std::string& failureReason);

int RunMirovex(int argc, const char* const* argv, ConfigurationDialogStep showDialog);
