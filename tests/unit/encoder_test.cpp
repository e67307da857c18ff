#include "gen/cpp_handwritten/Encoder.h"

#include <RTI/Exception.h>
#include <RTI/time/HLAinteger64Time.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace ostra1516e {
namespace {

using Bytes = std::vector<unsigned char>;

// encoded sizes a value with its code and writes it into a buffer of exactly that size
// (guarded on both sides, so that a write past the size shows).
template <typename Code, typename Value>
Bytes encoded(Code code, Value const& value) {
  size_t const size = encodedSize(code, value);
  Bytes buffer(size + 8, 0xEE);
  ByteWrapper out(buffer.data() + 4, size);
  encode(code, value, out);
  EXPECT_EQ(out.offset(), size) << "bytes written differ from the size computed beforehand";
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 4), Bytes(4, 0xEE));
  EXPECT_EQ(Bytes(buffer.end() - 4, buffer.end()), Bytes(4, 0xEE));
  return Bytes(buffer.begin() + 4, buffer.end() - 4);
}

rti1516e::AttributeHandle attribute(int32_t n) { return handleFromJava<rti1516e::AttributeHandle>(n); }

// Every code's bytes also reach the Java codec through the bridge tests' golden rows; here
// the cases those samples do not reach, checked on plain buffers (and under the
// sanitizers).
TEST(Encoder, ValuesAsTheCoreReadsThem) {
  struct Row {
    char const* name;
    std::function<Bytes()> encode;
    Bytes expected;
  } const rows[] = {
      {"S abc", [] { return encoded(code::S{}, std::wstring(L"abc")); },
       {0, 0, 0, 3, 0, 0x61, 0, 0x62, 0, 0x63}},
      {"S empty", [] { return encoded(code::S{}, std::wstring()); }, {0, 0, 0, 0}},
      // One character above U+FFFF is one surrogate pair: two units, both counted.
      {"S astral", [] { return encoded(code::S{}, std::wstring(L"a\U0001F600")); },
       {0, 0, 0, 3, 0, 0x61, 0xD8, 0x3D, 0xDE, 0x00}},
      // A lone surrogate goes as it is; a value with no UTF-16 form as U+FFFD.
      {"S lone surrogate and beyond U+10FFFF",
       [] { return encoded(code::S{}, std::wstring{wchar_t(0xDC00), wchar_t(0x110000)}); },
       {0, 0, 0, 2, 0xDC, 0x00, 0xFF, 0xFD}},
      {"Z true", [] { return encoded(code::Z{}, true); }, {0, 0, 0, 1}},
      {"D 1.0", [] { return encoded(code::D{}, 1.0); }, {0x3F, 0xF0, 0, 0, 0, 0, 0, 0}},
      {"RB 5..10", [] { return encoded(code::RB{}, rti1516e::RangeBounds(5, 10)); },
       {0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0x0A}},
      {"RB keeps 32 bits unsigned", [] { return encoded(code::RB{}, rti1516e::RangeBounds(0xFFFFFFFFul, 0)); },
       {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"OT TIMESTAMP", [] { return encoded(code::OT{}, rti1516e::TIMESTAMP); }, {0, 0, 0, 1}},
      {"SG SUPPORT_SERVICES", [] { return encoded(code::SG{}, rti1516e::SUPPORT_SERVICES); }, {0, 0, 0, 7}},
      {"CM HLA_IMMEDIATE", [] { return encoded(code::CM{}, rti1516e::HLA_IMMEDIATE); }, {0, 0, 0, 2}},
      {"AH -1", [] { return encoded(code::AH{}, attribute(-1)); }, {0xFF, 0xFF, 0xFF, 0xFF}},
      {"AHS ascending", [] { return encoded(code::AHS{}, rti1516e::AttributeHandleSet{attribute(7), attribute(3)}); },
       {0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 7}},
      {"AHVM", [] {
         rti1516e::AttributeHandleValueMap map;
         map[attribute(5)] = rti1516e::VariableLengthData("\x01\x02", 2);
         return encoded(code::AHVM{}, map);
       },
       {0, 0, 0, 1, 0, 0, 0, 5, 0, 0, 0, 2, 1, 2}},
      {"LT integer time 5", [] { return encoded(code::LT{}, rti1516e::HLAinteger64Time(5)); },
       {0, 0, 0, 0, 0, 0, 0, 5}},  };
  for (Row const& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.encode(), row.expected);
  }
}

// A value outside its enumeration's table is the caller's mistake: it is reported and
// the table's fallback goes to the core in its place; nothing is thrown. (The values stay
// within what each enumeration can hold.)
TEST(Encoder, EnumeratorsOutsideTheirTablesSendTheFallback) {
  struct Row {
    char const* name;
    std::function<Bytes()> encode;
    char const* report;
  } const rows[] = {
      {"OT", [] { return encoded(code::OT{}, static_cast<rti1516e::OrderType>(3)); }, "OrderType value 3"},
      {"TTH", [] { return encoded(code::TTH{}, static_cast<rti1516e::TransportationType>(0)); },
       "TransportationType value 0"},
      {"RA", [] { return encoded(code::RA{}, static_cast<rti1516e::ResignAction>(6)); }, "ResignAction value 6"},
      {"SG", [] { return encoded(code::SG{}, static_cast<rti1516e::ServiceGroup>(7)); }, "ServiceGroup value 7"},
  };
  for (Row const& row : rows) {
    SCOPED_TRACE(row.name);
    testing::internal::CaptureStderr();
    Bytes const bytes = row.encode();
    std::string const err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(bytes, Bytes(4, 0));
    EXPECT_NE(err.find(row.report), std::string::npos) << err;
  }
}

TEST(Encoder, NumbersFromTheCore) {
  // Handles are widened with their sign, and go back out as the same 32 bits.
  rti1516e::ObjectInstanceHandle const minusOne = handleFromJava<rti1516e::ObjectInstanceHandle>(-1);
  EXPECT_EQ(minusOne, rti1516e::ObjectInstanceHandleFriend::decode(
                          rti1516e::VariableLengthData("\xFF\xFF\xFF\xFF", 4)));
  EXPECT_EQ(encoded(code::OIH{}, minusOne), Bytes(4, 0xFF));

  // A Java long keeps its low 32 bits; so do both range bounds.
  EXPECT_EQ(unsignedFromJava((int64_t{1} << 32) + 3), 3ul);
  EXPECT_EQ(unsignedFromJava(-1), 0xFFFFFFFFul);
  rti1516e::RangeBounds const bounds = rangeBoundsFromJava((int64_t{1} << 32) + 5, 10);
  EXPECT_EQ(bounds.getLowerBound(), 5ul);
  EXPECT_EQ(bounds.getUpperBound(), 10ul);

  int32_t const numbers[] = {9, 2, 9};
  EXPECT_EQ(handleSetFromJava<rti1516e::DimensionHandle>(numbers, 3),
            (std::set<rti1516e::DimensionHandle>{handleFromJava<rti1516e::DimensionHandle>(2),
                                                 handleFromJava<rti1516e::DimensionHandle>(9)}));
}

TEST(Encoder, EnumerationsFromTheCore) {
  EXPECT_EQ(orderTypeFromJava(0), rti1516e::RECEIVE);
  EXPECT_EQ(orderTypeFromJava(1), rti1516e::TIMESTAMP);
  EXPECT_EQ(transportationTypeFromJava(1), rti1516e::RELIABLE);
  EXPECT_EQ(transportationTypeFromJava(2), rti1516e::BEST_EFFORT);
  EXPECT_EQ(resignActionFromJava(3), rti1516e::DELETE_OBJECTS_THEN_DIVEST);

  testing::internal::CaptureStderr();
  EXPECT_EQ(orderTypeFromJava(2), rti1516e::RECEIVE);
  EXPECT_EQ(transportationTypeFromJava(0), rti1516e::BEST_EFFORT);
  std::string const err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("returned 2, which is no OrderType; RECEIVE"), std::string::npos) << err;
  EXPECT_NE(err.find("returned 0, which is no TransportationType; BEST_EFFORT"), std::string::npos) << err;
}

TEST(Encoder, RetractionHandlesFromTheCore) {
  unsigned char const good[] = {0, 0, 0, 4, 0, 0, 0, 2, 0xCA, 0xFE};
  rti1516e::MessageRetractionHandle const handle = retractionHandleFromJava(good, sizeof good);
  EXPECT_EQ(rti1516e::MessageRetractionHandleFriend::serial(handle), 4);
  EXPECT_EQ(rti1516e::MessageRetractionHandleFriend::payload(handle).size(), 2u);

  // Bytes that end before their payload are the core's fault, not the federate's.
  unsigned char const shortPayload[] = {0, 0, 0, 4, 0, 0, 0, 9, 0xCA};
  testing::internal::CaptureStderr();
  EXPECT_THROW(retractionHandleFromJava(shortPayload, sizeof shortPayload), rti1516e::RTIinternalError);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("message retraction handle"), std::string::npos);
}

}  // namespace
}  // namespace ostra1516e
