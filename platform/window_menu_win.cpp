#include <windows.h>

#include "platform/window_menu.h"

namespace platform {

bool AppendToNativeWindowMenu(std::uintptr_t window, unsigned command, const std::string& text) {
  HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(window), FALSE);
  if (menu == nullptr) return false;
  if (text.empty()) return AppendMenuA(menu, MF_SEPARATOR, 0, nullptr) != FALSE;
  return AppendMenuA(menu, MF_STRING, command, text.c_str()) != FALSE;
}

bool ReadSystemCommand(const void* nativeMessage, unsigned& command, long& parameter) {
  const MSG* message = static_cast<const MSG*>(nativeMessage);
  if (message == nullptr || message->message != WM_SYSCOMMAND) return false;
  command = static_cast<unsigned>(message->wParam);
  parameter = static_cast<long>(message->lParam);
  return true;
}

}  // namespace platform
