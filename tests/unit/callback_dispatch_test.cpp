#include "gen/cpp/CallbackDispatch.h"
#include "gen/cpp/FederateAmbassadorC.h"

#include "../support/RecordingAmbassador.h"
#include "../support/WireBytes.h"

#include <RTI/time/HLAinteger64TimeFactory.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <stdexcept>

namespace ostra1516e {
namespace {

using testing::RecordingAmbassador;
using testing::WireBytes;

CallbackRow const* row(std::string const& nativeName) {
  for (size_t i = 0; i < kCallbackCount; ++i) {
    if (nativeName == kCallbackRows[i].nativeName) return &kCallbackRows[i];
  }
  ADD_FAILURE() << "no row " << nativeName;
  return nullptr;
}

// Holds an exact heap copy of an array and records when the dispatch releases it, and
// what the ambassador had been told by then.
class TestPin : public ArrayPin {
 public:
  TestPin(WireBytes const& bytes, RecordingAmbassador const& ambassador, size_t n = SIZE_MAX)
      : TestPin(bytes.copy(n), std::min(n, bytes.size()), ambassador) {}
  void release() noexcept override {
    ++releases;
    callsAtRelease = ambassador_.calls.size();
  }
  int releases = 0;
  size_t callsAtRelease = 0;

 private:
  TestPin(std::unique_ptr<uint8_t[]> block, size_t n, RecordingAmbassador const& ambassador)
      : ArrayPin(block.get(), n), block_(std::move(block)), ambassador_(ambassador) {}
  std::unique_ptr<uint8_t[]> block_;
  RecordingAmbassador const& ambassador_;
};

class CallbackDispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FederateAmbassadorRegistry::resetForTesting();
    target.federateAmbassador = &ambassador;
    target.federateFpControl = _mm_getcsr();
    handle = FederateAmbassadorRegistry::add(&target);
    setCatchAllFlag(true);
  }
  void TearDown() override {
    FederateAmbassadorRegistry::resetForTesting();
    setCatchAllFlag(true);
  }

  // Delivers the array to the native method's dispatch; checks that the array was
  // released exactly once and before the federate saw anything.
  CallbackFailure deliver(std::string const& nativeName, WireBytes const& array,
                          size_t n = SIZE_MAX) {
    size_t const before = ambassador.calls.size();
    TestPin pin(array, ambassador, n);
    CallbackFailure failure = row(nativeName)->deliver(pin);
    EXPECT_EQ(pin.releases, 1);
    EXPECT_EQ(pin.callsAtRelease, before);
    return failure;
  }

  RecordingAmbassador ambassador;
  CallbackTarget target;
  int32_t handle = 0;
};

std::string utf8(std::u16string const& units) {
  std::string out;
  for (char16_t u : units) out += u < 0x80 ? static_cast<char>(u) : '?';
  return out;
}

TEST(CallbackTableTest, NativeNamesSpellTheMethodAndItsCodes) {
  ASSERT_EQ(kCallbackCount, 60u);
  std::set<std::string> names;
  for (size_t i = 0; i < kCallbackCount; ++i) {
    CallbackRow const& r = kCallbackRows[i];
    SCOPED_TRACE(r.nativeName);
    EXPECT_EQ(std::string(r.method) + r.codeNames() + "_Native", r.nativeName);
    EXPECT_TRUE(names.insert(r.nativeName).second) << "twice in the table";
  }
  // The registration order starts and ends as the core's class declares it.
  EXPECT_STREQ(kCallbackRows[0].nativeName, "synchronizationPointRegistrationSucceeded_S_Native");
  EXPECT_STREQ(kCallbackRows[23].nativeName, "multipleObjectInstanceNameReservationSucceeded_S_Native");
  EXPECT_STREQ(kCallbackRows[59].nativeName, "requestRetraction_MRH_Native");
}

TEST_F(CallbackDispatchTest, AnArrayWithoutArgumentsMakesExactlyOneCall) {
  WireBytes array = WireBytes::callback(handle).end();
  ASSERT_EQ(array.size(), 12u);
  EXPECT_EQ(deliver("federationSaved_Native", array), std::nullopt);
  EXPECT_EQ(ambassador.calls, std::vector<std::string>{"federationSaved()"});
}

// What a throwing callback makes the core see, for each kind of exception.
TEST_F(CallbackDispatchTest, ExceptionsFromTheFederateBecomeOneMessage) {
  struct Case {
    std::string name;
    std::function<void()> thrower;
    std::u16string message;
  } const cases[] = {
      {"FederateInternalError", [] { throw rti1516e::FederateInternalError(L"boom"); }, u"boom"},
      {"another RTI exception", [] { throw rti1516e::InvalidFederateHandle(L"bad handle"); }, u"bad handle"},
      {"wide characters keep their low 8 bits",
       [] { throw rti1516e::FederateInternalError(L"\u0141\u00e9\U0001F600"); },
       std::u16string{char16_t(0x41), char16_t(0xE9), char16_t(0x00)}},
      {"std::exception", [] { throw std::runtime_error("disk full"); }, u"disk full"},
      {"std::exception with UTF-8", [] { throw std::runtime_error("caf\xc3\xa9 \xf0\x9f\x98\x80"); },
       u"caf\u00e9 \U0001F600"},
      {"std::exception with other bytes", [] { throw std::runtime_error("a\xe9z"); },
       std::u16string{u'a', char16_t(0xE9), u'z'}},
      {"std::string", [] { throw std::string("plain text"); }, u"plain text"},
      {"int", [] { throw 42; }, u"Unknown C++ exception"},
  };
  for (auto const& c : cases) {
    SCOPED_TRACE(c.name);
    ambassador.during = c.thrower;
    CallbackFailure failure = deliver("federationSaved_Native", WireBytes::callback(handle).end());
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(*failure, c.message) << utf8(*failure);
  }
}

TEST_F(CallbackDispatchTest, WithoutCatchAllAnUnknownExceptionIsNotIntercepted) {
  setCatchAllFlag(false);
  ambassador.during = [] { throw 42; };
  TestPin pin(WireBytes::callback(handle).end(), ambassador);
  EXPECT_THROW(row("federationSaved_Native")->deliver(pin), int);
  EXPECT_EQ(pin.releases, 1);
  // Known kinds are still converted.
  ambassador.during = [] { throw std::string("still converted"); };
  EXPECT_EQ(deliver("federationSaved_Native", WireBytes::callback(handle).end()),
            CallbackFailure(u"still converted"));
}

// The federate runs under the register value captured at connect, whatever the
// delivering thread had, and the delivering thread gets its own back on every path.
TEST_F(CallbackDispatchTest, CallbacksRunUnderTheFederatesFloatingPointControl) {
  unsigned const outside = _mm_getcsr();
  unsigned const federate = (outside | 0x8040) & ~0x0200u;  // FTZ, DAZ, divide-by-zero unmasked
  ASSERT_NE(federate, outside);
  target.federateFpControl = federate;
  unsigned seen = 0;
  for (bool throws : {false, true}) {
    SCOPED_TRACE(throws ? "throwing" : "returning");
    ambassador.during = [&] {
      seen = _mm_getcsr();
      if (throws) throw rti1516e::FederateInternalError(L"x");
    };
    deliver("federationRestored_Native", WireBytes::callback(handle).end());
    EXPECT_EQ(seen, federate);
    EXPECT_EQ(_mm_getcsr(), outside);
  }
}

// Framing, handles and truncation: refused with a message naming the native method,
// without calling the federate and without reading past the array.
TEST_F(CallbackDispatchTest, MalformedOrUndeliverableArraysAreRefused) {
  CallbackTarget retired;
  retired.federateAmbassador = &ambassador;
  int32_t const retiredHandle = FederateAmbassadorRegistry::add(&retired);
  FederateAmbassadorRegistry::retire(&retired);
  struct Case {
    std::string name;
    std::string nativeName;
    WireBytes array;
    std::string message;
  } const cases[] = {
      {"bad PRE_MAGIC", "federationSaved_Native", WireBytes().word(0x63626161).word(handle).end(),
       "preMagic == PRE_MAGIC"},
      {"bad POST_MAGIC", "federationSaved_Native", WireBytes::callback(handle).word(0x59585757),
       "postMagic == POST_MAGIC"},
      {"no POST_MAGIC", "federationNotSaved_SFR_Native", WireBytes::callback(handle).word(1),
       "postMagic == POST_MAGIC"},
      {"bytes after POST_MAGIC", "federationSaved_Native", WireBytes::callback(handle).end().raw({0}),
       "1 bytes follow POST_MAGIC"},
      {"empty array", "federationSaved_Native", WireBytes(), "needs 4 bytes"},
      {"unknown handle", "federationSaved_Native", WireBytes::callback(handle + 1).end(),
       "no federate ambassador is connected under handle"},
      {"negative handle", "federationSaved_Native", WireBytes::callback(-1).end(),
       "handle -1"},
      {"retired handle", "federationSaved_Native", WireBytes::callback(retiredHandle).end(),
       "no federate ambassador is connected under handle"},
      {"time without a factory", "timeAdvanceGrant_LT_Native",
       WireBytes::callback(handle).word(0).word(1).end(), "no time factory"},
      {"negative string length", "connectionLost_S_Native",
       WireBytes::callback(handle).word(-2).end(), "string: length -2"},
  };
  for (auto const& c : cases) {
    SCOPED_TRACE(c.name);
    CallbackFailure failure = deliver(c.nativeName, c.array);
    ASSERT_TRUE(failure.has_value());
    std::string const text = utf8(*failure);
    EXPECT_EQ(text.rfind(c.nativeName + ": ", 0), 0u) << text;
    EXPECT_NE(text.find(c.message), std::string::npos) << text;
  }
  EXPECT_TRUE(ambassador.calls.empty());
}

TEST_F(CallbackDispatchTest, EveryPrefixOfAValidArrayIsRefused) {
  target.replaceTimeFactory(std::make_shared<rti1516e::HLAinteger64TimeFactory>());
  WireBytes array = WireBytes::callback(handle)
                        .word(4).word(2).word(7).block({1, 2}).word(8).block({})
                        .block({9}).word(1).word(2).raw({0, 0, 0, 0, 0, 0, 0, 3}).word(0)
                        .word(6).block({0xEE}).word(1).word(1).word(5).word(1).word(3).end();
  std::string const name = "receiveInteraction_ICH_PHVM_BX_OT_TTH_LT_OT_MRH_FASRI_Native";
  for (size_t n = 0; n < array.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_TRUE(deliver(name, array, n).has_value());
  }
  EXPECT_TRUE(ambassador.calls.empty());
  EXPECT_EQ(deliver(name, array), std::nullopt);
  EXPECT_EQ(ambassador.calls,
            std::vector<std::string>{"receiveInteraction(4, {7=[01 02], 8=[]}, [09], 2, 2, "
                                     "HLAinteger64Time<3>, 1, mrh(6:[ee]), receive(federate=5, regions={3}))"});
}

}  // namespace
}  // namespace ostra1516e
