// The service direction of the bridge against the probe core in a real virtual machine:
// every service's bytes and exceptions, the result conversions, construction and
// destruction of the bridge object, the caller's floating-point register, concurrent
// callers, and a run under -Xcheck:jni. Scenarios that need a fresh process or another
// environment re-run this program with --child=<scenario>.
#include <RTI/Exception.h>
#include <RTI/NullFederateAmbassador.h>
#include <RTI/LogicalTimeFactory.h>
#include <RTI/RTIambassador.h>
#include <RTI/RTIambassadorFactory.h>
#include <RTI/time/HLAinteger64Interval.h>
#include <RTI/time/HLAinteger64Time.h>
#include <gtest/gtest.h>
#include <dlfcn.h>
#include <xmmintrin.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <map>
#include <thread>
#include <typeinfo>

#include "RTI/HandleFriend.h"
#include "bridge/FederateAmbassadorRegistry.h"
#include "bridge/JavaExceptions.h"
#include "bridge/JavaVmHost.h"
#include "bridge/Text.h"
#include "bridge/TimeLibrary.h"
#include "child_process.h"
#include "gen/cpp/FederateAmbassadorC.h"
#include "gen/cpp/RTIambassadorC.h"
#include "probe.h"
#include "../support/Golden.h"

namespace ostra1516e {
namespace {

using Bytes = std::vector<uint8_t>;

// ---- sample arguments, by code and position (the rule of the golden file) ------------

std::wstring sample(code::S, int p) { return {wchar_t(0x41 + p), wchar_t(0xE9), wchar_t(0x1F600)}; }
std::wstring sample(code::URL, int p) { return sample(code::S{}, p); }
std::set<std::wstring> sample(code::SSet, int p) { return {L"", sample(code::S{}, p)}; }
std::vector<std::wstring> sample(code::URLX, int p) { return {L"", sample(code::S{}, p)}; }
rti1516e::VariableLengthData sample(code::BX, int p) {
  unsigned char const bytes[] = {static_cast<unsigned char>(0xB0 + p), 0x00, 0xFF};
  return rti1516e::VariableLengthData(bytes, 3);
}
#define OSTRA_SAMPLE_HANDLE(Tag, Kind) \
  rti1516e::Kind sample(code::Tag, int p) { return rti1516e::Kind##Friend::fromNumber(100 + p); }
OSTRA_SAMPLE_HANDLE(OIH, ObjectInstanceHandle)
OSTRA_SAMPLE_HANDLE(OCH, ObjectClassHandle)
OSTRA_SAMPLE_HANDLE(ICH, InteractionClassHandle)
OSTRA_SAMPLE_HANDLE(AH, AttributeHandle)
OSTRA_SAMPLE_HANDLE(PH, ParameterHandle)
OSTRA_SAMPLE_HANDLE(FH, FederateHandle)
OSTRA_SAMPLE_HANDLE(DH, DimensionHandle)
OSTRA_SAMPLE_HANDLE(RH, RegionHandle)
#undef OSTRA_SAMPLE_HANDLE
template <typename Handle>
std::set<Handle> handlePair(int32_t a, int32_t b) {
  return {handleFromJava<Handle>(a), handleFromJava<Handle>(b)};
}
rti1516e::AttributeHandleSet sample(code::AHS, int p) { return handlePair<rti1516e::AttributeHandle>(200 + p, 0x7FFFFF00 + p); }
rti1516e::FederateHandleSet sample(code::FHS, int p) { return handlePair<rti1516e::FederateHandle>(200 + p, 0x7FFFFF00 + p); }
rti1516e::DimensionHandleSet sample(code::DHS, int p) { return handlePair<rti1516e::DimensionHandle>(200 + p, 0x7FFFFF00 + p); }
rti1516e::RegionHandleSet sample(code::RHS, int p) { return handlePair<rti1516e::RegionHandle>(200 + p, 0x7FFFFF00 + p); }
template <typename Map>
Map valueMap(int p) {
  Map map;
  unsigned char const value = static_cast<unsigned char>(p);
  map[handleFromJava<typename Map::key_type>(300 + p)] = rti1516e::VariableLengthData(&value, 1);
  map[handleFromJava<typename Map::key_type>(301 + p)] = rti1516e::VariableLengthData();
  return map;
}
rti1516e::AttributeHandleValueMap sample(code::AHVM, int p) { return valueMap<rti1516e::AttributeHandleValueMap>(p); }
rti1516e::ParameterHandleValueMap sample(code::PHVM, int p) { return valueMap<rti1516e::ParameterHandleValueMap>(p); }
rti1516e::AttributeHandleSetRegionHandleSetPairVector sample(code::ASRSPL, int p) {
  using rti1516e::AttributeHandle;
  using rti1516e::RegionHandle;
  rti1516e::AttributeHandleSetRegionHandleSetPairVector pairs;
  pairs.emplace_back(handlePair<AttributeHandle>(400 + p, 401 + p), rti1516e::RegionHandleSet());
  pairs.emplace_back(rti1516e::AttributeHandleSet{handleFromJava<AttributeHandle>(402 + p)},
                     handlePair<RegionHandle>(403 + p, 404 + p));
  return pairs;
}
bool sample(code::Z, int p) { return p % 2 == 0; }
double sample(code::D, int p) { return p + 0.5; }
rti1516e::RangeBounds sample(code::RB, int p) { return rti1516e::RangeBounds(500 + p, 0xFFFFFF00ul + p); }
rti1516e::HLAinteger64Time sample(code::LT, int p) { return rti1516e::HLAinteger64Time(1000 + p); }
rti1516e::HLAinteger64Interval sample(code::LTI, int p) { return rti1516e::HLAinteger64Interval(1000 + p); }
rti1516e::MessageRetractionHandle sample(code::MRH, int p) {
  return rti1516e::MessageRetractionHandleFriend::make(600 + p, rti1516e::VariableLengthData("\xCA\xFE", 2));
}
rti1516e::OrderType sample(code::OT, int p) { return p % 2 == 0 ? rti1516e::RECEIVE : rti1516e::TIMESTAMP; }
rti1516e::TransportationType sample(code::TTH, int p) { return p % 2 == 0 ? rti1516e::RELIABLE : rti1516e::BEST_EFFORT; }
rti1516e::ResignAction sample(code::RA, int p) { return static_cast<rti1516e::ResignAction>(p % 6); }
rti1516e::ServiceGroup sample(code::SG, int p) { return static_cast<rti1516e::ServiceGroup>(p % 7); }
rti1516e::CallbackModel sample(code::CM, int p) { return p % 2 == 0 ? rti1516e::HLA_EVOKED : rti1516e::HLA_IMMEDIATE; }
rti1516e::FederateAmbassador& sample(code::FA, int) {
  static rti1516e::NullFederateAmbassador ambassador;
  return ambassador;
}

#define OSTRA_SAMPLES(...) OSTRA_CAT(OSTRA_SAMPLES_, OSTRA_COUNT(__VA_ARGS__))(__VA_ARGS__)
#define OSTRA_S(C, p) sample(code::C{}, p)
#define OSTRA_SAMPLES_0()
#define OSTRA_SAMPLES_1(a) OSTRA_S(a, 0)
#define OSTRA_SAMPLES_2(a, b) OSTRA_S(a, 0), OSTRA_S(b, 1)
#define OSTRA_SAMPLES_3(a, b, c) OSTRA_S(a, 0), OSTRA_S(b, 1), OSTRA_S(c, 2)
#define OSTRA_SAMPLES_4(a, b, c, d) OSTRA_S(a, 0), OSTRA_S(b, 1), OSTRA_S(c, 2), OSTRA_S(d, 3)
#define OSTRA_SAMPLES_5(a, b, c, d, e) OSTRA_S(a, 0), OSTRA_S(b, 1), OSTRA_S(c, 2), OSTRA_S(d, 3), OSTRA_S(e, 4)

// Every service once, called with its sample arguments; the result is dropped.
struct ServiceCase {
  char const* javaName;
  std::function<void(RTIambassadorC&)> call;
  CoreExceptionList exceptions;
};

std::vector<ServiceCase> const& serviceCases() {
  static std::vector<ServiceCase> const cases = {
#define OSTRA_SERVICE(slot_, cpp_, java_, signature_, result_, codes_, exceptions_) \
  {#java_, [](RTIambassadorC& b) { (void)b.cpp_(OSTRA_SAMPLES codes_); }, service::java_::exceptions()},
#include "gen/cpp/ServiceTable.def"
  };
  return cases;
}

std::map<std::string, Bytes> goldenServiceRows() {
  std::map<std::string, Bytes> rows;
  for (testing::GoldenRow const& row : testing::goldenRows("service")) rows[row.name] = row.bytes;
  return rows;
}

// Runs a service whose sample result the bridge may refuse (a query without a time); the
// call has reached the core either way.
void callQuietly(ServiceCase const& service, RTIambassadorC& bridge) {
  ::testing::internal::CaptureStderr();
  try {
    service.call(bridge);
  } catch (rti1516e::RTIinternalError const&) {
  }
  ::testing::internal::GetCapturedStderr();
}

// The bridge finds the logical-time library's lookup in the process, as in a federate
// linked against that library; this reference keeps it in this static program.
void requireTimeLibrary() {
  ASSERT_EQ(dlsym(RTLD_DEFAULT, kMakeLogicalTimeFactorySymbol),
            reinterpret_cast<void*>(&rti1516e::LogicalTimeFactoryFactory::makeLogicalTimeFactory));
}

class ServiceBridge : public ::testing::Test {
 protected:
  void SetUp() override {
    requireTimeLibrary();
    Probe::reset();
  }
  RTIambassadorC bridge;
};

TEST_F(ServiceBridge, EveryServiceSendsTheGoldenBytesToItsMethod) {
  std::map<std::string, Bytes> const golden = goldenServiceRows();
  ASSERT_GT(golden.size(), 100u) << "golden file " << OSTRA_GOLDEN_FILE;
  int checkedArrays = 0;
  for (ServiceCase const& service : serviceCases()) {
    SCOPED_TRACE(service.javaName);
    callQuietly(service, bridge);
    int const index = Probe::lastCall(service.javaName);
    ASSERT_GE(index, 0) << "the call did not reach " << service.javaName;
    bool noArray = false;
    Bytes sent = Probe::callBytes(index, &noArray);
    auto const row = golden.find(service.javaName);
    if (row == golden.end()) {
      EXPECT_TRUE(noArray) << "a method without a golden row must take no array";
      continue;
    }
    ASSERT_FALSE(noArray);
    Bytes expected = row->second;
    if (std::strcmp(service.javaName, "connect_FA_CM_S") == 0) {
      // The handle is the registry's, not the sample's.
      ASSERT_EQ(sent.size(), expected.size());
      std::fill_n(sent.begin(), 4, 0);
      std::fill_n(expected.begin(), 4, 0);
    }
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(Probe::callDecodeError(index), "");
    ++checkedArrays;
  }
  // Every golden row of a whole service array was checked.
  EXPECT_EQ(checkedArrays, std::count_if(golden.begin(), golden.end(), [](auto const& row) {
              return row.first.find('.') == std::string::npos;
            }));
}

TEST_F(ServiceBridge, LabelledExamplesFromTheGoldenFile) {
  std::map<std::string, Bytes> const golden = goldenServiceRows();
  bridge.joinFederationExecution(L"ab", L"xyz", L"Fed1", std::vector<std::wstring>());
  EXPECT_EQ(Probe::callBytes(Probe::lastCall("joinFederationExecution_S_S_S_URLX")),
            golden.at("joinFederationExecution_S_S_S_URLX.ab_xyz_Fed1"));
  bridge.subscribeInteractionClassWithRegions(handleFromJava<rti1516e::InteractionClassHandle>(4), true,
                                              {handleFromJava<rti1516e::RegionHandle>(9)});
  EXPECT_EQ(Probe::callBytes(Probe::lastCall("subscribeInteractionClassWithRegions_ICH_Z_RHS")),
            golden.at("subscribeInteractionClassWithRegions_ICH_Z_RHS.4_true_9"));
  bridge.evokeCallback(0.5);
  EXPECT_EQ(Probe::callBytes(Probe::lastCall("evokeCallback_D")), golden.at("evokeCallback_D.half"));
  bridge.timeAdvanceRequest(rti1516e::HLAinteger64Time(5));
  EXPECT_EQ(Probe::callBytes(Probe::lastCall("timeAdvanceRequest_LT")), golden.at("timeAdvanceRequest_LT.integer_5"));
}

// What the federate catches for a Java exception of class `className`.
struct Caught {
  std::type_info const* type = nullptr;
  std::wstring what;
};

Caught callCatching(ServiceCase const& service, RTIambassadorC& bridge) {
  Caught caught;
  try {
    service.call(bridge);
  } catch (rti1516e::Exception const& e) {
    caught.type = &typeid(e);
    caught.what = e.what();
  }
  return caught;
}

std::type_info const& cppClass(CoreException which) {
  static std::type_info const* const types[] = {
#define OSTRA_TYPE_0(Name)
#define OSTRA_TYPE_1(Name) &typeid(rti1516e::Name),
#define OSTRA_TYPE(Name, InCore) OSTRA_TYPE_##InCore(Name)
      RTI1516E_EXCEPTIONS(OSTRA_TYPE)
#undef OSTRA_TYPE
#undef OSTRA_TYPE_1
#undef OSTRA_TYPE_0
  };
  return *types[static_cast<size_t>(which)];
}

TEST_F(ServiceBridge, EachListedJavaExceptionArrivesAsTheSameNamedClass) {
  int checked = 0;
  for (ServiceCase const& service : serviceCases()) {
    for (CoreException which : service.exceptions) {
      std::string const javaClass = javaClassName(which);
      SCOPED_TRACE(std::string(service.javaName) + " " + javaClass);
      std::string const message = "m\xC3\xA9 " + std::to_string(checked);  // U+00E9 in modified UTF-8
      Probe::scriptException(service.javaName, javaClass, message.c_str());
      ::testing::internal::CaptureStderr();
      Caught const caught = callCatching(service, bridge);
      std::string const err = ::testing::internal::GetCapturedStderr();
      ASSERT_NE(caught.type, nullptr) << "nothing thrown";
      EXPECT_EQ(*caught.type, cppClass(which)) << caught.type->name();
      EXPECT_EQ(caught.what, L"m\u00E9 " + std::to_wstring(checked));
      EXPECT_EQ(err, "") << "a listed exception prints nothing";
      ++checked;
    }
  }
  EXPECT_GT(checked, 800);
}

TEST_F(ServiceBridge, UnlistedAndMessagelessExceptions) {
  for (ServiceCase const& service : serviceCases()) {
    SCOPED_TRACE(service.javaName);
    // A class outside the list, here a runtime exception of the core itself.
    Probe::scriptException(service.javaName, "java.lang.IllegalStateException", "core bug");
    ::testing::internal::CaptureStderr();
    Caught caught = callCatching(service, bridge);
    std::string const err = ::testing::internal::GetCapturedStderr();
    ASSERT_NE(caught.type, nullptr);
    EXPECT_EQ(*caught.type, typeid(rti1516e::RTIinternalError));
    EXPECT_EQ(caught.what, L"java.lang.IllegalStateException: core bug");
    EXPECT_EQ(err.rfind("Unhandled exception\n", 0), 0u) << err;

    // A listed class without a message: its toString().
    if (service.exceptions.size() > 0) {
      std::string const first = javaClassName(*service.exceptions.begin());
      Probe::scriptException(service.javaName, first, nullptr);
      caught = callCatching(service, bridge);
      ASSERT_NE(caught.type, nullptr);
      std::string dotted = first;
      std::replace(dotted.begin(), dotted.end(), '/', '.');
      EXPECT_EQ(caught.what, widenText(dotted));
    }
  }
  // A class of the standard's exceptions that this service does not declare.
  Probe::scriptException("getObjectClassName_OCH", "hla.rti1516e.exceptions.InvalidRegion", "r");
  ::testing::internal::CaptureStderr();
  EXPECT_THROW(bridge.getObjectClassName(rti1516e::ObjectClassHandle()), rti1516e::RTIinternalError);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("Unhandled exception"), std::string::npos);
  Probe::scriptException("deleteRegion_RH", "hla.rti1516e.exceptions.InvalidRegion", "r");
  EXPECT_THROW(bridge.deleteRegion(rti1516e::RegionHandle()), rti1516e::InvalidRegion);
  // Nothing stays pending: the next call works.
  EXPECT_NO_THROW(bridge.getObjectClassName(rti1516e::ObjectClassHandle()));
}

TEST_F(ServiceBridge, ResultsOfEveryKind) {
  using namespace rti1516e;
  Probe::scriptInt("getObjectClassHandle_S", -1);
  EXPECT_EQ(bridge.getObjectClassHandle(L"x"), ObjectClassHandleFriend::fromNumber(-1));
  Probe::scriptInt("getOrderType_S", 1);
  EXPECT_EQ(bridge.getOrderType(L"x"), TIMESTAMP);
  Probe::scriptInt("getTransportationTypeHandle_S", 2);
  EXPECT_EQ(bridge.getTransportationType(L"x"), BEST_EFFORT);
  Probe::scriptInt("getAutomaticResignDirective", 5);
  EXPECT_EQ(bridge.getAutomaticResignDirective(), NO_ACTION);
  Probe::scriptBoolean("evokeCallback_D", true);
  EXPECT_TRUE(bridge.evokeCallback(0.1));
  Probe::scriptDouble("getUpdateRateValue_S", 2.5);
  EXPECT_EQ(bridge.getUpdateRateValue(L"x"), 2.5);
  Probe::scriptLong("getDimensionUpperBound_DH", (int64_t{1} << 32) + 3);
  EXPECT_EQ(bridge.getDimensionUpperBound(DimensionHandle()), 3ul);
  Probe::scriptString("getObjectClassName_OCH", u"Tank\U0001F600");
  EXPECT_EQ(bridge.getObjectClassName(ObjectClassHandle()), L"Tank\U0001F600");
  Probe::scriptInts("getAvailableDimensionsForInteractionClass_ICH", {3, 1, 3});
  EXPECT_EQ(bridge.getAvailableDimensionsForInteractionClass(InteractionClassHandle()),
            (DimensionHandleSet{DimensionHandleFriend::fromNumber(1), DimensionHandleFriend::fromNumber(3)}));
  Probe::scriptNull("getDimensionHandleSet_RH");
  EXPECT_TRUE(bridge.getDimensionHandleSet(RegionHandle()).empty());
  Probe::scriptInts("attributeOwnershipDivestitureIfWanted_OIH_AHS", {4});
  EXPECT_EQ(bridge.attributeOwnershipDivestitureIfWanted(ObjectInstanceHandle(), AttributeHandleSet()),
            AttributeHandleSet{AttributeHandleFriend::fromNumber(4)});
  Probe::scriptLongs("getRangeBounds_RH_DH", {5, 10});
  RangeBounds const bounds = bridge.getRangeBounds(RegionHandle(), DimensionHandle());
  EXPECT_EQ(bounds.getLowerBound(), 5ul);
  EXPECT_EQ(bounds.getUpperBound(), 10ul);

  // Retraction handles: null is the invalid handle, otherwise the bytes are the handle.
  AttributeHandleValueMap const noValues;
  Probe::scriptNull("updateAttributeValues_OIH_AHVM_BX_LT");
  EXPECT_FALSE(bridge.updateAttributeValues(ObjectInstanceHandle(), noValues, VariableLengthData(),
                                            HLAinteger64Time(1)).isValid());
  MessageRetractionHandle const seven = MessageRetractionHandleFriend::make(7, VariableLengthData("\x01", 1));
  VariableLengthData const sevenBytes = seven.encode();
  Probe::scriptBytes("sendInteraction_ICH_PHVM_BX_LT",
                     Bytes(static_cast<uint8_t const*>(sevenBytes.data()),
                           static_cast<uint8_t const*>(sevenBytes.data()) + sevenBytes.size()));
  EXPECT_EQ(bridge.sendInteraction(InteractionClassHandle(), ParameterHandleValueMap(), VariableLengthData(),
                                   HLAinteger64Time(1)),
            seven);
}

TEST_F(ServiceBridge, MalformedResultsFromTheCoreAreInternalErrors) {
  using namespace rti1516e;
  ::testing::internal::CaptureStderr();
  Probe::scriptLongs("getRangeBounds_RH_DH", {5});
  EXPECT_THROW(bridge.getRangeBounds(RegionHandle(), DimensionHandle()), RTIinternalError);
  Probe::scriptNull("getRangeBounds_RH_DH");
  EXPECT_THROW(bridge.getRangeBounds(RegionHandle(), DimensionHandle()), RTIinternalError);
  Probe::scriptBytes("deleteObjectInstance_OIH_BX_LT", {0, 0, 0, 1, 0, 0, 0, 9});
  EXPECT_THROW(bridge.deleteObjectInstance(ObjectInstanceHandle(), VariableLengthData(), HLAinteger64Time(1)),
               RTIinternalError);
  std::string const err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("range bounds"), std::string::npos) << err;
  EXPECT_NE(err.find("message retraction handle"), std::string::npos) << err;
  EXPECT_NO_THROW(bridge.getObjectClassName(ObjectClassHandle()));
}

Bytes integerTime(int64_t value) {
  Bytes bytes(8);
  for (int i = 0; i < 8; ++i) bytes[i] = uint8_t(uint64_t(value) >> (56 - 8 * i));
  return bytes;
}

TEST_F(ServiceBridge, JoinInstallsTheFederationsTimeFactory) {
  using namespace rti1516e;
  EXPECT_FALSE(bridge.target.currentTimeFactory());
  // Before any join there is nothing to read a time with.
  Probe::scriptBytes("queryLogicalTime", integerTime(3));
  ::testing::internal::CaptureStderr();
  EXPECT_THROW(bridge.queryLogicalTime(), RTIinternalError);
  ::testing::internal::GetCapturedStderr();

  Probe::scriptInt("joinFederationExecution_S_S_S_URLX", 7);
  Probe::scriptString("getTimeFactory", u"HLAinteger64Time");
  EXPECT_EQ(bridge.joinFederationExecution(L"a", L"b", L"c", {}), FederateHandleFriend::fromNumber(7));
  EXPECT_EQ(Probe::callMethod(Probe::callCount() - 1), "getTimeFactory");
  auto factory = bridge.target.currentTimeFactory();
  ASSERT_TRUE(factory);
  EXPECT_EQ(factory->getName(), L"HLAinteger64Time");

  Probe::scriptBytes("queryLogicalTime", integerTime(3));
  EXPECT_EQ(*bridge.queryLogicalTime(), HLAinteger64Time(3));
  Probe::scriptNull("queryGALT");
  EXPECT_FALSE(bridge.queryGALT().first);
  Probe::scriptBytes("queryLITS", integerTime(9));
  auto lits = bridge.queryLITS();
  EXPECT_TRUE(lits.first);
  EXPECT_EQ(*lits.second, HLAinteger64Time(9));
  Probe::scriptBytes("queryLookahead", integerTime(2));
  EXPECT_EQ(*bridge.queryLookahead(), HLAinteger64Interval(2));
  ::testing::internal::CaptureStderr();
  Probe::scriptNull("queryLogicalTime");
  EXPECT_THROW(bridge.queryLogicalTime(), RTIinternalError);
  Probe::scriptBytes("queryGALT", {1, 2, 3});
  EXPECT_THROW(bridge.queryGALT(), RTIinternalError);
  ::testing::internal::GetCapturedStderr();

  // A failed join leaves the factory; a join into an unknown representation stores none.
  Probe::scriptException("joinFederationExecution_S_S_URLX", "hla.rti1516e.exceptions.NotConnected", "x");
  EXPECT_THROW(bridge.joinFederationExecution(L"b", L"c", {}), NotConnected);
  EXPECT_EQ(bridge.target.currentTimeFactory(), factory);
  Probe::scriptString("getTimeFactory", u"NoSuchTime");
  bridge.joinFederationExecution(L"b", L"c", {});
  EXPECT_FALSE(bridge.target.currentTimeFactory());
  EXPECT_EQ(factory->getName(), L"HLAinteger64Time") << "a callback's old factory stays usable";
  Probe::scriptBytes("queryLITS", integerTime(9));
  ::testing::internal::CaptureStderr();
  EXPECT_THROW(bridge.queryLITS(), RTIinternalError);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("no time factory"), std::string::npos);
}

TEST_F(ServiceBridge, ConnectRegistersItsTargetUnderANewHandleEachTime) {
  rti1516e::NullFederateAmbassador first, second;
  bridge.connect(first, rti1516e::HLA_EVOKED, L"");
  Bytes const sent = Probe::callBytes(Probe::lastCall("connect_FA_CM_S"));
  ASSERT_EQ(sent.size(), 12u);
  int32_t const handle = int32_t(sent[0]) << 24 | sent[1] << 16 | sent[2] << 8 | sent[3];
  EXPECT_EQ(Bytes(sent.begin() + 4, sent.end()), (Bytes{0, 0, 0, 1, 0, 0, 0, 0}));
  EXPECT_EQ(FederateAmbassadorRegistry::lookup(handle), &bridge.target);
  EXPECT_EQ(bridge.target.federateAmbassador.load(), &first);

  // A rejected connect still takes its handle and keeps the ambassador.
  Probe::scriptException("connect_FA_CM_S", "hla.rti1516e.exceptions.AlreadyConnected", "again");
  EXPECT_THROW(bridge.connect(second, rti1516e::HLA_IMMEDIATE, L"x"), rti1516e::AlreadyConnected);
  Bytes const again = Probe::callBytes(Probe::lastCall("connect_FA_CM_S"));
  int32_t const next = int32_t(again[0]) << 24 | again[1] << 16 | again[2] << 8 | again[3];
  EXPECT_EQ(next, handle + 1);
  EXPECT_EQ(again[7], 2);
  EXPECT_EQ(bridge.target.federateAmbassador.load(), &second);
  EXPECT_EQ(FederateAmbassadorRegistry::lookup(handle), &bridge.target);
}

// The caller's MXCSR comes back unchanged from every service, whether it succeeds or
// fails, and connect keeps it for the callbacks.
TEST_F(ServiceBridge, TheCallersFloatingPointRegisterSurvivesEveryCall) {
  unsigned const original = _mm_getcsr();
  unsigned const federate = (original | 0x8040u /* flush-to-zero, denormals-are-zero */ | 0x6000u /* round toward 0 */);
  rti1516e::NullFederateAmbassador ambassador;
  _mm_setcsr(federate);
  bridge.connect(ambassador, rti1516e::HLA_EVOKED, L"");
  unsigned const afterConnect = _mm_getcsr();
  unsigned const kept = bridge.target.federateFpControl.load();
  std::vector<unsigned> afterEach;
  for (ServiceCase const& service : serviceCases()) {
    if (std::strcmp(service.javaName, "connect_FA_CM_S") == 0) continue;
    callQuietly(service, bridge);
    afterEach.push_back(_mm_getcsr());
    Probe::scriptException(service.javaName, "java.lang.IllegalArgumentException", "no");
    ::testing::internal::CaptureStderr();
    try {
      service.call(bridge);
    } catch (rti1516e::Exception const&) {
    }
    ::testing::internal::GetCapturedStderr();
    afterEach.push_back(_mm_getcsr());
  }
  _mm_setcsr(original);
  EXPECT_EQ(afterConnect, federate);
  EXPECT_EQ(kept, federate);
  for (size_t i = 0; i < afterEach.size(); ++i) {
    SCOPED_TRACE(serviceCases()[1 + i / 2].javaName);
    EXPECT_EQ(afterEach[i], federate) << std::hex << afterEach[i];
  }
}

TEST_F(ServiceBridge, ManyThreadsCallOneAmbassadorAtOnce) {
  constexpr int kThreads = 4, kCalls = 250;
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kCalls; ++i) {
        try {
          std::wstring const name = L"t" + std::to_wstring(t) + L"." + std::to_wstring(i);
          bridge.getObjectClassHandle(name);
          if (i % 10 == 0) {
            Probe::scriptException("getFederateName_FH", "hla.rti1516e.exceptions.FederateHandleNotKnown", "n");
            try {
              bridge.getFederateName(rti1516e::FederateHandle());
            } catch (rti1516e::FederateHandleNotKnown const&) {
            }
          }
        } catch (...) {
          ++failures;
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(Probe::countCalls("getObjectClassHandle_S"), kThreads * kCalls);
  EXPECT_EQ(Probe::callDecodeError(Probe::lastCall("getObjectClassHandle_S")), "");
}

// ---- construction and destruction ---------------------------------------------------

TEST(ServiceBridgeLifetime, EachAmbassadorHasItsOwnServiceObject) {
  Probe::reset();
  rti1516e::RTIambassadorFactory factory;
  std::auto_ptr<rti1516e::RTIambassador> first = factory.createRTIambassador();
  std::auto_ptr<rti1516e::RTIambassador> second = factory.createRTIambassador();
  ASSERT_EQ(Probe::constructionCount(), 2);
  EXPECT_EQ(Probe::constructionBytes(0), Bytes(4, 0));
  EXPECT_EQ(Probe::constructionBytes(1), Bytes(4, 0));
  int const firstInstance = Probe::constructionInstance(0), secondInstance = Probe::constructionInstance(1);
  EXPECT_NE(firstInstance, secondInstance);

  // Destroying one, never connected and with a failing disconnect, raises nothing.
  Probe::scriptException("disconnect", "hla.rti1516e.exceptions.FederateIsExecutionMember", "joined");
  EXPECT_NO_THROW(first.reset());
  ASSERT_EQ(Probe::countCalls("disconnect"), 1);
  EXPECT_EQ(Probe::callInstance(Probe::lastCall("disconnect")), firstInstance);

  second->listFederationExecutions();
  EXPECT_EQ(Probe::callInstance(Probe::lastCall("listFederationExecutions")), secondInstance);
  EXPECT_NO_THROW(second->getObjectClassName(rti1516e::ObjectClassHandle()));
}

TEST(ServiceBridgeLifetime, AJavaConstructorFailureIsAnInternalError) {
  Probe::reset();
  Probe::scriptException("<init>", "java.lang.IllegalStateException", "no core today");
  ::testing::internal::CaptureStderr();
  try {
    RTIambassadorC bridge;
    FAIL() << "constructed";
  } catch (rti1516e::RTIinternalError const& e) {
    EXPECT_EQ(e.what(), L"no core today");
  }
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("no core today"), std::string::npos)
      << "the Java exception is described on standard error";
  Probe::scriptException("<init>", "java.lang.IllegalStateException", nullptr);
  ::testing::internal::CaptureStderr();
  try {
    RTIambassadorC bridge;
    FAIL() << "constructed";
  } catch (rti1516e::RTIinternalError const& e) {
    EXPECT_EQ(e.what(), L"java.lang.IllegalStateException");
  }
  ::testing::internal::GetCapturedStderr();
  EXPECT_NO_THROW(RTIambassadorC());
}

TEST(ServiceBridgeLifetime, AFullRegistryRefusesTheConnection) {
  Probe::reset();
  RTIambassadorC bridge;
  CallbackTarget filler;
  ::testing::internal::CaptureStderr();
  while (FederateAmbassadorRegistry::add(&filler) != FederateAmbassadorRegistry::kFull) {
  }
  rti1516e::NullFederateAmbassador ambassador;
  EXPECT_THROW(bridge.connect(ambassador, rti1516e::HLA_EVOKED, L""), rti1516e::RTIinternalError);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("No more FederateAmbassador handles"), std::string::npos);
  EXPECT_EQ(Probe::countCalls("connect_FA_CM_S"), 0) << "no handle, no call";
  FederateAmbassadorRegistry::resetForTesting();
}

// The class path named is the one the machine reports; no jar lies beside this program.
TEST(ServiceBridgeStartUp, MissingClassesAreNamedWithTheClassPath) {
  std::string output;
  auto values = runChild("create", "env -u CLASSPATH", &output);
  EXPECT_EQ(values["what"], "Cannot locate Ostra core Java classes|CLASSPATH: (empty)") << output;
  EXPECT_NE(output.find("Cannot locate Ostra core Java classes\nCLASSPATH: (empty)\n"), std::string::npos);

  values = runChild("create", "env CLASSPATH=/nowhere/a.jar:/nowhere/b", &output);
  EXPECT_EQ(values["what"], "Cannot locate Ostra core Java classes|CLASSPATH: /nowhere/a.jar:/nowhere/b")
      << output;
}

// The environment at the latest construction decides the catch-all setting for every
// ambassador of the process.
TEST(ServiceBridgeStartUp, TheLatestConstructionSetsTheCatchAllFlag) {
  std::string output;
  auto values = runChild("catchall", "env -u OSTRA1516_DONTCATCHALL", &output);
  EXPECT_EQ(values["first"], "1") << output;
  EXPECT_EQ(values["second"], "0") << output;
  EXPECT_EQ(values["third"], "1") << output;
}

// Under -Xcheck:jni the virtual machine checks every JNI call; it must find nothing to say.
TEST(ServiceBridgeStartUp, CheckedJniFindsNothing) {
  std::string output;
  std::string const classPath = std::getenv("CLASSPATH") ? std::getenv("CLASSPATH") : "";
  auto values = runChild("exercise", "env OSTRA1516_OPTION1=-Xcheck:jni", &output);
  EXPECT_EQ(values["exit"], "0") << output;
  EXPECT_EQ(values["exercised"], "yes") << output;
  EXPECT_EQ(output.find("WARNING"), std::string::npos) << output;
  EXPECT_EQ(output.find("FATAL"), std::string::npos) << output;
}

// ---- the children's side ------------------------------------------------------------

int childCreate() {
  try {
    RTIambassadorC bridge;
    std::cout << "what=(constructed)\n";
  } catch (rti1516e::RTIinternalError const& e) {
    std::string what = narrowText(e.what());
    std::replace(what.begin(), what.end(), '\n', '|');
    std::cout << "\nwhat=" << what << "\n";
  }
  return 0;
}

// Every service once succeeding and once failing, every object result, and a
// construction and destruction, so that the checks see every path.
int childExercise() {
  requireTimeLibrary();
  {
    RTIambassadorC bridge;
    rti1516e::NullFederateAmbassador ambassador;
    bridge.connect(ambassador, rti1516e::HLA_EVOKED, L"");
    Probe::scriptString("getTimeFactory", u"HLAinteger64Time");
    bridge.joinFederationExecution(L"a", L"b", {});
    for (ServiceCase const& service : serviceCases()) {
      try {
        service.call(bridge);
      } catch (rti1516e::RTIinternalError const&) {
      }
      Probe::scriptException(service.javaName, "java.lang.IllegalStateException", "x");
      try {
        service.call(bridge);
      } catch (rti1516e::Exception const&) {
      }
      if (service.exceptions.size() > 0) {
        Probe::scriptException(service.javaName, javaClassName(*(service.exceptions.end() - 1)), nullptr);
        try {
          service.call(bridge);
        } catch (rti1516e::Exception const&) {
        }
      }
    }
    Probe::scriptBytes("queryGALT", integerTime(4));
    bridge.queryGALT();
    Probe::scriptString("getObjectClassName_OCH", u"n\U0001F600");
    bridge.getObjectClassName(rti1516e::ObjectClassHandle());
    Probe::scriptLongs("getRangeBounds_RH_DH", {1, 2});
    bridge.getRangeBounds(rti1516e::RegionHandle(), rti1516e::DimensionHandle());
    Probe::scriptInts("getDimensionHandleSet_RH", {1, 2});
    bridge.getDimensionHandleSet(rti1516e::RegionHandle());
  }
  std::cout << "exercised=yes\n";
  return 0;
}

// Three constructions: without OSTRA1516_DONTCATCHALL, with it (empty counts as set),
// and without it again; the flag is printed after each while all ambassadors live.
int childCatchAll() {
  RTIambassadorC first;
  std::cout << "first=" << catchAllFlag() << "\n";
  setenv("OSTRA1516_DONTCATCHALL", "", 1);
  RTIambassadorC second;
  std::cout << "second=" << catchAllFlag() << "\n";
  unsetenv("OSTRA1516_DONTCATCHALL");
  RTIambassadorC third;
  std::cout << "third=" << catchAllFlag() << "\n";
  return 0;
}

int runChildScenario(std::string const& scenario) {
  try {
    if (scenario == "create") return childCreate();
    if (scenario == "exercise") return childExercise();
    if (scenario == "catchall") return childCatchAll();
  } catch (std::exception const& e) {
    std::cout << "exception=" << e.what() << "\n";
  } catch (rti1516e::Exception const& e) {
    std::cout << "exception=" << narrowText(e.what()) << "\n";
  }
  return 3;
}

}  // namespace
}  // namespace ostra1516e

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--child=", 8) == 0) {
      int status = ostra1516e::runChildScenario(argv[i] + 8);
      std::cout << std::flush;
      return status;
    }
  }
  ::testing::InitGoogleTest(&argc, argv);
  // The probe is reached through the machine, which each test may be the first to need.
  ostra1516e::JavaVmHost::startOrAttach();
  return RUN_ALL_TESTS();
}
