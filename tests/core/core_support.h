// What the end-to-end tests of the core share: the outcome of a call as text, federates
// that record their callbacks as lines and wait for them in either callback model, and the
// fixture that gives each test and model federations of its own.
#ifndef OSTRA_TESTS_CORE_SUPPORT_H
#define OSTRA_TESTS_CORE_SUPPORT_H

#include <RTI/RTI1516.h>
#include <cxxabi.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "../support/RecordingAmbassador.h"

namespace ostra1516e {
namespace coretest {

using namespace rti1516e;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

// designator is where the tests' federates connect: the engine in this process, or the
// federation server that OSTRA_TEST_RTI names.
inline std::wstring designator() {
  char const* named = std::getenv("OSTRA_TEST_RTI");
  return named == nullptr ? std::wstring() : std::wstring(named, named + std::strlen(named));
}

inline std::string narrow(std::wstring const& text) { return std::string(text.begin(), text.end()); }
inline std::wstring wide(std::string const& text) { return std::wstring(text.begin(), text.end()); }
inline std::wstring fom(char const* file) { return wide(std::string(OSTRA_CORE_FOM_DIR "/") + file); }
inline double since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// What a call did: "ok", or "<exception class>: <message>".
inline std::string outcome(std::function<void()> const& call) {
  try {
    call();
    return "ok";
  } catch (rti1516e::Exception const& e) {
    int status = 0;
    char* demangled = abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status);
    std::string type = status == 0 ? demangled : typeid(e).name();
    std::free(demangled);
    if (type.rfind("rti1516e::", 0) == 0) type = type.substr(10);
    return type + ": " + narrow(e.what());
  }
}
#define EXPECT_OK(...) EXPECT_EQ(outcome([&] { __VA_ARGS__; }), "ok")
#define ASSERT_OK(...) ASSERT_EQ(outcome([&] { __VA_ARGS__; }), "ok")
#define EXPECT_RTI(exception, ...) EXPECT_THAT(outcome([&] { __VA_ARGS__; }), StartsWith(exception ": "))
#define EXPECT_RTI_NAMING(exception, named, ...) \
  EXPECT_THAT(outcome([&] { __VA_ARGS__; }), ::testing::AllOf(StartsWith(exception ": "), HasSubstr(named)))

inline VariableLengthData tag(unsigned char first) {
  unsigned char const bytes[] = {first, 0xFF};
  return VariableLengthData(bytes, 2);
}

// compact keeps a callback line short enough to read: a line of a large value keeps its
// start, its length and a hash of the whole, so that equal lines stay equal.
inline std::string compact(std::string const& line) {
  if (line.size() <= 2000) return line;
  uint64_t hash = 1469598103934665603ull;
  for (unsigned char c : line) hash = (hash ^ c) * 1099511628211ull;
  return line.substr(0, 100) + "...(" + std::to_string(line.size()) + " chars, hash " + std::to_string(hash) + ")";
}

// Federate is one RTIambassador with its federate ambassador. Callbacks are recorded as
// lines under a lock, since in HLA_IMMEDIATE they arrive on the core's thread; onCallback
// runs inside each callback before its line becomes visible to waiters.
class Federate : public testing::RecordingAmbassador {
 public:
  explicit Federate(CallbackModel m) : model(m), rti(RTIambassadorFactory().createRTIambassador()) {}
  ~Federate() override {
    {
      std::lock_guard<std::mutex> lock(mutex);
      onCallback = nullptr;
    }
    outcome([&] { rti->resignFederationExecution(DELETE_OBJECTS_THEN_DIVEST); });
    outcome([&] { rti->disconnect(); });
  }

  void connect() { rti->connect(*this, model, designator()); }
  FederateHandle join(std::wstring const& name, std::wstring const& federation,
                      std::vector<std::wstring> const& modules = {}) {
    return handle = rti->joinFederationExecution(name, L"Tester", federation, modules);
  }
  Lines lines() const {
    std::lock_guard<std::mutex> lock(mutex);
    return calls;
  }
  // take returns the lines so far and forgets them.
  Lines take() {
    std::lock_guard<std::mutex> lock(mutex);
    Lines taken;
    taken.swap(calls);
    return taken;
  }
  bool has(std::string const& line) const {
    Lines const now = lines();
    return std::find(now.begin(), now.end(), line) != now.end();
  }
  std::string dump() const {
    std::string out = "callbacks of federate " + testing::show(handle) + ":";
    for (auto const& line : lines()) out += "\n  " + line;
    return out;
  }

  // waitFor lets callbacks arrive until done holds, for 5 seconds at most.
  bool waitFor(std::function<bool(Lines const&)> const& done, double seconds = 5) {
    auto const deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    std::unique_lock<std::mutex> lock(mutex);
    if (model == HLA_IMMEDIATE) return changed.wait_until(lock, deadline, [&] { return done(calls); });
    while (!done(calls)) {
      if (Clock::now() >= deadline) return false;
      lock.unlock();
      rti->evokeCallback(0.05);
      lock.lock();
    }
    return true;
  }
  bool waitFor(std::string const& line, double seconds = 5) {
    return waitFor([&](Lines const& l) { return std::find(l.begin(), l.end(), line) != l.end(); }, seconds);
  }
  bool waitForCount(std::string const& prefix, size_t count, double seconds = 5) {
    return waitFor([&](Lines const& l) {
      return size_t(std::count_if(l.begin(), l.end(), [&](std::string const& s) { return s.rfind(prefix, 0) == 0; })) >= count;
    }, seconds);
  }

  CallbackModel const model;
  std::auto_ptr<RTIambassador> rti;
  FederateHandle handle;
  std::function<void(std::string const&)> onCallback;

  using AHS = AttributeHandleSet;
  using OIH = ObjectInstanceHandle;
  using TT = TransportationType;
#define OSTRA_GUARDED(method, params, args) \
  void method params override { guarded([&] { RecordingAmbassador::method args; }); }
  OSTRA_GUARDED(connectionLost, (std::wstring const& a), (a))
  OSTRA_GUARDED(reportFederationExecutions, (FederationExecutionInformationVector const& a), (a))
  OSTRA_GUARDED(synchronizationPointRegistrationSucceeded, (std::wstring const& a), (a))
  OSTRA_GUARDED(synchronizationPointRegistrationFailed, (std::wstring const& a, SynchronizationPointFailureReason b), (a, b))
  OSTRA_GUARDED(announceSynchronizationPoint, (std::wstring const& a, VLD const& b), (a, b))
  OSTRA_GUARDED(federationSynchronized, (std::wstring const& a, FederateHandleSet const& b), (a, b))
  OSTRA_GUARDED(initiateFederateSave, (std::wstring const& a), (a))
  OSTRA_GUARDED(initiateFederateSave, (std::wstring const& a, LT const& b), (a, b))
  OSTRA_GUARDED(federationSaved, (), ())
  OSTRA_GUARDED(federationNotSaved, (SaveFailureReason a), (a))
  OSTRA_GUARDED(federationSaveStatusResponse, (FederateHandleSaveStatusPairVector const& a), (a))
  OSTRA_GUARDED(requestFederationRestoreSucceeded, (std::wstring const& a), (a))
  OSTRA_GUARDED(requestFederationRestoreFailed, (std::wstring const& a), (a))
  OSTRA_GUARDED(federationRestoreBegun, (), ())
  OSTRA_GUARDED(initiateFederateRestore, (std::wstring const& a, std::wstring const& b, FederateHandle c), (a, b, c))
  OSTRA_GUARDED(federationRestored, (), ())
  OSTRA_GUARDED(federationNotRestored, (RestoreFailureReason a), (a))
  OSTRA_GUARDED(federationRestoreStatusResponse, (FederateRestoreStatusVector const& a), (a))
  OSTRA_GUARDED(startRegistrationForObjectClass, (ObjectClassHandle a), (a))
  OSTRA_GUARDED(stopRegistrationForObjectClass, (ObjectClassHandle a), (a))
  OSTRA_GUARDED(turnInteractionsOn, (InteractionClassHandle a), (a))
  OSTRA_GUARDED(turnInteractionsOff, (InteractionClassHandle a), (a))
  OSTRA_GUARDED(objectInstanceNameReservationSucceeded, (std::wstring const& a), (a))
  OSTRA_GUARDED(objectInstanceNameReservationFailed, (std::wstring const& a), (a))
  OSTRA_GUARDED(multipleObjectInstanceNameReservationSucceeded, (std::set<std::wstring> const& a), (a))
  OSTRA_GUARDED(multipleObjectInstanceNameReservationFailed, (std::set<std::wstring> const& a), (a))
  OSTRA_GUARDED(discoverObjectInstance, (OIH a, ObjectClassHandle b, std::wstring const& c), (a, b, c))
  OSTRA_GUARDED(discoverObjectInstance, (OIH a, ObjectClassHandle b, std::wstring const& c, FederateHandle d), (a, b, c, d))
  OSTRA_GUARDED(reflectAttributeValues, (OIH a, AttributeHandleValueMap const& b, VLD const& c, OrderType d, TT e,
                                         FASRI_Reflect f), (a, b, c, d, e, f))
  OSTRA_GUARDED(reflectAttributeValues, (OIH a, AttributeHandleValueMap const& b, VLD const& c, OrderType d, TT e,
                                         LT const& f, OrderType g, FASRI_Reflect h), (a, b, c, d, e, f, g, h))
  OSTRA_GUARDED(reflectAttributeValues, (OIH a, AttributeHandleValueMap const& b, VLD const& c, OrderType d, TT e,
                                         LT const& f, OrderType g, MessageRetractionHandle h, FASRI_Reflect i),
                (a, b, c, d, e, f, g, h, i))
  OSTRA_GUARDED(receiveInteraction, (InteractionClassHandle a, ParameterHandleValueMap const& b, VLD const& c,
                                     OrderType d, TT e, FASRI_Receive f), (a, b, c, d, e, f))
  OSTRA_GUARDED(receiveInteraction, (InteractionClassHandle a, ParameterHandleValueMap const& b, VLD const& c,
                                     OrderType d, TT e, LT const& f, OrderType g, FASRI_Receive h), (a, b, c, d, e, f, g, h))
  OSTRA_GUARDED(receiveInteraction, (InteractionClassHandle a, ParameterHandleValueMap const& b, VLD const& c,
                                     OrderType d, TT e, LT const& f, OrderType g, MessageRetractionHandle h,
                                     FASRI_Receive i), (a, b, c, d, e, f, g, h, i))
  OSTRA_GUARDED(removeObjectInstance, (OIH a, VLD const& b, OrderType c, FASRI_Remove d), (a, b, c, d))
  OSTRA_GUARDED(removeObjectInstance, (OIH a, VLD const& b, OrderType c, LT const& d, OrderType e, FASRI_Remove f),
                (a, b, c, d, e, f))
  OSTRA_GUARDED(removeObjectInstance, (OIH a, VLD const& b, OrderType c, LT const& d, OrderType e,
                                       MessageRetractionHandle f, FASRI_Remove g), (a, b, c, d, e, f, g))
  OSTRA_GUARDED(attributesInScope, (OIH a, AHS const& b), (a, b))
  OSTRA_GUARDED(attributesOutOfScope, (OIH a, AHS const& b), (a, b))
  OSTRA_GUARDED(provideAttributeValueUpdate, (OIH a, AHS const& b, VLD const& c), (a, b, c))
  OSTRA_GUARDED(turnUpdatesOnForObjectInstance, (OIH a, AHS const& b), (a, b))
  OSTRA_GUARDED(turnUpdatesOnForObjectInstance, (OIH a, AHS const& b, std::wstring const& c), (a, b, c))
  OSTRA_GUARDED(turnUpdatesOffForObjectInstance, (OIH a, AHS const& b), (a, b))
  OSTRA_GUARDED(confirmAttributeTransportationTypeChange, (OIH a, AHS b, TT c), (a, b, c))
  OSTRA_GUARDED(reportAttributeTransportationType, (OIH a, AttributeHandle b, TT c), (a, b, c))
  OSTRA_GUARDED(confirmInteractionTransportationTypeChange, (InteractionClassHandle a, TT b), (a, b))
  OSTRA_GUARDED(reportInteractionTransportationType, (FederateHandle a, InteractionClassHandle b, TT c), (a, b, c))
  OSTRA_GUARDED(requestAttributeOwnershipAssumption, (OIH a, AHS const& b, VLD const& c), (a, b, c))
  OSTRA_GUARDED(requestDivestitureConfirmation, (OIH a, AHS const& b), (a, b))
  OSTRA_GUARDED(attributeOwnershipAcquisitionNotification, (OIH a, AHS const& b, VLD const& c), (a, b, c))
  OSTRA_GUARDED(attributeOwnershipUnavailable, (OIH a, AHS const& b), (a, b))
  OSTRA_GUARDED(requestAttributeOwnershipRelease, (OIH a, AHS const& b, VLD const& c), (a, b, c))
  OSTRA_GUARDED(confirmAttributeOwnershipAcquisitionCancellation, (OIH a, AHS const& b), (a, b))
  OSTRA_GUARDED(informAttributeOwnership, (OIH a, AttributeHandle b, FederateHandle c), (a, b, c))
  OSTRA_GUARDED(attributeIsNotOwned, (OIH a, AttributeHandle b), (a, b))
  OSTRA_GUARDED(attributeIsOwnedByRTI, (OIH a, AttributeHandle b), (a, b))
  OSTRA_GUARDED(timeRegulationEnabled, (LT const& a), (a))
  OSTRA_GUARDED(timeConstrainedEnabled, (LT const& a), (a))
  OSTRA_GUARDED(timeAdvanceGrant, (LT const& a), (a))
  OSTRA_GUARDED(requestRetraction, (MessageRetractionHandle a), (a))
#undef OSTRA_GUARDED

 private:
  template <typename Record>
  void guarded(Record record) {
    std::unique_lock<std::mutex> lock(mutex);
    record();
    std::string const line = compact(calls.back());
    calls.pop_back();
    auto const hook = onCallback;
    lock.unlock();
    if (hook) hook(line);
    lock.lock();
    calls.push_back(line);
    changed.notify_all();
  }

  mutable std::mutex mutex;
  std::condition_variable changed;
};

// cb is the line a federate records for a callback with these arguments.
template <typename... Args>
std::string cb(char const* method, Args const&... args) {
  std::string line = std::string(method) + "(";
  bool first = true;
  ((line += (first ? "" : ", ") + testing::show(args), first = false), ...);
  return compact(line + ")");
}

// reached returns once the federation has handled everything fed sent before, and has
// handed what that caused to the other federates' connections: a query is answered only
// after every earlier message of the same federate. In process a call is handled before it
// returns, but across a federation server each federate sends on a connection of its own
// and only one federate's messages keep their order; a scenario that needs one federate's
// message handled before another federate's next call waits for it here. fed must be joined.
inline void reached(Federate& fed) {
  auto galt = fed.rti->getTimeFactory()->makeInitial();
  fed.rti->queryGALT(*galt);
}

// settle returns once everything sent so far has reached every federate given that is
// still joined: each has been reached, and a synchronization point registered after that
// is announced to each after all of it. label names the point; withoutSettling leaves its
// lines out of what a federate recorded.
inline void settle(std::vector<Federate*> const& federates, std::wstring const& label) {
  std::vector<Federate*> joined;
  for (Federate* fed : federates) {
    if (outcome([&] { reached(*fed); }) == "ok") joined.push_back(fed);
  }
  ASSERT_FALSE(joined.empty());
  joined[0]->rti->registerFederationSynchronizationPoint(label, VariableLengthData());
  for (Federate* fed : joined) {
    EXPECT_TRUE(fed->waitFor(cb("announceSynchronizationPoint", label, VariableLengthData()))) << fed->dump();
  }
}
inline Lines withoutSettling(Lines const& lines) {
  Lines kept;
  for (auto const& line : lines) {
    if (line.rfind("announceSynchronizationPoint(\"settle-", 0) != 0 &&
        line.rfind("synchronizationPointRegistrationSucceeded(\"settle-", 0) != 0) {
      kept.push_back(line);
    }
  }
  return kept;
}

// Core is the fixture of the scenarios, each run in both callback models.
class Core : public ::testing::TestWithParam<CallbackModel> {
 protected:
  // A federation name of this test and model, so that tests sharing a process never meet.
  std::wstring name(std::wstring const& base) {
    names.push_back(base + (GetParam() == HLA_EVOKED ? L"-evoked" : L"-immediate"));
    return names.back();
  }
  // Connects a and b, creates a federation of this test from Vehicles.xml and joins them
  // as "a" and "b"; returns the federation's name.
  std::wstring joinPair(Federate& a, Federate& b, std::wstring const& base) {
    std::wstring const federation = name(base);
    a.connect(), b.connect();
    EXPECT_OK(a.rti->createFederationExecution(federation, fom("Vehicles.xml")));
    a.join(L"a", federation), b.join(L"b", federation);
    return federation;
  }
  // Destroys whatever the test left (its federates have resigned by now), so that a
  // repeated run starts from an empty engine.
  void TearDown() override {
    Federate cleaner(GetParam());
    cleaner.connect();
    for (auto const& federation : names) outcome([&] { cleaner.rti->destroyFederationExecution(federation); });
  }
  std::vector<std::wstring> names;
};

// Members is the fixture of scenarios on federates a, b, c... of one federation.
class Members : public Core {
 protected:
  // joinAll connects count federates, creates this test's federation from modules and joins them as a, b, c...
  void joinAll(wchar_t const* base, size_t count, std::vector<std::wstring> modules = {fom("Vehicles.xml")}) {
    federation = name(base);
    for (size_t i = 0; i < count; ++i) {
      federates.push_back(std::make_unique<Federate>(GetParam()));
      federates.back()->connect();
    }
    ASSERT_OK(federates[0]->rti->createFederationExecution(federation, modules, L"HLAinteger64Time"));
    for (size_t i = 0; i < count; ++i) ASSERT_OK(federates[i]->join(std::wstring(1, wchar_t(L'a' + i)), federation));
  }
  Federate& f(size_t i) { return *federates[i]; }
  void TearDown() override {
    federates.clear();
    Core::TearDown();
  }
  // settle returns once everything sent so far has reached every federate still joined;
  // got is what a federate was given since last asked, the settling points left out.
  void settle() {
    std::vector<Federate*> all;
    for (auto& fed : federates) all.push_back(fed.get());
    coretest::settle(all, L"settle-" + std::to_wstring(++settles));
  }
  Lines got(Federate& fed) { return withoutSettling(fed.take()); }

  std::wstring federation;
  std::vector<std::unique_ptr<Federate>> federates;
  int settles = 0;
};

}  // namespace coretest
}  // namespace ostra1516e

#endif  // OSTRA_TESTS_CORE_SUPPORT_H
