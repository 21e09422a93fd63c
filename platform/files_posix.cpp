// Files on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/file_faults.h"
#include "platform/files.h"
#include "platform/interrupt_cleanup.h"

namespace platform {
namespace {

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

// True when a test's fault hook fails the step; errno then holds its error.
bool Faulted(FileStep step) {
  const int error = FileFaultFor(step);
  if (error != 0) errno = error;
  return error != 0;
}

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

const char* FileKind(mode_t mode) {
  if (S_ISDIR(mode)) return "is a directory";
  if (S_ISFIFO(mode)) return "is a pipe";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device";
  if (S_ISSOCK(mode)) return "is a socket";
  if (S_ISLNK(mode)) return "is a symbolic link";
  return "is not a regular file";
}

mode_t CurrentUmask() {
  const mode_t mask = umask(0);
  umask(mask);
  return mask;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Creates a unique temporary file beside `path`; -1 on failure.
int CreateTemporaryBeside(const std::string& path, std::string& temporaryPath) {
  std::string pattern = DirectoryOf(path) + "/.mirovex-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  const int fd = mkostemp(buffer.data(), O_CLOEXEC);
  if (fd >= 0) temporaryPath.assign(buffer.data());
  return fd;
}

}  // namespace

std::string LastSystemError() { return std::strerror(errno); }

InputFile::~InputFile() { Close(); }

bool InputFile::Open(const std::string& path) {
  Close();
  // Non-blocking, so that a pipe without a writer cannot hang the open; refused just below.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    error_ = LastSystemError();
    return false;
  }
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    error_ = S_ISREG(status.st_mode) || status.st_mode == 0 ? LastSystemError()
                                                            : FileKind(status.st_mode);
    close(fd);
    return false;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  handle_ = fd;
  return true;
}

std::ptrdiff_t InputFile::Read(char* buffer, std::size_t capacity) {
  if (Faulted(FileStep::kInputRead)) {
    error_ = LastSystemError();
    return -1;
  }
  for (;;) {
    const ssize_t count = read(Fd(handle_), buffer, capacity);
    if (count >= 0) return count;
    if (errno == EINTR) continue;
    error_ = LastSystemError();
    return -1;
  }
}

void InputFile::Close() {
  if (handle_ >= 0) close(Fd(handle_));
  handle_ = -1;
}

ReplacingOutputFile::~ReplacingOutputFile() { Abandon(); }

bool ReplacingOutputFile::Create(const std::string& path) {
  Abandon();
  struct stat status {};
  if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
    error_ = FileKind(status.st_mode);
    return false;
  }
  // The temporary file is remembered before a signal can end the process, so it never outlives it.
  const InterruptBlock block;
  const int fd =
      Faulted(FileStep::kOutputCreate) ? -1 : CreateTemporaryBeside(path, temporaryPath_);
  if (fd < 0) {
    error_ = LastSystemError();
    return false;
  }
  RemoveOnInterrupt(temporaryPath_);
  handle_ = fd;
  path_ = path;
  return true;
}

bool ReplacingOutputFile::Write(const char* data, std::size_t size) {
  if (handle_ < 0) {
    error_ = "not open";
    return false;
  }
  if (Faulted(FileStep::kOutputWrite) || !WriteAll(Fd(handle_), data, size)) {
    error_ = LastSystemError();
    return false;
  }
  return true;
}

bool ReplacingOutputFile::Commit() {
  if (handle_ < 0) {
    error_ = "not open";
    return false;
  }
  const int fd = Fd(handle_);
  struct stat existing {};
  const bool replacing = stat(path_.c_str(), &existing) == 0;
  const mode_t mode = replacing ? (existing.st_mode & 07777) : (0666 & ~CurrentUmask());
  // Before an existing file is replaced, the new one must be on disk, or a crash right after
  // the rename could leave neither. A new file puts nothing at risk and is not waited for.
  if (Faulted(FileStep::kOutputCommit) || fchmod(fd, mode) != 0 || (replacing && fsync(fd) != 0)) {
    error_ = LastSystemError();
    Abandon();
    return false;
  }
  handle_ = -1;
  if (close(fd) != 0 || rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
    error_ = LastSystemError();
    unlink(temporaryPath_.c_str());
    ForgetOnInterrupt();
    temporaryPath_.clear();
    return false;
  }
  ForgetOnInterrupt();
  temporaryPath_.clear();
  return true;
}

void ReplacingOutputFile::Abandon() {
  if (handle_ >= 0) close(Fd(handle_));
  handle_ = -1;
  if (!temporaryPath_.empty()) {
    unlink(temporaryPath_.c_str());
    ForgetOnInterrupt();
  }
  temporaryPath_.clear();
}

PrivateFileRead ReadPrivateFile(const std::string& path, std::size_t limit) {
  PrivateFileRead result;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    if (errno == ENOENT) return result;
    result.status = errno == ELOOP ? PrivateFileStatus::kNotRegular : PrivateFileStatus::kError;
    result.error = errno == ELOOP ? "is a symbolic link" : LastSystemError();
    return result;
  }
  struct stat status {};
  if (fstat(fd, &status) != 0) {
    result.status = PrivateFileStatus::kError;
    result.error = LastSystemError();
  } else if (!S_ISREG(status.st_mode)) {
    result.status = PrivateFileStatus::kNotRegular;
    result.error = FileKind(status.st_mode);
  } else if (status.st_uid != geteuid()) {
    result.status = PrivateFileStatus::kForeignOwner;
    result.error = "belongs to another user";
  } else {
    result.contents.resize(limit);
    std::size_t filled = 0;
    while (filled < limit) {
      const ssize_t count = read(fd, result.contents.data() + filled, limit - filled);
      if (count < 0 && errno == EINTR) continue;
      if (count < 0) {
        result.status = PrivateFileStatus::kError;
        result.error = LastSystemError();
        break;
      }
      if (count == 0) break;
      filled += static_cast<std::size_t>(count);
    }
    result.contents.resize(filled);
    if (result.error.empty()) result.status = PrivateFileStatus::kRead;
  }
  close(fd);
  return result;
}

std::string WritePrivateFile(const std::string& path, std::string_view contents) {
  struct stat status {};
  if (lstat(path.c_str(), &status) == 0) {
    if (!S_ISREG(status.st_mode)) return FileKind(status.st_mode);
    if (status.st_uid != geteuid()) return "belongs to another user";
  }
  std::string temporaryPath;
  int fd = -1;
  {
    const InterruptBlock block;
    fd = CreateTemporaryBeside(path, temporaryPath);  // mode 0600
    if (fd >= 0) RemoveOnInterrupt(temporaryPath);
  }
  if (fd < 0) return LastSystemError();
  std::string error;
  if (Faulted(FileStep::kPrivateFileWrite) || !WriteAll(fd, contents.data(), contents.size())) {
    error = LastSystemError();
  }
  if (close(fd) != 0 && error.empty()) error = LastSystemError();
  if (error.empty() && rename(temporaryPath.c_str(), path.c_str()) != 0) error = LastSystemError();
  if (!error.empty()) unlink(temporaryPath.c_str());
  ForgetOnInterrupt();
  return error;
}

}  // namespace platform
