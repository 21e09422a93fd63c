// Writes a deterministic corpus file: make-corpus <kind> <MiB> <path>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/corpus.h"

int main(int argc, char** argv) {
  corpus::Kind kind{};
  if (argc != 4 || !corpus::ParseKind(argv[1], kind)) {
    std::fprintf(stderr,
                 "usage: make-corpus japanese932|western1252|westernutf8|dos437|chinese936|"
                 "ebcdic37|emptylines <MiB> <path>\n");
    return 2;
  }
  const auto mebibytes = std::strtoull(argv[2], nullptr, 10);
  std::ofstream file(argv[3], std::ios::binary | std::ios::trunc);
  // Written in pieces with different seeds, so memory stays small for large files.
  constexpr std::size_t kPiece = std::size_t{16} << 20;
  std::size_t remaining = static_cast<std::size_t>(mebibytes) << 20;
  for (std::uint64_t seed = 1; remaining > 0 && file; ++seed) {
    const std::string piece = corpus::Generate(kind, remaining < kPiece ? remaining : kPiece, seed);
    file.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    remaining -= piece.size() < remaining ? piece.size() : remaining;
  }
  return file ? 0 : 1;
}
