#include <RTI/Exception.h>
#include <RTI/LogicalTimeFactory.h>
#include <RTI/time/HLAfloat64TimeFactory.h>
#include <RTI/time/HLAinteger64TimeFactory.h>
#include <RTI/time/HLAlogicalTimeFactoryFactory.h>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace rti1516e {
namespace {

// Both lookups by name, the library's own and the logical-time library's, must agree.
TEST(TimeFactoryTest, FactoryByName) {
  struct Row {
    std::wstring name;
    wchar_t const* expected;  // null: no factory
  } const rows[] = {
      {L"HLAinteger64Time", L"HLAinteger64Time"},
      {L"HLAfloat64Time", L"HLAfloat64Time"},
      {L"", L"HLAfloat64Time"},
      {L"hlafloat64time", nullptr},
      {L"HLAinteger64Time ", nullptr},
      {L"HLAfloat64", nullptr},
      {std::wstring(L"HLAfloat64Time\0x", 16), nullptr},
  };
  for (Row const& row : rows) {
    SCOPED_TRACE(testing::Message() << "\"" << row.name << "\"");
    std::auto_ptr<LogicalTimeFactory> own = HLAlogicalTimeFactoryFactory::makeLogicalTimeFactory(row.name);
    std::auto_ptr<LogicalTimeFactory> library =
        LogicalTimeFactoryFactory::makeLogicalTimeFactory(row.name);
    if (row.expected == nullptr) {
      EXPECT_EQ(own.get(), nullptr);
      EXPECT_EQ(library.get(), nullptr);
      continue;
    }
    ASSERT_NE(own.get(), nullptr);
    ASSERT_NE(library.get(), nullptr);
    EXPECT_NE(own.get(), library.get());
    EXPECT_EQ(own->getName(), row.expected);
    EXPECT_EQ(library->getName(), row.expected);
    EXPECT_EQ(library->makeInitial()->implementationName(), row.expected);
  }
}

// The results of every factory operation, for both representations.
TEST(TimeFactoryTest, MadeValues) {
  for (wchar_t const* name : {L"HLAinteger64Time", L"HLAfloat64Time"}) {
    SCOPED_TRACE(testing::Message() << name);
    std::auto_ptr<LogicalTimeFactory> factory = LogicalTimeFactoryFactory::makeLogicalTimeFactory(name);
    ASSERT_NE(factory.get(), nullptr);

    std::auto_ptr<LogicalTime> initial = factory->makeInitial();
    std::auto_ptr<LogicalTime> last = factory->makeFinal();
    std::auto_ptr<LogicalTimeInterval> zero = factory->makeZero();
    std::auto_ptr<LogicalTimeInterval> epsilon = factory->makeEpsilon();
    EXPECT_TRUE(initial->isInitial());
    EXPECT_TRUE(last->isFinal());
    EXPECT_TRUE(zero->isZero());
    EXPECT_TRUE(epsilon->isEpsilon());
    EXPECT_EQ(last->encodedLength(), 8u);

    // initial + epsilon is later than initial and earlier than final.
    std::auto_ptr<LogicalTime> next = factory->makeInitial();
    *next += *epsilon;
    EXPECT_TRUE(*next > *initial);
    EXPECT_TRUE(*next < *last);

    // Results are independent objects: changing one leaves the next untouched.
    initial->setFinal();
    EXPECT_TRUE(factory->makeInitial()->isInitial());
    epsilon->setZero();
    EXPECT_TRUE(factory->makeEpsilon()->isEpsilon());

    // Decoding gives a new object that owns its value, not a view of the bytes.
    VariableLengthData bytes = last->encode();
    std::auto_ptr<LogicalTime> decoded = factory->decodeLogicalTime(bytes);
    bytes.setData("\0\0\0\0\0\0\0\0", 8);
    EXPECT_TRUE(decoded->isFinal());

    std::vector<unsigned char> buffer(9, 0);
    EXPECT_TRUE(factory->decodeLogicalTimeInterval(buffer.data(), buffer.size())->isZero());
    EXPECT_TRUE(factory->decodeLogicalTime(buffer.data(), 8)->isInitial());

    // A failed decode hands out nothing (and leaks nothing under the sanitizers).
    EXPECT_THROW(factory->decodeLogicalTime(buffer.data(), 7), CouldNotDecode);
    EXPECT_THROW(factory->decodeLogicalTimeInterval(VariableLengthData()), CouldNotDecode);
  }
}

TEST(TimeFactoryTest, ConcreteFactories) {
  HLAinteger64TimeFactory integers;
  EXPECT_EQ(integers.makeLogicalTime(-3)->getTime(), -3);
  EXPECT_EQ(integers.makeLogicalTimeInterval(4)->getInterval(), 4);
  HLAfloat64TimeFactory floats;
  EXPECT_EQ(floats.makeLogicalTime(2.5)->getTime(), 2.5);
  EXPECT_EQ(floats.makeLogicalTimeInterval(0.5)->getInterval(), 0.5);

  // A time from one factory is foreign to the other representation.
  EXPECT_THROW(*integers.makeInitial() += *floats.makeEpsilon(), std::bad_cast);
}

TEST(TimeFactoryTest, StreamPrintsAnyTime) {
  std::wostringstream out;
  out << *LogicalTimeFactoryFactory::makeLogicalTimeFactory(L"HLAinteger64Time")->makeFinal() << L" "
      << *LogicalTimeFactoryFactory::makeLogicalTimeFactory(L"HLAfloat64Time")->makeFinal();
  EXPECT_EQ(out.str(), L"HLAinteger64Time<9223372036854775807> HLAfloat64Time<1.79769e+308>");
}

}  // namespace
}  // namespace rti1516e
