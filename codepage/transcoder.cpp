#include "codepage/transcoder.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/codepage_services.h"

std::string_view Transcoder::Convert(std::string_view text, CodePage source, CodePage target) {
  // Only the bytes before the first NUL take part.
  const auto nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return {};
  const int byteCount = static_cast<int>(text.size());

  const int units = platform::DecodeToUtf16(source, text.data(), byteCount, nullptr, 0);
  if (units <= 0) return {};
  if (wide_.size() < static_cast<std::size_t>(units)) wide_.resize(static_cast<std::size_t>(units));
  const int decoded = platform::DecodeToUtf16(source, text.data(), byteCount, wide_.data(), units);
  if (decoded <= 0) return {};
  // A decoded U+0000 (20127 reads 0x80 as one) ends the text, as a terminator would.
  const auto wideEnd = std::find(wide_.data(), wide_.data() + decoded, u'\0');
  const auto wideCount = static_cast<int>(wideEnd - wide_.data());
  if (wideCount == 0) return {};

  const int size = platform::EncodeFromUtf16(target, wide_.data(), wideCount, nullptr, 0);
  if (size <= 0) return {};
  if (bytes_.size() < static_cast<std::size_t>(size)) bytes_.resize(static_cast<std::size_t>(size));
  const int encoded = platform::EncodeFromUtf16(target, wide_.data(), wideCount, bytes_.data(), size);
  if (encoded <= 0) return {};
  const std::string_view result(bytes_.data(), static_cast<std::size_t>(encoded));
  return result.substr(0, result.find('\0'));
}

std::string ConvertCodePage(std::string_view text, CodePage source, CodePage target) {
  Transcoder transcoder;
  return std::string(transcoder.Convert(text, source, target));
}
