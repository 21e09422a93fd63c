// Files as the program needs them: a plain reader, an output that appears only when complete, and
// small private files (the settings).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Reads a file from start to end. Every failing call leaves a reason in Error().
class InputFile {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  // Opens an existing regular file for reading. False (with a reason) for anything else.
  bool Open(const std::string& path);
  // Reads up to `capacity` bytes; 0 at the end of the file; -1 on a read error.
  std::ptrdiff_t Read(char* buffer, std::size_t capacity);
  void Close();
  const std::string& Error() const { return error_; }

 private:
  std::intptr_t handle_ = -1;
  std::string error_;
};

// Writes a file under a temporary name in the destination's directory and moves it into place
// only when Commit succeeds, so an existing file is never left half-written or lost. Destroying it
// without a Commit removes the temporary file.
class ReplacingOutputFile {
 public:
  ReplacingOutputFile() = default;
  ReplacingOutputFile(const ReplacingOutputFile&) = delete;
  ReplacingOutputFile& operator=(const ReplacingOutputFile&) = delete;
  ~ReplacingOutputFile();

  bool Create(const std::string& path);
  bool Write(const char* data, std::size_t size);
  // Keeps an existing destination's permissions, flushes to disk before replacing it, and
  // renames into place.
  bool Commit();
  void Abandon();
  const std::string& Error() const { return error_; }

 private:
  std::intptr_t handle_ = -1;
  std::string path_;
  std::string temporaryPath_;
  std::string error_;
};

// The outcome of reading a small private file.
enum class PrivateFileStatus {
  kRead,          // contents holds (a prefix of) the file
  kMissing,       // there is no such file
  kNotRegular,    // a directory, link, device or pipe: left alone
  kForeignOwner,  // belongs to another user: left alone
  kError,         // could not be read; see error
};

struct PrivateFileRead {
  PrivateFileStatus status = PrivateFileStatus::kMissing;
  std::string contents;
  std::string error;
};

// Reads at most `limit` bytes of a file that must be a regular file of the current user; never
// follows a symbolic link and never blocks on a pipe.
PrivateFileRead ReadPrivateFile(const std::string& path, std::size_t limit);

// Replaces the file with `contents`, readable and writable by the user alone, through a temporary
// file and a rename; an existing file that is not a regular file of the user is left alone.
// Returns an empty string on success, else the reason.
std::string WritePrivateFile(const std::string& path, std::string_view contents);

// The text of the last system error, for messages.
std::string LastSystemError();

}  // namespace platform
