#include "app/file_conversion.h"

#include <cstring>
#include <memory>
#include <new>

#include "app/exit_codes.h"
#include "app/line_reader.h"
#include "app/line_writer.h"
#include "app/table_piece_converter.h"
#include "app/text_piece_converter.h"
#include "app/run_failure.h"
#include "codepage/character_table.h"
#include "codepage/transcoder.h"
#include "platform/codepage_services.h"
#include "platform/files.h"
#include "res/strings.h"

namespace {

void RequireUsable(CodePage source, CodePage target) {
  if (!platform::IsCodePageUsable(source)) {
    throw RunFailure(kExitCodePageUnusable, FormatMessage(MIROVEX_MSG_SOURCE_UNUSABLE, source));
  }
  if (!platform::IsCodePageUsable(target)) {
    throw RunFailure(kExitCodePageUnusable, FormatMessage(MIROVEX_MSG_TARGET_UNUSABLE, target));
  }
}

}  // namespace

void ConvertFile(const std::string& inputPath, const std::string& outputPath, CodePage source,
                 CodePage target) {
  platform::InputFile input;
  if (!input.Open(inputPath)) {
    throw RunFailure(kExitInputFailed,
                     FormatMessage(MIROVEX_MSG_CANNOT_OPEN_INPUT, inputPath.c_str(),
                                   input.Error().c_str()));
  }
  RequireUsable(source, target);

  platform::ReplacingOutputFile output;
  if (!output.Create(outputPath)) {
    throw RunFailure(kExitOutputFailed, FormatMessage(MIROVEX_MSG_CANNOT_CREATE_OUTPUT,
                                                      outputPath.c_str(), output.Error().c_str()));
  }
  const auto writeFailure = [&] {
    return RunFailure(kExitOutputFailed, FormatMessage(MIROVEX_MSG_CANNOT_WRITE_OUTPUT,
                                                       outputPath.c_str(), output.Error().c_str()));
  };

  LineReader reader([&](char* buffer, std::size_t capacity) { return input.Read(buffer, capacity); });
  LineWriter writer([&](const char* data, std::size_t size) { return output.Write(data, size); });
  const auto readFailure = [&] {
    return RunFailure(kExitInputFailed, FormatMessage(MIROVEX_MSG_CANNOT_READ_INPUT,
                                                      inputPath.c_str(), input.Error().c_str()));
  };
  // A NUL would silently cut the line short: such input is not text in any supported page.
  const auto refuseNul = [&](std::string_view text, unsigned long long lineNumber) {
    if (std::memchr(text.data(), '\0', text.size()) != nullptr) {
      throw RunFailure(kExitInputFailed,
                       FormatMessage(MIROVEX_MSG_NUL_IN_INPUT, inputPath.c_str(), lineNumber));
    }
  };

  try {
    // Every piece of every line through one converter, called directly (not through the base)
    // since this loop runs once per line.
    const auto convertAll = [&](auto& converter) {
      std::string_view piece;
      bool endsLine = false;
      for (;;) {
        const LineReader::Result result = reader.ReadPiece(piece, endsLine);
        if (result == LineReader::Result::kEnd) break;
        if (result == LineReader::Result::kError) throw readFailure();
        if (reader.MayHoldNul()) refuseNul(piece, reader.LinesRead() + (endsLine ? 0 : 1));
        if (!converter.Convert(piece, endsLine)) throw writeFailure();
      }
    };
    // Character by character where the pair allows it; else line by line through the services.
    if (std::unique_ptr<CharacterTable> table = CharacterTable::Create(source, target)) {
      TablePieceConverter converter(*table, source, target, writer);
      convertAll(converter);
    } else {
      TextPieceConverter converter(source, target, writer);
      convertAll(converter);
    }
  } catch (const std::bad_alloc&) {
    throw RunFailure(kExitInputFailed,
                     FormatMessage(MIROVEX_MSG_OUT_OF_MEMORY, inputPath.c_str(),
                                   static_cast<unsigned long long>(reader.LinesRead() + 1)));
  }
  input.Close();
  if (!writer.Flush() || !output.Commit()) throw writeFailure();
}
