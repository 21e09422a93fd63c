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
#include "platform/icu_converter_names.h"

namespace platform {
namespace {

// What Windows puts in place of an invalid source sequence (its "Unicode default character").
constexpr UChar kQuestionMark = u'?';
constexpr UChar kKatakanaMiddleDot = u'\u30FB';
constexpr UChar kReplacementCharacter = u'\uFFFD';

const UChar* DecodeSubstituteFor(std::uint32_t codePage) {
  if (codePage == 932) return &kKatakanaMiddleDot;
  if (codePage == 65000 || codePage == 65001) return &kReplacementCharacter;
  return &kQuestionMark;
}

// What Windows writes for a character the target lacks: the page's default character, one per
// UTF-16 unit. It is given as a character, so the converter encodes it in the page's own form
// ('?' is 0x6F in EBCDIC) and in the right shift state of a stateful page.
const UChar* EncodeSubstituteFor(std::uint32_t codePage) {
  if (codePage == 65000 || codePage == 65001) return &kReplacementCharacter;
  return &kQuestionMark;
}

bool IsSubstitutionReason(UConverterCallbackReason reason) {
  return reason == UCNV_UNASSIGNED || reason == UCNV_ILLEGAL || reason == UCNV_IRREGULAR;
}

void WriteDecodeSubstitute(const void* context, UConverterToUnicodeArgs* args, const char*,
                           int32_t, UConverterCallbackReason reason, UErrorCode* error) {
  if (!IsSubstitutionReason(reason)) return;
  *error = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, static_cast<const UChar*>(context), 1, 0, error);
}

void WriteEncodeSubstitute(const void* context, UConverterFromUnicodeArgs* args, const UChar*,
                           int32_t length, UChar32, UConverterCallbackReason reason,
                           UErrorCode* error) {
  if (!IsSubstitutionReason(reason)) return;
  *error = U_ZERO_ERROR;
  const UChar* substitute = static_cast<const UChar*>(context);
  for (int32_t unit = 0; unit < length && U_SUCCESS(*error); ++unit) {
    const UChar* source = substitute;
    ucnv_cbFromUWriteUChars(args, &source, substitute + 1, 0, error);
  }
}

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenConverter(std::uint32_t codePage) {
  const char* name = IcuConverterNameFor(codePage);
  if (name == nullptr) return nullptr;
  UErrorCode error = U_ZERO_ERROR;
  ConverterPtr converter(ucnv_open(name, &error));
  if (U_FAILURE(error)) return nullptr;
  ucnv_setFallback(converter.get(), true);  // Windows applies best fit unless told not to
  ucnv_setToUCallBack(converter.get(), WriteDecodeSubstitute, DecodeSubstituteFor(codePage),
                      nullptr, nullptr, &error);
  ucnv_setFromUCallBack(converter.get(), WriteEncodeSubstitute, EncodeSubstituteFor(codePage),
                        nullptr, nullptr, &error);
  if (U_FAILURE(error)) return nullptr;
  return converter;
}

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
        UErrorCode error = U_ZERO_ERROR;
        const int32_t produced = ucnv_toUChars(converter, out, capacity, in,
                                               static_cast<int32_t>(length), &error);
        return IcuResult(produced, error);
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
        UErrorCode error = U_ZERO_ERROR;
        const int32_t produced = ucnv_fromUChars(converter, out, capacity, in,
                                                 static_cast<int32_t>(length), &error);
        return IcuResult(produced, error);
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
