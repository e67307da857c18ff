// Arrays and records take the library's own elements through a fast path; a federate's
// own element class, even one derived from a basic element, must still be asked itself.
#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/HLAfixedArray.h>
#include <RTI/encoding/HLAfixedRecord.h>
#include <RTI/encoding/HLAvariableArray.h>

#include "encoding_test_support.h"

#include <atomic>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

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

HLAfixedRecord numbers(Integer32 id, Integer16 heading) {
  HLAfixedRecord record;
  record.appendElement(HLAinteger32BE(id));
  record.appendElement(HLAinteger16BE(heading));
  return record;
}

Integer32 idOf(DataElement const& record) {
  return static_cast<HLAinteger32BE const&>(static_cast<HLAfixedRecord const&>(record).get(0)).get();
}

Integer16 headingOf(DataElement const& record) {
  return static_cast<HLAinteger16BE const&>(static_cast<HLAfixedRecord const&>(record).get(1)).get();
}

// A run of numbers or of records that the bytes do not hold is decoded element by
// element, field by field, as always: the fields before the shortage take their values
// and the shortage fails as it did.
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

  HLAfixedArray records(numbers(-1, -1), 3);
  EXPECT_EQ(encoderFailure([&] { records.decode(dataOf({0, 0, 0, 1, 0, 2, 0, 0, 0, 0, 0, 3, 0, 4, 0, 0, 0, 0, 0, 5})); }),
            L"Index is out of bounds");
  Integer32 const ids[] = {1, 3, 5};
  Integer16 const headings[] = {2, 4, -1};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(idOf(records[i]), ids[i]) << i;
    EXPECT_EQ(headingOf(records[i]), headings[i]) << i;
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

// Records of numbers are placed by a layout worked out when they are built; it must follow
// every change, and a start the layout does not assume must still place each field by
// its own boundary.
TEST(EncodingFastPathTest, RecordsOfNumbersAreLaidOutAsFieldByField) {
  HLAfixedRecord track = numbers(1, 2);
  track.appendElement(HLAoctet('a'));
  HLAvariableArray tracks(track);
  tracks.addElement(track);
  track.set(0, HLAinteger32BE(3));
  track.set(1, HLAinteger16BE(4));
  track.set(2, HLAoctet('b'));
  tracks.addElement(track);
  Bytes const twoTracks{0, 0, 0, 2, 0, 0, 0, 1, 0, 2, 'a', 0, 0, 0, 0, 3, 0, 4, 'b'};
  EXPECT_EQ(bytesOf(tracks.encode()), twoTracks);
  HLAvariableArray decoded(track);
  decoded.decode(dataOf(twoTracks));
  EXPECT_EQ(bytesOf(decoded.encode()), twoTracks);

  // A record added by pointer that changes afterwards.
  HLAfixedRecord inner;
  inner.appendElement(HLAinteger16BE(1));
  HLAfixedRecord outer;
  outer.appendElement(HLAoctet('a'));
  outer.appendElementPointer(&inner);
  EXPECT_EQ(bytesOf(outer.encode()), (Bytes{'a', 0, 0, 1}));
  inner.appendElement(HLAoctet('z'));
  EXPECT_EQ(bytesOf(outer.encode()), (Bytes{'a', 0, 0, 1, 'z'}));

  // An element of another class replaced by one of the prototype's.
  HLAvariableArray mixed(HLAinteger32BE{});
  mixed.addElement(HLAoctet(9));
  mixed.addElement(HLAinteger32BE(2));
  EXPECT_EQ(bytesOf(mixed.encode()), (Bytes{0, 0, 0, 2, 9, 0, 0, 0, 0, 0, 0, 2}));
  mixed.set(0, HLAinteger32BE(1));
  EXPECT_EQ(bytesOf(mixed.encode()), (Bytes{0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 2}));

  // Decoded from an index the record's boundary does not divide, with bytes to spare.
  HLAfixedRecord unaligned;
  unaligned.appendElement(HLAoctet());
  unaligned.appendElement(HLAinteger32BE());
  std::vector<Octet> const buffer = bufferOf({9, 'x', 0, 0, 0, 0, 0, 7, 9, 9});
  EXPECT_EQ(unaligned.decodeFrom(buffer, 1), 8u);
  EXPECT_EQ(static_cast<HLAoctet const&>(unaligned.get(0)).get(), 'x');
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(unaligned.get(1)).get(), 7);
}

// Adds the fields to record by pointer.
void pointTo(HLAfixedRecord& record, std::initializer_list<DataElement*> fields) {
  for (DataElement* field : fields) record.appendElementPointer(field);
}

// A value decoded or encoded again and again is done by a plan made from it. Every change
// made in between must show in the next one: fields added, replaced, bound to a variable
// and unbound, records repointed and destroyed (ASan reports a stale plan), and numbers
// sharing their storage must end as decoding element by element leaves them. Encodes are
// compared with encodeInto, which never takes a plan.
TEST(EncodingFastPathTest, RepeatedDecodesAndEncodesFollowEveryChangeBetweenThem) {
  HLAoctet a;
  HLAinteger16BE h;
  HLAfloat64BE x;
  HLAinteger32BE n;
  HLAfixedRecord inner, other, outer;
  pointTo(inner, {&h, &x});
  pointTo(other, {&n});
  pointTo(outer, {&a, &inner, &other});
  auto decodeThrice = [&](Bytes const& bytes) {
    for (int i = 0; i < 3; ++i) outer.decode(dataOf(bytes));
    std::vector<Octet> expected;
    outer.encodeInto(expected);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(bytesOf(outer.encode()), bytesOf(expected)) << "encode " << i;
  };
  // a@0 | h@8 x@16 (the record aligns to 8) | n@24
  Bytes bytes{'a', 0, 0, 0, 0, 0, 0, 0, 1, 2, 0, 0, 0, 0, 0, 0, 0x3f, 0xf8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7};
  decodeThrice(bytes);
  EXPECT_EQ(bytesOf(outer.encode()), bytes);
  EXPECT_EQ(a.get(), 'a');
  EXPECT_EQ(h.get(), 0x102);
  EXPECT_EQ(x.get(), 1.5);
  EXPECT_EQ(n.get(), 7);

  Integer16 bound = 0;
  h.setDataPointer(&bound);
  bytes[9] = 3;
  decodeThrice(bytes);
  EXPECT_EQ(bound, 0x103);
  // Unbound by set() and by assignment: decodes go to the element's own value again.
  for (auto unbind : {+[](HLAinteger16BE& e) { e.set(0); }, +[](HLAinteger16BE& e) { e = HLAinteger16BE(); }}) {
    unbind(h);
    bytes[9] = 4;
    decodeThrice(bytes);
    EXPECT_EQ(h.get(), 0x104);
    EXPECT_EQ(bound, 0x103);
    h.setDataPointer(&bound);
    bytes[9] = 3;
    decodeThrice(bytes);
    EXPECT_EQ(bound, 0x103);
  }

  other.appendElement(HLAinteger16BE());  // @28
  bytes.insert(bytes.end(), {0, 9});
  decodeThrice(bytes);
  EXPECT_EQ(static_cast<HLAinteger16BE const&>(other.get(1)).get(), 9);

  inner.set(1, HLAfloat64BE());
  bytes[16] = 0x40;  // 2.5
  bytes[17] = 0x04;
  decodeThrice(bytes);
  EXPECT_EQ(x.get(), 1.5);
  EXPECT_EQ(static_cast<HLAfloat64BE const&>(inner.get(1)).get(), 2.5);

  // A record repointed, then the one it replaced destroyed.
  auto gone = std::unique_ptr<HLAfixedRecord>(new HLAfixedRecord);
  gone->appendElement(HLAinteger32BE());
  outer.setElementPointer(2, gone.get());
  decodeThrice(bytes);
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(gone->get(0)).get(), 7);
  HLAfixedRecord kept;
  kept.appendElement(HLAinteger32BE());
  outer.setElementPointer(2, &kept);
  gone.reset();
  decodeThrice(bytes);
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(kept.get(0)).get(), 7);

  // Cut short, or from an index the boundary does not divide, it decodes as always.
  EXPECT_EQ(encoderFailure([&] { outer.decode(dataOf(Bytes(bytes.begin(), bytes.begin() + 26))); }),
            L"Index is out of bounds");
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(kept.get(0)).get(), 7);
  std::vector<Octet> shifted(8, 0);
  shifted.insert(shifted.end(), bytes.begin(), bytes.end());
  shifted[8 + 27] = 8;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(outer.decodeFrom(shifted, 8), 36u);
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(kept.get(0)).get(), 8);
  shifted.erase(shifted.begin(), shifted.begin() + 4);  // 'a' at 4, then h at 8, x at 16, n at 24
  for (int i = 0; i < 3; ++i) EXPECT_EQ(outer.decodeFrom(shifted, 4), 28u);
  EXPECT_EQ(bound, 0);
  EXPECT_EQ(static_cast<HLAinteger32BE const&>(kept.get(0)).get(), 0);

  // Numbers of two kinds bound to one variable, in turn: the last one wins.
  HLAinteger16LE little(&bound);
  HLAinteger16BE big(&bound);
  outer.appendElementPointer(&little);  // @28
  outer.appendElementPointer(&big);     // @30
  bytes.insert(bytes.end(), {0, 5});
  decodeThrice(bytes);
  EXPECT_EQ(bound, 5);
}

// Threads may encode one value at once, also just after a change, when they all find its
// plan out of date at once; each must get the value's bytes. The changes here move where a
// number is kept every round, so the value soon stops taking new plans (ASan reports a
// plan deleted while another thread used it).
TEST(EncodingFastPathTest, ThreadsEncodingOneValueAtOnceEachGetItsBytes) {
  HLAfloat64BE x(1.5), y(2.5);
  HLAinteger16BE h(7);
  HLAoctet c('c');
  HLAfixedRecord inner, outer;
  pointTo(inner, {&x, &y});
  pointTo(outer, {&c, &inner, &h});
  double bound = 0;
  for (int round = 0; round < 24; ++round) {
    if (round % 2 == 0) {
      bound = round;
      x.setDataPointer(&bound);
    } else {
      x.set(-round);
    }
    std::vector<Octet> expected;
    outer.encodeInto(expected);
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
      threads.emplace_back([&] {
        for (int i = 0; i < 100; ++i) {
          if (bytesOf(outer.encode()) != bytesOf(expected)) ++wrong;
        }
      });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong.load(), 0) << "round " << round;
  }
}

// Numbers that share their storage or lie side by side in it must end as element by
// element leaves them. One number in two columns of rows of one layout ends with the later
// of its two values: in a few records, and in a long array whose rows lie evenly (decoded
// column by column). Numbers bound to a struct's members one after the other are moved
// several at a time: six in a row, and a row broken by a member bound out of order, each
// keep their own value.
TEST(EncodingFastPathTest, NumbersSharingOrNeighbouringStorageEndAsElementByElement) {
  HLAinteger16BE x, y;
  HLAfixedRecord first, second, rows;
  pointTo(first, {&x, &y});
  pointTo(second, {&y, &x});
  pointTo(rows, {&first, &second});
  for (int i = 0; i < 3; ++i) rows.decode(dataOf({0, 1, 0, 2, 0, 3, 0, 4}));
  EXPECT_EQ(x.get(), 4);
  EXPECT_EQ(y.get(), 3);

  HLAfixedRecord pair;
  pair.appendElement(HLAinteger16BE());
  pair.appendElement(HLAinteger16BE());
  HLAvariableArray array(pair);
  Bytes bytes{0, 0, 0, 32};
  for (int row = 0; row < 32; ++row) bytes.insert(bytes.end(), {0, 0, 0, static_cast<unsigned char>(row)});
  array.decode(dataOf(bytes));
  array.setElementPointer(0, &first);
  array.setElementPointer(31, &second);
  bytes[4 + 1] = 1;  // x in the first row, then 2 for y, ..., 3 for y and 4 for x in the last
  bytes[4 + 3] = 2;
  bytes[4 + 31 * 4 + 1] = 3;
  bytes[4 + 31 * 4 + 3] = 4;
  for (int i = 0; i < 3; ++i) array.decode(dataOf(bytes));
  EXPECT_EQ(x.get(), 4);
  EXPECT_EQ(y.get(), 3);
  EXPECT_EQ(static_cast<HLAinteger16BE const&>(static_cast<HLAfixedRecord const&>(array[30]).get(1)).get(), 30);

  struct {
    double d[6];
    Integer16 h[3];
  } s{};
  std::vector<std::unique_ptr<DataElement>> fields;
  HLAfixedRecord inner, outer;
  for (double& d : s.d) fields.emplace_back(new HLAfloat64BE(&d));
  for (int i : {0, 2, 1}) fields.emplace_back(new HLAinteger16BE(&s.h[i]));
  for (size_t i = 0; i < fields.size(); ++i) (i < 3 ? outer : inner).appendElementPointer(fields[i].get());
  outer.appendElementPointer(&inner);
  Bytes neighbours;
  for (int i = 1; i <= 6; ++i) neighbours.insert(neighbours.end(), {static_cast<unsigned char>(0x40 + i), 0, 0, 0, 0, 0, 0, 0});
  neighbours.insert(neighbours.end(), {0, 1, 0, 3, 0, 2});
  for (int i = 0; i < 3; ++i) outer.decode(dataOf(neighbours));
  for (int i = 0; i < 6; ++i) EXPECT_EQ(s.d[i], std::ldexp(1.0, 17 + 16 * i)) << i;  // 0x41 00 ... is 2^17
  EXPECT_EQ(s.h[0], 1);
  EXPECT_EQ(s.h[1], 2);
  EXPECT_EQ(s.h[2], 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(bytesOf(outer.encode()), neighbours);
}

// A federate's element class may keep the copies its clone() makes; they must outlive the
// array that asked for them (ASan reports a copy left in the array's storage).
class Kept : public HLAinteger32BE {
 public:
  static std::vector<std::unique_ptr<HLAinteger32BE>> copies;
  std::auto_ptr<DataElement> clone() const override {
    copies.emplace_back(new HLAinteger32BE(*this));  // a copy by the library's own class
    return std::auto_ptr<DataElement>(new Kept(*this));
  }
};
std::vector<std::unique_ptr<HLAinteger32BE>> Kept::copies;

TEST(EncodingFastPathTest, CopiesAFederatesCloneKeepsOutliveTheArray) {
  Kept::copies.clear();
  {
    HLAfixedRecord row;
    row.appendElement(HLAinteger32BE(1));
    row.appendElement(Kept());
    HLAvariableArray array(row);
    array.decode(dataOf({0, 0, 0, 2, 0, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0, 7, 0, 0, 0, 8}));
    EXPECT_EQ(bytesOf(array.encode()), (Bytes{0, 0, 0, 2, 0, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0, 7, 0, 0, 0, 8}));
  }
  ASSERT_FALSE(Kept::copies.empty());
  for (auto& copy : Kept::copies) copy->set(copy->get() + 1);
  Kept::copies.clear();
}

// An array of records decoded again and again as its count changes, with a caller's own
// record among the array's own: the caller's record gets its values in the caller's
// variables, and so does a number of the array's own record bound afterwards.
TEST(EncodingFastPathTest, RepeatedDecodesOfAnArrayFollowItsCountAndACallersRecord) {
  Integer32 id = 0;
  Integer16 heading = 0;
  HLAinteger32BE boundId(&id);
  HLAinteger16BE boundHeading(&heading);
  HLAfixedRecord mine;
  pointTo(mine, {&boundId, &boundHeading});
  HLAvariableArray array(numbers(0, 0));
  array.addElement(numbers(0, 0));
  array.addElementPointer(&mine);
  Bytes const three{0, 0, 0, 3, 0, 0, 0, 1, 0, 2, 0, 0, 0, 0, 0, 3, 0, 4, 0, 0, 0, 0, 0, 5, 0, 6};
  Bytes const two{0, 0, 0, 2, 0, 0, 0, 7, 0, 8, 0, 0, 0, 0, 0, 9, 0, 10};
  for (Bytes const* bytes : {&three, &three, &three, &two, &two, &two, &three, &three, &two, &three, &three}) {
    array.decode(dataOf(*bytes));
    EXPECT_EQ(bytesOf(array.encode()), *bytes);
    EXPECT_EQ(id, bytes == &three ? 3 : 9);
    EXPECT_EQ(heading, bytes == &three ? 4 : 10);
  }
  EXPECT_EQ(idOf(array[0]), 1);
  EXPECT_EQ(headingOf(array[2]), 6);
  Integer16 last = 0;
  auto& field = static_cast<HLAfixedRecord const&>(array[2]).get(1);  // the array's own element
  const_cast<HLAinteger16BE&>(static_cast<HLAinteger16BE const&>(field)).setDataPointer(&last);
  array.decode(dataOf(three));
  EXPECT_EQ(last, 6);
  EXPECT_EQ(heading, 4);
}

}  // namespace
}  // namespace rti1516e
