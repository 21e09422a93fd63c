// Which ICU converter stands for which Windows code page on this system.
#pragma once

#include <cstdint>
#include <span>

namespace platform {

struct IcuConverterName {
  std::uint32_t codePage;
  const char* icuName;  // a canonical ICU name; never "cp" + number, which means IBM's tables there
};

// Ascending by code page; a code page that is absent has no converter here and cannot be used.
std::span<const IcuConverterName> IcuConverterNames();

// The ICU converter for a code page, or nullptr when there is none.
const char* IcuConverterNameFor(std::uint32_t codePage);

}  // namespace platform
