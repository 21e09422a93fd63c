// Files on Windows.
#include <windows.h>

#include "platform/files.h"

namespace platform {
namespace {

HANDLE H(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.find_last_of("\\/:");
  if (slash == std::string::npos) return ".";
  return path.substr(0, slash + 1);
}

std::string TemporaryBeside(const std::string& path) {
  char name[MAX_PATH];
  if (GetTempFileNameA(DirectoryOf(path).c_str(), "mvx", 0, name) == 0) return std::string();
  return name;
}

bool WriteAll(HANDLE handle, const char* data, std::size_t size) {
  while (size > 0) {
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(handle, data, chunk, &written, nullptr)) return false;
    data += written;
    size -= written;
  }
  return true;
}

}  // namespace

std::string LastSystemError() {
  char text[512] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 GetLastError(), 0, text, sizeof text, nullptr);
  std::string message(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == '.')) {
    message.pop_back();
  }
  return message;
}

InputFile::~InputFile() { Close(); }

bool InputFile::Open(const std::string& path) {
  Close();
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error_ = LastSystemError();
    return false;
  }
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    error_ = "is not a regular file";
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(handle);
  return true;
}

std::ptrdiff_t InputFile::Read(char* buffer, std::size_t capacity) {
  const DWORD chunk = capacity > 0x40000000 ? 0x40000000 : static_cast<DWORD>(capacity);
  DWORD count = 0;
  if (!ReadFile(H(handle_), buffer, chunk, &count, nullptr)) {
    error_ = LastSystemError();
    return -1;
  }
  return static_cast<std::ptrdiff_t>(count);
}

void InputFile::Close() {
  if (handle_ != -1) CloseHandle(H(handle_));
  handle_ = -1;
}

ReplacingOutputFile::~ReplacingOutputFile() { Abandon(); }

bool ReplacingOutputFile::Create(const std::string& path) {
  Abandon();
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    error_ = "is a directory";
    return false;
  }
  temporaryPath_ = TemporaryBeside(path);
  if (temporaryPath_.empty()) {
    error_ = LastSystemError();
    return false;
  }
  HANDLE handle = CreateFileA(temporaryPath_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error_ = LastSystemError();
    DeleteFileA(temporaryPath_.c_str());
    temporaryPath_.clear();
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(handle);
  path_ = path;
  return true;
}

bool ReplacingOutputFile::Write(const char* data, std::size_t size) {
  if (handle_ == -1 || !WriteAll(H(handle_), data, size)) {
    error_ = handle_ == -1 ? std::string("not open") : LastSystemError();
    return false;
  }
  return true;
}

bool ReplacingOutputFile::Commit() {
  if (handle_ == -1) {
    error_ = "not open";
    return false;
  }
  const bool flushed = FlushFileBuffers(H(handle_)) != FALSE;
  const bool closed = CloseHandle(H(handle_)) != FALSE;
  handle_ = -1;
  if (!flushed || !closed ||
      !MoveFileExA(temporaryPath_.c_str(), path_.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error_ = LastSystemError();
    Abandon();
    return false;
  }
  temporaryPath_.clear();
  return true;
}

void ReplacingOutputFile::Abandon() {
  if (handle_ != -1) CloseHandle(H(handle_));
  handle_ = -1;
  if (!temporaryPath_.empty()) DeleteFileA(temporaryPath_.c_str());
  temporaryPath_.clear();
}

PrivateFileRead ReadPrivateFile(const std::string& path, std::size_t limit) {
  PrivateFileRead result;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return result;
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) {
    result.status = PrivateFileStatus::kNotRegular;
    result.error = "is not a regular file";
    return result;
  }
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    result.status = PrivateFileStatus::kError;
    result.error = LastSystemError();
    return result;
  }
  result.contents.resize(limit);
  DWORD count = 0;
  const DWORD chunk = limit > 0x40000000 ? 0x40000000 : static_cast<DWORD>(limit);
  if (ReadFile(handle, result.contents.data(), chunk, &count, nullptr)) {
    result.contents.resize(count);
    result.status = PrivateFileStatus::kRead;
  } else {
    result.contents.clear();
    result.status = PrivateFileStatus::kError;
    result.error = LastSystemError();
  }
  CloseHandle(handle);
  return result;
}

std::string WritePrivateFile(const std::string& path, std::string_view contents) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
    return "is not a regular file";
  }
  ReplacingOutputFile file;
  if (!file.Create(path) || !file.Write(contents.data(), contents.size()) || !file.Commit()) {
    return file.Error();
  }
  return std::string();
}

}  // namespace platform
