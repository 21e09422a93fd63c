// The system's code page services, behind one small interface.
//
// Conventions (the same as the Windows services they stand for):
//  - a length of -1 means "up to and including the first NUL"; the count returned then includes the
//    terminator. With an explicit length no terminator is added or counted;
//  - an output capacity of 0 asks for the size only and writes nothing;
//  - 0 means failure: a code page that cannot be used here, an output that is too small, or a size
//    that does not fit an int.
// Characters that the target lacks and invalid source sequences never fail: they become the
// substitutes that Windows produces with flags 0 (best fit where known, else the default character).
#pragma once

#include <array>
#include <cstdint>

namespace platform {

int DecodeToUtf16(std::uint32_t codePage, const char* bytes, int byteCount, char16_t* units,
                  int unitCapacity);
int EncodeFromUtf16(std::uint32_t codePage, const char16_t* units, int unitCount, char* bytes,
                    int byteCapacity);

// How a code page's bytes form characters, for callers that convert a character at a time.
enum class CodePageShape {
  kSingleByte,  // every byte is one character
  kDoubleByte,  // a lead byte always takes the next byte with it, whatever that byte is
  kUtf8,        // UTF-8
  kOther,       // stateful or irregular: only whole texts can be converted
};

struct CodePageLayout {
  CodePageShape shape = CodePageShape::kOther;
  std::array<bool, 256> isLeadByte{};  // for kDoubleByte
};

CodePageLayout DescribeCodePage(std::uint32_t codePage);

// True when both directions of the code page can be used on this system.
bool IsCodePageUsable(std::uint32_t codePage);

// Reports every usable code page as a NUL-terminated decimal string, in ascending order of number,
// synchronously on the calling thread; stops early when the callback returns 0.
using CodePageCallback = int (*)(const char* decimalNumber);
bool ForEachInstalledCodePage(CodePageCallback callback);

}  // namespace platform
