#include "gen/cpp_handwritten/ByteWrapper.h"

#include <gtest/gtest.h>

#include <vector>

namespace rti1516e {
namespace {

TEST(ByteWrapper, WordsAreBigEndianBothWays) {
  unsigned char bytes[8] = {};
  ByteWrapper out(bytes, sizeof bytes);
  out.writeInt(0x01020304);
  out.writeInt(-2);
  EXPECT_EQ(out.offset(), 8u);
  std::vector<unsigned char> expected = {1, 2, 3, 4, 0xFF, 0xFF, 0xFF, 0xFE};
  EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + 8), expected);

  ByteWrapper in(bytes, sizeof bytes);
  EXPECT_EQ(in.readInt(), 0x01020304);
  EXPECT_EQ(in.readInt(), -2);
  EXPECT_EQ(in.remaining(), 0u);
}

TEST(ByteWrapper, ReadingPastTheEndIsRefusedWithTheOffset) {
  unsigned char bytes[6] = {0, 0, 0, 7, 0xAA, 0xBB};
  ByteWrapper in(bytes, sizeof bytes);
  EXPECT_EQ(in.readInt(), 7);
  try {
    in.readInt();
    FAIL() << "read past the end";
  } catch (WireFormatError const& e) {
    EXPECT_STREQ(e.what(), "integer: needs 4 bytes at offset 4, array has 6");
  }
  EXPECT_EQ(in.offset(), 4u);
}

TEST(ByteWrapper, LengthsAreCheckedAgainstWhatRemains) {
  struct Row {
    std::vector<unsigned char> bytes;
    size_t elementSize;
    bool accepted;
  } rows[] = {
      {{0, 0, 0, 2, 9, 9}, 1, true},            // exactly what remains
      {{0, 0, 0, 3, 9, 9}, 1, false},           // one more than remains
      {{0, 0, 0, 1, 9, 9}, 4, false},           // one 4-byte element needs 4 bytes
      {{0xFF, 0xFF, 0xFF, 0xFF}, 1, false},     // negative
      {{0x7F, 0xFF, 0xFF, 0xFF, 1}, 1, false},  // enormous
      {{0, 0, 0, 0}, 4, true},                  // empty
      {{0x40, 0, 0, 0}, 0, true},               // zero-size elements cost nothing
  };
  for (Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.bytes));
    ByteWrapper in(row.bytes.data(), row.bytes.size());
    if (row.accepted) {
      EXPECT_NO_THROW(in.readLength(row.elementSize, "count"));
    } else {
      EXPECT_THROW(in.readLength(row.elementSize, "count"), WireFormatError);
    }
  }
}

}  // namespace
}  // namespace rti1516e
