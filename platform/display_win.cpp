#include "platform/display.h"

namespace platform {

// Windows always has its desktop for an interactive process.
bool IsDisplayAvailable(std::string&) { return true; }

}  // namespace platform
