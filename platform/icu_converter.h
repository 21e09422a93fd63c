// ICU converters set up to behave as Windows' services do with flags 0: best fit allowed, and
// Windows' default characters in place of ICU's own substitutes.
#pragma once

#include <unicode/ucnv.h>

#include <cstdint>
#include <memory>

namespace platform {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// A new converter for the code page, or nullptr when ICU has none for it.
ConverterPtr OpenConverter(std::uint32_t codePage);

}  // namespace platform
