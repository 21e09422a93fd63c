// Finding the characters of double-byte text a block at a time must agree with walking it byte
// by byte.
#include <gtest/gtest.h>

#include <random>

#include "app/double_byte_blocks.h"
#include "platform/codepage_services.h"

namespace {

using namespace double_byte_blocks;

// The leads, found the plain way: a candidate that is not a trail is a lead, and the byte after
// a lead is its trail.
std::uint64_t LeadsByWalking(std::uint64_t candidates) {
  std::uint64_t leads = 0;
  for (unsigned at = 0; at < kBlock; ++at) {
    if (((candidates >> at) & 1u) != 0) {
      leads |= std::uint64_t{1} << at;
      ++at;  // its trail
    }
  }
  return leads;
}

TEST(DoubleByteBlocksTest, LeadsAgreeWithWalkingTheBytes) {
  std::mt19937_64 random(11);
  for (int round = 0; round < 100000; ++round) {
    // Dense and sparse masks, long runs and short ones.
    std::uint64_t candidates = random();
    if (round % 3 == 1) candidates |= random();
    if (round % 3 == 2) candidates &= random();
    ASSERT_EQ(Leads(candidates), LeadsByWalking(candidates)) << std::hex << candidates;
  }
  const std::uint64_t kEdges[] = {0, ~std::uint64_t{0}, std::uint64_t{1} << 63,
                                  0x5555555555555555ull, 0xAAAAAAAAAAAAAAAAull};
  for (std::uint64_t candidates : kEdges) {
    EXPECT_EQ(Leads(candidates), LeadsByWalking(candidates)) << std::hex << candidates;
  }
}

TEST(DoubleByteBlocksTest, CandidatesAreTheLeadBytesOfEachPage) {
  std::mt19937 random(5);
  for (std::uint32_t codePage : {932u, 936u, 949u, 950u, 1361u}) {
    const platform::CodePageLayout layout = platform::DescribeCodePage(codePage);
    LeadRanges ranges;
    ASSERT_TRUE(DescribeLeadRanges(layout.isLeadByte, ranges)) << codePage;
    for (int round = 0; round < 64; ++round) {
      unsigned char block[kBlock];
      for (unsigned char& byte : block) byte = static_cast<unsigned char>(random());
      std::uint64_t expected = 0;
      for (unsigned at = 0; at < kBlock; ++at) {
        expected |= static_cast<std::uint64_t>(layout.isLeadByte[block[at]]) << at;
      }
      ASSERT_EQ(LeadCandidates(block, ranges), expected) << codePage;
    }
  }
  // More ranges than a block test can take.
  std::array<bool, 256> scattered{};
  for (unsigned byte = 0x81; byte < 0x90; byte += 2) scattered[byte] = true;
  LeadRanges ranges;
  EXPECT_FALSE(DescribeLeadRanges(scattered, ranges));
}

}  // namespace
