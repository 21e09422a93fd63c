// The conversion of a whole text in memory, without the file system: what the CPU spends per
// input, apart from reading and writing files, on one thread (/1) and with the second thread
// that large buffers are shared with (/2). The size is MIROVEX_BENCH_MIB (default 32 MiB).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "app/line_reader.h"
#include "app/line_stream.h"
#include "app/line_writer.h"
#include "bench/corpus.h"

namespace {

void ConvertInMemory(benchmark::State& state, corpus::Kind kind, CodePage source,
                     CodePage target) {
  const std::string text = corpus::Generate(kind, corpus::BenchmarkBytes());
  std::size_t written = 0;
  for (auto _ : state) {
    LineReader reader(corpus::ReadFrom(text));
    LineWriter writer([&](const char* data, std::size_t size) {
      benchmark::DoNotOptimize(data);
      written += size;
      return true;
    });
    const std::size_t shareAbove = state.range(0) == 1 ? SIZE_MAX : kShareAbove;
    const StreamOutcome outcome = ConvertStream(reader, writer, source, target, shareAbove);
    if (outcome.result != StreamOutcome::kDone || !writer.Flush()) state.SkipWithError("failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  benchmark::DoNotOptimize(written);
}

BENCHMARK_CAPTURE(ConvertInMemory, japanese_932_to_936, corpus::Kind::kJapanese932, 932, 936)
    ->Unit(benchmark::kMillisecond)->Arg(1)->Arg(2);
BENCHMARK_CAPTURE(ConvertInMemory, western_1252_to_65001, corpus::Kind::kWestern1252, 1252, 65001)
    ->Unit(benchmark::kMillisecond)->Arg(1)->Arg(2);
BENCHMARK_CAPTURE(ConvertInMemory, western_utf8_65001_to_1252, corpus::Kind::kWesternUtf8, 65001,
                  1252)
    ->Unit(benchmark::kMillisecond)->Arg(1)->Arg(2);
BENCHMARK_CAPTURE(ConvertInMemory, dos_437_to_850, corpus::Kind::kDosBoxDrawing437, 437, 850)
    ->Unit(benchmark::kMillisecond)->Arg(1)->Arg(2);
BENCHMARK_CAPTURE(ConvertInMemory, chinese_936_to_65001, corpus::Kind::kChinese936, 936, 65001)
    ->Unit(benchmark::kMillisecond)->Arg(1)->Arg(2);
BENCHMARK_CAPTURE(ConvertInMemory, ebcdic_37_to_1252, corpus::Kind::kEbcdic37, 37, 1252)
    ->Unit(benchmark::kMillisecond)->Arg(1)->Arg(2);

}  // namespace
