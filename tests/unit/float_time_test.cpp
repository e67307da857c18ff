#include <RTI/Exception.h>
#include <RTI/time/HLAfloat64Interval.h>
#include <RTI/time/HLAfloat64Time.h>
#include <RTI/time/HLAinteger64Interval.h>
#include <RTI/time/HLAinteger64Time.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <typeinfo>
#include <vector>

namespace rti1516e {
namespace {

double const kMaxDouble = std::numeric_limits<double>::max();
double const kLowest = std::numeric_limits<double>::lowest();
double const kMinNormal = std::numeric_limits<double>::min();
double const kInf = std::numeric_limits<double>::infinity();
double const kNaN = std::numeric_limits<double>::quiet_NaN();

typedef std::vector<unsigned char> Bytes;

Bytes bytesOf(VariableLengthData const& data) {
  unsigned char const* p = static_cast<unsigned char const*>(data.data());
  return Bytes(p, p + data.size());
}

uint64_t bitsOf(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

TEST(FloatTimeTest, SpecialValues) {
  HLAfloat64Time time;
  EXPECT_TRUE(time.isInitial());
  time.setFinal();
  EXPECT_TRUE(time.isFinal());
  EXPECT_EQ(bitsOf(time.getTime()), 0x7FEFFFFFFFFFFFFFu);
  EXPECT_TRUE(HLAfloat64Time(-0.0).isInitial());
  EXPECT_FALSE(HLAfloat64Time(kInf).isFinal());

  HLAfloat64Interval interval;
  EXPECT_TRUE(interval.isZero());
  interval.setEpsilon();
  EXPECT_TRUE(interval.isEpsilon());
  EXPECT_EQ(bitsOf(interval.getInterval()), 0x0010000000000000u);
  EXPECT_TRUE(HLAfloat64Interval(2.2250738585072014e-308).isEpsilon());
  EXPECT_FALSE(HLAfloat64Interval(std::nextafter(kMinNormal, 1.0)).isEpsilon());
  EXPECT_FALSE(HLAfloat64Interval(std::numeric_limits<double>::denorm_min()).isEpsilon());
  EXPECT_TRUE(HLAfloat64Interval(-0.0).isZero());
}

TEST(FloatTimeTest, EncodingIsTheBigEndianBitPattern) {
  struct Row {
    double value;
    Bytes bytes;
  } const rows[] = {
      {1.0, {0x3F, 0xF0, 0, 0, 0, 0, 0, 0}},
      {-2.5, {0xC0, 0x04, 0, 0, 0, 0, 0, 0}},
      {kMaxDouble, {0x7F, 0xEF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {-0.0, {0x80, 0, 0, 0, 0, 0, 0, 0}},
      {kInf, {0x7F, 0xF0, 0, 0, 0, 0, 0, 0}},
  };
  for (Row const& row : rows) {
    SCOPED_TRACE(row.value);
    EXPECT_EQ(bytesOf(HLAfloat64Time(row.value).encode()), row.bytes);
    EXPECT_EQ(bytesOf(HLAfloat64Interval(row.value).encode()), row.bytes);
    Bytes buffer(8, 0xAA);
    EXPECT_EQ(HLAfloat64Time(row.value).encode(buffer.data(), 8), 8u);
    EXPECT_EQ(buffer, row.bytes);
  }

  // NaN payloads travel unchanged, even the signalling ones.
  Bytes nan = {0x7F, 0xF0, 0, 0, 0, 0, 0, 1};
  HLAfloat64Time time;
  time.decode(nan.data(), nan.size());
  EXPECT_EQ(bitsOf(time.getTime()), 0x7FF0000000000001u);
  EXPECT_EQ(bytesOf(time.encode()), nan);

  Bytes const seven(7, 0);
  HLAfloat64Interval interval(3.0);
  try {
    interval.decode(VariableLengthData(seven.data(), seven.size()));
    FAIL() << "no CouldNotDecode";
  } catch (CouldNotDecode const& e) {
    EXPECT_EQ(e.what(), L"Buffer to small!");
  }
  EXPECT_EQ(interval.getInterval(), 3.0);
  EXPECT_THROW(HLAfloat64Time(1.0).encode(nan.data(), 7), CouldNotEncode);
}

// A non-zero interval always moves a time, towards the direction of the change, but a
// finite time never goes past the final time (nor below the lowest double).
TEST(FloatTimeTest, TimeArithmeticStepsWhenTheIntervalIsTooSmallAndHoldsAtTheEnds) {
  struct Row {
    char const* name;
    double time;
    bool add;
    double interval;
    double expected;
  } const rows[] = {
      {"plain sum", 1.5, true, 2.0, 3.5},
      {"plain difference", 1.5, false, 2.0, -0.5},
      {"1e300 + 1 steps up", 1e300, true, 1.0, std::nextafter(1e300, kInf)},
      {"1e300 - 1 steps down", 1e300, false, 1.0, std::nextafter(1e300, -kInf)},
      {"zero interval leaves the time", 5.0, true, 0.0, 5.0},
      {"-0.0 interval leaves the time", 5.0, false, -0.0, 5.0},
      {"0 - epsilon is the plain difference", 0.0, false, kMinNormal, -kMinNormal},
      {"negative time + 1 steps up", -1e300, true, 1.0, std::nextafter(-1e300, kInf)},
      {"negative time - 1 steps down", -1e300, false, 1.0, std::nextafter(-1e300, -kInf)},
      {"adding a negative interval steps down", 1e300, true, -1.0, std::nextafter(1e300, -kInf)},
      {"subtracting a negative interval steps up", 1e300, false, -1.0, std::nextafter(1e300, kInf)},
      {"final + epsilon stays final", kMaxDouble, true, kMinNormal, kMaxDouble},
      {"final + 1 stays final", kMaxDouble, true, 1.0, kMaxDouble},
      {"final + final stays final", kMaxDouble, true, kMaxDouble, kMaxDouble},
      {"final + infinity stays final", kMaxDouble, true, kInf, kMaxDouble},
      {"final - -epsilon stays final", kMaxDouble, false, -kMinNormal, kMaxDouble},
      {"final - 1 steps back", kMaxDouble, false, 1.0, std::nextafter(kMaxDouble, 0.0)},
      {"below final + epsilon reaches final", std::nextafter(kMaxDouble, 0.0), true,
       kMinNormal, kMaxDouble},
      {"1e308 + 1e308 holds at final", 1e308, true, 1e308, kMaxDouble},
      {"5 + infinity holds at final", 5.0, true, kInf, kMaxDouble},
      {"initial - 5 is the plain difference", 0.0, false, 5.0, -5.0},
      {"lowest - epsilon stays lowest", kLowest, false, kMinNormal, kLowest},
      {"lowest + lowest stays lowest", kLowest, true, kLowest, kLowest},
      {"infinity + 1 stays infinite", kInf, true, 1.0, kInf},
      {"infinity - 1 stays infinite", kInf, false, 1.0, kInf},
      {"-infinity - 1 stays -infinite", -kInf, false, 1.0, -kInf},
  };
  for (Row const& row : rows) {
    SCOPED_TRACE(row.name);
    HLAfloat64Time time(row.time);
    HLAfloat64Interval interval(row.interval);
    LogicalTime& result = row.add ? (time += interval) : (time -= interval);
    EXPECT_EQ(&result, &time);
    EXPECT_EQ(bitsOf(time.getTime()), bitsOf(row.expected))
        << time.getTime() << " instead of " << row.expected;
    EXPECT_EQ(time.isFinal(), row.expected == kMaxDouble);
  }

  HLAfloat64Time notANumber(kNaN);
  notANumber += HLAfloat64Interval(1.0);
  EXPECT_TRUE(std::isnan(notANumber.getTime()));
}

TEST(FloatTimeTest, IntervalArithmeticIsPlain) {
  HLAfloat64Interval interval(5.0);
  interval += HLAfloat64Interval(1e-300);
  EXPECT_EQ(interval.getInterval(), 5.0);
  interval -= HLAfloat64Interval(1e-300);
  EXPECT_EQ(interval.getInterval(), 5.0);
  interval -= HLAfloat64Interval(7.5);
  EXPECT_EQ(interval.getInterval(), -2.5);

  interval.setToDifference(HLAfloat64Time(3.0), HLAfloat64Time(10.5));
  EXPECT_EQ(interval.getInterval(), -7.5);
}

TEST(FloatTimeTest, ComparisonsFollowIeee) {
  struct Row {
    double a, b;
  } const rows[] = {{1.0, 2.0}, {-0.0, 0.0}, {kNaN, 1.0}, {kNaN, kNaN}, {kInf, kMaxDouble}};
  for (Row const& row : rows) {
    SCOPED_TRACE(testing::Message() << row.a << " vs " << row.b);
    HLAfloat64Time a(row.a), b(row.b);
    EXPECT_EQ(a > b, row.a > row.b);
    EXPECT_EQ(a < b, row.a < row.b);
    EXPECT_EQ(a == b, row.a == row.b);
    EXPECT_EQ(a >= b, row.a >= row.b);
    EXPECT_EQ(a <= b, row.a <= row.b);
    HLAfloat64Interval ia(row.a), ib(row.b);
    EXPECT_EQ(ia > ib, row.a > row.b);
    EXPECT_EQ(ia < ib, row.a < row.b);
    EXPECT_EQ(ia == ib, row.a == row.b);
    EXPECT_EQ(ia >= ib, row.a >= row.b);
    EXPECT_EQ(ia <= ib, row.a <= row.b);
  }
  EXPECT_FALSE(HLAfloat64Time(kNaN).isInitial());
}

TEST(FloatTimeTest, Text) {
  HLAfloat64Time last;
  last.setFinal();
  EXPECT_EQ(last.toString(), L"HLAfloat64Time<1.79769e+308>");
  EXPECT_EQ(HLAfloat64Time(1.5).toString(), L"HLAfloat64Time<1.5>");
  EXPECT_EQ(HLAfloat64Time(1234567.0).toString(), L"HLAfloat64Time<1.23457e+06>");
  EXPECT_EQ(HLAfloat64Interval(-0.25).toString(), L"HLAfloat64Interval<-0.25>");
  EXPECT_EQ(HLAfloat64Time().implementationName(), L"HLAfloat64Time");
  EXPECT_EQ(HLAfloat64Interval().implementationName(), L"HLAfloat64Time");
}

TEST(FloatTimeTest, AnotherRepresentationIsRefusedBeforeAnythingChanges) {
  HLAfloat64Time time(5.0);
  HLAfloat64Interval interval(5.0);
  HLAinteger64Time const integerTime(1);
  HLAinteger64Interval const integerInterval(1);

  EXPECT_THROW(HLAfloat64Time{static_cast<LogicalTime const&>(integerTime)}, std::bad_cast);
  EXPECT_THROW(time += integerInterval, std::bad_cast);
  EXPECT_THROW((void)(time > integerTime), std::bad_cast);
  EXPECT_THROW(interval -= integerInterval, std::bad_cast);
  EXPECT_THROW(interval.setToDifference(integerTime, HLAfloat64Time(1.0)), std::bad_cast);
  EXPECT_EQ(time.getTime(), 5.0);
  EXPECT_EQ(interval.getInterval(), 5.0);
}

}  // namespace
}  // namespace rti1516e
