// Whole-file conversion through ConvertFile, file to file. The size is MIROVEX_BENCH_MIB (default
// 32 MiB); throughput is reported as bytes per second of input.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/file_conversion.h"
#include "bench/corpus.h"

namespace {

void ConvertWholeFile(benchmark::State& state, corpus::Kind kind, CodePage source,
                      CodePage target) {
  const auto dir = std::filesystem::temp_directory_path();
  const std::string input = (dir / ("mirovex-bench-" + std::to_string(getpid()) + ".txt")).string();
  const std::string output = input + ".out";
  const std::string text = corpus::Generate(kind, corpus::BenchmarkBytes());
  std::ofstream(input, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
  for (auto _ : state) ConvertFile(input, output, source, target);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  std::remove(input.c_str());
  std::remove(output.c_str());
}

BENCHMARK_CAPTURE(ConvertWholeFile, japanese_932_to_936, corpus::Kind::kJapanese932, 932, 936)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConvertWholeFile, western_1252_to_65001, corpus::Kind::kWestern1252, 1252, 65001)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConvertWholeFile, empty_lines_932_to_936, corpus::Kind::kEmptyLines, 932, 936)
    ->Unit(benchmark::kMillisecond);

}  // namespace
