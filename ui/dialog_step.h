// The configuration dialog as one step of a run (see ConfigurationDialogStep).
#pragma once

#include <string>

#include "codepage/code_page.h"

int ShowConfigurationDialog(const std::string& inputPath, CodePage& source, CodePage& target,
                            std::string& failureReason);
