// The Windows services convert whole texts only: long lines of stateful pages are gathered whole.
#include "platform/codepage_streams.h"

namespace platform {

struct PieceDecoder::State {};
struct PieceEncoder::State {};

PieceDecoder::PieceDecoder(std::uint32_t) {}
PieceDecoder::~PieceDecoder() = default;
bool PieceDecoder::IsUsable() const { return false; }
void PieceDecoder::Begin() {}
bool PieceDecoder::Decode(const char*, std::size_t, bool, std::u16string&) { return false; }

PieceEncoder::PieceEncoder(std::uint32_t) {}
PieceEncoder::~PieceEncoder() = default;
bool PieceEncoder::IsUsable() const { return false; }
void PieceEncoder::Begin() {}
bool PieceEncoder::Encode(const char16_t*, std::size_t, bool, std::string&) { return false; }

}  // namespace platform
