// Conversion of one text that arrives in consecutive pieces, with exactly the result of converting
// it whole: the shift state of a stateful page and a character cut between two pieces carry over
// from one piece to the next. Where the system cannot do this, IsUsable() is false and texts are
// converted whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class PieceDecoder {
 public:
  explicit PieceDecoder(std::uint32_t codePage);
  ~PieceDecoder();
  PieceDecoder(const PieceDecoder&) = delete;
  PieceDecoder& operator=(const PieceDecoder&) = delete;

  bool IsUsable() const;
  // Starts a new text, in the page's initial state.
  void Begin();
  // Appends the UTF-16 of the piece to `units`; `last` ends the text. False on failure.
  bool Decode(const char* bytes, std::size_t length, bool last, std::u16string& units);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

class PieceEncoder {
 public:
  explicit PieceEncoder(std::uint32_t codePage);
  ~PieceEncoder();
  PieceEncoder(const PieceEncoder&) = delete;
  PieceEncoder& operator=(const PieceEncoder&) = delete;

  bool IsUsable() const;
  void Begin();
  // Appends the bytes of the piece to `bytes`; `last` ends the text (a stateful page returns to
  // its initial state). False on failure.
  bool Encode(const char16_t* units, std::size_t length, bool last, std::string& bytes);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace platform
