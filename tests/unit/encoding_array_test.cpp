#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/HLAfixedArray.h>
#include <RTI/encoding/HLAfixedRecord.h>
#include <RTI/encoding/HLAvariableArray.h>

#include "encoding_test_support.h"

#include <limits>

namespace rti1516e {
namespace {

using namespace testing_support;

TEST(VariableArrayTest, LayoutOfTheCountAndTheElements) {
  HLAvariableArray shorts(HLAinteger16BE{});
  EXPECT_EQ(bytesOf(shorts.encode()), (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(shorts.getEncodedLength(), 4u);
  shorts.addElement(HLAinteger16BE(1));
  shorts.addElement(HLAinteger16BE(2));
  EXPECT_EQ(bytesOf(shorts.encode()), (Bytes{0, 0, 0, 2, 0, 1, 0, 2}));
  EXPECT_EQ(shorts.getEncodedLength(), 8u);
  EXPECT_EQ(shorts.getOctetBoundary(), 4u);
  // addElement takes any class, encoded in its own way.
  shorts.addElement(HLAinteger32LE(3));
  EXPECT_EQ(bytesOf(shorts.encode()), (Bytes{0, 0, 0, 3, 0, 1, 0, 2, 3, 0, 0, 0}));

  HLAvariableArray doubles(HLAfloat64BE{});
  EXPECT_EQ(doubles.getOctetBoundary(), 8u);  // empty: the prototype's, being above 4
  doubles.addElement(HLAfloat64BE(1.0));
  EXPECT_EQ(bytesOf(doubles.encode()),
            (Bytes{0, 0, 0, 1, 0, 0, 0, 0, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(doubles.getEncodedLength(), 16u);
  EXPECT_EQ(doubles.getOctetBoundary(), 8u);
  // Inside a buffer the count starts at the array's boundary, 8 here.
  std::vector<Octet> buffer(1, '\x11');
  doubles.encodeInto(buffer);
  EXPECT_EQ(buffer.size(), 8u + 16u);
}

TEST(VariableArrayTest, DecodeResizesAndKeepsTheCallersElements) {
  Integer16 first = 0;
  HLAinteger16BE bound(&first);
  HLAinteger16BE borrowed(5);
  HLAvariableArray array(HLAinteger16BE{});
  array.addElementPointer(&bound);
  array.addElementPointer(&borrowed);
  array.addElement(HLAinteger16BE(6));

  array.decode(dataOf({0, 0, 0, 1, 0x01, 0x02}));
  ASSERT_EQ(array.size(), 1u);
  EXPECT_EQ(&array.get(0), &bound);  // the element that stays keeps its identity
  EXPECT_EQ(first, 0x0102);          // and writes the caller's variable
  EXPECT_EQ(borrowed.get(), 5);      // dropped, not deleted (ASan would object)

  array.decode(dataOf({0, 0, 0, 2, 0, 1, 0, 2}));
  EXPECT_EQ(&array.get(0), &bound);
  EXPECT_NE(&array.get(1), &borrowed);  // a fresh copy of the prototype

  // An empty value empties the array; the index moves past the (aligned) count.
  EXPECT_EQ(array.decodeFrom(bufferOf({7, 7, 7, 7, 0, 0, 0, 0, 9}), 1), 8u);
  EXPECT_EQ(array.size(), 0u);
}

TEST(VariableArrayTest, MalformedCountsFailBeforeAnythingChanges) {
  struct Case {
    char const* name;
    Bytes bytes;
    size_t index;
  };
  size_t const huge = std::numeric_limits<size_t>::max();
  Case cases[] = {
      {"count beyond the bytes", {0, 0, 0, 5, 0, 1}, 0},
      {"negative count", {0xFF, 0xFF, 0xFF, 0xFF, 0, 1}, 0},
      {"most negative count", {0x80, 0, 0, 0}, 0},
      {"enormous positive count", {0x7F, 0xFF, 0xFF, 0xFF}, 0},
      {"fewer than four bytes", {0, 0, 0}, 0},
      {"count cut off after alignment", {9, 0, 0, 0, 0, 0, 0}, 1},
      {"index at the end", {0, 0, 0, 0}, 4},
      {"index far past the end", {0, 0, 0, 0}, huge},
      {"index that alignment would wrap", {0, 0, 0, 0}, huge - 2},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    HLAvariableArray array(HLAinteger16BE{});
    array.addElement(HLAinteger16BE(42));
    std::vector<Octet> buffer = bufferOf(c.bytes);
    EXPECT_EQ(encoderFailure([&] { array.decodeFrom(buffer, c.index); }),
              L"HLAvariableArray cannot decode (indata too short)");
    EXPECT_EQ(bytesOf(array.encode()), (Bytes{0, 0, 0, 1, 0, 42}));
  }
}

// Decoding is not all-or-nothing here: elements decoded before the failing one keep
// their new values. Missing elements are added only as decoding reaches them, so the
// array ends with the failing element rather than the full received count.
TEST(VariableArrayTest, ElementFailureHalfWayLeavesEarlierElementsDecoded) {
  HLAvariableArray array(HLAinteger32BE{});
  array.addElement(HLAinteger32BE(-1));
  EXPECT_EQ(encoderFailure([&] { array.decode(dataOf({0, 0, 0, 4, 0, 0, 0, 7, 0, 0, 0, 8, 0})); }),
            L"Index is out of bounds");
  ASSERT_EQ(array.size(), 3u);
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(array[0]).get(), 7);
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(array[1]).get(), 8);
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(array[2]).get(), 0);
}

// A count that the bytes could hold only if every element took one byte must not make
// thousands of copies of a large prototype before the first element fails.
TEST(VariableArrayTest, HostileCountCopiesThePrototypeOnlyAsFarAsDecodingGets) {
  HLAvariableArray blobs(HLAfixedArray(HLAoctet{}, 4096));
  Bytes bytes = {0, 0, 0x10, 0};  // 4096 elements of 4096 bytes each, announced ...
  bytes.resize(4 + 4096 + 10);    // ... in 4110 bytes
  EXPECT_EQ(encoderFailure([&] { blobs.decode(dataOf(bytes)); }), L"Index is out of bounds");
  EXPECT_EQ(blobs.size(), 2u);
}

TEST(VariableArrayTest, NestedRecordsWithStringsRoundTrip) {
  HLAfixedRecord prototype;
  prototype.appendElement(HLAinteger16BE{});
  prototype.appendElement(HLAASCIIstring{});
  HLAvariableArray tracks(prototype);
  for (int i = 0; i < 3; ++i) {
    HLAfixedRecord track;
    track.appendElement(HLAinteger16BE(static_cast<Integer16>(i)));
    track.appendElement(HLAASCIIstring(std::string(static_cast<size_t>(i), 'x')));
    tracks.addElement(track);
  }
  VariableLengthData const value = tracks.encode();
  // count; {0, pad, ""}; {1, pad, "x"}, pad; {2, pad, "xx"}
  EXPECT_EQ(bytesOf(value), (Bytes{0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0,
                                   0, 1, 0, 0, 0, 0, 0, 1, 'x', 0, 0, 0,
                                   0, 2, 0, 0, 0, 0, 0, 2, 'x', 'x'}));
  EXPECT_EQ(tracks.getEncodedLength(), value.size());

  HLAvariableArray received(prototype);
  received.decode(value);
  ASSERT_EQ(received.size(), 3u);
  EXPECT_EQ(bytesOf(received.encode()), bytesOf(value));
}

// Both array classes answer index and type errors alike, index first, and change nothing.
template <class Array>
void checkReplacement(Array& array) {
  Bytes const before = bytesOf(array.encode());
  HLAinteger32LE wrongType(9);
  HLAinteger32BE rightType(9);
  EXPECT_EQ(encoderFailure([&] { array.set(1, wrongType); }), L"Element doesn't match prototype");
  EXPECT_EQ(encoderFailure([&] { array.setElementPointer(1, &wrongType); }), L"Element doesn't match prototype");
  EXPECT_EQ(encoderFailure([&] { array.set(2, wrongType); }), L"Array index out of bounds");
  EXPECT_EQ(encoderFailure([&] { array.setElementPointer(2, &rightType); }), L"Array index out of bounds");
  EXPECT_EQ(encoderFailure([&] { array.get(2); }), L"Array index out of bounds");
  EXPECT_EQ(encoderFailure([&] { array[std::numeric_limits<size_t>::max()]; }), L"Array index out of bounds");
  EXPECT_EQ(encoderFailure([&] { array.setElementPointer(0, nullptr); }), L"Element pointer is null");
  EXPECT_EQ(bytesOf(array.encode()), before);

  array.set(0, rightType);
  rightType.set(4);  // the array holds its own copy ...
  array.setElementPointer(1, &rightType);
  rightType.set(5);  // ... and reads the caller's element
  Bytes const after = bytesOf(array.encode());
  ASSERT_GE(after.size(), 8u);
  EXPECT_EQ(Bytes(after.end() - 8, after.end()), (Bytes{0, 0, 0, 9, 0, 0, 0, 5}));
}

TEST(ArrayReplacementTest, IndexAndTypeChecks) {
  HLAfixedArray fixed(HLAinteger32BE(1), 2);
  checkReplacement(fixed);
  HLAvariableArray variable(HLAinteger32BE{});
  variable.addElement(HLAinteger32BE(1));
  variable.addElement(HLAinteger32BE(1));
  checkReplacement(variable);
}

TEST(FixedArrayTest, LayoutAndEmptyArray) {
  HLAfixedArray octets(HLAoctet('z'), 3);
  EXPECT_EQ(octets.size(), 3u);
  EXPECT_EQ(octets.getEncodedLength(), 3u);
  EXPECT_EQ(octets.getOctetBoundary(), 1u);
  std::vector<Octet> buffer(1, 'a');
  octets.encodeInto(buffer);
  EXPECT_EQ(bytesOf(buffer), (Bytes{'a', 'z', 'z', 'z'}));

  HLAfixedArray mixed(HLAoctet('a'), 2);
  HLAoctet b('b');
  mixed.setElementPointer(1, &b);
  EXPECT_EQ(bytesOf(mixed.encode()), (Bytes{'a', 'b'}));

  HLAfixedArray empty(HLAinteger64BE(1), 0);
  EXPECT_EQ(empty.encode().size(), 0u);
  EXPECT_EQ(empty.getEncodedLength(), 0u);
  EXPECT_EQ(empty.getOctetBoundary(), 1u);
  EXPECT_FALSE(empty.hasPrototypeSameTypeAs(HLAinteger64BE{}));
  EXPECT_EQ(encoderFailure([&] { empty.set(0, HLAinteger64BE{}); }), L"Array index out of bounds");
  EXPECT_TRUE(octets.hasPrototypeSameTypeAs(HLAoctet{}));
  EXPECT_FALSE(octets.hasPrototypeSameTypeAs(HLAbyte{}));
}

TEST(FixedArrayTest, ElementsAreAlignedToTheirOwnBoundaries) {
  HLAfixedArray vector3(HLAfloat64BE{}, 3);
  vector3.set(1, HLAfloat64BE(1.0));
  std::vector<Octet> buffer(4, '\x11');
  vector3.encodeInto(buffer);
  ASSERT_EQ(buffer.size(), 32u);

  HLAfixedArray received(HLAfloat64BE{}, 3);
  EXPECT_EQ(received.decodeFrom(buffer, 4), 32u);  // index 4 is raised to 8 for the first
  EXPECT_EQ(static_cast<HLAfloat64BE const&>(received[1]).get(), 1.0);
}

TEST(ArrayCopyTest, CopiesOwnTheirElements) {
  HLAinteger32BE caller(1);
  HLAvariableArray variable(HLAinteger32BE{});
  variable.addElementPointer(&caller);
  HLAfixedArray fixed(HLAinteger32BE{}, 1);
  fixed.setElementPointer(0, &caller);

  HLAvariableArray variableCopy(variable);
  std::auto_ptr<DataElement> fixedClone = fixed.clone();
  caller.set(2);
  EXPECT_EQ(bytesOf(variableCopy.encode()), (Bytes{0, 0, 0, 1, 0, 0, 0, 1}));
  EXPECT_EQ(bytesOf(fixedClone->encode()), (Bytes{0, 0, 0, 1}));
  variableCopy.decode(dataOf({0, 0, 0, 1, 0, 0, 0, 5}));  // does not reach the caller's
  EXPECT_EQ(caller.get(), 2);
}

}  // namespace
}  // namespace rti1516e
