// What a run returns. Documented in the README.
#pragma once

enum ExitCode : int {
  kExitOk = 0,                // converted, usage text shown, or dialog cancelled
  kExitInitFailed = 1,        // the runtime could not be set up
  kExitInputFailed = 2,       // the input cannot be opened or read, or is not supported
  kExitOutputFailed = 3,      // the output cannot be created or written
  kExitCodePageUnusable = 4,  // the source or target code page is not usable here
  kExitDialogFailed = 5,      // the configuration dialog could not be shown
};
