// Code page services on ICU, for systems without the Windows ones.
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>
#include <unicode/ustring.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "platform/codepage_services.h"
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

// Shared shape of both directions: explicit or NUL-terminated input, size query, terminator.
template <typename In, typename Out, typename Convert>
int ConvertWithConventions(UConverter* converter, const In* input, int inputLength, Out* output,
                           int outputCapacity, Convert convert) {
  if (converter == nullptr || input == nullptr || inputLength < -1 || outputCapacity < 0 ||
      (outputCapacity > 0 && output == nullptr)) {
    return 0;
  }
  const bool countTerminator = inputLength == -1;
  std::size_t length = 0;
  if (countTerminator) {
    while (input[length] != 0) ++length;
  } else {
    length = static_cast<std::size_t>(inputLength);
  }
  if (length == 0 && !countTerminator) return 0;
  if (length > static_cast<std::size_t>(INT32_MAX)) return 0;

  UErrorCode error = U_ZERO_ERROR;
  int32_t produced = convert(converter, outputCapacity > 0 ? output : nullptr, outputCapacity,
                             input, static_cast<int32_t>(length), &error);
  // ICU's size query, with no output at all, can come out short: ISCII misses a byte when it
  // writes a substitute. A caller that trusts it fails on the real conversion, so the size is
  // measured by converting into scratch space, which gives the true count.
  std::vector<Out> scratch;
  for (int attempt = 0; outputCapacity == 0 && error == U_BUFFER_OVERFLOW_ERROR && attempt < 4;
       ++attempt) {
    if (produced < 0 || produced > INT32_MAX - 16) return 0;
    scratch.resize(static_cast<std::size_t>(produced) + 16);
    error = U_ZERO_ERROR;
    produced = convert(converter, scratch.data(), static_cast<int32_t>(scratch.size()), input,
                       static_cast<int32_t>(length), &error);
  }
  if (U_FAILURE(error) || produced < 0) return 0;
  const long long total = static_cast<long long>(produced) + (countTerminator ? 1 : 0);
  if (total > INT_MAX) return 0;
  if (outputCapacity > 0) {
    if (total > outputCapacity) return 0;
    if (countTerminator) output[produced] = 0;
  }
  return static_cast<int>(total);
}

}  // namespace

int DecodeToUtf16(std::uint32_t codePage, const char* bytes, int byteCount, char16_t* units,
                  int unitCapacity) {
  return ConvertWithConventions(
      ConverterFor(codePage), bytes, byteCount, units, unitCapacity,
      [](UConverter* converter, char16_t* out, int32_t capacity, const char* in, int32_t length,
         UErrorCode* error) { return ucnv_toUChars(converter, out, capacity, in, length, error); });
}

int EncodeFromUtf16(std::uint32_t codePage, const char16_t* units, int unitCount, char* bytes,
                    int byteCapacity) {
  return ConvertWithConventions(
      ConverterFor(codePage), units, unitCount, bytes, byteCapacity,
      [](UConverter* converter, char* out, int32_t capacity, const char16_t* in, int32_t length,
         UErrorCode* error) {
        return ucnv_fromUChars(converter, out, capacity, in, length, error);
      });
}

bool IsCodePageUsable(std::uint32_t codePage) { return ConverterFor(codePage) != nullptr; }

bool ForEachInstalledCodePage(CodePageCallback callback) {
  if (callback == nullptr) return false;
  for (const IcuConverterName& entry : IcuConverterNames()) {
    if (!IsCodePageUsable(entry.codePage)) continue;
    char decimal[16];
    std::snprintf(decimal, sizeof decimal, "%u", static_cast<unsigned>(entry.codePage));
    if (callback(decimal) == 0) break;
  }
  return true;
}

}  // namespace platform
