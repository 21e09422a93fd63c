// Copies runs of ASCII from whole lines of text to the output as they are, a block of bytes at a
// time, turning each LF that has no CR before it into CR LF and counting the LFs passed. It
// serves pairs of code pages that both keep ASCII unchanged: most text is such runs.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define MIROVEX_ASCII_COPY_SSE2 1
#endif

namespace ascii_copy {

// The widest block: the output needs this much room beyond what the copied bytes take, since a
// block is stored whole before the bytes after its end are looked at.
inline constexpr std::size_t kOvershoot = 16;
// At most this many bytes from `at` to `stop` per call: the LF counts per byte lane of a block
// must not pass 255.
inline constexpr std::size_t kMaxSpan = 255 * 16 - 16;

// The bytes of [at, stop) are ASCII as long as none has its high bit set.
inline void CopyTail(const unsigned char* begin, const unsigned char*& at, const unsigned char* stop,
                     char*& out, std::uint64_t& lineFeeds) {
  while (at < stop && *at < 0x80) {
    if (*at == '\n') {
      ++lineFeeds;
      if (at == begin || at[-1] != '\r') *out++ = '\r';
    }
    *out++ = static_cast<char>(*at++);
  }
}

#ifdef MIROVEX_ASCII_COPY_SSE2

// Copies from `at` until it reaches `stop` (a block may take it past, never past `end`) or a byte
// that is not ASCII, which it stops at. `begin` is where the text starts: the byte before `at`,
// if any, tells whether an LF at `at` follows a CR. No more than kMaxSpan from `at` to `stop`.
inline void CopyAscii(const unsigned char* begin, const unsigned char*& at,
                      const unsigned char* stop, const unsigned char* end, char*& out,
                      std::uint64_t& lineFeeds) {
  // k bytes of 0xFF then zeros, read from kPrefixes + 16 - k.
  alignas(16) static constexpr unsigned char kPrefixes[32] = {
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  const __m128i lineFeed = _mm_set1_epi8('\n');
  const __m128i carriageReturn = _mm_set1_epi8('\r');
  // Per byte lane, minus the number of LFs passed (compare results are -1).
  __m128i counts = _mm_setzero_si128();
  const auto addCounts = [&] {
    const __m128i sums = _mm_sad_epu8(_mm_sub_epi8(_mm_setzero_si128(), counts), _mm_setzero_si128());
    lineFeeds += static_cast<std::uint64_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<std::uint64_t>(_mm_extract_epi16(sums, 4));
    counts = _mm_setzero_si128();
  };
  while (at < stop) {
    if (end - at < 16) {
      CopyTail(begin, at, stop, out, lineFeeds);
      break;
    }
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i before = at > begin ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(at - 1))
                                      : _mm_slli_si128(bytes, 1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
    const __m128i lineFeeds16 = _mm_cmpeq_epi8(bytes, lineFeed);
    const __m128i bare = _mm_andnot_si128(_mm_cmpeq_epi8(before, carriageReturn), lineFeeds16);
    const int stops = _mm_movemask_epi8(_mm_or_si128(bytes, bare));
    if (stops == 0) {
      counts = _mm_add_epi8(counts, lineFeeds16);
      at += 16;
      out += 16;
      continue;
    }
    const int kept = std::countr_zero(static_cast<unsigned>(stops));
    const __m128i prefix =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(kPrefixes + 16 - kept));
    counts = _mm_add_epi8(counts, _mm_and_si128(lineFeeds16, prefix));
    at += kept;
    out += kept;
    if (*at >= 0x80) break;
    // An LF without a CR before it. Rare: the counts are added up here, so that no lane can
    // pass 255 however many of these come between full blocks.
    out[0] = '\r';
    out[1] = '\n';
    out += 2;
    ++at;
    ++lineFeeds;
    addCounts();
  }
  addCounts();
}

#else

// The same, eight bytes at a time in a 64-bit word.
inline void CopyAscii(const unsigned char* begin, const unsigned char*& at,
                      const unsigned char* stop, const unsigned char* end, char*& out,
                      std::uint64_t& lineFeeds) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  const auto zeroBytes = [](std::uint64_t x) { return ~(((x & kLow7) + kLow7) | x | kLow7); };
  const auto countMarked = [](std::uint64_t highBits) { return ((highBits >> 7) * kOnes) >> 56; };
  while (std::endian::native == std::endian::little && at < stop && end - at >= 8) {
    std::uint64_t bytes;
    std::memcpy(&bytes, at, sizeof bytes);
    std::memcpy(out, &bytes, sizeof bytes);
    const std::uint64_t lineFeedBits = zeroBytes(bytes ^ ('\n' * kOnes));
    const std::uint64_t afterCr =
        zeroBytes(bytes ^ ('\r' * kOnes)) << 8 | (at > begin && at[-1] == '\r' ? 0x80 : 0);
    const std::uint64_t stops = (bytes & kHighBits) | (lineFeedBits & ~afterCr);
    if (stops == 0) {
      lineFeeds += countMarked(lineFeedBits);
      at += 8;
      out += 8;
      continue;
    }
    const int kept = std::countr_zero(stops) / 8;
    lineFeeds += countMarked(lineFeedBits & ((std::uint64_t{1} << (kept * 8)) - 1));
    at += kept;
    out += kept;
    if (*at >= 0x80) return;
    out[0] = '\r';
    out[1] = '\n';
    out += 2;
    ++at;
    ++lineFeeds;
  }
  CopyTail(begin, at, stop, out, lineFeeds);
}

#endif

}  // namespace ascii_copy
