// ConvertCodePage over any pair of the catalogue. Besides the sanitizers' checks: the result never
// holds a NUL, and a Transcoder that keeps its buffers from an earlier, different conversion gives
// the same bytes as a fresh one (the file conversion relies on reused buffers).
#include <cstdlib>
#include <string>

#include "codepage/code_page_table.h"
#include "codepage/transcoder.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const CodePage source = g_CodePageTable[input.Byte() % kCodePageTableSize].nCodePage;
  const CodePage target = g_CodePageTable[input.Byte() % kCodePageTableSize].nCodePage;
  const std::string_view text = input.Rest();

  const std::string fresh = ConvertCodePage(text, source, target);
  if (fresh.find('\0') != std::string::npos) std::abort();

  static Transcoder reused;  // keeps whatever the previous inputs left in its buffers
  if (reused.Convert(text, source, target) != fresh) std::abort();
  // Back to the source page and forward again, through buffers sized for another text.
  const std::string back(reused.Convert(fresh, target, source));
  if (back.find('\0') != std::string::npos) std::abort();
  if (ConvertCodePage(back, source, target) != reused.Convert(back, source, target)) std::abort();
  return 0;
}
