// The table generator must refuse a damaged data file (the build fails) rather than turn it into
// a table that is silently wrong.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

struct DataFile {
  const char* what;
  const char* kind;
  const char* codePage;
  std::string text;
  bool accepted;
};

const std::string kSingleByteHead = "CODEPAGE 1252 ; comment\r\nCPINFO 1 0x3f 0x003f\r\n";
const std::string kDoubleByteHead =
    "CODEPAGE 936\nCPINFO 2 0x3f 0x003f\nMBTABLE 1\n0x3f 0x003f\n"
    "DBCSRANGE 1\n0x81 0x81\nDBCSTABLE 1\n0x40 0x4e02\n";

int RunGenerator(const testing_support::ScratchDirectory& scratch, const DataFile& file) {
  const std::string data = scratch.File("data.txt");
  testing_support::WriteFile(data, file.text);
  const std::string command = std::string(CODEPAGE_TABLE_GENERATOR) + " " +
                              scratch.File("tables.cpp") + " " + file.kind + " " + file.codePage +
                              " " + data + " 2>/dev/null";
  return std::system(command.c_str());
}

TEST(CodePageTableGenerator, AcceptsWellFormedFilesAndRefusesDamagedOnes) {
  const std::vector<DataFile> files = {
      {"single-byte page", "bestfit", "1252",
       kSingleByteHead + "MBTABLE 2\r\n0x3f\t0x003f\r\n0x41 0x0041\r\nWCTABLE 1\r\n"
                         "0x221e 0x38 ;Infinity\r\nENDCODEPAGE\r\n",
       true},
      {"double-byte page", "bestfit", "936",
       kDoubleByteHead + "WCTABLE 2\n0x003f 0x3f\n0x4e02 0x8140\nENDCODEPAGE\n", true},
      {"round-trip table with an undefined byte", "roundtrip", "437",
       "# header\n0x3F\t0x003F\t#QUESTION MARK\n0x80\t\t#UNDEFINED\n", true},
      {"fewer MBTABLE records than announced", "bestfit", "1252",
       kSingleByteHead + "MBTABLE 3\n0x3f 0x003f\n0x41 0x0041\nWCTABLE 0\nENDCODEPAGE\n", false},
      {"a file for another code page", "bestfit", "1250",
       kSingleByteHead + "MBTABLE 0\nWCTABLE 0\nENDCODEPAGE\n", false},
      {"a record with a missing field", "bestfit", "1252",
       kSingleByteHead + "MBTABLE 1\n0x3f\nWCTABLE 0\nENDCODEPAGE\n", false},
      {"a pair whose lead byte is not a lead byte", "bestfit", "936",
       kDoubleByteHead + "WCTABLE 1\n0x4e02 0x8240\nENDCODEPAGE\n", false},
      {"a surrogate in WCTABLE", "bestfit", "1252",
       kSingleByteHead + "MBTABLE 0\nWCTABLE 1\n0xd800 0x3f\nENDCODEPAGE\n", false},
      {"no end marker", "bestfit", "1252", kSingleByteHead + "MBTABLE 0\nWCTABLE 0\n", false},
      {"a byte mapped twice", "roundtrip", "437", "0x3F 0x003F\n0x3F 0x0041\n", false},
      {"no byte for the default character", "roundtrip", "437", "0x41 0x0041\n", false},
  };
  for (const DataFile& file : files) {
    testing_support::ScratchDirectory scratch;
    const int status = RunGenerator(scratch, file);
    EXPECT_EQ(status == 0, file.accepted) << file.what;
    EXPECT_EQ(testing_support::FileExists(scratch.File("tables.cpp")), file.accepted) << file.what;
  }
}

}  // namespace
