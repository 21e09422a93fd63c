// Finds where the characters of double-byte text begin, 64 bytes at a time and without a branch
// per character: a loop that asks byte by byte whether a lead byte stands there is mispredicted
// wherever ASCII and double-byte characters take turns, which in such text is every few bytes.
//
// From a place where a character begins, a run of bytes that can lead alternates lead, trail,
// lead...: any byte after a lead byte is its trail, and the byte before the run cannot be a lead.
// So the leads are the bytes at even distance from the start of their run.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define MIROVEX_DOUBLE_BYTE_SSE2 1
#endif

namespace double_byte_blocks {

inline constexpr std::size_t kBlock = 64;

// The lead bytes of a code page as at most three ranges, the most that the pages have.
struct LeadRanges {
  int count = 0;
  unsigned char low[3] = {};
  unsigned char high[3] = {};
};

// False when the lead bytes do not fit into three ranges.
inline bool DescribeLeadRanges(const std::array<bool, 256>& isLead, LeadRanges& ranges) {
  ranges = {};
  for (unsigned byte = 0; byte < 256; ++byte) {
    if (!isLead[byte]) continue;
    if (ranges.count > 0 && ranges.high[ranges.count - 1] + 1u == byte) {
      ranges.high[ranges.count - 1] = static_cast<unsigned char>(byte);
      continue;
    }
    if (ranges.count == 3) return false;
    ranges.low[ranges.count] = static_cast<unsigned char>(byte);
    ranges.high[ranges.count] = static_cast<unsigned char>(byte);
    ++ranges.count;
  }
  return true;
}

// One bit per byte of the block (bit i for byte i): set where the byte can lead.
inline std::uint64_t LeadCandidates(const unsigned char* block, const LeadRanges& ranges) {
#ifdef MIROVEX_DOUBLE_BYTE_SSE2
  std::uint64_t candidates = 0;
  for (std::size_t part = 0; part < kBlock / 16; ++part) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + part * 16));
    __m128i inside = _mm_setzero_si128();
    for (int range = 0; range < ranges.count; ++range) {
      const __m128i low = _mm_set1_epi8(static_cast<char>(ranges.low[range]));
      const __m128i high = _mm_set1_epi8(static_cast<char>(ranges.high[range]));
      // Unsigned low <= byte <= high.
      const __m128i aboveLow = _mm_cmpeq_epi8(_mm_max_epu8(bytes, low), bytes);
      const __m128i belowHigh = _mm_cmpeq_epi8(_mm_min_epu8(bytes, high), bytes);
      inside = _mm_or_si128(inside, _mm_and_si128(aboveLow, belowHigh));
    }
    candidates |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(inside)))
                  << (part * 16);
  }
  return candidates;
#else
  std::uint64_t candidates = 0;
  for (std::size_t at = 0; at < kBlock; ++at) {
    bool inside = false;
    for (int range = 0; range < ranges.count; ++range) {
      inside = inside || (block[at] >= ranges.low[range] && block[at] <= ranges.high[range]);
    }
    candidates |= static_cast<std::uint64_t>(inside) << at;
  }
  return candidates;
#endif
}

// The leads among the candidates of a block that begins where a character begins.
inline std::uint64_t Leads(std::uint64_t candidates) {
  constexpr std::uint64_t kEven = 0x5555555555555555ull;
  constexpr std::uint64_t kOdd = ~kEven;
  const std::uint64_t starts = candidates & ~(candidates << 1);
  // Adding a run's start bit clears the whole run (the carry runs off its end): this picks out
  // the runs that start at an even place, and those that start at an odd one.
  const std::uint64_t evenRuns = candidates & ~(candidates + (starts & kEven));
  const std::uint64_t oddRuns = candidates & ~(candidates + (starts & kOdd));
  return (evenRuns & kEven) | (oddRuns & kOdd);
}

// One bit per byte: set where the byte has its high bit set.
inline std::uint64_t HighBytes(const unsigned char* block) {
#ifdef MIROVEX_DOUBLE_BYTE_SSE2
  std::uint64_t high = 0;
  for (std::size_t part = 0; part < kBlock / 16; ++part) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + part * 16));
    high |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(bytes)))
            << (part * 16);
  }
  return high;
#else
  std::uint64_t high = 0;
  for (std::size_t at = 0; at < kBlock; ++at) high |= static_cast<std::uint64_t>(block[at] >> 7) << at;
  return high;
#endif
}

}  // namespace double_byte_blocks
