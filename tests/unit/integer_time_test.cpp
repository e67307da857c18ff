#include <RTI/Exception.h>
#include <RTI/time/HLAfloat64Interval.h>
#include <RTI/time/HLAfloat64Time.h>
#include <RTI/time/HLAinteger64Interval.h>
#include <RTI/time/HLAinteger64Time.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <locale>
#include <sstream>
#include <typeinfo>
#include <vector>

namespace rti1516e {
namespace {

int64_t const kMax = std::numeric_limits<int64_t>::max();
int64_t const kMin = std::numeric_limits<int64_t>::min();

typedef std::vector<unsigned char> Bytes;

Bytes bytesOf(VariableLengthData const& data) {
  unsigned char const* p = static_cast<unsigned char const*>(data.data());
  return Bytes(p, p + data.size());
}

TEST(IntegerTimeTest, SpecialValues) {
  HLAinteger64Time time;
  EXPECT_TRUE(time.isInitial());
  EXPECT_EQ(time.getTime(), 0);
  time.setFinal();
  EXPECT_TRUE(time.isFinal());
  EXPECT_FALSE(time.isInitial());
  EXPECT_EQ(time.getTime(), kMax);

  HLAinteger64Interval interval;
  EXPECT_TRUE(interval.isZero());
  interval.setEpsilon();
  EXPECT_TRUE(interval.isEpsilon());
  EXPECT_EQ(interval.getInterval(), 1);
  EXPECT_EQ(static_cast<int64_t>(interval), 1);
}

TEST(IntegerTimeTest, EncodingIsEightBigEndianBytes) {
  struct Row {
    int64_t value;
    Bytes bytes;
  } const rows[] = {
      {0, {0, 0, 0, 0, 0, 0, 0, 0}},
      {-2, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE}},
      {0x0102030405060708, {1, 2, 3, 4, 5, 6, 7, 8}},
      {kMax, {0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {kMin, {0x80, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (Row const& row : rows) {
    SCOPED_TRACE(row.value);
    HLAinteger64Time time(row.value);
    HLAinteger64Interval interval(row.value);
    EXPECT_EQ(time.encodedLength(), 8u);
    EXPECT_EQ(interval.encodedLength(), 8u);
    EXPECT_EQ(bytesOf(time.encode()), row.bytes);
    EXPECT_EQ(bytesOf(interval.encode()), row.bytes);

    Bytes buffer(8, 0xAA);
    EXPECT_EQ(time.encode(buffer.data(), buffer.size()), 8u);
    EXPECT_EQ(buffer, row.bytes);

    Bytes input = row.bytes;
    HLAinteger64Time decodedTime(99);
    decodedTime.decode(input.data(), input.size());
    EXPECT_EQ(decodedTime.getTime(), row.value);
    HLAinteger64Interval decodedInterval(99);
    decodedInterval.decode(VariableLengthData(input.data(), input.size()));
    EXPECT_EQ(decodedInterval.getInterval(), row.value);
  }
}

TEST(IntegerTimeTest, EncodeRefusesShortOrMissingBuffer) {
  HLAinteger64Time time(-2);
  HLAinteger64Interval interval(-2);
  for (size_t size : {size_t(0), size_t(7)}) {
    SCOPED_TRACE(size);
    Bytes buffer(8, 0xAA);
    try {
      time.encode(buffer.data(), size);
      FAIL() << "no CouldNotEncode";
    } catch (CouldNotEncode const& e) {
      EXPECT_EQ(e.what(), L"Buffer to small!");
    }
    EXPECT_THROW(interval.encode(buffer.data(), size), CouldNotEncode);
    EXPECT_EQ(buffer, Bytes(8, 0xAA));
  }
  EXPECT_THROW(time.encode(nullptr, 8), CouldNotEncode);
}

TEST(IntegerTimeTest, DecodeReadsTheFirstEightBytesOrNothing) {
  Bytes const nine = {0, 0, 0, 0, 0, 0, 0, 5, 0x77};

  HLAinteger64Time time(42);
  time.decode(VariableLengthData(nine.data(), 9));
  EXPECT_EQ(time.getTime(), 5);

  struct Row {
    char const* name;
    void const* data;
    size_t size;
  } const shortInputs[] = {
      {"seven bytes", nine.data(), 7},
      {"empty", nine.data(), 0},
      {"null with a size", nullptr, 8},
  };
  for (Row const& row : shortInputs) {
    SCOPED_TRACE(row.name);
    HLAinteger64Time t(42);
    HLAinteger64Interval i(42);
    EXPECT_THROW(t.decode(const_cast<void*>(row.data), row.size), CouldNotDecode);
    EXPECT_THROW(i.decode(const_cast<void*>(row.data), row.size), CouldNotDecode);
    EXPECT_EQ(t.getTime(), 42);
    EXPECT_EQ(i.getInterval(), 42);
  }

  try {
    time.decode(VariableLengthData(nine.data(), 7));
    FAIL() << "no CouldNotDecode";
  } catch (CouldNotDecode const& e) {
    EXPECT_EQ(e.what(), L"Buffer to small!");
  }
  EXPECT_THROW(time.decode(VariableLengthData()), CouldNotDecode);
  EXPECT_EQ(time.getTime(), 5);
}

// Arithmetic holds at the ends of the range: a wrapped time would jump to the far past.
TEST(IntegerTimeTest, ArithmeticSaturatesAtBothEnds) {
  enum Op { kTimePlus, kTimeMinus, kIntervalPlus, kIntervalMinus, kDifference };
  struct Row {
    char const* name;
    Op op;
    int64_t left;
    int64_t right;
    int64_t expected;
  } const rows[] = {
      {"plain sum", kTimePlus, 10, 5, 15},
      {"plain difference", kTimeMinus, 10, 15, -5},
      {"final + 1 stays final", kTimePlus, kMax, 1, kMax},
      {"final + final stays final", kTimePlus, kMax, kMax, kMax},
      {"final - -1 stays final", kTimeMinus, kMax, -1, kMax},
      {"final + -1 moves back", kTimePlus, kMax, -1, kMax - 1},
      {"min - 1 stays min", kTimeMinus, kMin, 1, kMin},
      {"min + min stays min", kTimePlus, kMin, kMin, kMin},
      {"0 - min saturates to max", kTimeMinus, 0, kMin, kMax},
      {"interval max + 1", kIntervalPlus, kMax, 1, kMax},
      {"interval min + -1", kIntervalPlus, kMin, -1, kMin},
      {"interval min - 1", kIntervalMinus, kMin, 1, kMin},
      {"interval -1 - max", kIntervalMinus, -1, kMax, kMin},
      {"interval -2 - max", kIntervalMinus, -2, kMax, kMin},
      {"difference 3 - 10", kDifference, 3, 10, -7},
      {"difference final - min", kDifference, kMax, kMin, kMax},
      {"difference min - final", kDifference, kMin, kMax, kMin},
      {"difference min - 0", kDifference, kMin, 0, kMin},
  };
  for (Row const& row : rows) {
    SCOPED_TRACE(row.name);
    HLAinteger64Interval right(row.right);
    int64_t result = 0;
    switch (row.op) {
      case kTimePlus: {
        HLAinteger64Time t(row.left);
        result = static_cast<HLAinteger64Time&>(t += right).getTime();
        break;
      }
      case kTimeMinus: {
        HLAinteger64Time t(row.left);
        result = static_cast<HLAinteger64Time&>(t -= right).getTime();
        break;
      }
      case kIntervalPlus: {
        HLAinteger64Interval i(row.left);
        result = static_cast<HLAinteger64Interval&>(i += right).getInterval();
        break;
      }
      case kIntervalMinus: {
        HLAinteger64Interval i(row.left);
        result = static_cast<HLAinteger64Interval&>(i -= right).getInterval();
        break;
      }
      case kDifference: {
        HLAinteger64Interval i(99);
        i.setToDifference(HLAinteger64Time(row.left), HLAinteger64Time(row.right));
        result = i.getInterval();
        break;
      }
    }
    EXPECT_EQ(result, row.expected);
  }
}

TEST(IntegerTimeTest, ComparisonsAreSigned) {
  struct Row {
    int64_t a, b;
  } const rows[] = {{-1, 1}, {kMin, kMax}, {5, 5}, {7, -7}};
  for (Row const& row : rows) {
    SCOPED_TRACE(testing::Message() << row.a << " vs " << row.b);
    HLAinteger64Time a(row.a), b(row.b);
    LogicalTime const& base = b;
    EXPECT_EQ(a > base, row.a > row.b);
    EXPECT_EQ(a < base, row.a < row.b);
    EXPECT_EQ(a == base, row.a == row.b);
    EXPECT_EQ(a >= base, row.a >= row.b);
    EXPECT_EQ(a <= base, row.a <= row.b);
    HLAinteger64Interval ia(row.a), ib(row.b);
    EXPECT_EQ(ia > ib, row.a > row.b);
    EXPECT_EQ(ia < ib, row.a < row.b);
    EXPECT_EQ(ia == ib, row.a == row.b);
    EXPECT_EQ(ia >= ib, row.a >= row.b);
    EXPECT_EQ(ia <= ib, row.a <= row.b);
  }
}

// A numeric punctuation that groups digits by threes with a comma.
struct Grouping : std::numpunct<wchar_t> {
  wchar_t do_thousands_sep() const override { return L','; }
  std::string do_grouping() const override { return "\3"; }
};

TEST(IntegerTimeTest, TextIgnoresTheGlobalLocale) {
  std::locale const previous = std::locale::global(std::locale(std::locale::classic(), new Grouping));
  std::wstring const large = HLAinteger64Time(1234567).toString();
  std::locale::global(previous);
  EXPECT_EQ(large, L"HLAinteger64Time<1234567>");

  EXPECT_EQ(HLAinteger64Time().toString(), L"HLAinteger64Time<0>");
  EXPECT_EQ(HLAinteger64Time(kMin).toString(), L"HLAinteger64Time<-9223372036854775808>");
  EXPECT_EQ(HLAinteger64Interval(-5).toString(), L"HLAinteger64Interval<-5>");
  EXPECT_EQ(HLAinteger64Time(3).implementationName(), L"HLAinteger64Time");
  EXPECT_EQ(HLAinteger64Interval(3).implementationName(), L"HLAinteger64Time");

  std::wostringstream out;
  out << HLAinteger64Time(kMax);
  EXPECT_EQ(out.str(), L"HLAinteger64Time<9223372036854775807>");
}

TEST(IntegerTimeTest, CopiesAreIndependent) {
  HLAinteger64Time original(7);
  HLAinteger64Time copy(original);
  HLAinteger64Time fromBase(static_cast<LogicalTime const&>(original));
  HLAinteger64Time assigned;
  assigned = original;
  HLAinteger64Time assignedFromBase;
  static_cast<LogicalTime&>(assignedFromBase) = original;
  original.setTime(8);
  for (HLAinteger64Time const* t : {&copy, &fromBase, &assigned, &assignedFromBase}) {
    EXPECT_EQ(t->getTime(), 7);
  }
  assigned = assigned;
  EXPECT_EQ(assigned.getTime(), 7);

  HLAinteger64Interval interval(3);
  HLAinteger64Interval intervalCopy(static_cast<LogicalTimeInterval const&>(interval));
  interval.setInterval(4);
  EXPECT_EQ(intervalCopy.getInterval(), 3);
}

TEST(IntegerTimeTest, AnotherRepresentationIsRefusedBeforeAnythingChanges) {
  HLAinteger64Time time(5);
  HLAinteger64Interval interval(5);
  HLAfloat64Time const floatTime(1.0);
  HLAfloat64Interval const floatInterval(1.0);

  EXPECT_THROW(HLAinteger64Time{static_cast<LogicalTime const&>(floatTime)}, std::bad_cast);
  EXPECT_THROW(static_cast<LogicalTime&>(time) = floatTime, std::bad_cast);
  EXPECT_THROW(time += floatInterval, std::bad_cast);
  EXPECT_THROW(time -= floatInterval, std::bad_cast);
  EXPECT_THROW((void)(time < floatTime), std::bad_cast);
  EXPECT_THROW(static_cast<LogicalTimeInterval&>(interval) = floatInterval, std::bad_cast);
  EXPECT_THROW(interval += floatInterval, std::bad_cast);
  EXPECT_THROW(interval.setToDifference(HLAinteger64Time(9), floatTime), std::bad_cast);
  EXPECT_THROW(interval.setToDifference(floatTime, HLAinteger64Time(9)), std::bad_cast);
  EXPECT_EQ(time.getTime(), 5);
  EXPECT_EQ(interval.getInterval(), 5);
}

}  // namespace
}  // namespace rti1516e
