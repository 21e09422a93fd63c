// ConvertCodePage on short and long lines, for the pairs users convert most.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/corpus.h"
#include "codepage/transcoder.h"

namespace {

struct Pair {
  corpus::Kind kind;
  CodePage source;
  CodePage target;
};

constexpr Pair kPairs[] = {
    {corpus::Kind::kJapanese932, 932, 936},       {corpus::Kind::kWestern1252, 1252, 65001},
    {corpus::Kind::kWesternUtf8, 65001, 1252},    {corpus::Kind::kDosBoxDrawing437, 437, 850},
    {corpus::Kind::kChinese936, 936, 65001},      {corpus::Kind::kEbcdic37, 37, 1252},
};

// The corpus split into its lines (without line ends); the EBCDIC corpus is cut into 100-byte
// pieces for the short case.
std::vector<std::string> Lines(const Pair& pair, std::size_t bytes) {
  const std::string text = corpus::Generate(pair.kind, bytes);
  std::vector<std::string> lines;
  if (pair.kind == corpus::Kind::kEbcdic37) {
    for (std::size_t at = 0; at < text.size(); at += 100) lines.push_back(text.substr(at, 100));
    return lines;
  }
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

void ShortLines(benchmark::State& state) {
  const Pair& pair = kPairs[state.range(0)];
  const std::vector<std::string> lines = Lines(pair, 1 << 20);
  Transcoder transcoder;
  std::size_t bytes = 0;
  for (auto _ : state) {
    for (const std::string& line : lines) {
      benchmark::DoNotOptimize(transcoder.Convert(line, pair.source, pair.target).data());
      bytes += line.size();
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  state.SetLabel(std::to_string(pair.source) + "->" + std::to_string(pair.target));
}

void OneLongLine(benchmark::State& state) {
  const Pair& pair = kPairs[state.range(0)];
  std::string line;
  for (const std::string& piece : Lines(pair, 4 << 20)) line += piece;
  Transcoder transcoder;
  for (auto _ : state) {
    benchmark::DoNotOptimize(transcoder.Convert(line, pair.source, pair.target).data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(line.size()));
  state.SetLabel(std::to_string(pair.source) + "->" + std::to_string(pair.target));
}

BENCHMARK(ShortLines)->DenseRange(0, std::size(kPairs) - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(OneLongLine)->DenseRange(0, std::size(kPairs) - 1)->Unit(benchmark::kMillisecond);

}  // namespace
