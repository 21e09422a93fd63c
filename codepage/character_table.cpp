#include "codepage/character_table.h"

#include <algorithm>
#include <array>

using platform::CodePageShape;

std::unique_ptr<CharacterTable> CharacterTable::Create(CodePage source, CodePage target) {
  const platform::CodePageLayout sourceLayout = platform::DescribeCodePage(source);
  const platform::CodePageLayout targetLayout = platform::DescribeCodePage(target);
  if (sourceLayout.shape == CodePageShape::kOther || targetLayout.shape == CodePageShape::kOther ||
      !platform::IsCodePageUsable(source) || !platform::IsCodePageUsable(target)) {
    return nullptr;
  }
  return std::unique_ptr<CharacterTable>(new CharacterTable(
      source, target, sourceLayout, targetLayout.shape == CodePageShape::kSingleByte));
}

CharacterTable::CharacterTable(CodePage source, CodePage target, platform::CodePageLayout layout,
                               bool writesOneByte)
    : source_(source),
      target_(target),
      sourceLayout_(layout),
      writesOneByte_(writesOneByte),
      bytes_(256, kUnknown) {
  for (unsigned byte = 0; byte < 256; ++byte) {
    const char text = static_cast<char>(byte);
    if (sourceLayout_.shape != CodePageShape::kUtf8 || byte < 0x80) bytes_[byte] = Compute(&text, 1);
  }
  for (unsigned byte = 0; byte < 256; ++byte) {
    plainBytes_[byte] = sourceLayout_.isLeadByte[byte] ? kLeadByte : bytes_[byte];
  }
  if (sourceLayout_.shape == CodePageShape::kDoubleByte) {
    pairs_.reset(new Entry[std::size_t{1} << 16]);
    std::fill(pairs_.get(), pairs_.get() + (std::size_t{1} << 16), kUnknown);
    for (std::size_t lead = 1; lead < 256; ++lead) {
      pairs_[lead << 8 | '\r'] = kUnusable;
      pairs_[lead << 8 | '\n'] = kUnusable;
    }
    for (std::size_t byte = 0; byte < 256; ++byte) {
      if (!sourceLayout_.isLeadByte[byte]) pairs_[byte] = bytes_[byte];
    }
  }
  // LF never reaches the table: lines are split at it before they are converted.
  keepsAscii_ = true;
  for (unsigned byte = 1; byte < 0x80 && keepsAscii_; ++byte) {
    keepsAscii_ = byte == '\n' || (!sourceLayout_.isLeadByte[byte] &&
                                   bytes_[byte] == (byte | (Entry{1} << kLengthShift)));
  }
}

CharacterTable::Entry CharacterTable::Compute(const char* text, std::size_t length,
                                              bool transient) {
  std::array<char16_t, 8> units{};
  const int unitCount = platform::DecodeToUtf16(source_, text, static_cast<int>(length),
                                                units.data(), static_cast<int>(units.size()));
  if (unitCount <= 0) return kUnusable;
  // A U+0000 ends the text for the whole-line conversion: the rest of the line is dropped.
  const auto nulUnit = std::find(units.begin(), units.begin() + unitCount, u'\0');
  Entry flags = nulUnit != units.begin() + unitCount ? kTruncates : 0;
  const int keptUnits = static_cast<int>(nulUnit - units.begin());

  std::array<char, 32> bytes{};
  int byteCount = 0;
  if (keptUnits > 0) {
    byteCount = platform::EncodeFromUtf16(target_, units.data(), keptUnits, bytes.data(),
                                          static_cast<int>(bytes.size()));
    if (byteCount <= 0) return kUnusable;
  }
  const auto nulByte = std::find(bytes.begin(), bytes.begin() + byteCount, '\0');
  if (nulByte != bytes.begin() + byteCount) {
    flags |= kTruncates;
    byteCount = static_cast<int>(nulByte - bytes.begin());
  }
  if (std::find(bytes.begin(), bytes.begin() + byteCount, '\n') != bytes.begin() + byteCount) {
    flags |= kHasLineFeed;
  }
  // A table that promises one byte per character keeps any other length out of its plain entries.
  if (byteCount <= 3 && flags == 0 && (!writesOneByte_ || byteCount == 1)) {
    Entry entry = static_cast<Entry>(byteCount) << kLengthShift;
    for (int at = 0; at < byteCount; ++at) {
      entry |= static_cast<Entry>(static_cast<unsigned char>(bytes[static_cast<std::size_t>(at)]))
               << (8 * at);
    }
    return entry;
  }
  std::string& pool = transient ? transientPool_ : pool_;
  if (transient) pool.clear();
  const auto offset = static_cast<Entry>(pool.size());
  pool.push_back(static_cast<char>(byteCount));
  pool.append(bytes.data(), static_cast<std::size_t>(byteCount));
  return kPooled | flags | offset | (transient ? kTransient : 0);
}

std::string_view CharacterTable::Bytes(Entry entry) const {
  const std::string& pool = (entry & kTransient) != 0 ? transientPool_ : pool_;
  const Entry offset = entry & 0xFFFFFFu;
  return std::string_view(pool.data() + offset + 1, static_cast<unsigned char>(pool[offset]));
}
