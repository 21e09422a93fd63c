// Code page services for systems without the Windows ones: the table engine for the pages whose
// tables Microsoft published, ICU for the others.
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "platform/codepage_services.h"
#include "platform/codepage_table_completion.h"
#include "platform/codepage_table_engine.h"
#include "platform/conversion_conventions.h"
#include "platform/icu_converter.h"
#include "platform/icu_converter_names.h"

namespace platform {
namespace {

// Opening a converter costs far more than converting a line, so each thread keeps its own.
UConverter* ConverterFor(std::uint32_t codePage) {
  thread_local std::map<std::uint32_t, ConverterPtr> converters;
  auto it = converters.find(codePage);
  if (it == converters.end()) it = converters.emplace(codePage, OpenConverter(codePage)).first;
  return it->second.get();
}

// ICU's preflighting reports the full size with a buffer overflow; the conventions decide.
long long IcuResult(int32_t produced, UErrorCode error) {
  if (error == U_BUFFER_OVERFLOW_ERROR) error = U_ZERO_ERROR;
  return U_FAILURE(error) ? -1 : produced;
}

// Runs one ICU conversion, `run(output, capacity, error)`. ICU's size query, with no output at
// all, can come out short: ISCII misses a byte when it writes a substitute, and a caller that
// trusts it fails on the real conversion. So the size is measured by converting into scratch
// space, which gives the true count.
template <typename Out, typename Run>
long long RunIcu(Out* output, int capacity, Run run) {
  UErrorCode error = U_ZERO_ERROR;
  int32_t produced = run(output, capacity, &error);
  std::vector<Out> scratch;
  for (int attempt = 0; capacity == 0 && error == U_BUFFER_OVERFLOW_ERROR && attempt < 4;
       ++attempt) {
    if (produced < 0 || produced > INT32_MAX - 16) return -1;
    scratch.resize(static_cast<std::size_t>(produced) + 16);
    error = U_ZERO_ERROR;
    produced = run(scratch.data(), static_cast<int32_t>(scratch.size()), &error);
  }
  return IcuResult(produced, error);
}

}  // namespace

// A page with a table goes to the table engine, whatever ICU has for it; ICU serves the rest.
int DecodeToUtf16(std::uint32_t codePage, const char* bytes, int byteCount, char16_t* units,
                  int unitCapacity) {
  if (const CodePageTable* table = CompleteCodePageTable(codePage)) {
    return ConvertWithConventions(
        bytes, byteCount, units, unitCapacity,
        [table](const char* in, std::size_t length, char16_t* out, int capacity) {
          return static_cast<long long>(
              DecodeWithTable(*table, in, length, out, static_cast<std::size_t>(capacity)));
        });
  }
  UConverter* converter = ConverterFor(codePage);
  if (converter == nullptr) return 0;
  return ConvertWithConventions(
      bytes, byteCount, units, unitCapacity,
      [converter](const char* in, std::size_t length, char16_t* out, int capacity) {
        return RunIcu(out, capacity, [&](char16_t* target, int32_t room, UErrorCode* error) {
          return ucnv_toUChars(converter, target, room, in, static_cast<int32_t>(length), error);
        });
      });
}

int EncodeFromUtf16(std::uint32_t codePage, const char16_t* units, int unitCount, char* bytes,
                    int byteCapacity) {
  if (const CodePageTable* table = CompleteCodePageTable(codePage)) {
    return ConvertWithConventions(
        units, unitCount, bytes, byteCapacity,
        [table](const char16_t* in, std::size_t length, char* out, int capacity) {
          return static_cast<long long>(
              EncodeWithTable(*table, in, length, out, static_cast<std::size_t>(capacity)));
        });
  }
  UConverter* converter = ConverterFor(codePage);
  if (converter == nullptr) return 0;
  return ConvertWithConventions(
      units, unitCount, bytes, byteCapacity,
      [converter](const char16_t* in, std::size_t length, char* out, int capacity) {
        return RunIcu(out, capacity, [&](char* target, int32_t room, UErrorCode* error) {
          return ucnv_fromUChars(converter, target, room, in, static_cast<int32_t>(length), error);
        });
      });
}

bool IsCodePageUsable(std::uint32_t codePage) {
  return FindGeneratedCodePageTable(codePage) != nullptr || ConverterFor(codePage) != nullptr;
}

CodePageLayout DescribeCodePage(std::uint32_t codePage) {
  CodePageLayout layout;
  if (const CodePageTable* table = FindGeneratedCodePageTable(codePage)) {
    layout.shape = table->leadRows != nullptr ? CodePageShape::kDoubleByte
                                              : CodePageShape::kSingleByte;
    for (unsigned byte = 0; byte < 256 && table->leadRows != nullptr; ++byte) {
      layout.isLeadByte[byte] = table->leadRows[byte] != 0;
    }
    return layout;
  }
  UConverter* converter = ConverterFor(codePage);
  if (converter == nullptr) return layout;
  switch (ucnv_getType(converter)) {
    case UCNV_SBCS:
    case UCNV_LATIN_1:
    case UCNV_US_ASCII:
      layout.shape = CodePageShape::kSingleByte;
      break;
    case UCNV_UTF8:
      layout.shape = CodePageShape::kUtf8;
      break;
    default:
      // ICU's multibyte tables do not always let a lead byte take the next byte with it, so
      // they are converted as whole texts only.
      break;
  }
  return layout;
}

bool ForEachInstalledCodePage(CodePageCallback callback) {
  if (callback == nullptr) return false;
  // Both lists are ascending; merged, a page that has both is listed once.
  std::vector<std::uint32_t> usable;
  for (const CodePageTable& table : GeneratedCodePageTables()) usable.push_back(table.codePage);
  for (const IcuConverterName& entry : IcuConverterNames()) {
    if (IsCodePageUsable(entry.codePage)) usable.push_back(entry.codePage);
  }
  std::sort(usable.begin(), usable.end());
  usable.erase(std::unique(usable.begin(), usable.end()), usable.end());
  for (const std::uint32_t codePage : usable) {
    char decimal[16];
    std::snprintf(decimal, sizeof decimal, "%u", static_cast<unsigned>(codePage));
    if (callback(decimal) == 0) break;
  }
  return true;
}

}  // namespace platform
