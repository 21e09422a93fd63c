// Parts of the program kept in a shared module of their own, loaded only when needed (the
// dialog: a plain run never loads the window toolkit).
#pragma once

#include <string>

namespace platform {

// The directory that holds the running program, with a separator at its end.
std::string ProgramDirectory();

// The file name a module called `name` has on this system ("libname.so", "name.dll").
std::string ModuleFileName(const std::string& name);

// Loads the module at `path` (kept loaded until the process ends) and returns the address of its
// exported function `symbol`; nullptr with a reason when either cannot be found.
void* LoadModuleFunction(const std::string& path, const char* symbol, std::string& failureReason);

}  // namespace platform
