// Process-wide set-up of the platform layer.
#pragma once

namespace platform {

// Takes the user's locale and checks that the conversion data can be loaded. False when the
// program cannot work at all on this system.
bool InitializeRuntime();

}  // namespace platform
