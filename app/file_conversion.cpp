#include "app/file_conversion.h"

#include <new>

#include "app/exit_codes.h"
#include "app/line_reader.h"
#include "app/line_writer.h"
#include "app/line_stream.h"
#include "app/run_failure.h"
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
  // The writes overlap the conversion: the writer's thread writes one buffer while the next fills.
  LineWriter writer([&](const char* data, std::size_t size) { return output.Write(data, size); },
                    LineWriter::kDefaultBufferSize, LineWriter::Mode::kInBackground);
  StreamOutcome outcome;
  try {
    outcome = ConvertStream(reader, writer, source, target);
  } catch (const std::bad_alloc&) {
    throw RunFailure(kExitInputFailed,
                     FormatMessage(MIROVEX_MSG_OUT_OF_MEMORY, inputPath.c_str(),
                                   static_cast<unsigned long long>(reader.LinesRead() + 1)));
  }
  switch (outcome.result) {
    case StreamOutcome::kDone:
      break;
    case StreamOutcome::kReadError:
      throw RunFailure(kExitInputFailed, FormatMessage(MIROVEX_MSG_CANNOT_READ_INPUT,
                                                       inputPath.c_str(), input.Error().c_str()));
    case StreamOutcome::kWriteError:
      throw writeFailure();
    case StreamOutcome::kNulInInput:
      throw RunFailure(kExitInputFailed,
                       FormatMessage(MIROVEX_MSG_NUL_IN_INPUT, inputPath.c_str(),
                                     static_cast<unsigned long long>(outcome.line)));
  }
  input.Close();
  if (!writer.Flush() || !output.Commit()) throw writeFailure();
}
