// Piecewise conversion with ICU's streaming converters, and with the table engine for the
// table-driven pages (stateless: only a lead byte at the end of a piece has to wait).
#include <unicode/ucnv.h>

#include <string>

#include "platform/codepage_streams.h"
#include "platform/codepage_table_completion.h"
#include "platform/codepage_table_engine.h"
#include "platform/icu_converter.h"

namespace platform {
namespace {

// Runs one ICU streaming call, growing the output until the whole piece has gone through.
template <typename In, typename Out, typename Step>
bool RunStreaming(const In* input, std::size_t length, std::basic_string<Out>& output, Step step) {
  const In* source = input;
  const In* sourceLimit = input + length;
  std::size_t room = length * 2 + 16;
  for (;;) {
    const std::size_t before = output.size();
    output.resize(before + room);
    Out* target = output.data() + before;
    Out* targetLimit = output.data() + output.size();
    UErrorCode error = U_ZERO_ERROR;
    step(&target, targetLimit, &source, sourceLimit, &error);
    output.resize(static_cast<std::size_t>(target - output.data()));
    if (error == U_BUFFER_OVERFLOW_ERROR) {
      room *= 2;
      continue;
    }
    return U_SUCCESS(error);
  }
}

}  // namespace

struct PieceDecoder::State {
  const CodePageTable* table = nullptr;
  ConverterPtr converter;
  std::string carried;  // a lead byte waiting for its trail
};

PieceDecoder::PieceDecoder(std::uint32_t codePage) : state_(std::make_unique<State>()) {
  state_->table = CompleteCodePageTable(codePage);
  if (state_->table == nullptr) state_->converter = OpenConverter(codePage);
}
PieceDecoder::~PieceDecoder() = default;

bool PieceDecoder::IsUsable() const { return state_->table != nullptr || state_->converter; }

void PieceDecoder::Begin() {
  state_->carried.clear();
  if (state_->converter) ucnv_resetToUnicode(state_->converter.get());
}

bool PieceDecoder::Decode(const char* bytes, std::size_t length, bool last,
                          std::u16string& units) {
  if (const CodePageTable* table = state_->table) {
    std::string text = std::move(state_->carried);
    state_->carried.clear();
    text.append(bytes, length);
    std::size_t whole = text.size();
    if (!last && table->leadRows != nullptr) {
      // Keep a final lead byte back for its trail, which comes with the next piece.
      std::size_t at = 0;
      while (at < text.size()) at += table->leadRows[static_cast<unsigned char>(text[at])] ? 2u : 1u;
      if (at > text.size()) whole = text.size() - 1;
    }
    const std::size_t before = units.size();
    units.resize(before + whole * 2);
    const std::size_t produced =
        DecodeWithTable(*table, text.data(), whole, units.data() + before, whole * 2);
    units.resize(before + produced);
    state_->carried.assign(text, whole, std::string::npos);
    return true;
  }
  if (!state_->converter) return false;
  UConverter* converter = state_->converter.get();
  return RunStreaming(bytes, length, units,
                      [&](char16_t** target, char16_t* limit, const char** source,
                          const char* sourceLimit, UErrorCode* error) {
                        ucnv_toUnicode(converter, target, limit, source, sourceLimit, nullptr,
                                       last, error);
                      });
}

struct PieceEncoder::State {
  const CodePageTable* table = nullptr;
  ConverterPtr converter;
};

PieceEncoder::PieceEncoder(std::uint32_t codePage) : state_(std::make_unique<State>()) {
  state_->table = CompleteCodePageTable(codePage);
  if (state_->table == nullptr) state_->converter = OpenConverter(codePage);
}
PieceEncoder::~PieceEncoder() = default;

bool PieceEncoder::IsUsable() const { return state_->table != nullptr || state_->converter; }

void PieceEncoder::Begin() {
  if (state_->converter) ucnv_resetFromUnicode(state_->converter.get());
}

bool PieceEncoder::Encode(const char16_t* units, std::size_t length, bool last,
                          std::string& bytes) {
  if (const CodePageTable* table = state_->table) {
    // Every unit on its own, a surrogate too: nothing carries over.
    const std::size_t before = bytes.size();
    bytes.resize(before + length * 2);
    const std::size_t produced =
        EncodeWithTable(*table, units, length, bytes.data() + before, length * 2);
    bytes.resize(before + produced);
    return true;
  }
  if (!state_->converter) return false;
  UConverter* converter = state_->converter.get();
  return RunStreaming(units, length, bytes,
                      [&](char** target, char* limit, const char16_t** source,
                          const char16_t* sourceLimit, UErrorCode* error) {
                        ucnv_fromUnicode(converter, target, limit, source, sourceLimit, nullptr,
                                         last, error);
                      });
}

}  // namespace platform
