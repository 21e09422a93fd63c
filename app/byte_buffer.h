// A fixed-size byte buffer that is not cleared when made: the reader and the writer fill it
// before they read it, and clearing a megabyte costs a small file more than converting it.
#pragma once

#include <cstddef>
#include <memory>

class ByteBuffer {
 public:
  explicit ByteBuffer(std::size_t size) : bytes_(new char[size]), size_(size) {}

  char* data() { return bytes_.get(); }
  const char* data() const { return bytes_.get(); }
  std::size_t size() const { return size_; }
  char& operator[](std::size_t index) { return bytes_[index]; }
  char operator[](std::size_t index) const { return bytes_[index]; }

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_;
};
