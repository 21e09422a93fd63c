#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "codepage/code_page_table.h"
#include "codepage/installed_list.h"

namespace {

TEST(CodePageTableTest, HasItsRowsInAscendingOrderWithoutRepeats) {
  ASSERT_EQ(g_CodePageTable.size(), 152u);
  EXPECT_EQ(g_CodePageTable.front().nCodePage, 37u);
  EXPECT_EQ(g_CodePageTable.back().nCodePage, 65001u);
  EXPECT_TRUE(std::adjacent_find(g_CodePageTable.begin(), g_CodePageTable.end(),
                                 [](const CodePageEntry& a, const CodePageEntry& b) {
                                   return a.nCodePage >= b.nCodePage;
                                 }) == g_CodePageTable.end());
}

std::size_t TrailingBlanks(std::string_view text) {
  const auto last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? text.size() : text.size() - last - 1;
}

TEST(CodePageTableTest, DisplayStringsKeepTheTrailingBlanksOfTheDescriptions) {
  const std::set<std::size_t> twoBlanks{31, 42, 43, 45, 71, 73, 75, 76, 124, 138, 139};
  for (std::size_t row = 0; row < g_CodePageTable.size(); ++row) {
    const std::size_t expected = row <= 2 ? 0 : twoBlanks.count(row) ? 2 : 1;
    EXPECT_EQ(TrailingBlanks(DisplayStringOfRow(row)), expected) << "row " << row;
  }
  EXPECT_EQ(DisplayStringOfRow(0), "37 - IBM EBCDIC US-Canada");
  EXPECT_EQ(DisplayStringOfRow(25), "932 - ANSI/OEM Japanese; Japanese (Shift-JIS) ");
  EXPECT_EQ(DisplayStringOfRow(106), "21027 - deprecated) ");
  EXPECT_EQ(DisplayStringOfRow(151), "65001 - Unicode (UTF-8) ");
}

class InstalledListTest : public ::testing::Test {
 protected:
  void SetUp() override { Clear(); }
  void TearDown() override { Clear(); }
  static void Clear() {
    g_InstalledNames.clear();
    g_InstalledIndex.clear();
  }
};

TEST_F(InstalledListTest, LookupsOnAnEmptyListGiveZero) {
  for (CodePage codePage : {0u, 37u, 932u, 65001u, 4294967295u}) {
    EXPECT_EQ(FindInstalledIndex(codePage), 0) << codePage;
  }
  EXPECT_EQ(InstalledCodePageAt(0), 0u);
}

TEST_F(InstalledListTest, KeepsTheEnumerationOrderAndSkipsWhatTheTableLacks) {
  for (const char* reported : {"1252", "abc", "99999", "932", " 437", "1200x", "-932"}) {
    EXPECT_EQ(EnumCodePagesProc(reported), 1) << reported;
  }
  ASSERT_EQ(g_InstalledNames.size(), 4u);
  ASSERT_EQ(g_InstalledIndex.size(), 4u);
  EXPECT_EQ(g_InstalledNames[0], "1252 - ANSI Latin 1; Western European (Windows)  ");
  EXPECT_EQ(g_InstalledNames[1], "932 - ANSI/OEM Japanese; Japanese (Shift-JIS) ");
  EXPECT_EQ(g_InstalledNames[2], "437 - OEM United States");
  EXPECT_EQ(g_InstalledNames[3], "1200 - Unicode UTF-16, little endian byte order (BMP of ISO "
                                 "10646); available only to managed applications ");
  EXPECT_EQ(g_InstalledIndex, (std::vector<std::int32_t>{45, 25, 1, 41}));

  // Position 0 and an absent code page both give 0; the others their first position.
  EXPECT_EQ(FindInstalledIndex(1252), 0);
  EXPECT_EQ(FindInstalledIndex(936), 0);
  EXPECT_EQ(FindInstalledIndex(932), 1);
  EXPECT_EQ(FindInstalledIndex(437), 2);
  EXPECT_EQ(InstalledCodePageAt(1), 932u);
  EXPECT_EQ(InstalledCodePageAt(3), 1200u);
  EXPECT_EQ(InstalledCodePageAt(4), 0u);
  EXPECT_EQ(InstalledCodePageAt(-1), 0u);

  // A second enumeration appends again; lookups keep finding the first copies.
  EnumCodePagesProc("932");
  EXPECT_EQ(FindInstalledIndex(932), 1);
}

TEST_F(InstalledListTest, SystemEnumerationListsUsablePagesInAscendingOrder) {
  FillInstalledCodePages();
  ASSERT_FALSE(g_InstalledIndex.empty());
  EXPECT_TRUE(std::is_sorted(g_InstalledIndex.begin(), g_InstalledIndex.end()));
  std::set<CodePage> listed;
  for (std::int32_t position = 0; position < static_cast<std::int32_t>(g_InstalledIndex.size());
       ++position) {
    listed.insert(InstalledCodePageAt(position));
  }
  for (CodePage expected : {37u, 437u, 850u, 932u, 936u, 949u, 950u, 1252u, 20127u, 65001u}) {
    EXPECT_TRUE(listed.count(expected)) << expected;
  }
  // UTF-16 and UTF-32 are for managed code only on Windows.
  for (CodePage absent : {1200u, 1201u, 12000u, 12001u}) {
    EXPECT_FALSE(listed.count(absent)) << absent;
  }
}

}  // namespace
