#include "platform/icu_converter.h"

#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

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

}  // namespace

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

}  // namespace platform
