// The native window menu of a top-level window, where the window system keeps one (Windows). On
// X11 and Wayland the window manager owns that menu, and these calls do nothing.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Appends a separator (command 0, empty text) or a text entry to the window's own menu. False
// where there is no such menu.
bool AppendToNativeWindowMenu(std::uintptr_t window, unsigned command, const std::string& text);

// When `nativeMessage` (as the toolkit hands it over) is a window-menu command, its command
// identifier and second parameter.
bool ReadSystemCommand(const void* nativeMessage, unsigned& command, long& parameter);

}  // namespace platform
