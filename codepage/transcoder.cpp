#include "codepage/transcoder.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/codepage_services.h"

namespace {

// Converts into `buffer`, growing it when it is too small. Most lines fit the buffer left by the
// previous ones, so they cost one conversion; the others ask the service for the size first, as
// its conventions allow. Returns the count converted, 0 when the service cannot convert at all.
template <typename In, typename Out, typename Service>
int ConvertIntoBuffer(Service service, CodePage codePage, const In* input, int inputCount,
                      std::vector<Out>& buffer) {
  if (!buffer.empty()) {
    const int capacity = static_cast<int>(std::min<std::size_t>(buffer.size(), INT_MAX));
    const int converted = service(codePage, input, inputCount, buffer.data(), capacity);
    if (converted > 0) return converted;
  }
  const int needed = service(codePage, input, inputCount, nullptr, 0);
  if (needed <= 0) return 0;
  // Leave room for longer lines to come, so that the size query stays rare.
  const std::size_t grown = std::max<std::size_t>(static_cast<std::size_t>(needed),
                                                  static_cast<std::size_t>(inputCount) * 2);
  if (buffer.size() < grown) buffer.resize(grown);
  return service(codePage, input, inputCount, buffer.data(), needed);
}

}  // namespace

std::string_view Transcoder::Convert(std::string_view text, CodePage source, CodePage target) {
  // Only the bytes before the first NUL take part.
  const auto nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX / 2)) return {};

  const int decoded = ConvertIntoBuffer(platform::DecodeToUtf16, source, text.data(),
                                        static_cast<int>(text.size()), wide_);
  if (decoded <= 0) return {};
  // A decoded U+0000 (20127 reads 0x80 as one) ends the text, as a terminator would.
  const auto wideEnd = std::find(wide_.data(), wide_.data() + decoded, u'\0');
  const auto wideCount = static_cast<int>(wideEnd - wide_.data());
  if (wideCount == 0) return {};

  const int encoded =
      ConvertIntoBuffer(platform::EncodeFromUtf16, target, wide_.data(), wideCount, bytes_);
  if (encoded <= 0) return {};
  const std::string_view result(bytes_.data(), static_cast<std::size_t>(encoded));
  return result.substr(0, result.find('\0'));
}

std::string ConvertCodePage(std::string_view text, CodePage source, CodePage target) {
  Transcoder transcoder;
  return std::string(transcoder.Convert(text, source, target));
}
