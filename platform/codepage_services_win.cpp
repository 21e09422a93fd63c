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

CodePageLayout DescribeCodePage(std::uint32_t codePage) {
  CodePageLayout layout;
  if (codePage == CP_UTF8) {
    layout.shape = CodePageShape::kUtf8;
    return layout;
  }
  CPINFO info{};
  if (!GetCPInfo(codePage, &info)) return layout;
  if (info.MaxCharSize == 1) {
    layout.shape = CodePageShape::kSingleByte;
  } else if (info.MaxCharSize == 2) {
    layout.shape = CodePageShape::kDoubleByte;
    for (int range = 0; range + 1 < MAX_LEADBYTES && info.LeadByte[range] != 0; range += 2) {
      for (unsigned byte = info.LeadByte[range]; byte <= info.LeadByte[range + 1]; ++byte) {
        layout.isLeadByte[byte] = true;
      }
    }
  }
  return layout;
}

bool ForEachInstalledCodePage(CodePageCallback callback) {
  t_activeCallback = callback;
  const BOOL result = EnumSystemCodePagesA(ForwardCodePage, CP_INSTALLED);
  t_activeCallback = nullptr;
  return result != FALSE;
}

}  // namespace platform
