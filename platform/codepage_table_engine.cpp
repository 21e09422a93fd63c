#include "platform/codepage_table_engine.h"

#include <cstdint>

namespace platform {

// Decoding with flags 0, as Windows does it:
//  - a lead byte takes the next byte as its trail whatever that byte is, and an undefined pair gives
//    one default character (932: 81 20 gives U+30FB, the space is consumed);
//  - except a NUL: it is never a trail. The lead byte alone gives the default character and the NUL
//    is read as U+0000, so a NUL-terminated text keeps its terminator and nothing after a NUL can
//    change what comes before it;
//  - a lead byte at the end of the input gives the default character.
std::size_t DecodeWithTable(const CodePageTable& table, const char* bytes, std::size_t length,
                            char16_t* output, std::size_t capacity) {
  if (output == nullptr) capacity = 0;
  const auto* in = reinterpret_cast<const unsigned char*>(bytes);
  std::size_t produced = 0;
  for (std::size_t i = 0; i < length; ++produced) {
    const unsigned char byte = in[i++];
    char16_t unit;
    const std::uint8_t row = table.leadRows != nullptr ? table.leadRows[byte] : 0;
    if (row == 0) {
      unit = table.byteUnits[byte];
    } else if (i < length && in[i] != 0) {
      unit = table.pairUnits[(std::size_t{row} - 1) * 256 + in[i++]];
    } else {
      unit = table.unicodeDefault;
    }
    if (produced < capacity) output[produced] = unit;
  }
  return produced;
}

// Encoding: the table holds the mapping or best fit of every unit, and the default byte for the
// rest, lone and paired surrogates alike (Windows writes one default byte per UTF-16 unit).
std::size_t EncodeWithTable(const CodePageTable& table, const char16_t* units, std::size_t length,
                            char* output, std::size_t capacity) {
  if (output == nullptr) capacity = 0;
  std::size_t produced = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const char16_t unit = units[i];
    const std::uint16_t bytes =
        table.unitBytes[std::size_t{table.blockOf[unit >> 8]} * 256 + (unit & 0xFFu)];
    if (bytes > 0xFF) {
      if (produced < capacity) output[produced] = static_cast<char>(bytes >> 8);
      ++produced;
    }
    if (produced < capacity) output[produced] = static_cast<char>(bytes & 0xFF);
    ++produced;
  }
  return produced;
}

}  // namespace platform
