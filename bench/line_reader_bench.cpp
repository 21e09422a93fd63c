// The line reader alone, from memory: what reading costs before any conversion.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>

#include "app/line_reader.h"
#include "bench/corpus.h"

namespace {

void ReadLines(benchmark::State& state) {
  const auto kind = static_cast<corpus::Kind>(state.range(0));
  const std::string text = corpus::Generate(kind, 32 << 20);
  for (auto _ : state) {
    LineReader reader(corpus::ReadFrom(text));
    std::string_view line;
    while (reader.ReadLine(line) == LineReader::Result::kLine) benchmark::DoNotOptimize(line);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

BENCHMARK(ReadLines)
    ->Arg(static_cast<int>(corpus::Kind::kJapanese932))
    ->Arg(static_cast<int>(corpus::Kind::kEmptyLines))
    ->Arg(static_cast<int>(corpus::Kind::kEbcdic37))
    ->Unit(benchmark::kMillisecond);

}  // namespace
