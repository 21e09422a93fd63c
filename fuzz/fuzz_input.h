// Takes the leading bytes of a fuzzer's input apart: small numbers first, the rest as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  // One byte as a number (0 once the input is used up).
  unsigned Byte() {
    if (rest_.empty()) return 0;
    const auto value = static_cast<unsigned char>(rest_.front());
    rest_.remove_prefix(1);
    return value;
  }
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};
