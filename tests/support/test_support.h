// Shared helpers for the tests: a scratch directory, whole-file reads and writes, and running the
// program as a user would.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace testing_support {

// A fresh directory, removed with its contents when the object goes.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
// Names in a directory, sorted, without "." and "..".
std::vector<std::string> ListDirectory(const std::string& path);

struct ProgramResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs the Mirovex binary with `arguments` in `workingDirectory`; `environment` entries are set
// (an empty value unsets the variable) on top of the test's own environment.
ProgramResult RunMirovexProgram(const std::vector<std::string>& arguments,
                                const std::string& workingDirectory,
                                const std::map<std::string, std::string>& environment = {});

// The same with another copy of the program.
ProgramResult RunProgramAt(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingDirectory,
                           const std::map<std::string, std::string>& environment = {});

std::string TestDataPath(const std::string& name);

}  // namespace testing_support
