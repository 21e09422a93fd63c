#include "platform/icu_converter_names.h"

#include <algorithm>
#include <array>

namespace platform {
namespace {

// Windows' own table where ICU carries one (windows-*), IBM's CCSID for the EBCDIC pages, and ICU's
// standard converters for the ISO, EUC, ISO-2022, HZ, GB18030, ISCII, Mac, KOI8 and UTF pages.
// The UTF-16 and UTF-32 pages (1200, 1201, 12000, 12001) are for managed code only on Windows and
// are left out, as are the pages ICU has no table for.
constexpr std::array kNames{
    IcuConverterName{37, "ibm-37_P100-1995"},
    IcuConverterName{437, "ibm-437_P100-1995"},
    IcuConverterName{500, "ibm-500_P100-1995"},
    IcuConverterName{708, "ibm-1089_P100-1995"},
    IcuConverterName{720, "ibm-720_P100-1997"},
    IcuConverterName{737, "ibm-737_P100-1997"},
    IcuConverterName{775, "ibm-775_P100-1996"},
    IcuConverterName{850, "ibm-850_P100-1995"},
    IcuConverterName{852, "ibm-852_P100-1995"},
    IcuConverterName{855, "ibm-855_P100-1995"},
    IcuConverterName{857, "ibm-857_P100-1995"},
    IcuConverterName{858, "ibm-858_P100-1997"},
    IcuConverterName{860, "ibm-860_P100-1995"},
    IcuConverterName{861, "ibm-861_P100-1995"},
    IcuConverterName{862, "ibm-862_P100-1995"},
    IcuConverterName{863, "ibm-863_P100-1995"},
    IcuConverterName{864, "ibm-864_X110-1999"},
    IcuConverterName{865, "ibm-865_P100-1995"},
    IcuConverterName{866, "ibm-866_P100-1995"},
    IcuConverterName{869, "ibm-869_P100-1995"},
    IcuConverterName{870, "ibm-870_P100-1995"},
    IcuConverterName{874, "windows-874-2000"},
    IcuConverterName{875, "ibm-875_P100-1995"},
    IcuConverterName{932, "ibm-943_P15A-2003"},
    IcuConverterName{936, "windows-936-2000"},
    IcuConverterName{949, "windows-949-2000"},
    IcuConverterName{950, "windows-950-2000"},
    IcuConverterName{1026, "ibm-1026_P100-1995"},
    IcuConverterName{1047, "ibm-1047_P100-1995"},
    IcuConverterName{1140, "ibm-1140_P100-1997"},
    IcuConverterName{1141, "ibm-1141_P100-1997"},
    IcuConverterName{1142, "ibm-1142_P100-1997"},
    IcuConverterName{1143, "ibm-1143_P100-1997"},
    IcuConverterName{1144, "ibm-1144_P100-1997"},
    IcuConverterName{1145, "ibm-1145_P100-1997"},
    IcuConverterName{1146, "ibm-1146_P100-1997"},
    IcuConverterName{1147, "ibm-1147_P100-1997"},
    IcuConverterName{1148, "ibm-1148_P100-1997"},
    IcuConverterName{1149, "ibm-1149_P100-1997"},
    IcuConverterName{1250, "ibm-5346_P100-1998"},
    IcuConverterName{1251, "ibm-5347_P100-1998"},
    IcuConverterName{1252, "ibm-5348_P100-1997"},
    IcuConverterName{1253, "ibm-5349_P100-1998"},
    IcuConverterName{1254, "ibm-5350_P100-1998"},
    IcuConverterName{1255, "ibm-9447_P100-2002"},
    IcuConverterName{1256, "ibm-9448_X100-2005"},
    IcuConverterName{1257, "ibm-9449_P100-2002"},
    IcuConverterName{1258, "ibm-5354_P100-1998"},
    IcuConverterName{10000, "macos-0_2-10.2"},
    IcuConverterName{10006, "macos-6_2-10.4"},
    IcuConverterName{10007, "macos-7_3-10.2"},
    IcuConverterName{10029, "macos-29-10.2"},
    IcuConverterName{10081, "macos-35-10.2"},
    IcuConverterName{20127, "US-ASCII"},
    IcuConverterName{20273, "ibm-273_P100-1995"},
    IcuConverterName{20277, "ibm-277_P100-1995"},
    IcuConverterName{20278, "ibm-278_P100-1995"},
    IcuConverterName{20280, "ibm-280_P100-1995"},
    IcuConverterName{20284, "ibm-284_P100-1995"},
    IcuConverterName{20285, "ibm-285_P100-1995"},
    IcuConverterName{20290, "ibm-290_P100-1995"},
    IcuConverterName{20297, "ibm-297_P100-1995"},
    IcuConverterName{20420, "ibm-420_X120-1999"},
    IcuConverterName{20424, "ibm-424_P100-1995"},
    IcuConverterName{20838, "ibm-838_P100-1995"},
    IcuConverterName{20866, "ibm-878_P100-1996"},
    IcuConverterName{20871, "ibm-871_P100-1995"},
    IcuConverterName{20932, "euc-jp-2007"},
    IcuConverterName{20936, "ibm-1383_P110-1999"},
    IcuConverterName{20949, "ibm-970_P110_P110-2006_U2"},
    IcuConverterName{21025, "ibm-1025_P100-1995"},
    IcuConverterName{21866, "ibm-1168_P100-2002"},
    IcuConverterName{28591, "ISO-8859-1"},
    IcuConverterName{28592, "ibm-912_P100-1995"},
    IcuConverterName{28593, "ibm-913_P100-2000"},
    IcuConverterName{28594, "ibm-914_P100-1995"},
    IcuConverterName{28595, "ibm-915_P100-1995"},
    IcuConverterName{28596, "ibm-1089_P100-1995"},
    IcuConverterName{28597, "ibm-9005_X110-2007"},
    IcuConverterName{28598, "ibm-5012_P100-1999"},
    IcuConverterName{28599, "ibm-920_P100-1995"},
    IcuConverterName{28603, "ibm-921_P100-1995"},
    IcuConverterName{28605, "ibm-923_P100-1998"},
    IcuConverterName{38598, "ibm-5012_P100-1999"},
    IcuConverterName{50220, "ISO_2022,locale=ja,version=0"},
    IcuConverterName{50221, "ISO_2022,locale=ja,version=3"},
    IcuConverterName{50222, "ISO_2022,locale=ja,version=3"},
    IcuConverterName{50225, "ISO_2022,locale=ko,version=0"},
    IcuConverterName{50227, "ISO_2022,locale=zh,version=0"},
    IcuConverterName{50930, "ibm-930_P120-1999"},
    IcuConverterName{50933, "ibm-933_P110-1995"},
    IcuConverterName{50935, "ibm-935_P110-1999"},
    IcuConverterName{50937, "ibm-937_P110-1999"},
    IcuConverterName{50939, "ibm-939_P120-1999"},
    IcuConverterName{51932, "euc-jp-2007"},
    IcuConverterName{51936, "ibm-1383_P110-1999"},
    IcuConverterName{51949, "ibm-970_P110_P110-2006_U2"},
    IcuConverterName{52936, "HZ"},
    IcuConverterName{54936, "gb18030"},
    IcuConverterName{57002, "ISCII,version=0"},
    IcuConverterName{57003, "ISCII,version=1"},
    IcuConverterName{57004, "ISCII,version=5"},
    IcuConverterName{57005, "ISCII,version=6"},
    IcuConverterName{57006, "ISCII,version=1"},
    IcuConverterName{57007, "ISCII,version=4"},
    IcuConverterName{57008, "ISCII,version=7"},
    IcuConverterName{57009, "ISCII,version=8"},
    IcuConverterName{57010, "ISCII,version=3"},
    IcuConverterName{57011, "ISCII,version=2"},
    IcuConverterName{65000, "UTF-7"},
    IcuConverterName{65001, "UTF-8"},
};

static_assert(std::is_sorted(kNames.begin(), kNames.end(),
                             [](const IcuConverterName& a, const IcuConverterName& b) {
                               return a.codePage < b.codePage;
                             }));

}  // namespace

std::span<const IcuConverterName> IcuConverterNames() { return kNames; }

const char* IcuConverterNameFor(std::uint32_t codePage) {
  const auto it = std::lower_bound(
      kNames.begin(), kNames.end(), codePage,
      [](const IcuConverterName& entry, std::uint32_t number) { return entry.codePage < number; });
  return it != kNames.end() && it->codePage == codePage ? it->icuName : nullptr;
}

}  // namespace platform
