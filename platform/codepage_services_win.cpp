// Code page services on Windows: the system's own.
#include <windows.h>

#include "platform/codepage_services.h"

namespace platform {
namespace {
thread_local CodePageCallback t_activeCallback = nullptr;

BOOL CALLBACK ForwardCodePage(LPSTR decimalNumber) {
  return t_activeCallback != nullptr && t_activeCallback(decimalNumber) != 0 ? TRUE : FALSE;
}
}  // namespace

int DecodeToUtf16(std::uint32_t codePage, const char* bytes, int byteCount, char16_t* units,
                  int unitCapacity) {
  return MultiByteToWideChar(codePage, 0, bytes, byteCount, reinterpret_cast<wchar_t*>(units),
                             unitCapacity);
}

int EncodeFromUtf16(std::uint32_t codePage, const char16_t* units, int unitCount, char* bytes,
                    int byteCapacity) {
  return WideCharToMultiByte(codePage, 0, reinterpret_cast<const wchar_t*>(units), unitCount,
                             bytes, byteCapacity, nullptr, nullptr);
}

bool IsCodePageUsable(std::uint32_t codePage) { return IsValidCodePage(codePage) != FALSE; }

bool ForEachInstalledCodePage(CodePageCallback callback) {
  t_activeCallback = callback;
  const BOOL result = EnumSystemCodePagesA(ForwardCodePage, CP_INSTALLED);
  t_activeCallback = nullptr;
  return result != FALSE;
}

}  // namespace platform
