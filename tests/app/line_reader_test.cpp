#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/line_reader.h"

namespace {

using namespace std::string_literals;

// Reads `bytes` through a reader whose buffer holds `bufferSize` bytes, so that every line end
// and CR LF pair also falls across a refill.
LineReader ReaderOver(const std::string& bytes, std::size_t& offset, std::size_t bufferSize) {
  return LineReader(
      [&bytes, &offset](char* buffer, std::size_t capacity) -> std::ptrdiff_t {
        const std::size_t count = std::min(capacity, bytes.size() - offset);
        std::memcpy(buffer, bytes.data() + offset, count);
        offset += count;
        return static_cast<std::ptrdiff_t>(count);
      },
      bufferSize);
}

std::vector<std::string> ReadAllLines(const std::string& bytes, std::size_t bufferSize) {
  std::size_t offset = 0;
  LineReader reader = ReaderOver(bytes, offset, bufferSize);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.ReadLine(line) == LineReader::Result::kLine) lines.emplace_back(line);
  EXPECT_EQ(reader.LinesRead(), lines.size());
  return lines;
}

// The same through pieces, which must never be longer than the buffer and join up to the lines.
std::vector<std::string> ReadAllPieces(const std::string& bytes, std::size_t bufferSize) {
  std::size_t offset = 0;
  LineReader reader = ReaderOver(bytes, offset, bufferSize);
  std::vector<std::string> lines;
  std::string current;
  std::string_view piece;
  bool endsLine = false;
  while (reader.ReadPiece(piece, endsLine) == LineReader::Result::kLine) {
    EXPECT_LE(piece.size(), bufferSize);
    current += piece;
    if (endsLine) lines.push_back(std::move(current)), current.clear();
  }
  EXPECT_TRUE(current.empty());
  return lines;
}

TEST(LineReaderTest, ReadsLinesAsTextModeDoes) {
  using Lines = std::vector<std::string>;
  const struct {
    std::string input;
    Lines expected;
  } cases[] = {
      {"", {}},
      {"\n", {""}},
      {"\n\n", {"", ""}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},                     // last line without a line end
      {"a\rb\n", {"a\rb"}},                     // a lone CR is text
      {"a\r", {"a\r"}},                         // so is a CR at the very end
      {"a\r\r\n", {"a\r"}},                     // only the CR right before LF is dropped
      {"\r\n", {""}},
      {"ab\x1A" "cd\n", {"ab"}},                // Ctrl-Z ends the input
      {"ab\n\x1A" "cd\n", {"ab"}},
      {"\x1A" "ab\n", {}},
      {"a\r\x1A", {"a\r"}},
      {"x\0y\n"s, {"x\0y"s}},                   // NUL bytes are handed on as they are
      {"\xEF\xBB\xBFhi\n", {"\xEF\xBB\xBFhi"}}, // a byte order mark is just bytes
  };
  for (std::size_t bufferSize : {std::size_t{2}, std::size_t{3}, std::size_t{5}, std::size_t{64}}) {
    for (const auto& c : cases) {
      EXPECT_EQ(ReadAllLines(c.input, bufferSize), c.expected)
          << "input of " << c.input.size() << " bytes, buffer " << bufferSize;
      EXPECT_EQ(ReadAllPieces(c.input, bufferSize), c.expected)
          << "pieces of " << c.input.size() << " bytes, buffer " << bufferSize;
    }
  }
}

TEST(LineReaderTest, LongLinesSpanManyBuffersWhole) {
  const std::string longLine(100000, 'x');
  const std::string text = longLine + "\r\n" + "short\n" + longLine + "\r\r\n" + "\r";
  const std::vector<std::string> expected{longLine, "short", longLine + "\r", "\r"};
  EXPECT_EQ(ReadAllLines(text, 4096), expected);
  EXPECT_EQ(ReadAllPieces(text, 4096), expected);
}

TEST(LineReaderTest, ReportsAReadErrorAndStaysFailed) {
  int calls = 0;
  LineReader reader(
      [&](char* buffer, std::size_t) -> std::ptrdiff_t {
        if (calls++ > 0) return -1;
        std::memcpy(buffer, "a\nb", 3);
        return 3;
      },
      16);
  std::string_view line;
  ASSERT_EQ(reader.ReadLine(line), LineReader::Result::kLine);
  EXPECT_EQ(line, "a");
  EXPECT_EQ(reader.ReadLine(line), LineReader::Result::kError);
  EXPECT_EQ(reader.ReadLine(line), LineReader::Result::kError);
}

}  // namespace
