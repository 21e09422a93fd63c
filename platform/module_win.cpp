#include <windows.h>

#include "platform/files.h"
#include "platform/module.h"

namespace platform {

std::string ProgramDirectory() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return ".\\";
  std::string program(path, length);
  return program.substr(0, program.find_last_of("\\/") + 1);
}

std::string ModuleFileName(const std::string& name) { return name + ".dll"; }

void* LoadModuleFunction(const std::string& path, const char* symbol, std::string& failureReason) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) {
    failureReason = path + ": " + LastSystemError();
    return nullptr;
  }
  void* function = reinterpret_cast<void*>(GetProcAddress(module, symbol));
  if (function == nullptr) failureReason = path + " has no " + symbol;
  return function;
}

}  // namespace platform
