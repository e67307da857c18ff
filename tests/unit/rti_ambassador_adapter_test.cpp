#include "bridge/RTIambassadorAdapter.h"

#include <RTI/Exception.h>
#include <RTI/LogicalTimeFactory.h>
#include <RTI/time/HLAfloat64Time.h>
#include <RTI/time/HLAinteger64Interval.h>
#include <RTI/time/HLAinteger64Time.h>
#include <dlfcn.h>

#include <gtest/gtest.h>

#include "RTI/HandleFriend.h"
#include "bridge/TimeLibrary.h"

namespace ostra1516e {
namespace {

using rti1516e::AttributeHandleSet;

rti1516e::AttributeHandle attribute(int32_t n) { return rti1516e::AttributeHandleFriend::fromNumber(n); }
rti1516e::RegionHandle region(int32_t n) { return rti1516e::RegionHandleFriend::fromNumber(n); }

// A bridge that answers from fields instead of the core, and records what reached it.
class FakeBridge : public RTIambassadorC {
 public:
  FakeBridge() : RTIambassadorC(WithoutJava{}) {}

  std::pair<bool, std::unique_ptr<rti1516e::LogicalTime>> queryGALT() override {
    return {galtValid, std::unique_ptr<rti1516e::LogicalTime>(new rti1516e::HLAinteger64Time(galt))};
  }
  std::unique_ptr<rti1516e::LogicalTime> queryLogicalTime() override {
    return std::unique_ptr<rti1516e::LogicalTime>(new rti1516e::HLAinteger64Time(42));
  }
  std::unique_ptr<rti1516e::LogicalTimeInterval> queryLookahead() override {
    return std::unique_ptr<rti1516e::LogicalTimeInterval>(new rti1516e::HLAinteger64Interval(3));
  }
  AttributeHandleSet attributeOwnershipDivestitureIfWanted(rti1516e::ObjectInstanceHandle,
                                                           AttributeHandleSet const&) override {
    return divested;
  }
  void subscribeInteractionClassWithRegions(rti1516e::InteractionClassHandle, bool active,
                                            rti1516e::RegionHandleSet const& regions) override {
    subscribedActive = active;
    subscribedRegions = regions;
  }
  std::wstring getTimeFactory() override {
    ++timeFactoryQueries;
    return L"HLAinteger64Time";
  }

  bool galtValid = true;
  int64_t galt = 7;
  AttributeHandleSet divested;
  bool subscribedActive = false;
  rti1516e::RegionHandleSet subscribedRegions;
  int timeFactoryQueries = 0;
};

struct Adapter {
  FakeBridge* bridge = new FakeBridge;
  RTIambassadorAdapter ambassador{std::unique_ptr<RTIambassadorC>(bridge)};
};

TEST(RTIambassadorAdapter, QueriesFillTheCallersTime) {
  Adapter a;
  rti1516e::HLAinteger64Time time(1);

  a.bridge->galtValid = false;
  EXPECT_FALSE(a.ambassador.queryGALT(time));
  EXPECT_EQ(time.getTime(), 1) << "no GALT must leave the caller's time as it was";

  a.bridge->galtValid = true;
  EXPECT_TRUE(a.ambassador.queryGALT(time));
  EXPECT_EQ(time.getTime(), 7);

  a.ambassador.queryLogicalTime(time);
  EXPECT_EQ(time.getTime(), 42);

  rti1516e::HLAinteger64Interval lookahead(0);
  a.ambassador.queryLookahead(lookahead);
  EXPECT_EQ(lookahead.getInterval(), 3);
}

// Whatever the caller's representation throws on assignment reaches the caller, and the
// returned time is released all the same (the sanitizer build would report the leak).
TEST(RTIambassadorAdapter, ATimeOfAnotherRepresentationThrowsAndLeaksNothing) {
  Adapter a;
  rti1516e::HLAfloat64Time other(1.0);
  EXPECT_ANY_THROW(a.ambassador.queryLogicalTime(other));
  EXPECT_ANY_THROW(a.ambassador.queryGALT(other));
  EXPECT_EQ(other.getTime(), 1.0);
}

TEST(RTIambassadorAdapter, DivestedAttributesReplaceTheOutSet) {
  Adapter a;
  a.bridge->divested = {attribute(2)};
  AttributeHandleSet out = {attribute(5), attribute(6)};
  a.ambassador.attributeOwnershipDivestitureIfWanted(rti1516e::ObjectInstanceHandle(), {attribute(2)}, out);
  EXPECT_EQ(out, AttributeHandleSet{attribute(2)});
}

TEST(RTIambassadorAdapter, RegionsAndFlagSwapPlacesForTheCore) {
  Adapter a;
  a.ambassador.subscribeInteractionClassWithRegions(rti1516e::InteractionClassHandle(), {region(9)}, true);
  EXPECT_TRUE(a.bridge->subscribedActive);
  EXPECT_EQ(a.bridge->subscribedRegions, rti1516e::RegionHandleSet{region(9)});
}

TEST(RTIambassadorAdapter, EachTimeFactoryIsNewAndTheCallers) {
  Adapter a;
  std::auto_ptr<rti1516e::LogicalTimeFactory> first = a.ambassador.getTimeFactory();
  std::auto_ptr<rti1516e::LogicalTimeFactory> second = a.ambassador.getTimeFactory();
  ASSERT_NE(first.get(), nullptr);
  EXPECT_NE(first.get(), second.get());
  EXPECT_EQ(first->getName(), L"HLAinteger64Time");
  EXPECT_EQ(a.bridge->timeFactoryQueries, 2);
  first.reset();
  EXPECT_EQ(a.ambassador.getTimeFactory()->getName(), L"HLAinteger64Time");
}

// The time library is found by the mangled name of its lookup; it must be that name.
TEST(RTIambassadorAdapter, TheTimeLibrarysLookupIsFoundByItsName) {
  void* const found = dlsym(RTLD_DEFAULT, kMakeLogicalTimeFactorySymbol);
  EXPECT_EQ(found, reinterpret_cast<void*>(&rti1516e::LogicalTimeFactoryFactory::makeLogicalTimeFactory));
  EXPECT_EQ(makeFederationTimeFactory(L"no such representation").get(), nullptr);
}

TEST(RTIambassadorAdapter, HandlesDecodeWithoutTheCore) {
  Adapter a;
  rti1516e::RTIambassador& rti = a.ambassador;
  rti1516e::VariableLengthData const minusTwo("\xFF\xFF\xFF\xFE", 4);
  EXPECT_EQ(rti.decodeAttributeHandle(attribute(12).encode()), attribute(12));
  EXPECT_EQ(rti.decodeRegionHandle(region(-2).encode()), region(-2));
  EXPECT_EQ(rti.decodeFederateHandle(minusTwo), rti1516e::FederateHandleFriend::fromNumber(-2));
  EXPECT_EQ(rti.decodeObjectClassHandle(minusTwo), rti1516e::ObjectClassHandleFriend::fromNumber(-2));
  EXPECT_EQ(rti.decodeInteractionClassHandle(minusTwo), rti1516e::InteractionClassHandleFriend::fromNumber(-2));
  EXPECT_EQ(rti.decodeObjectInstanceHandle(minusTwo), rti1516e::ObjectInstanceHandleFriend::fromNumber(-2));
  EXPECT_EQ(rti.decodeParameterHandle(minusTwo), rti1516e::ParameterHandleFriend::fromNumber(-2));
  EXPECT_EQ(rti.decodeDimensionHandle(minusTwo), rti1516e::DimensionHandleFriend::fromNumber(-2));
  rti1516e::MessageRetractionHandle const retraction =
      rti1516e::MessageRetractionHandleFriend::make(8, rti1516e::VariableLengthData("xy", 2));
  EXPECT_EQ(rti.decodeMessageRetractionHandle(retraction.encode()), retraction);

  rti1516e::VariableLengthData const tooShort("\x01\x02", 2);
  EXPECT_THROW(rti.decodeDimensionHandle(tooShort), rti1516e::CouldNotDecode);
  EXPECT_THROW(rti.decodeMessageRetractionHandle(tooShort), rti1516e::CouldNotDecode);
}

}  // namespace
}  // namespace ostra1516e
