// Reading the settings. ParseSettings must read what two fscanf("%u") calls on the same text read
// (the model, over an in-memory stream), and LoadSettings on a real file must agree with
// ParseSettings on the part of the file it reads.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "codepage/code_page.h"
#include "fuzz/fuzz_input.h"
#include "settings/settings_file.h"

namespace {

constexpr CodePage kKeepSource = 0xA5A5A5A5u;
constexpr CodePage kKeepTarget = 0x5A5A5A5Au;

// Numbers of ten digits or more may not fit 32 bits; there the C library's answer is its own.
bool HasLongNumber(const std::string& text) {
  std::size_t run = 0;
  for (const char byte : text) {
    run = (byte >= '0' && byte <= '9') ? run + 1 : 0;
    if (run >= 10) return true;
  }
  return false;
}

void ModelRead(const std::string& text, CodePage& source, CodePage& target) {
  std::string copy = text.empty() ? std::string(" ") : text;  // fmemopen wants a size above 0
  FILE* stream = fmemopen(copy.data(), text.empty() ? 0 : copy.size(), "r");
  if (stream == nullptr) {
    source = kKeepSource, target = kKeepTarget;
    return;
  }
  unsigned value = 0;
  if (std::fscanf(stream, "%u", &value) == 1) source = value;
  if (std::fscanf(stream, "%u", &value) == 1) target = value;
  std::fclose(stream);
}

const std::string& SettingsPath() {
  static const std::string path = [] {
    char pattern[] = "/tmp/mirovex-fuzz-settings-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    return std::string(pattern) + "/Mirovex_Tempconf.cvt";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::string text(input.Rest());

  CodePage source = kKeepSource;
  CodePage target = kKeepTarget;
  ParseSettings(text, source, target);

  if (!HasLongNumber(text)) {
    CodePage modelSource = kKeepSource;
    CodePage modelTarget = kKeepTarget;
    ModelRead(text, modelSource, modelTarget);
    if (source != modelSource || target != modelTarget) std::abort();
  }

  {
    std::ofstream file(SettingsPath(), std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  CodePage loadedSource = kKeepSource;
  CodePage loadedTarget = kKeepTarget;
  LoadSettings(SettingsPath(), loadedSource, loadedTarget);
  CodePage prefixSource = kKeepSource;
  CodePage prefixTarget = kKeepTarget;
  ParseSettings(text.substr(0, 4096), prefixSource, prefixTarget);
  if (loadedSource != prefixSource || loadedTarget != prefixTarget) std::abort();

  // What is saved reads back as the same pair.
  const std::string saved = FormatSettings(source, target, kFormatAfterCancel);
  CodePage readSource = 0;
  CodePage readTarget = 0;
  ParseSettings(saved, readSource, readTarget);
  if (readSource != source || readTarget != target) std::abort();
  return 0;
}
