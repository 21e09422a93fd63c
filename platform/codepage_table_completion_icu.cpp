// Completes the round-trip tables with what ICU knows of the same pages.
//
// Microsoft published only the byte -> Unicode direction of the OEM, EBCDIC and Mac pages. Where
// that table is silent, ICU's converter for the page is the closest data at hand: IBM's and Apple's
// tables for the same pages. What Microsoft's table does say always wins. Compared with Windows
// (tests/data/windows-reference), IBM's best-fit mappings bring the OEM and EBCDIC pages closer
// (437: 354 units differ instead of 472; 37: 2 instead of 95), while Windows gives the Mac pages
// no best fit at all, so there only ICU's exact mappings are taken (10000: 2 instead of 48).
// A page ICU does not have (10079) falls back to the default character alone.
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <array>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/codepage_table_completion.h"
#include "platform/icu_converter_names.h"

namespace platform {
namespace {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

bool IsMacPage(std::uint32_t codePage) { return codePage >= 10000 && codePage < 10100; }

// A converter that leaves out what it cannot map, with IBM's best fit except for the Mac pages.
ConverterPtr OpenSkippingConverter(std::uint32_t codePage) {
  const char* name = IcuConverterNameFor(codePage);
  if (name == nullptr) return nullptr;
  UErrorCode error = U_ZERO_ERROR;
  ConverterPtr converter(ucnv_open(name, &error));
  if (U_FAILURE(error) || ucnv_getMaxCharSize(converter.get()) != 1) return nullptr;
  ucnv_setFallback(converter.get(), !IsMacPage(codePage));
  ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_SKIP, nullptr, nullptr, nullptr, &error);
  ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_SKIP, nullptr, nullptr, nullptr,
                        &error);
  if (U_FAILURE(error)) return nullptr;
  return converter;
}

struct CompletedTable {
  CodePageTable table;
  std::array<char16_t, 256> byteUnits;
  std::array<std::uint16_t, 256> blockOf;
  std::vector<std::uint16_t> unitBytes;  // all 65536 units, block n at n * 256
};

void FillUndefinedBytes(CompletedTable& completed, UConverter* converter) {
  for (std::size_t byte = 0; byte < 256; ++byte) {
    char16_t& unit = completed.byteUnits[byte];
    if (unit != kNoUnit) continue;
    unit = completed.table.unicodeDefault;
    if (converter == nullptr) continue;
    const char input = static_cast<char>(byte);
    UChar output[2];
    UErrorCode error = U_ZERO_ERROR;
    ucnv_resetToUnicode(converter);
    if (ucnv_toUChars(converter, output, 2, &input, 1, &error) == 1 && U_SUCCESS(error)) {
      unit = output[0];
    }
  }
}

void FillUnwritableUnits(CompletedTable& completed, UConverter* converter) {
  std::vector<std::uint16_t>& unitBytes = completed.unitBytes;
  if (converter != nullptr) {
    // One pass over every BMP character but the surrogates; the offsets tell which unit each
    // written byte stands for, and units that ICU skipped write nothing.
    std::vector<UChar> units;
    for (std::uint32_t unit = 0; unit < 0x10000; ++unit) {
      if (unit < 0xD800 || unit > 0xDFFF) units.push_back(static_cast<UChar>(unit));
    }
    std::vector<char> bytes(units.size() * 2);
    std::vector<int32_t> offsets(bytes.size());
    const UChar* source = units.data();
    char* target = bytes.data();
    UErrorCode error = U_ZERO_ERROR;
    ucnv_resetFromUnicode(converter);
    ucnv_fromUnicode(converter, &target, bytes.data() + bytes.size(), &source,
                     units.data() + units.size(), offsets.data(), true, &error);
    if (U_SUCCESS(error)) {
      const auto written = static_cast<std::size_t>(target - bytes.data());
      for (std::size_t i = 0; i < written; ++i) {
        if (offsets[i] < 0) continue;
        const char16_t unit = units[static_cast<std::size_t>(offsets[i])];
        if (unitBytes[unit] == kNoBytes) {
          unitBytes[unit] = static_cast<unsigned char>(bytes[i]);
        }
      }
    }
  }
  for (std::uint16_t& bytes : unitBytes) {
    if (bytes == kNoBytes) bytes = completed.table.defaultByte;
  }
}

std::unique_ptr<CompletedTable> Complete(const CodePageTable& generated) {
  auto completed = std::make_unique<CompletedTable>();
  completed->table = generated;
  for (std::size_t i = 0; i < 256; ++i) completed->byteUnits[i] = generated.byteUnits[i];
  completed->unitBytes.resize(0x10000);
  for (std::size_t unit = 0; unit < 0x10000; ++unit) {
    completed->unitBytes[unit] =
        generated.unitBytes[std::size_t{generated.blockOf[unit >> 8]} * 256 + (unit & 0xFF)];
  }
  // The round-trip tables are inverted already; Microsoft's own mappings stay as they are.
  const ConverterPtr converter = OpenSkippingConverter(generated.codePage);
  FillUndefinedBytes(*completed, converter.get());
  FillUnwritableUnits(*completed, converter.get());
  for (std::size_t high = 0; high < 256; ++high) {
    completed->blockOf[high] = static_cast<std::uint16_t>(high);
  }
  completed->table.byteUnits = completed->byteUnits.data();
  completed->table.blockOf = completed->blockOf.data();
  completed->table.unitBytes = completed->unitBytes.data();
  return completed;
}

struct Slot {
  std::once_flag once;
  std::unique_ptr<CompletedTable> completed;
};

}  // namespace

const CodePageTable* CompleteCodePageTable(std::uint32_t codePage) {
  const CodePageTable* generated = FindGeneratedCodePageTable(codePage);
  if (generated == nullptr || generated->source != CodePageTableSource::kRoundTrip) {
    return generated;
  }
  static const auto slots = std::make_unique<Slot[]>(GeneratedCodePageTables().size());
  Slot& slot = slots[static_cast<std::size_t>(generated - GeneratedCodePageTables().data())];
  std::call_once(slot.once, [&] { slot.completed = Complete(*generated); });
  return &slot.completed->table;
}

}  // namespace platform
