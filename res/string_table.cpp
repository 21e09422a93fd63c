#include "res/string_table.h"

#include <array>
#include <string_view>

#include "res/resource.h"

namespace {

struct StringResource {
  int id;
  std::string_view text;
};

// Language: US English (1033).
constexpr std::array<StringResource, 1> kStrings{{
    {IDS_ABOUTBOX, "About Mirovex..."},
}};

}  // namespace

std::string LoadResourceString(int id) {
  for (const StringResource& entry : kStrings) {
    if (entry.id == id) return std::string(entry.text);
  }
  return {};
}
