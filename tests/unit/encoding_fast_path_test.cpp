// Arrays and records take the library's own elements through a fast path; a federate's
// own element class, even one derived from a basic element, must still be asked itself.
#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/HLAfixedArray.h>
#include <RTI/encoding/HLAfixedRecord.h>
#include <RTI/encoding/HLAvariableArray.h>

#include "encoding_test_support.h"

namespace rti1516e {
namespace {

using namespace testing_support;

// A federate's element: an HLAinteger32BE that counts its calls and decodes its value
// plus 1000, so that a decode that bypassed it would show.
class Offset : public HLAinteger32BE {
 public:
  static int decodes, encodes;
  std::auto_ptr<DataElement> clone() const override { return std::auto_ptr<DataElement>(new Offset(*this)); }
  size_t decodeFrom(std::vector<Octet> const& buffer, size_t index) override {
    ++decodes;
    size_t const end = HLAinteger32BE::decodeFrom(buffer, index);
    set(get() + 1000);
    return end;
  }
  void encodeInto(std::vector<Octet>& buffer) const override {
    ++encodes;
    HLAinteger32BE(get() - 1000).encodeInto(buffer);
  }
};
int Offset::decodes = 0;
int Offset::encodes = 0;

TEST(EncodingFastPathTest, AFederatesElementClassIsAskedForEveryElement) {
  Offset::decodes = Offset::encodes = 0;
  HLAvariableArray array((Offset()));
  array.decode(dataOf({0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 2}));
  ASSERT_EQ(array.size(), 2u);
  EXPECT_EQ(Offset::decodes, 2);
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(array[1]).get(), 1002);
  EXPECT_EQ(bytesOf(array.encode()), (Bytes{0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 2}));
  EXPECT_GE(Offset::encodes, 2);

  // Mixed with the library's own elements in a record, in both directions.
  Offset::decodes = 0;
  HLAfixedRecord record;
  record.appendElement(HLAoctet('a'));
  record.appendElement(Offset());
  record.appendElement(HLAinteger16BE(7));
  record.decode(dataOf({'b', 0, 0, 0, 0, 0, 0, 5, 0, 9}));
  EXPECT_EQ(Offset::decodes, 1);
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(record.get(1)).get(), 1005);
  EXPECT_EQ(static_cast<HLAinteger16BE const&>(record.get(2)).get(), 9);
  EXPECT_EQ(bytesOf(record.encode()), (Bytes{'b', 0, 0, 0, 0, 0, 0, 5, 0, 9}));
}

// A run that the bytes do not hold is decoded element by element, as always: the
// elements before the shortage take their values and the shortage fails as it did.
TEST(EncodingFastPathTest, ARunCutShortFailsWhereElementByElementWould) {
  struct Case {
    char const* name;
    Bytes bytes;
    size_t index;
    size_t decoded;  // elements that took the new value
  };
  Case const cases[] = {
      {"third element cut off", {0, 0, 0, 1, 0, 0, 0, 2, 0, 0}, 0, 2},
      {"nothing after the padding", {9, 0, 0, 0}, 1, 0},
      {"index past the end", {0, 0, 0, 1}, 7, 0},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    HLAfixedArray array(HLAinteger32BE(-1), 3);
    std::vector<Octet> const buffer = bufferOf(c.bytes);
    EXPECT_EQ(encoderFailure([&] { array.decodeFrom(buffer, c.index); }), L"Index is out of bounds");
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(static_cast<HLAinteger32BE const&>(array[i]).get(), i < c.decoded ? Integer32(i + 1) : -1);
    }
  }
}

// The arrays keep track of the value of a caller's element by its record, which must
// therefore survive the element's copy assignment (ASan reports a stale one).
TEST(EncodingFastPathTest, ACallersElementStaysReachableAfterAssignment) {
  Integer32 bound = 3;
  HLAinteger32BE mine(&bound);
  HLAvariableArray array(HLAinteger32BE{});
  array.addElementPointer(&mine);
  array.addElement(HLAinteger32BE(2));
  mine = HLAinteger32BE(7);  // unbinds, as set does
  EXPECT_EQ(bytesOf(array.encode()), (Bytes{0, 0, 0, 2, 0, 0, 0, 7, 0, 0, 0, 2}));
  array.decode(dataOf({0, 0, 0, 2, 0, 0, 0, 8, 0, 0, 0, 9}));
  EXPECT_EQ(mine.get(), 8);
  EXPECT_EQ(bound, 3);
}

}  // namespace
}  // namespace rti1516e
