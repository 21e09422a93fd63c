// A plain model of the output format, and helpers to compare the piecewise converters with it.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "app/line_stream.h"
#include "app/line_writer.h"
#include "app/piece_converter.h"
#include "codepage/code_page.h"

namespace conversion_model {

// The line rules written out plainly: CR LF is LF, Ctrl-Z ends the input, LF ends a line, and
// every line is converted whole with ConvertCodePage, its LFs written as CR LF, then CR LF.
std::string ConvertByModel(const std::string& input, CodePage source, CodePage target);

using ConverterFactory = std::function<std::unique_ptr<PieceConverter>(LineWriter& writer)>;

// The input read in pieces through a reader with a buffer of `bufferSize` bytes and converted
// with the converter that `makeConverter` makes.
std::string ConvertByPieces(const std::string& input, std::size_t bufferSize,
                            const ConverterFactory& makeConverter);

// The input converted by ConvertStream, as the file conversion does it, through a reader with a
// buffer of `bufferSize` bytes and a writer with one of `writerBufferSize`; buffers of at least
// `shareAbove` bytes are shared with a second thread.
std::string ConvertByStream(const std::string& input, std::size_t bufferSize, CodePage source,
                            CodePage target,
                            std::size_t writerBufferSize = LineWriter::kDefaultBufferSize,
                            std::size_t shareAbove = kShareAbove);

std::size_t Below(std::mt19937& random, std::size_t limit);

// Random text that hits the awkward places: every byte value but NUL, line ends of both kinds,
// lone CRs, lead bytes before line ends, long lines, valid and broken UTF-8.
std::string RandomText(std::mt19937& random, std::size_t size);

}  // namespace conversion_model
