#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <vector>

#include "platform/module.h"

namespace platform {

std::string ProgramDirectory() {
  std::vector<char> path(PATH_MAX + 1);
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return "./";
  std::string program(path.data(), static_cast<std::size_t>(length));
  return program.substr(0, program.find_last_of('/') + 1);
}

std::string ModuleFileName(const std::string& name) { return "lib" + name + ".so"; }

void* LoadModuleFunction(const std::string& path, const char* symbol, std::string& failureReason) {
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* error = dlerror();
    failureReason = error != nullptr ? error : "cannot load " + path;
    return nullptr;
  }
  void* function = dlsym(module, symbol);
  if (function == nullptr) failureReason = path + " has no " + symbol;
  return function;
}

}  // namespace platform
