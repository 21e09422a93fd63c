#include "platform/window_menu.h"

namespace platform {

bool AppendToNativeWindowMenu(std::uintptr_t, unsigned, const std::string&) { return false; }

bool ReadSystemCommand(const void*, unsigned&, long&) { return false; }

}  // namespace platform
