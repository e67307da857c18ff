#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/HLAfixedArray.h>
#include <RTI/encoding/HLAfixedRecord.h>
#include <RTI/encoding/HLAopaqueData.h>
#include <RTI/encoding/HLAvariantRecord.h>

#include "encoding_test_support.h"

#include <limits>

namespace rti1516e {
namespace {

using namespace testing_support;

TEST(FixedRecordTest, FieldsArePaddedToTheirBoundaries) {
  HLAfixedRecord record;
  record.appendElement(HLAoctet('\x05'));
  record.appendElement(HLAinteger32BE(42));
  EXPECT_EQ(record.getOctetBoundary(), 4u);
  EXPECT_EQ(record.getEncodedLength(), 8u);
  std::vector<Octet> buffer;
  record.encodeInto(buffer);
  EXPECT_EQ(bytesOf(buffer), (Bytes{5, 0, 0, 0, 0, 0, 0, 42}));

  HLAfixedRecord empty;
  VariableLengthData data("stale", 5);
  empty.encode(data);
  EXPECT_EQ(data.size(), 0u);
  EXPECT_EQ(empty.getOctetBoundary(), 1u);
}

TEST(FixedRecordTest, ReplacementChecksIndexThenTypeAndChangesNothingOnFailure) {
  HLAfixedRecord record;
  record.appendElement(HLAinteger16BE(1));
  Bytes const before = bytesOf(record.encode());
  HLAinteger16LE wrong(2);
  size_t const huge = std::numeric_limits<size_t>::max();
  EXPECT_EQ(encoderFailure([&] { record.set(0, wrong); }), L"Non-matching type");
  EXPECT_EQ(encoderFailure([&] { record.setElementPointer(0, &wrong); }), L"Non-matching type");
  EXPECT_EQ(encoderFailure([&] { record.set(1, wrong); }), L"Array index out of bounds");
  EXPECT_EQ(encoderFailure([&] { record.setElementPointer(huge, &wrong); }), L"Array index out of bounds");
  EXPECT_EQ(encoderFailure([&] { record.get(1); }), L"Array index out of bounds");
  EXPECT_EQ(encoderFailure([&] { record.hasElementSameTypeAs(1, wrong); }), L"Array index out of bounds");
  EXPECT_EQ(encoderFailure([&] { record.appendElementPointer(nullptr); }), L"Element pointer is null");
  EXPECT_EQ(bytesOf(record.encode()), before);
  EXPECT_EQ(record.size(), 1u);
  EXPECT_TRUE(record.hasElementSameTypeAs(0, HLAinteger16BE{}));
}

TEST(FixedRecordTest, FieldsBoundToCallerVariablesReceiveDecodedValues) {
  Integer32 id = 0;
  std::string name;
  HLAinteger32BE idField(&id);
  HLAASCIIstring nameField(&name);
  HLAfixedRecord record;
  record.appendElementPointer(&idField);
  record.appendElementPointer(&nameField);
  record.decode(dataOf({0, 0, 0, 7, 0, 0, 0, 2, 'o', 'k'}));
  EXPECT_EQ(id, 7);
  EXPECT_EQ(name, "ok");

  // A copy owns clones that no longer write the variables.
  HLAfixedRecord copy(record);
  copy.decode(dataOf({0, 0, 0, 8, 0, 0, 0, 0}));
  EXPECT_EQ(id, 7);
  EXPECT_EQ(name, "ok");
}

// Decoding is not all-or-nothing here: fields before the failing one keep their values.
TEST(FixedRecordTest, FieldFailureHalfWayLeavesEarlierFieldsDecoded) {
  HLAfixedRecord record;
  record.appendElement(HLAinteger32BE(1));
  record.appendElement(HLAASCIIstring("old"));
  EXPECT_EQ(encoderFailure([&] { record.decode(dataOf({0, 0, 0, 9, 0, 0, 0, 4, 'a'})); }),
            L"Array index out of bounds");
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(record.get(0)).get(), 9);
  EXPECT_EQ(static_cast<HLAASCIIstring const&>(record.get(1)).get(), "old");
}

// A federate's own element that encodes and decodes another composite value from inside
// its encodeInto and decodeFrom (as a wrapper around a nested structure might), and that
// reports a boundary of 0, which must count as 1 rather than divide by zero.
class WrappingElement : public DataElement {
 public:
  WrappingElement() { inner.appendElement(HLAASCIIstring("inner")); }
  std::auto_ptr<DataElement> clone() const override {
    return std::auto_ptr<DataElement>(new WrappingElement(*this));
  }
  VariableLengthData encode() const override { return inner.encode(); }
  void encode(VariableLengthData& inData) const override { inner.encode(inData); }
  void encodeInto(std::vector<Octet>& buffer) const override {
    VariableLengthData const bytes = inner.encode();
    auto const* p = static_cast<Octet const*>(bytes.data());
    buffer.insert(buffer.end(), p, p + bytes.size());
  }
  void decode(VariableLengthData const& inData) override { inner.decode(inData); }
  size_t decodeFrom(std::vector<Octet> const& buffer, size_t index) override {
    inner.decode(VariableLengthData(buffer.data() + index, buffer.size() - index));
    return index + inner.getEncodedLength();
  }
  size_t getEncodedLength() const override { return inner.getEncodedLength(); }
  unsigned int getOctetBoundary() const override { return 0; }
  HLAfixedRecord inner;
};

TEST(FixedRecordTest, FederateElementNestingEncodeAndDecodeWithBoundaryZero) {
  HLAfixedRecord record;
  record.appendElement(HLAoctet('<'));
  record.appendElement(WrappingElement());
  record.appendElement(HLAinteger32BE(2));
  Bytes const bytes = bytesOf(record.encode());
  EXPECT_EQ(bytes, (Bytes{'<', 0, 0, 0, 5, 'i', 'n', 'n', 'e', 'r', 0, 0, 0, 0, 0, 2}));
  EXPECT_EQ(record.getEncodedLength(), bytes.size());

  HLAfixedRecord received;
  received.appendElement(HLAoctet());
  WrappingElement wrapper;
  received.appendElementPointer(&wrapper);
  received.appendElement(HLAinteger32BE());
  received.decode(dataOf(bytes));
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(received.get(2)).get(), 2);
  EXPECT_EQ(bytesOf(received.encode()), bytes);
}

// Discriminant HLAinteger32BE; 1 selects an HLAoctet, 2 an HLAfloat64BE.
HLAvariantRecord shapeRecord() {
  HLAvariantRecord record(HLAinteger32BE{});
  record.addVariant(HLAinteger32BE(1), HLAoctet('\x0F'));
  record.addVariant(HLAinteger32BE(2), HLAfloat64BE(0.5));
  return record;
}

TEST(VariantRecordTest, AlternativeIsAlignedToTheLargestAlternativeBoundary) {
  HLAvariantRecord record = shapeRecord();
  EXPECT_EQ(record.getOctetBoundary(), 8u);
  record.setDiscriminant(HLAinteger32BE(1));
  EXPECT_EQ(bytesOf(record.encode()), (Bytes{0, 0, 0, 1, 0, 0, 0, 0, 0x0F}));
  EXPECT_EQ(record.getEncodedLength(), 9u);
  EXPECT_EQ(static_cast<HLAoctet const&>(record.getVariant()).get(), '\x0F');

  record.setDiscriminant(HLAinteger32BE(2));
  EXPECT_EQ(bytesOf(record.encode()), (Bytes{0, 0, 0, 2, 0, 0, 0, 0, 0x3F, 0xE0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(record.getEncodedLength(), 16u);
}

TEST(VariantRecordTest, DecodeSelectsTheAlternativeByTheReceivedDiscriminant) {
  HLAvariantRecord record = shapeRecord();
  record.setDiscriminant(HLAinteger32BE(1));
  std::vector<Octet> buffer = bufferOf({0, 0, 0, 2, 9, 9, 9, 9, 0x40, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(record.decodeFrom(buffer, 0), 16u);
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(record.getDiscriminant()).get(), 2);
  EXPECT_EQ(static_cast<HLAfloat64BE const&>(record.getVariant()).get(), 2.0);
}

// Encoding writes the padding after an unmapped discriminant, and decoding consumes it,
// so a field that follows the record is read where it was written.
TEST(VariantRecordTest, UnmappedDiscriminantKeepsTheLayout) {
  HLAvariantRecord record = shapeRecord();
  record.setDiscriminant(HLAinteger32BE(3));
  EXPECT_EQ(encoderFailure([&] { record.getVariant(); }), L"Discriminant is not mapped to a value");
  Bytes const bytes = bytesOf(record.encode());
  EXPECT_EQ(bytes, (Bytes{0, 0, 0, 3, 0, 0, 0, 0}));
  EXPECT_EQ(record.getEncodedLength(), 8u);

  HLAvariantRecord received = shapeRecord();
  EXPECT_EQ(received.decodeFrom(bufferOf(bytes), 0), 8u);
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(received.getDiscriminant()).get(), 3);
  // A sender that leaves the padding out at the very end is still understood.
  EXPECT_EQ(received.decodeFrom(bufferOf({0, 0, 0, 3}), 0), 4u);

  HLAfixedRecord message;
  message.appendElement(record);
  message.appendElement(HLAinteger32BE(77));
  HLAfixedRecord decoded;
  decoded.appendElement(shapeRecord());
  decoded.appendElement(HLAinteger32BE(0));
  decoded.decode(message.encode());
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(decoded.get(1)).get(), 77);
}

TEST(VariantRecordTest, SetVariantReplacesOnlyWithTheSameClass) {
  HLAvariantRecord record = shapeRecord();
  record.setDiscriminant(HLAinteger32BE(2));
  Bytes const before = bytesOf(record.encode());
  HLAinteger64BE wrong(1);
  EXPECT_EQ(encoderFailure([&] { record.setVariant(HLAinteger32BE(2), wrong); }), L"Non-matching type");
  EXPECT_EQ(encoderFailure([&] { record.setVariantPointer(HLAinteger32BE(2), &wrong); }),
            L"Non-matching type");
  EXPECT_EQ(encoderFailure([&] { record.setVariantPointer(HLAinteger32BE(2), nullptr); }),
            L"Element pointer is null");
  EXPECT_EQ(bytesOf(record.encode()), before);

  record.setVariant(HLAinteger32BE(2), HLAfloat64BE(4.0));
  EXPECT_EQ(static_cast<HLAfloat64BE const&>(record.getVariant()).get(), 4.0);
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(record.getDiscriminant()).get(), 2);

  // An unregistered discriminant value gets the value as its alternative.
  record.setVariant(HLAinteger32BE(5), wrong);
  EXPECT_TRUE(record.isSameTypeAs(HLAinteger32BE(5), HLAinteger64BE{}));
  EXPECT_FALSE(record.isSameTypeAs(HLAinteger32BE(6), HLAinteger64BE{}));
  EXPECT_FALSE(record.isSameTypeAs(HLAinteger32BE(1), HLAinteger64BE{}));
  EXPECT_TRUE(record.hasMatchingDiscriminantTypeAs(HLAinteger32BE{}));
  EXPECT_FALSE(record.hasMatchingDiscriminantTypeAs(HLAinteger32LE{}));

  // addVariant replaces whatever class was registered.
  record.addVariant(HLAinteger32BE(2), HLAoctet('x'));
  EXPECT_EQ(bytesOf(record.encode()), (Bytes{0, 0, 0, 2, 0, 0, 0, 0, 'x'}));
}

TEST(VariantRecordTest, CallerAlternativeReceivesDecodedValue) {
  double radius = 0;
  HLAfloat64BE radiusField(&radius);
  HLAvariantRecord record(HLAinteger32BE{});
  record.addVariantPointer(HLAinteger32BE(1), &radiusField);
  record.decode(dataOf({0, 0, 0, 1, 0, 0, 0, 0, 0x40, 0x08, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(radius, 3.0);
}

// Decoding is not all-or-nothing here: the discriminant is decoded before the
// alternative, so an alternative that fails leaves the new discriminant in place.
TEST(VariantRecordTest, AlternativeFailureLeavesTheNewDiscriminant) {
  HLAvariantRecord record = shapeRecord();
  record.setDiscriminant(HLAinteger32BE(1));
  EXPECT_EQ(encoderFailure([&] { record.decode(dataOf({0, 0, 0, 2, 0, 0, 0, 0, 0x40})); }),
            L"Index is out of bounds");
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(record.getDiscriminant()).get(), 2);
  EXPECT_EQ(static_cast<HLAfloat64BE const&>(record.getVariant()).get(), 0.5);
}

TEST(OpaqueDataTest, LayoutAndOwnStorage) {
  Octet const bytes[] = {1, 2, 3};
  HLAopaqueData data(bytes, 3);
  EXPECT_NE(data.get(), bytes);
  EXPECT_EQ(bytesOf(data.encode()), (Bytes{0, 0, 0, 3, 1, 2, 3}));
  EXPECT_EQ(data.getEncodedLength(), 7u);
  EXPECT_EQ(data.getOctetBoundary(), 4u);
  std::vector<Octet> buffer(1, '\x11');
  data.encodeInto(buffer);
  EXPECT_EQ(bytesOf(buffer), (Bytes{0x11, 0, 0, 0, 0, 0, 0, 3, 1, 2, 3}));  // padded to 4

  EXPECT_EQ(data.decodeFrom(bufferOf({9, 0, 0, 0, 2, 7, 8, 9}), 1), 7u);  // no alignment
  EXPECT_EQ(data.dataLength(), 2u);
  EXPECT_EQ(data.bufferLength(), 2u);
  EXPECT_EQ(Bytes(data.get(), data.get() + 2), (Bytes{7, 8}));

  data.set(data.get() + 1, 1);  // from its own buffer
  EXPECT_EQ(bytesOf(data.encode()), (Bytes{0, 0, 0, 1, 8}));
  data.decode(dataOf({0, 0, 0, 0}));
  EXPECT_EQ(bytesOf(data.encode()), (Bytes{0, 0, 0, 0}));
}

TEST(OpaqueDataTest, MalformedInputChangesNothing) {
  struct Case {
    char const* name;
    Bytes bytes;
    size_t index;
    wchar_t const* message;
  };
  size_t const huge = std::numeric_limits<size_t>::max();
  Case cases[] = {
      {"length beyond the bytes", {0, 0, 0, 5, 1, 2}, 0, L"Array index out of bounds"},
      {"negative length", {0xFF, 0xFF, 0xFF, 0xFD, 1, 2}, 0, L"Array index out of bounds"},
      {"largest length", {0x7F, 0xFF, 0xFF, 0xFF, 1}, 0, L"Array index out of bounds"},
      {"fewer than four bytes", {0, 0, 1}, 0, L"HLAopaqueData cannot decode (indata too short)"},
      {"index near the end", {0, 0, 0, 0, 0}, 2, L"HLAopaqueData cannot decode (indata too short)"},
      {"index far past the end", {0, 0, 0, 0}, huge, L"HLAopaqueData cannot decode (indata too short)"},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    HLAopaqueData own("ab", 2);
    char storage[4] = {'x', 'y', 'z', 'w'};
    char* p = storage;
    HLAopaqueData external(&p, sizeof storage, 1);
    for (HLAopaqueData* data : {&own, &external}) {
      Bytes const before = bytesOf(data->encode());
      std::vector<Octet> buffer = bufferOf(c.bytes);
      EXPECT_EQ(encoderFailure([&] { data->decodeFrom(buffer, c.index); }), c.message);
      EXPECT_EQ(bytesOf(data->encode()), before);
    }
    EXPECT_EQ(std::string(storage, 4), "xyzw");
  }
}

TEST(OpaqueDataTest, ExternalStorageIsFilledInPlaceAndNeverOverrun) {
  char storage[3] = {'-', '-', '!'};
  char* p = storage;
  HLAopaqueData data(&p, 2, 0);
  EXPECT_EQ(data.get(), storage);

  EXPECT_EQ(encoderFailure([&] { data.decode(dataOf({0, 0, 0, 3, 1, 2, 3})); }),
            L"Insufficient external storage");
  EXPECT_EQ(std::string(storage, 3), "--!");
  EXPECT_EQ(data.dataLength(), 0u);

  data.decode(dataOf({0, 0, 0, 2, 0x0A, 0x0B}));
  EXPECT_EQ(Bytes(storage, storage + 3), (Bytes{0x0A, 0x0B, '!'}));
  EXPECT_EQ(data.dataLength(), 2u);
  EXPECT_EQ(data.bufferLength(), 2u);
  EXPECT_EQ(data.get(), storage);

  // A copy owns its bytes; set switches back to own storage and leaves the caller's alone.
  HLAopaqueData copy(data);
  EXPECT_NE(copy.get(), storage);
  data.set("q", 1);
  EXPECT_NE(data.get(), storage);
  EXPECT_EQ(storage[0], 0x0A);

  data.setDataPointer(&p, 3, 3);
  EXPECT_EQ(bytesOf(data.encode()), (Bytes{0, 0, 0, 3, 0x0A, 0x0B, '!'}));
  EXPECT_EQ(encoderFailure([&] { data.setDataPointer(nullptr, 1, 1); }), L"Element pointer is null");
}

}  // namespace
}  // namespace rti1516e
