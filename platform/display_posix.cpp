#include "platform/display.h"

#include <optional>

#include "platform/environment.h"

#ifdef MIROVEX_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace platform {

namespace {

bool IsSetAndNotEmpty(const std::optional<std::string>& value) {
  return value.has_value() && !value->empty();
}

// Connects to the X server the way Qt's X11 back end will, and lets go again. Some X servers
// (Xvfb among them) now and then close a new connection right after its setup, so one refused
// connection is not taken as the answer.
bool CanConnectToX(const std::string& display, std::string& reason) {
#ifdef MIROVEX_HAVE_XCB
  constexpr int kAttempts = 3;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (error == 0) return true;
  }
  reason = "cannot connect to the X display \"" + display + "\"";
  return false;
#else
  static_cast<void>(display);
  static_cast<void>(reason);
  return true;
#endif
}

}  // namespace

bool IsDisplayAvailable(std::string& reason) {
  const std::optional<std::string> platformName = EnvironmentValue("QT_QPA_PLATFORM");
  const bool chosenPlatform = IsSetAndNotEmpty(platformName);
  // Another back end named explicitly (offscreen, wayland, vnc, ...) reports its own failures.
  if (chosenPlatform && platformName->rfind("xcb", 0) != 0) return true;

  const std::optional<std::string> x11Display = EnvironmentValue("DISPLAY");
  if (IsSetAndNotEmpty(x11Display)) return CanConnectToX(*x11Display, reason);
  if (!chosenPlatform && IsSetAndNotEmpty(EnvironmentValue("WAYLAND_DISPLAY"))) return true;

  reason = "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
  return false;
}

}  // namespace platform
