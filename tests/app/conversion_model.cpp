#include "tests/app/conversion_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "app/line_reader.h"
#include "app/line_stream.h"
#include "codepage/transcoder.h"

namespace conversion_model {

std::string ConvertByModel(const std::string& input, CodePage source, CodePage target) {
  std::string text = input.substr(0, input.find('\x1A'));
  std::string lines;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') continue;
    lines += text[at];
  }
  std::string output;
  std::size_t start = 0;
  while (start < lines.size()) {
    std::size_t end = lines.find('\n', start);
    if (end == std::string::npos) end = lines.size();
    for (char c : ConvertCodePage(lines.substr(start, end - start), source, target)) {
      if (c == '\n') output.push_back('\r');
      output.push_back(c);
    }
    output += "\r\n";
    start = end + 1;
  }
  return output;
}

namespace {

// A reader of `input` in reads of at most `bufferSize` bytes; `offset` tracks what was read.
LineReader ReaderOf(const std::string& input, std::size_t& offset, std::size_t bufferSize) {
  return LineReader(
      [&input, &offset](char* buffer, std::size_t capacity) {
        const std::size_t count = std::min(capacity, input.size() - offset);
        std::memcpy(buffer, input.data() + offset, count);
        offset += count;
        return static_cast<std::ptrdiff_t>(count);
      },
      bufferSize);
}

LineWriter WriterInto(std::string& output,
                      std::size_t bufferSize = LineWriter::kDefaultBufferSize) {
  return LineWriter(
      [&output](const char* data, std::size_t size) {
        output.append(data, size);
        return true;
      },
      bufferSize);
}

}  // namespace

std::string ConvertByPieces(const std::string& input, std::size_t bufferSize,
                            const ConverterFactory& makeConverter) {
  std::size_t offset = 0;
  LineReader reader = ReaderOf(input, offset, bufferSize);
  std::string output;
  LineWriter writer = WriterInto(output);
  std::unique_ptr<PieceConverter> converter = makeConverter(writer);
  std::string_view piece;
  bool endsLine = false;
  while (reader.ReadPiece(piece, endsLine) == LineReader::Result::kLine) {
    EXPECT_TRUE(converter->Convert(piece, endsLine));
  }
  writer.Flush();
  return output;
}

std::string ConvertByStream(const std::string& input, std::size_t bufferSize, CodePage source,
                            CodePage target, std::size_t writerBufferSize,
                            std::size_t shareAbove) {
  std::size_t offset = 0;
  LineReader reader = ReaderOf(input, offset, bufferSize);
  std::string output;
  LineWriter writer = WriterInto(output, writerBufferSize);
  EXPECT_EQ(ConvertStream(reader, writer, source, target, shareAbove).result,
            StreamOutcome::kDone);
  writer.Flush();
  return output;
}

std::size_t Below(std::mt19937& random, std::size_t limit) {
  return static_cast<std::size_t>(random()) % limit;
}

std::string RandomText(std::mt19937& random, std::size_t size) {
  // Ctrl-Z stands last: it is left out of the pieces drawn below.
  static const char* const kPieces[] = {"\r\n",     "\n",         "\r",       "\xE6\x97\xA5",
                                        "\xF0\x9F\x98\x80",  "\xC3\xA9",    "\xE6\x97", "\x81\n",
                                        "\x81\r\n", "\x81\rX",     "\x82\xA0", "\xA4\x40",
                                        "\x81",     "\xED\xA0\x80", "abc",      "\xC0\x80",
                                        "\x1A"};
  std::string text;
  while (text.size() < size) {
    const std::size_t pick = Below(random, 10);
    if (pick < 5) {
      text += static_cast<char>(1 + Below(random, 255));
    } else if (pick < 9) {
      text += kPieces[Below(random, sizeof kPieces / sizeof kPieces[0] - 1)];  // no Ctrl-Z
    } else {
      text.append(Below(random, 300), static_cast<char>('a' + Below(random, 26)));
    }
  }
  if (Below(random, 4) == 0) text[Below(random, text.size())] = '\x1A';
  return text;
}

}  // namespace conversion_model
