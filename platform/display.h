// Whether windows can be shown at all, asked before the window toolkit starts: Qt's X11 back end
// ends the process when it cannot reach a display, so the dialog run asks first and reports.
#pragma once

#include <string>

namespace platform {

// True when a window toolkit started now can show a window. False with a reason otherwise.
bool IsDisplayAvailable(std::string& reason);

}  // namespace platform
