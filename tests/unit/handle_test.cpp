#include <RTI/Exception.h>
#include <RTI/Handle.h>

#include "RTI/HandleFriend.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace rti1516e {
namespace {

std::vector<unsigned char> bytesOf(VariableLengthData const& v) {
  unsigned char const* p = static_cast<unsigned char const*>(v.data());
  return std::vector<unsigned char>(p, p + v.size());
}

VariableLengthData dataOf(std::vector<unsigned char> const& bytes) {
  return VariableLengthData(bytes.data(), bytes.size());
}

// The eight simple kinds with their friends and printed names.
template <class Handle, class Friend>
struct Kind {
  typedef Handle H;
  typedef Friend F;
};

#define K(Kind_) Kind<Kind_, Kind_##Friend>
typedef ::testing::Types<K(ObjectClassHandle), K(AttributeHandle), K(InteractionClassHandle),
                         K(ParameterHandle), K(ObjectInstanceHandle), K(FederateHandle),
                         K(DimensionHandle), K(RegionHandle)>
    AllKinds;
#undef K

template <class K>
class SimpleHandleTest : public ::testing::Test {};

TYPED_TEST_SUITE(SimpleHandleTest, AllKinds);

TYPED_TEST(SimpleHandleTest, DefaultIsInvalidAndEncodesToZero) {
  typedef typename TypeParam::H H;
  H a, b;
  EXPECT_FALSE(a.isValid());
  EXPECT_TRUE(a == b);
  EXPECT_FALSE(a != b);
  EXPECT_EQ(bytesOf(a.encode()), std::vector<unsigned char>(4, 0));
  EXPECT_EQ(a.encodedLength(), 4u);
  EXPECT_EQ(a.hash(), 0);
}

TYPED_TEST(SimpleHandleTest, EncodesBigEndianAndDecodesBack) {
  typedef typename TypeParam::H H;
  typedef typename TypeParam::F F;
  H h = F::fromNumber(66051);
  EXPECT_TRUE(h.isValid());
  EXPECT_EQ(bytesOf(h.encode()), (std::vector<unsigned char>{0x00, 0x01, 0x02, 0x03}));
  EXPECT_EQ(F::decode(h.encode()), h);
  // Bytes past the fourth are not part of the handle.
  EXPECT_EQ(F::decode(dataOf({0x00, 0x01, 0x02, 0x03, 0xFF})), h);
}

TYPED_TEST(SimpleHandleTest, PrintsItsOwnClassName) {
  typedef typename TypeParam::H H;
  typedef typename TypeParam::F F;
  H h = F::fromNumber(7);
  std::wstring const text = h.toString();
  ASSERT_GT(text.size(), 3u);
  EXPECT_EQ(text.substr(text.size() - 3), L"<7>");
  // The name part is the class name, the same for every handle of the kind.
  EXPECT_EQ(text.substr(0, text.size() - 3) + L"<0>", H().toString());
  std::wostringstream stream;
  stream << h;
  EXPECT_EQ(stream.str(), text);
}

TEST(SimpleHandle, ToStringTexts) {
  EXPECT_EQ(AttributeHandleFriend::fromNumber(12).toString(), L"AttributeHandle<12>");
  EXPECT_EQ(FederateHandleFriend::fromNumber(3).toString(), L"FederateHandle<3>");
  EXPECT_EQ(FederateHandle().toString(), L"FederateHandle<0>");
  EXPECT_EQ(RegionHandleFriend::fromNumber(7).toString(), L"RegionHandle<7>");
  EXPECT_EQ(ObjectInstanceHandleFriend::fromNumber(-5).toString(), L"ObjectInstanceHandle<-5>");
  EXPECT_EQ(InteractionClassHandleFriend::fromNumber(1234567).toString(),
            L"InteractionClassHandle<1234567>");  // no digit grouping
}

TEST(SimpleHandle, EncodeIntoCallerBuffer) {
  AttributeHandle h = AttributeHandleFriend::fromNumber(66051);
  unsigned char buffer[5] = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
  try {
    h.encode(buffer, 3);
    FAIL() << "a 3-byte buffer was accepted";
  } catch (CouldNotEncode const& e) {
    EXPECT_EQ(e.what(), L"Buffer needs to be at least 4 bytes!");
  }
  EXPECT_EQ(buffer[0], 0xAA) << "nothing may be written before the size check";
  EXPECT_EQ(h.encode(buffer, 4), 4u);
  EXPECT_EQ(std::vector<unsigned char>(buffer, buffer + 5),
            (std::vector<unsigned char>{0x00, 0x01, 0x02, 0x03, 0xAA}));
}

TEST(SimpleHandle, HashIsNumberTimes37In32Bits) {
  struct Row {
    int32_t number;
    long hash;
  } const rows[] = {
      {0, 0},
      {1, 37},
      {1 << 28, 1342177280},          // 2^28 * 37 mod 2^32
      {0x7FFFFFFF, 2147483611},       // wraps: 0x7FFFFFFF * 37 = 0x1225FFFFFDB
      {0x04000000, -1811939328},      // wraps into the sign bit, widened with it
      {-1, -37},
  };
  for (Row const& row : rows) {
    SCOPED_TRACE(row.number);
    EXPECT_EQ(DimensionHandleFriend::fromNumber(row.number).hash(), row.hash);
  }
}

TEST(SimpleHandle, OrderingIsUnsignedOverTheWholeWord) {
  ObjectClassHandle const zero, one = ObjectClassHandleFriend::fromNumber(1),
                                minusOne = ObjectClassHandleFriend::fromNumber(-1);
  EXPECT_TRUE(zero < one);
  EXPECT_TRUE(one < minusOne);  // -1 is the largest word
  EXPECT_FALSE(minusOne < one);
  EXPECT_FALSE(one < one);
  std::set<ObjectClassHandle> ordered{minusOne, one, zero};
  EXPECT_EQ(std::vector<ObjectClassHandle>(ordered.begin(), ordered.end()),
            (std::vector<ObjectClassHandle>{zero, one, minusOne}));
}

// A handle of 2^31 or more arrives from the core as a negative number widened with its
// sign; decoding its own encoding must give the same handle.
TEST(SimpleHandle, DecodingWidensWithSignLikeTheCore) {
  for (int32_t number : {-1, -2, INT32_MIN, INT32_MAX}) {
    SCOPED_TRACE(number);
    ParameterHandle const fromCore = ParameterHandleFriend::fromNumber(number);
    ParameterHandle const decoded = ParameterHandleFriend::decode(fromCore.encode());
    EXPECT_EQ(decoded, fromCore);
    EXPECT_EQ(decoded.hash(), fromCore.hash());
    EXPECT_EQ(decoded.toString(), fromCore.toString());
    EXPECT_EQ(ParameterHandleFriend::number(decoded), number);
  }
  EXPECT_EQ(ParameterHandleFriend::decode(dataOf({0xFF, 0xFF, 0xFF, 0xFE})).toString(),
            L"ParameterHandle<-2>");
}

TEST(SimpleHandle, DecodingTooFewBytesThrowsWithoutReadingPastTheEnd) {
  // Each block is exactly as long as its bytes, so a sanitizer build sees any overread.
  for (size_t size = 0; size < 4; ++size) {
    SCOPED_TRACE(size);
    VariableLengthData const data = dataOf(std::vector<unsigned char>(size, 0x01));
    try {
      FederateHandleFriend::decode(data);
      FAIL() << "decoded from too few bytes";
    } catch (CouldNotDecode const& e) {
      EXPECT_NE(e.what().find(L"FederateHandle"), std::wstring::npos) << e.what();
      EXPECT_NE(e.what().find(L"needs 4 bytes"), std::wstring::npos) << e.what();
    }
  }
}

// MessageRetractionHandle

MessageRetractionHandle retraction(int32_t serial, std::vector<unsigned char> const& payload) {
  return MessageRetractionHandleFriend::make(serial, dataOf(payload));
}

TEST(MessageRetractionHandle, DefaultIsInvalidAndEncodesToEightZeros) {
  MessageRetractionHandle a, b;
  EXPECT_FALSE(a.isValid());
  EXPECT_EQ(a, b);
  EXPECT_EQ(bytesOf(a.encode()), std::vector<unsigned char>(8, 0));
  EXPECT_EQ(a.encodedLength(), 8u);
  EXPECT_EQ(a.toString(), L"MessageRetractionHandle<0>");
}

TEST(MessageRetractionHandle, EncodesSerialLengthAndPayload) {
  MessageRetractionHandle const h = retraction(5, {0xA1, 0xB2, 0xC3});
  std::vector<unsigned char> const expected{0, 0, 0, 5, 0, 0, 0, 3, 0xA1, 0xB2, 0xC3};
  EXPECT_TRUE(h.isValid());
  EXPECT_EQ(h.encodedLength(), 11u);
  EXPECT_EQ(bytesOf(h.encode()), expected);
  EXPECT_EQ(h.hash(), 185);

  unsigned char buffer[12];
  std::memset(buffer, 0xEE, sizeof buffer);
  try {
    h.encode(buffer, 10);
    FAIL() << "a 10-byte buffer was accepted";
  } catch (CouldNotEncode const& e) {
    EXPECT_EQ(e.what(), L"Buffer needs to be atleast 4 bytes!");
  }
  EXPECT_EQ(buffer[0], 0xEE);
  EXPECT_EQ(h.encode(buffer, 12), 11u);
  EXPECT_EQ(std::vector<unsigned char>(buffer, buffer + 11), expected);
  EXPECT_EQ(buffer[11], 0xEE);
}

TEST(MessageRetractionHandle, DecodesSerialAndPayload) {
  MessageRetractionHandle const h = MessageRetractionHandleFriend::decode(
      dataOf({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 2, 0x10, 0x20, 0x99}));  // one byte extra
  EXPECT_EQ(MessageRetractionHandleFriend::serial(h), -1);
  EXPECT_EQ(bytesOf(MessageRetractionHandleFriend::payload(h)),
            (std::vector<unsigned char>{0x10, 0x20}));
  EXPECT_EQ(h.toString(), L"MessageRetractionHandle<4294967295>");
  MessageRetractionHandle const back = MessageRetractionHandleFriend::decode(h.encode());
  EXPECT_EQ(bytesOf(back.encode()), bytesOf(h.encode()));
}

TEST(MessageRetractionHandle, DecodingTruncatedBytesThrows) {
  struct Row {
    char const* what;
    std::vector<unsigned char> bytes;
  } const rows[] = {
      {"empty", {}},
      {"serial only", {0, 0, 0, 5}},
      {"half the length", {0, 0, 0, 5, 0, 0}},
      {"payload cut short", {0, 0, 0, 5, 0, 0, 0, 3, 0xA1, 0xB2}},
      {"length near 2^32", {0, 0, 0, 5, 0xFF, 0xFF, 0xFF, 0xFF, 0xA1}},
  };
  for (Row const& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_THROW(MessageRetractionHandleFriend::decode(dataOf(row.bytes)), CouldNotDecode);
  }
}

TEST(MessageRetractionHandle, IdentityIsTheSerialAlone) {
  MessageRetractionHandle const a = retraction(9, {1, 2}), b = retraction(9, {3});
  EXPECT_TRUE(a == b);
  EXPECT_FALSE(a != b);
  EXPECT_EQ(a.hash(), b.hash());
  // Signed ordering: -1 sorts before 0.
  EXPECT_TRUE(retraction(-1, {}) < MessageRetractionHandle());
  EXPECT_FALSE(MessageRetractionHandle() < retraction(-1, {}));
}

TEST(MessageRetractionHandle, CopiesOwnTheirPayload) {
  MessageRetractionHandle target;
  {
    MessageRetractionHandle source = retraction(4, {7, 8, 9});
    MessageRetractionHandle copy(source);
    EXPECT_NE(MessageRetractionHandleFriend::payload(copy).data(),
              MessageRetractionHandleFriend::payload(source).data());
    target = source;
  }
  EXPECT_EQ(MessageRetractionHandleFriend::serial(target), 4);
  EXPECT_EQ(bytesOf(MessageRetractionHandleFriend::payload(target)),
            (std::vector<unsigned char>{7, 8, 9}));

  MessageRetractionHandle& alias = target;
  target = alias;
  EXPECT_EQ(bytesOf(target.encode()),
            (std::vector<unsigned char>{0, 0, 0, 4, 0, 0, 0, 3, 7, 8, 9}));
}

}  // namespace
}  // namespace rti1516e
