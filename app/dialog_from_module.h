// The dialog run's step in the program: the dialog lives in a module of its own, loaded only
// now, so a plain run never loads the window toolkit.
#pragma once

#include <string>

#include "codepage/code_page.h"

int ShowConfigurationDialogFromModule(const std::string& inputPath, CodePage& source,
                                      CodePage& target, std::string& failureReason);
