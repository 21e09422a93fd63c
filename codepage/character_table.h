// The conversion of single characters between one pair of code pages, asked of the code page
// services once per character and kept. Converting a line character by character with it gives
// the same bytes as converting the line whole, for pairs whose source splits into characters on
// its own (single-byte, lead + trail, UTF-8) and whose target encodes each character on its own.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "codepage/code_page.h"
#include "platform/codepage_services.h"

class CharacterTable {
 public:
  // The converted bytes of one character, packed: up to three bytes inline (b0 | b1 << 8 |
  // b2 << 16) with their count in bits 24-25, or flags that send the caller elsewhere.
  using Entry = std::uint32_t;
  static constexpr Entry kLengthShift = 24;
  static constexpr Entry kPooled = 1u << 26;       // the bytes are in the pool, see Pooled()
  static constexpr Entry kHasLineFeed = 1u << 27;  // the bytes hold an LF (written as CR LF)
  static constexpr Entry kTruncates = 1u << 28;    // a NUL ends the text here: drop what follows
  static constexpr Entry kUnusable = 1u << 29;     // the services gave no answer: convert whole
  static constexpr Entry kTransient = 1u << 30;    // pooled until the next transient entry
  static constexpr Entry kLeadByte = 1u << 31;     // in PlainEntries(): a lead byte, see Pair()
  static constexpr Entry kSpecial =
      kPooled | kHasLineFeed | kTruncates | kUnusable | kTransient | kLeadByte;
  static constexpr Entry kUnknown = 0xFFFFFFFFu;

  // A table for the pair, or nullptr when the pair must be converted a whole text at a time.
  static std::unique_ptr<CharacterTable> Create(CodePage source, CodePage target);

  platform::CodePageShape SourceShape() const { return sourceLayout_.shape; }
  bool IsLeadByte(unsigned char byte) const { return sourceLayout_.isLeadByte[byte]; }
  // True when the target writes one byte per character: every plain entry is one byte long.
  bool WritesOneByte() const { return writesOneByte_; }
  // True when every byte 01-7F but LF stands for itself in both pages.
  bool KeepsAscii() const { return keepsAscii_; }

  // A single byte (for a lead byte: the lead byte alone at the end of a line).
  Entry Byte(unsigned char byte) const { return bytes_[byte]; }
  // As arrays of 256, for loops that keep them in registers: the single bytes, and the same
  // but kLeadByte for a lead byte, so that one lookup tells both.
  const Entry* ByteEntries() const { return bytes_.data(); }
  const Entry* PlainEntries() const { return plainBytes_.data(); }
  // The pairs as one array, at lead << 8 | trail (kUnknown where not converted yet), for loops
  // that keep it in a register; the bytes that do not lead stand at their own value (lead byte 0
  // is none).
  const Entry* PairEntries() const { return pairs_.get(); }
  const std::array<bool, 256>& LeadBytes() const { return sourceLayout_.isLeadByte; }
  // A lead byte with its trail. A CR or LF after a lead byte gives kUnusable: whether it is the
  // trail or the line end only the whole line tells, so such a line goes to the services.
  Entry Pair(unsigned char lead, unsigned char trail) {
    Entry& entry = pairs_[static_cast<std::size_t>(lead) << 8 | trail];
    if (entry == kUnknown) {
      const char text[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      entry = Compute(text, 2);
    }
    return entry;
  }
  // A BMP code point if it has been converted before, else kUnknown (special).
  Entry PeekCodePoint(std::uint32_t codePoint) const {
    if (codePoint >= 0x10000) return kUnknown;
    const Entry* row = codePointRows_[codePoint >> 8].get();
    return row != nullptr ? row[codePoint & 0xFF] : kUnknown;
  }
  // A UTF-8 sequence of `length` bytes whose code point is `codePoint`.
  Entry CodePointOf(std::uint32_t codePoint, const char* sequence, std::size_t length) {
    // Characters beyond the BMP are rare: converted each time, not kept.
    if (codePoint >= 0x10000) return Compute(sequence, length, true);
    Entry& entry = Row(codePointRows_, codePoint >> 8)[codePoint & 0xFF];
    if (entry == kUnknown) entry = Compute(sequence, length);
    return entry;
  }

  static std::size_t Length(Entry entry) { return (entry >> kLengthShift) & 3u; }
  // The bytes of a pooled or flagged entry.
  std::string_view Bytes(Entry entry) const;

 private:
  CharacterTable(CodePage source, CodePage target, platform::CodePageLayout layout,
                 bool writesOneByte);
  Entry Compute(const char* text, std::size_t length, bool transient = false);

  // Rows of 256 entries, made when first needed: a text touches few of them.
  using Rows = std::array<std::unique_ptr<Entry[]>, 256>;
  static Entry* Row(Rows& rows, std::size_t index) {
    std::unique_ptr<Entry[]>& row = rows[index];
    if (!row) {
      row.reset(new Entry[256]);
      std::fill(row.get(), row.get() + 256, kUnknown);
    }
    return row.get();
  }

  CodePage source_;
  CodePage target_;
  platform::CodePageLayout sourceLayout_;
  bool keepsAscii_ = false;
  bool writesOneByte_ = false;
  std::vector<Entry> bytes_;
  std::array<Entry, 256> plainBytes_{};
  // For lead + trail sources, every pair at lead << 8 | trail: one lookup, no row to find first.
  std::unique_ptr<Entry[]> pairs_;
  Rows codePointRows_;  // for UTF-8 sources, the BMP by high byte
  std::string pool_;               // [length byte][bytes] for results longer than three bytes
  std::string transientPool_;      // the same for the last transient entry
};
