// The file conversion against a small model of the line rules that is obviously right:
//   Ctrl-Z ends the input; LF splits lines; a CR right before an LF belongs to the line end, any
//   other CR is text; a final LF starts no line; each line is converted on its own, its LFs are
//   written as CR LF, and CR LF follows it. A line holding a NUL refuses the input (exit 2), an
//   unusable pair refuses the run (exit 4), and then an existing output stays as it was.
// Checked twice: the line reader and writer with tiny buffers and reads cut at odd places, and
// ConvertFile on real files (in /dev/shm when there is one, so that fsync costs nothing).
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/exit_codes.h"
#include "app/file_conversion.h"
#include "app/line_reader.h"
#include "app/line_stream.h"
#include "app/line_writer.h"
#include "app/run_failure.h"
#include "codepage/code_page_table.h"
#include "codepage/transcoder.h"
#include "fuzz/fuzz_input.h"
#include "platform/codepage_services.h"

namespace {

std::vector<std::string> ModelLines(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\x1A'));
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t lineFeed = bytes.find('\n', start);
    if (lineFeed == std::string_view::npos) {
      lines.emplace_back(bytes.substr(start));
      break;
    }
    std::string line(bytes.substr(start, lineFeed - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = lineFeed + 1;
  }
  return lines;
}

std::string ModelOutput(const std::vector<std::string>& lines, CodePage source, CodePage target) {
  std::string output;
  for (const std::string& line : lines) {
    for (const char byte : ConvertCodePage(line, source, target)) {
      if (byte == '\n') output += '\r';
      output += byte;
    }
    output += "\r\n";
  }
  return output;
}

std::string Slurp(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  std::ostringstream contents;
  contents << stream.rdbuf();
  return contents.str();
}

void Spit(const std::string& path, std::string_view bytes) {
  std::ofstream stream(path, std::ios::binary | std::ios::trunc);
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!stream) std::abort();
}

const std::string& WorkDirectory() {
  static const std::string path = [] {
    std::string pattern =
        (std::filesystem::exists("/dev/shm") ? std::string("/dev/shm") : std::string("/tmp")) +
        "/mirovex-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
  }();
  return path;
}

std::size_t EntryCount(const std::string& directory) {
  const auto entries = std::filesystem::directory_iterator(directory);
  return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}

// The reader and writer with buffers of a few bytes and reads of changing length.
void CheckPieces(std::string_view bytes, const std::vector<std::string>& expectedLines,
                 unsigned readerBuffer, unsigned writerBuffer, unsigned readPattern,
                 CodePage source, CodePage target) {
  std::size_t offset = 0;
  unsigned call = 0;
  LineReader reader(
      [&](char* buffer, std::size_t capacity) -> std::ptrdiff_t {
        const std::size_t chunk = 1 + ((readPattern >> (call++ % 8)) & 7u);
        const std::size_t count = std::min({capacity, chunk, bytes.size() - offset});
        std::copy_n(bytes.data() + offset, count, buffer);
        offset += count;
        return static_cast<std::ptrdiff_t>(count);
      },
      readerBuffer);
  std::vector<std::string> lines;
  std::string_view line;
  LineReader::Result result;
  while ((result = reader.ReadLine(line)) == LineReader::Result::kLine) lines.emplace_back(line);
  if (result != LineReader::Result::kEnd || lines != expectedLines) std::abort();
  if (reader.LinesRead() != lines.size()) std::abort();

  std::string written;
  LineWriter writer(
      [&](const char* data, std::size_t size) {
        written.append(data, size);
        return true;
      },
      writerBuffer);
  Transcoder transcoder;
  for (const std::string& text : lines) {
    if (!writer.WriteLine(transcoder.Convert(text, source, target))) std::abort();
  }
  if (!writer.Flush() || written != ModelOutput(lines, source, target)) std::abort();
}

// The file conversion's own loop with a small reader buffer and reads cut at odd places, every
// buffer shared with the second thread and the writes done in the background.
void CheckStream(std::string_view bytes, const std::vector<std::string>& lines,
                 unsigned readerBuffer, unsigned readPattern, CodePage source, CodePage target) {
  if (!platform::IsCodePageUsable(source) || !platform::IsCodePageUsable(target)) return;
  std::size_t offset = 0;
  unsigned call = 0;
  LineReader reader(
      [&](char* buffer, std::size_t capacity) -> std::ptrdiff_t {
        const std::size_t chunk = 1 + ((readPattern >> (call++ % 8)) & 31u);
        const std::size_t count = std::min({capacity, chunk, bytes.size() - offset});
        std::copy_n(bytes.data() + offset, count, buffer);
        offset += count;
        return static_cast<std::ptrdiff_t>(count);
      },
      readerBuffer);
  std::string written;
  LineWriter writer(
      [&](const char* data, std::size_t size) {
        written.append(data, size);
        return true;
      },
      LineWriter::kMaxReserve, LineWriter::Mode::kInBackground);
  const StreamOutcome outcome = ConvertStream(reader, writer, source, target, 2);
  const bool holdsNul = std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
    return line.find('\0') != std::string::npos;
  });
  if (holdsNul) {
    if (outcome.result != StreamOutcome::kNulInInput) std::abort();
    return;
  }
  if (outcome.result != StreamOutcome::kDone || !writer.Flush()) std::abort();
  if (written != ModelOutput(lines, source, target)) std::abort();
}

void CheckFile(std::string_view bytes, const std::vector<std::string>& lines, CodePage source,
               CodePage target, bool outputExists) {
  const std::string& directory = WorkDirectory();
  const std::string inputPath = directory + "/in.txt";
  const std::string outputPath = directory + "/in.cvt.txt";
  static const std::string kEarlier = "an earlier output\r\n";
  Spit(inputPath, bytes);
  std::filesystem::remove(outputPath);
  if (outputExists) Spit(outputPath, kEarlier);

  int expectedExit = kExitOk;
  std::size_t nulLine = 0;
  if (!platform::IsCodePageUsable(source) || !platform::IsCodePageUsable(target)) {
    expectedExit = kExitCodePageUnusable;
  } else {
    for (std::size_t i = 0; i < lines.size() && nulLine == 0; ++i) {
      if (lines[i].find('\0') != std::string::npos) nulLine = i + 1;
    }
    if (nulLine != 0) expectedExit = kExitInputFailed;
  }

  int exitCode = kExitOk;
  std::string message;
  try {
    ConvertFile(inputPath, outputPath, source, target);
  } catch (const RunFailure& failure) {
    exitCode = failure.ExitCode();
    message = failure.what();
  }
  if (exitCode != expectedExit) std::abort();
  if (nulLine != 0 && message.find("line " + std::to_string(nulLine) + ":") == std::string::npos) {
    std::abort();
  }
  // Only the input and the output (new, or the earlier one untouched) are left.
  const bool outputThere = std::filesystem::exists(outputPath);
  if (EntryCount(directory) != 1 + (outputThere ? 1 : 0)) std::abort();
  if (exitCode == kExitOk) {
    if (Slurp(outputPath) != ModelOutput(lines, source, target)) std::abort();
  } else if (outputExists ? Slurp(outputPath) != kEarlier : outputThere) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const CodePage source = g_CodePageTable[input.Byte() % kCodePageTableSize].nCodePage;
  const CodePage target = g_CodePageTable[input.Byte() % kCodePageTableSize].nCodePage;
  const unsigned shape = input.Byte();
  const unsigned readPattern = input.Byte() | (input.Byte() << 8) | (input.Byte() << 16);
  const std::string_view bytes = input.Rest();

  const std::vector<std::string> lines = ModelLines(bytes);
  CheckPieces(bytes, lines, 1 + (shape & 15u), 1 + ((shape >> 4) & 7u), readPattern, source,
              target);
  CheckStream(bytes, lines, 2 + (shape & 63u), readPattern, source, target);
  CheckFile(bytes, lines, source, target, (shape & 0x80u) != 0);
  return 0;
}
