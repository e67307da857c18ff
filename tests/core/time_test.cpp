// End-to-end tests of time management through the public API: regulation and constraint,
// time advances in both forms, time-stamp-order delivery held for constrained federates
// and released in time-stamp order before the grant that covers it, GALT and LITS, and
// the state checks of the time services. Each scenario runs in both callback models and
// both standard time representations; a randomised run of several federates advancing
// and sending at once checks order, bounds and completeness of everything delivered.
#include <RTI/NullFederateAmbassador.h>
#include <RTI/RTI1516.h>
#include <RTI/time/HLAfloat64Interval.h>
#include <RTI/time/HLAfloat64Time.h>
#include <RTI/time/HLAinteger64Interval.h>
#include <RTI/time/HLAinteger64Time.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iterator>
#include <limits>
#include <map>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "core_support.h"

namespace ostra1516e {
namespace {

using namespace coretest;
using ::testing::ElementsAre;

VariableLengthData blob(std::string const& text) { return VariableLengthData(text.data(), text.size()); }
SupplementalReflectInfo const plain;
SupplementalReceiveInfo const plainReceive;
SupplementalRemoveInfo const plainRemove;

enum class Representation { integer, floating };
void PrintTo(Representation r, std::ostream* out) { *out << (r == Representation::integer ? "integer" : "floating"); }

// Steps are the times of these tests: step n is time n, or n quarters in floating-point
// time, so that those runs also meet times that are not whole numbers.
struct Steps {
  bool floating;
  std::unique_ptr<LogicalTime> at(int64_t n) const {
    if (floating) return std::make_unique<HLAfloat64Time>(double(n) * 0.25);
    return std::make_unique<HLAinteger64Time>(n);
  }
  std::unique_ptr<LogicalTimeInterval> span(int64_t n) const {
    if (floating) return std::make_unique<HLAfloat64Interval>(double(n) * 0.25);
    return std::make_unique<HLAinteger64Interval>(n);
  }
  // of is the step a time stands for (exact for the times these tests use).
  double of(LogicalTime const& time) const {
    if (floating) return dynamic_cast<HLAfloat64Time const&>(time).getTime() * 4;
    return double(dynamic_cast<HLAinteger64Time const&>(time).getTime());
  }
  wchar_t const* name() const { return floating ? L"HLAfloat64Time" : L"HLAinteger64Time"; }
};

using TimeParam = std::tuple<CallbackModel, Representation>;

// Times runs its scenarios on federates a, b, c... of one federation of Vehicles.xml, in
// the callback model and time representation of the parameter.
class Times : public ::testing::TestWithParam<TimeParam> {
 protected:
  CallbackModel model() const { return std::get<0>(GetParam()); }
  Steps const steps{std::get<1>(GetParam()) == Representation::floating};
  std::unique_ptr<LogicalTime> at(int64_t n) const { return steps.at(n); }
  std::unique_ptr<LogicalTimeInterval> span(int64_t n) const { return steps.span(n); }

  void start(std::wstring const& base, size_t members) {
    federation = base + (model() == HLA_EVOKED ? L"-evoked-" : L"-immediate-") + steps.name();
    for (size_t i = 0; i < members; ++i) {
      federates.push_back(std::make_unique<Federate>(model()));
      federates.back()->connect();
    }
    ASSERT_OK(federates[0]->rti->createFederationExecution(federation, fom("Vehicles.xml"), steps.name()));
    for (size_t i = 0; i < members; ++i) ASSERT_OK(federates[i]->join(std::wstring(1, wchar_t(L'a' + i)), federation));
    RTIambassador& rti = *federates[0]->rti;
    vehicle = rti.getObjectClassHandle(L"Vehicle");
    position = rti.getAttributeHandle(vehicle, L"Position");
    collision = rti.getInteractionClassHandle(L"Collision");
    driver = rti.getParameterHandle(collision, L"Vehicle");
  }
  Federate& f(size_t i) { return *federates[i]; }
  void TearDown() override {
    federates.clear();
    Federate cleaner(model());
    cleaner.connect();
    outcome([&] { cleaner.rti->destroyFederationExecution(federation); });
  }

  void settle() {
    std::vector<Federate*> all;
    for (auto& fed : federates) all.push_back(fed.get());
    coretest::settle(all, L"settle-" + std::to_wstring(++settles));
  }
  Lines got(Federate& fed) { return withoutSettling(fed.take()); }

  void publish(Federate& fed) {
    fed.rti->publishObjectClassAttributes(vehicle, {position});
    fed.rti->publishInteractionClass(collision);
  }
  void subscribe(Federate& fed) {
    fed.rti->subscribeObjectClassAttributes(vehicle, {position});
    fed.rti->subscribeInteractionClass(collision);
  }
  void regulate(Federate& fed, int64_t lookahead) {
    ASSERT_OK(fed.rti->enableTimeRegulation(*span(lookahead)));
    ASSERT_TRUE(fed.waitFor(cb("timeRegulationEnabled", *at(0)))) << fed.dump();
  }
  void constrain(Federate& fed) {
    ASSERT_OK(fed.rti->enableTimeConstrained());
    ASSERT_TRUE(fed.waitFor(cb("timeConstrainedEnabled", *at(0)))) << fed.dump();
  }
  std::string grant(int64_t n) const { return cb("timeAdvanceGrant", *at(n)); }
  // awaited throws, so that a step of a table reports it, when fed is not given line in time.
  static void awaited(Federate& fed, std::string const& line) {
    if (!fed.waitFor(line)) throw RTIinternalError(wide("no " + line + " in time; " + fed.dump()));
  }

  // galt and lits are what the queries answer: the time, or "none".
  std::string galt(Federate& fed) {
    auto time = fed.rti->getTimeFactory()->makeInitial();
    return fed.rti->queryGALT(*time) ? testing::show(*time) : "none";
  }
  std::string lits(Federate& fed) {
    auto time = fed.rti->getTimeFactory()->makeInitial();
    return fed.rti->queryLITS(*time) ? testing::show(*time) : "none";
  }
  std::string shown(int64_t n) const { return testing::show(*at(n)); }

  // The lines of time-stamped messages as a receiver records them, given the order it
  // receives them in (TIMESTAMP when constrained, RECEIVE otherwise).
  std::string reflected(ObjectInstanceHandle object, std::string const& value, unsigned char t, int64_t n,
                        MessageRetractionHandle const& handle, OrderType received) const {
    return cb("reflectAttributeValues", object, AttributeHandleValueMap{{position, blob(value)}}, tag(t), TIMESTAMP,
              RELIABLE, *at(n), received, handle, plain);
  }
  std::string received(std::string const& value, unsigned char t, int64_t n, MessageRetractionHandle const& handle,
                       OrderType order) const {
    return cb("receiveInteraction", collision, ParameterHandleValueMap{{driver, blob(value)}}, tag(t), TIMESTAMP,
              RELIABLE, *at(n), order, handle, plainReceive);
  }
  std::string removed(ObjectInstanceHandle object, unsigned char t, int64_t n, MessageRetractionHandle const& handle,
                      OrderType order) const {
    return cb("removeObjectInstance", object, tag(t), TIMESTAMP, *at(n), order, handle, plainRemove);
  }

  std::wstring federation;
  std::vector<std::unique_ptr<Federate>> federates;
  int settles = 0;
  ObjectClassHandle vehicle;
  AttributeHandle position;
  InteractionClassHandle collision;
  ParameterHandle driver;
};

// Two regulating senders, a constrained receiver and one that is not: the constrained one
// gets each time-stamped update, interaction and delete only within the grant that covers
// it, in time-stamp order (ties in the order sent, whoever sent them), and nothing beyond
// its grant; the other gets everything at once, in the order sent. Each message reaches the
// federation before the next is sent, so that the order sent is one order across both
// senders. GALT and LITS follow.
TEST_P(Times, TimeStampOrderWithinEachGrant) {
  ASSERT_NO_FATAL_FAILURE(start(L"Order", 4));
  Federate &a = f(0), &b = f(1), &c = f(2), &d = f(3);
  for (Federate* sender : {&a, &b}) publish(*sender);
  for (Federate* receiver : {&c, &d}) subscribe(*receiver);
  ObjectInstanceHandle const objectA = a.rti->registerObjectInstance(vehicle);
  ObjectInstanceHandle const objectB = b.rti->registerObjectInstance(vehicle);
  ASSERT_NO_FATAL_FAILURE(regulate(a, 1));
  ASSERT_NO_FATAL_FAILURE(regulate(b, 1));
  ASSERT_NO_FATAL_FAILURE(constrain(c));
  settle();
  for (Federate* fed : {&a, &b, &c, &d}) got(*fed);

  enum Kind { update, interaction, deletion };
  struct Send { Federate* by; Kind kind; int64_t time; unsigned char tag; };
  std::vector<Send> const sends = {{&a, update, 5, 1},      {&b, update, 3, 2}, {&a, interaction, 5, 3},
                                   {&b, interaction, 5, 4}, {&a, update, 9, 5}, {&b, deletion, 7, 6}};
  struct Expected { int64_t time; std::string constrained, unconstrained; };
  std::vector<Expected> expected;
  for (Send const& s : sends) {
    ObjectInstanceHandle const object = s.by == &a ? objectA : objectB;
    std::string const value = "v" + std::to_string(s.tag);
    MessageRetractionHandle handle;
    if (s.kind == update) {
      ASSERT_OK(handle = s.by->rti->updateAttributeValues(object, {{position, blob(value)}}, tag(s.tag), *at(s.time)));
      expected.push_back({s.time, reflected(object, value, s.tag, s.time, handle, TIMESTAMP),
                          reflected(object, value, s.tag, s.time, handle, RECEIVE)});
    } else if (s.kind == interaction) {
      ASSERT_OK(handle = s.by->rti->sendInteraction(collision, {{driver, blob(value)}}, tag(s.tag), *at(s.time)));
      expected.push_back({s.time, received(value, s.tag, s.time, handle, TIMESTAMP),
                          received(value, s.tag, s.time, handle, RECEIVE)});
    } else {
      ASSERT_OK(handle = s.by->rti->deleteObjectInstance(object, tag(s.tag), *at(s.time)));
      expected.push_back({s.time, removed(object, s.tag, s.time, handle, TIMESTAMP),
                          removed(object, s.tag, s.time, handle, RECEIVE)});
    }
    reached(*s.by);
  }
  // What c is given in a grant from `after` to `upTo`: those messages in time-stamp order,
  // ties in the order sent, then the grant.
  auto grantOf = [&](int64_t after, int64_t upTo) {
    std::vector<Expected> within;
    std::copy_if(expected.begin(), expected.end(), std::back_inserter(within),
                 [&](Expected const& e) { return e.time > after && e.time <= upTo; });
    std::stable_sort(within.begin(), within.end(),
                     [](Expected const& x, Expected const& y) { return x.time < y.time; });
    Lines lines;
    for (Expected const& e : within) lines.push_back(e.constrained);
    lines.push_back(grant(upTo));
    return lines;
  };
  Lines inOrderSent;
  for (Expected const& e : expected) inOrderSent.push_back(e.unconstrained);

  settle();
  EXPECT_EQ(got(d), inOrderSent);
  EXPECT_THAT(got(c), ElementsAre()) << "nothing before a grant";
  EXPECT_EQ(galt(c), shown(1));
  EXPECT_EQ(lits(c), shown(1));

  // a and b hold c back until both have advanced: GALT is then min(5 + 1, 6 + 1).
  EXPECT_OK(c.rti->timeAdvanceRequest(*at(5)));
  settle();
  EXPECT_THAT(got(c), ElementsAre());
  EXPECT_OK(a.rti->timeAdvanceRequest(*at(5)));
  EXPECT_OK(b.rti->timeAdvanceRequest(*at(6)));
  EXPECT_TRUE(c.waitFor(grant(5))) << c.dump();
  settle();
  EXPECT_EQ(got(c), grantOf(0, 5));
  EXPECT_EQ(galt(c), shown(6));
  EXPECT_EQ(lits(c), shown(6));

  // The Available form is granted once GALT reaches the time; the delete at 7 comes with it,
  // the update at 9 stays held, and LITS is GALT, which is below it.
  EXPECT_OK(c.rti->timeAdvanceRequestAvailable(*at(7)));
  settle();
  EXPECT_THAT(got(c), ElementsAre());
  EXPECT_OK(b.rti->timeAdvanceRequest(*at(8)));
  EXPECT_OK(a.rti->timeAdvanceRequest(*at(7)));
  EXPECT_TRUE(c.waitFor(grant(7))) << c.dump();
  settle();
  EXPECT_EQ(got(c), grantOf(5, 7));
  EXPECT_EQ(galt(c), shown(8));
  EXPECT_EQ(lits(c), shown(8));
  EXPECT_THAT(got(d), ElementsAre());
  for (Federate* sender : {&a, &b}) EXPECT_EQ(got(*sender).size(), 2u) << sender->dump();  // their two grants

  // Once c is no longer constrained, what was held for it comes at once.
  EXPECT_OK(c.rti->disableTimeConstrained());
  settle();
  EXPECT_THAT(got(c), ElementsAre(::testing::AnyOf(expected[4].unconstrained, expected[4].constrained)));
}

// A regulating federate that stops advancing holds back the constrained federates and no
// others; once it resigns they are granted, with what it sent. GALT and LITS are undefined
// without regulators, and LITS is the earliest held message when that comes first.
TEST_P(Times, AStalledRegulatorHoldsBackConstrainedFederates) {
  ASSERT_NO_FATAL_FAILURE(start(L"Stall", 5));
  // a stalls; b regulates and is constrained; c is constrained; d is neither; e regulates.
  Federate &a = f(0), &b = f(1), &c = f(2), &d = f(3), &e = f(4);
  EXPECT_EQ(galt(c), "none");
  EXPECT_EQ(lits(c), "none");
  for (Federate* sender : {&a, &e}) publish(*sender);
  for (Federate* receiver : {&b, &c}) subscribe(*receiver);
  ASSERT_NO_FATAL_FAILURE(regulate(a, 2));
  ASSERT_NO_FATAL_FAILURE(regulate(b, 1));
  ASSERT_NO_FATAL_FAILURE(regulate(e, 1));
  ASSERT_NO_FATAL_FAILURE(constrain(b));
  ASSERT_NO_FATAL_FAILURE(constrain(c));
  EXPECT_EQ(galt(c), shown(1));
  EXPECT_EQ(galt(a), shown(1)) << "defined for a federate that is not constrained too";
  EXPECT_EQ(galt(d), shown(1));
  MessageRetractionHandle const fromA = a.rti->sendInteraction(collision, {{driver, blob("a")}}, tag(1), *at(3));
  settle();
  for (Federate* fed : {&a, &b, &c, &d, &e}) got(*fed);

  for (Federate* fed : {&b, &c, &d, &e}) EXPECT_OK(fed->rti->timeAdvanceRequest(*at(10)));
  EXPECT_TRUE(d.waitFor(grant(10))) << d.dump();
  EXPECT_TRUE(e.waitFor(grant(10))) << e.dump();
  settle();
  EXPECT_THAT(got(d), ElementsAre(grant(10))) << "not constrained";
  EXPECT_THAT(got(e), ElementsAre(grant(10))) << "regulating only";
  EXPECT_THAT(got(b), ElementsAre());
  EXPECT_THAT(got(c), ElementsAre());
  EXPECT_EQ(galt(b), shown(2));
  EXPECT_EQ(galt(c), shown(2));
  EXPECT_EQ(lits(c), shown(2));

  EXPECT_OK(a.rti->resignFederationExecution(NO_ACTION));
  for (Federate* fed : {&b, &c}) {
    EXPECT_TRUE(fed->waitFor(grant(10))) << fed->dump();
    EXPECT_THAT(got(*fed), ElementsAre(received("a", 1, 3, fromA, TIMESTAMP), grant(10))) << fed->dump();
  }
  EXPECT_EQ(galt(c), shown(11));

  // e sends at 12 and moves on; b takes it with its next grant, c still holds it.
  MessageRetractionHandle const fromE = e.rti->sendInteraction(collision, {{driver, blob("e")}}, tag(2), *at(12));
  EXPECT_OK(e.rti->timeAdvanceRequest(*at(20)));
  EXPECT_OK(b.rti->timeAdvanceRequest(*at(15)));
  EXPECT_TRUE(b.waitFor(grant(15))) << b.dump();
  EXPECT_THAT(got(b), ElementsAre(received("e", 2, 12, fromE, TIMESTAMP), grant(15)));
  EXPECT_EQ(galt(c), shown(16));
  EXPECT_EQ(lits(c), shown(12));
  EXPECT_EQ(galt(e), shown(16)) << "b alone";
  EXPECT_OK(b.rti->disableTimeRegulation());
  EXPECT_OK(e.rti->disableTimeRegulation());
  settle();
  EXPECT_EQ(galt(c), "none");
  EXPECT_EQ(lits(c), shown(12));
}

// With zero lookahead a federate promises nothing at its own time after a plain request,
// and something at it after an Available one: both asking for the same time are granted it
// in either form; messages at a time granted in the Available form still come at that time.
TEST_P(Times, ZeroLookaheadPlainAndAvailableRequests) {
  ASSERT_NO_FATAL_FAILURE(start(L"ZeroLookahead", 2));
  Federate &a = f(0), &b = f(1);
  publish(a);
  subscribe(b);
  for (Federate* fed : {&a, &b}) {
    ASSERT_NO_FATAL_FAILURE(regulate(*fed, 0));
    ASSERT_NO_FATAL_FAILURE(constrain(*fed));
  }
  settle();
  for (Federate* fed : {&a, &b}) got(*fed);

  EXPECT_OK(a.rti->timeAdvanceRequest(*at(5)));
  settle();
  EXPECT_THAT(got(a), ElementsAre()) << "b may still send at 0 and above";
  EXPECT_OK(b.rti->timeAdvanceRequest(*at(5)));
  for (Federate* fed : {&a, &b}) EXPECT_TRUE(fed->waitFor(grant(5))) << fed->dump();
  EXPECT_RTI("InvalidLogicalTime", a.rti->sendInteraction(collision, {}, tag(1), *at(5)));
  // b was granted 5 on a's promise of nothing more at 5; an Available request to 5 does not
  // take that back.
  EXPECT_OK(a.rti->timeAdvanceRequestAvailable(*at(5)));
  EXPECT_TRUE(a.waitForCount("timeAdvanceGrant(", 2)) << a.dump();
  EXPECT_RTI("InvalidLogicalTime", a.rti->sendInteraction(collision, {}, tag(1), *at(5)));
  MessageRetractionHandle const at6 = a.rti->sendInteraction(collision, {}, tag(2), *at(6));

  for (Federate* fed : {&a, &b}) EXPECT_OK(fed->rti->timeAdvanceRequestAvailable(*at(8)));
  for (Federate* fed : {&a, &b}) EXPECT_TRUE(fed->waitFor(grant(8))) << fed->dump();
  MessageRetractionHandle const at8 = a.rti->sendInteraction(collision, {}, tag(3), *at(8));
  reached(a);  // b, granted 8 already, would not wait for it
  EXPECT_OK(b.rti->timeAdvanceRequestAvailable(*at(8)));
  EXPECT_TRUE(b.waitForCount("timeAdvanceGrant(", 3)) << b.dump();
  auto const interaction = [&](unsigned char t, int64_t n, MessageRetractionHandle const& h) {
    return cb("receiveInteraction", collision, ParameterHandleValueMap{}, tag(t), TIMESTAMP, RELIABLE, *at(n),
              TIMESTAMP, h, plainReceive);
  };
  EXPECT_THAT(got(b), ElementsAre(grant(5), interaction(2, 6, at6), grant(8), interaction(3, 8, at8), grant(8)));

  // A plain request waits for a federate that may still send at that time; the Available
  // one beside it does not.
  EXPECT_OK(a.rti->timeAdvanceRequest(*at(10)));
  EXPECT_OK(b.rti->timeAdvanceRequestAvailable(*at(10)));
  EXPECT_TRUE(b.waitFor(grant(10))) << b.dump();
  settle();
  EXPECT_THAT(got(a), ElementsAre(grant(5), grant(5), grant(8)));
  EXPECT_OK(b.rti->timeAdvanceRequest(*at(11)));
  EXPECT_TRUE(a.waitFor(grant(10))) << a.dump();
  EXPECT_OK(a.rti->timeAdvanceRequest(*at(11)));
  for (Federate* fed : {&a, &b}) EXPECT_TRUE(fed->waitFor(grant(11))) << fed->dump();
}

// A federate that becomes regulating after a constrained one was granted a time sends
// nothing at or below that time: the grant promised it all had come.
TEST_P(Times, ALateRegulatorSendsNothingIntoAGrantedTime) {
  ASSERT_NO_FATAL_FAILURE(start(L"LateRegulator", 2));
  Federate &a = f(0), &b = f(1);
  publish(a);
  subscribe(b);
  ASSERT_NO_FATAL_FAILURE(constrain(b));
  EXPECT_OK(b.rti->timeAdvanceRequest(*at(10)));
  EXPECT_TRUE(b.waitFor(grant(10))) << b.dump();
  EXPECT_OK(a.rti->enableTimeRegulation(*span(3)));
  EXPECT_TRUE(a.waitForCount("timeRegulationEnabled(", 1)) << a.dump();
  EXPECT_RTI("InvalidLogicalTime", a.rti->sendInteraction(collision, {}, tag(1), *at(10)));
  MessageRetractionHandle const later = a.rti->sendInteraction(collision, {{driver, blob("l")}}, tag(2), *at(20));
  EXPECT_OK(a.rti->timeAdvanceRequest(*at(30)));
  EXPECT_OK(b.rti->timeAdvanceRequest(*at(20)));
  EXPECT_TRUE(b.waitFor(grant(20))) << b.dump();
  EXPECT_THAT(got(b), ElementsAre(cb("timeConstrainedEnabled", *at(0)), grant(10),
                                  received("l", 2, 20, later, TIMESTAMP), grant(20)));
}

// A save: every federate is told to save, the services that would change the federation
// are refused until it ends, each federate reports its part, and all hear the outcome; the
// status query answers for each. A save at a time begins when every constrained federate
// has been granted that time; a federate that fails its part, or an abort, ends one unsaved.
// A restore of the first save takes the federation back to it.
TEST_P(Times, SavesCoordinateTheFederation) {
  ASSERT_NO_FATAL_FAILURE(start(L"Saves", 2));
  Federate &a = f(0), &b = f(1);
  publish(a);
  subscribe(b);
  ObjectInstanceHandle const car = a.rti->registerObjectInstance(vehicle);
  for (Federate* fed : {&a, &b}) {
    ASSERT_NO_FATAL_FAILURE(regulate(*fed, 1));
    ASSERT_NO_FATAL_FAILURE(constrain(*fed));
  }
  settle();
  got(a), got(b);
  auto told = [&](std::string const& line) {
    for (Federate* fed : {&a, &b}) EXPECT_TRUE(fed->waitFor(line)) << fed->dump();
  };

  ASSERT_OK(a.rti->requestFederationSave(L"plain"));
  told(cb("initiateFederateSave", std::wstring(L"plain")));
  EXPECT_RTI("SaveInProgress", a.rti->updateAttributeValues(car, {{position, blob("p")}}, tag(1)));
  EXPECT_RTI("SaveInProgress", b.rti->timeAdvanceRequest(*at(1)));
  EXPECT_RTI("SaveInProgress", b.rti->requestFederationSave(L"another"));
  EXPECT_RTI("FederateHasNotBegunSave", a.rti->federateSaveComplete());
  ASSERT_OK(a.rti->federateSaveBegun());
  EXPECT_RTI("SaveNotInitiated", a.rti->federateSaveBegun());
  ASSERT_OK(a.rti->queryFederationSaveStatus());
  EXPECT_TRUE(a.waitFor(cb("federationSaveStatusResponse", FederateHandleSaveStatusPairVector{
      {a.handle, FEDERATE_SAVING}, {b.handle, FEDERATE_INSTRUCTED_TO_SAVE}}))) << a.dump();
  ASSERT_OK(a.rti->federateSaveComplete());
  ASSERT_OK(b.rti->federateSaveBegun());
  ASSERT_OK(b.rti->federateSaveComplete());
  told(cb("federationSaved"));

  ASSERT_OK(a.rti->requestFederationSave(L"timed", *at(2)));
  ASSERT_OK(a.rti->timeAdvanceRequest(*at(2)));
  ASSERT_OK(b.rti->timeAdvanceRequest(*at(2)));
  told(grant(2));
  told(cb("initiateFederateSave", std::wstring(L"timed"), *at(2)));
  for (Federate* fed : {&a, &b}) ASSERT_OK(fed->rti->federateSaveBegun());
  ASSERT_OK(a.rti->federateSaveComplete());
  ASSERT_OK(b.rti->federateSaveNotComplete());
  told(cb("federationNotSaved", FEDERATE_REPORTED_FAILURE_DURING_SAVE));
  EXPECT_RTI("LogicalTimeAlreadyPassed", a.rti->requestFederationSave(L"late", *at(1)));

  ASSERT_OK(b.rti->requestFederationSave(L"aborted"));
  told(cb("initiateFederateSave", std::wstring(L"aborted")));
  ASSERT_OK(a.rti->abortFederationSave());
  told(cb("federationNotSaved", SAVE_ABORTED));
  EXPECT_RTI("SaveNotInProgress", a.rti->abortFederationSave());
  EXPECT_OK(a.rti->updateAttributeValues(car, {{position, blob("p")}}, tag(1)));

  // Restoring "plain" takes both back to time 0, each the federate it was.
  ASSERT_OK(b.rti->requestFederationRestore(L"plain"));
  EXPECT_TRUE(b.waitFor(cb("requestFederationRestoreSucceeded", std::wstring(L"plain")))) << b.dump();
  told(cb("federationRestoreBegun"));
  for (Federate* fed : {&a, &b}) {
    std::wstring const name(1, fed == &a ? L'a' : L'b');
    EXPECT_TRUE(fed->waitFor(cb("initiateFederateRestore", std::wstring(L"plain"), name, fed->handle))) << fed->dump();
  }
  EXPECT_RTI("RestoreInProgress", a.rti->updateAttributeValues(car, {{position, blob("p")}}, tag(1)));
  ASSERT_OK(a.rti->queryFederationRestoreStatus());
  EXPECT_TRUE(a.waitFor(cb("federationRestoreStatusResponse", FederateRestoreStatusVector{
      FederateRestoreStatus(a.handle, a.handle, FEDERATE_RESTORING),
      FederateRestoreStatus(b.handle, b.handle, FEDERATE_RESTORING)}))) << a.dump();
  for (Federate* fed : {&a, &b}) ASSERT_OK(fed->rti->federateRestoreComplete());
  told(cb("federationRestored"));
  for (Federate* fed : {&a, &b}) {
    auto now = at(1);
    fed->rti->queryLogicalTime(*now);
    EXPECT_EQ(steps.of(*now), 0);
  }
  EXPECT_OK(a.rti->updateAttributeValues(car, {{position, blob("p")}}, tag(1)));
}

// Every time service refused in a state that does not allow it, and what a refused call
// leaves: the steps run in order, each one's outcome against the exception expected ("ok"
// for a step that sets up the next). a's callbacks are held where a request must stay
// pending; b regulates at time 0 and holds a's advances back; c manages no time; d's
// constraint stays pending.
TEST_P(Times, StateChecks) {
  ASSERT_NO_FATAL_FAILURE(start(L"States", 4));
  Federate &a = f(0), &b = f(1), &c = f(2), &d = f(3);
  publish(a);
  subscribe(b);
  ObjectInstanceHandle const object = a.rti->registerObjectInstance(vehicle);
  ASSERT_NO_FATAL_FAILURE(regulate(b, 1));
  std::vector<std::pair<int64_t, MessageRetractionHandle>> accepted;
  auto const update = [&](int64_t n) {
    accepted.emplace_back(n, a.rti->updateAttributeValues(object, {{position, blob("p")}}, tag(1), *at(n)));
  };
  struct Step { char const* what; char const* expected; std::function<void()> call; };
  std::vector<Step> script = {
      {"lookahead, not regulating", "TimeRegulationIsNotEnabled", [&] { a.rti->queryLookahead(*span(0)); }},
      {"disable regulation, not regulating", "TimeRegulationIsNotEnabled", [&] { a.rti->disableTimeRegulation(); }},
      {"disable constraint, not constrained", "TimeConstrainedIsNotEnabled", [&] { a.rti->disableTimeConstrained(); }},
      {"negative lookahead", "InvalidLookahead", [&] { a.rti->enableTimeRegulation(*span(-1)); }},
      {"a holds its callbacks", "ok", [&] { a.rti->disableCallbacks(); }},
      {"enable regulation", "ok", [&] { a.rti->enableTimeRegulation(*span(1)); }},
      {"enable regulation, pending", "RequestForTimeRegulationPending", [&] { a.rti->enableTimeRegulation(*span(1)); }},
      {"advance, regulation pending", "RequestForTimeRegulationPending", [&] { a.rti->timeAdvanceRequest(*at(1)); }},
      {"enable constraint", "ok", [&] { a.rti->enableTimeConstrained(); }},
      {"enable constraint, pending", "RequestForTimeConstrainedPending", [&] { a.rti->enableTimeConstrained(); }},
      {"d holds its callbacks", "ok", [&] { d.rti->disableCallbacks(); }},
      {"enable constraint (d)", "ok", [&] { d.rti->enableTimeConstrained(); }},
      {"advance, constraint pending", "RequestForTimeConstrainedPending", [&] { d.rti->timeAdvanceRequest(*at(1)); }},
      {"advance available, constraint pending", "RequestForTimeConstrainedPending",
       [&] { d.rti->timeAdvanceRequestAvailable(*at(1)); }},
      {"a takes its callbacks", "ok",
       [&] {
         a.rti->enableCallbacks();
         awaited(a, cb("timeRegulationEnabled", *at(0)));
         awaited(a, cb("timeConstrainedEnabled", *at(0)));
       }},
      {"enable regulation, regulating", "TimeRegulationAlreadyEnabled", [&] { a.rti->enableTimeRegulation(*span(1)); }},
      {"enable constraint, constrained", "TimeConstrainedAlreadyEnabled", [&] { a.rti->enableTimeConstrained(); }},
      {"update below time + lookahead", "InvalidLogicalTime", [&] { update(0); }},
      {"interaction below time + lookahead", "InvalidLogicalTime",
       [&] { a.rti->sendInteraction(collision, {}, tag(2), *at(0)); }},
      {"update at time + lookahead", "ok", [&] { update(1); }},
      {"advance, held back by b", "ok", [&] { a.rti->timeAdvanceRequest(*at(5)); }},
      {"advance, advancing", "InTimeAdvancingState", [&] { a.rti->timeAdvanceRequest(*at(6)); }},
      {"advance available, advancing", "InTimeAdvancingState", [&] { a.rti->timeAdvanceRequestAvailable(*at(6)); }},
      {"update below requested time + lookahead", "InvalidLogicalTime", [&] { update(5); }},
      {"update at requested time + lookahead", "ok", [&] { update(6); }},
      {"next message, advancing", "InTimeAdvancingState", [&] { a.rti->nextMessageRequest(*at(6)); }},
      {"flush, advancing", "InTimeAdvancingState", [&] { a.rti->flushQueueRequest(*at(6)); }},
      {"modify lookahead, advancing", "InTimeAdvancingState", [&] { a.rti->modifyLookahead(*span(2)); }},
      {"retract another federate's message", "InvalidMessageRetractionHandle",
       [&] { b.rti->retract(accepted.back().second); }},
      {"retract, not regulating", "TimeRegulationIsNotEnabled", [&] { c.rti->retract(accepted.back().second); }},
      {"time of the other representation", "InvalidLogicalTime",
       [&] {
         if (steps.floating) c.rti->timeAdvanceRequest(HLAinteger64Time(9));
         else c.rti->timeAdvanceRequest(HLAfloat64Time(9));
       }},
      {"lookahead of the other representation", "InvalidLookahead",
       [&] {
         if (steps.floating) c.rti->enableTimeRegulation(HLAinteger64Interval(1));
         else c.rti->enableTimeRegulation(HLAfloat64Interval(1));
       }},
      {"asynchronous delivery", "ok", [&] { c.rti->enableAsynchronousDelivery(); }},
      {"asynchronous delivery again", "AsynchronousDeliveryAlreadyEnabled",
       [&] { c.rti->enableAsynchronousDelivery(); }},
      {"asynchronous delivery off", "ok", [&] { c.rti->disableAsynchronousDelivery(); }},
      {"asynchronous delivery off again", "AsynchronousDeliveryAlreadyDisabled",
       [&] { c.rti->disableAsynchronousDelivery(); }},
      {"c holds its callbacks", "ok", [&] { c.rti->disableCallbacks(); }},
      {"c advances (granted, not yet told)", "ok", [&] { c.rti->timeAdvanceRequest(*at(5)); }},
      {"enable regulation, advancing", "InTimeAdvancingState", [&] { c.rti->enableTimeRegulation(*span(1)); }},
      {"enable constraint, advancing", "InTimeAdvancingState", [&] { c.rti->enableTimeConstrained(); }},
      {"c takes its grant", "ok",
       [&] {
         c.rti->enableCallbacks();
         awaited(c, grant(5));
       }},
      {"advance to the past", "LogicalTimeAlreadyPassed", [&] { c.rti->timeAdvanceRequest(*at(4)); }},
      {"advance available to the past", "LogicalTimeAlreadyPassed",
       [&] { c.rti->timeAdvanceRequestAvailable(*at(4)); }},
      {"advance to the present", "ok", [&] { c.rti->timeAdvanceRequestAvailable(*at(5)); }},
      {"d takes its callbacks", "ok",
       [&] {
         d.rti->enableCallbacks();
         awaited(d, cb("timeConstrainedEnabled", *at(0)));
       }},
      {"delete below requested time + lookahead", "InvalidLogicalTime",
       [&] { a.rti->deleteObjectInstance(object, tag(3), *at(5)); }},
      {"update after the refused delete (the instance is still a's)", "ok", [&] { update(7); }},
  };
  if (steps.floating) {  // floating-point values that are no number or unbounded, first
    double const nan = std::numeric_limits<double>::quiet_NaN(), infinity = std::numeric_limits<double>::infinity();
    script.insert(script.begin(), {{"lookahead no number", "InvalidLookahead",
                                    [&, nan] { a.rti->enableTimeRegulation(HLAfloat64Interval(nan)); }},
                                   {"infinite lookahead", "InvalidLookahead",
                                    [&, infinity] { a.rti->enableTimeRegulation(HLAfloat64Interval(infinity)); }},
                                   {"advance to no number", "InvalidLogicalTime",
                                    [&, nan] { c.rti->timeAdvanceRequest(HLAfloat64Time(nan)); }},
                                   {"advance to infinity", "InvalidLogicalTime",
                                    [&, infinity] { c.rti->timeAdvanceRequest(HLAfloat64Time(infinity)); }},
                                   {"interaction at no number", "InvalidLogicalTime",
                                    [&, nan] { a.rti->sendInteraction(collision, {}, tag(2), HLAfloat64Time(nan)); }}});
  }
  for (Step const& step : script) {
    std::string const result = outcome(step.call);
    EXPECT_EQ(result.substr(0, result.find(':')), step.expected) << step.what << ": " << result;
  }
  auto lookahead = a.rti->getTimeFactory()->makeZero();
  a.rti->queryLookahead(*lookahead);
  EXPECT_EQ(narrow(lookahead->toString()), narrow(span(1)->toString()));
  auto time = a.rti->getTimeFactory()->makeInitial();
  a.rti->queryLogicalTime(*time);
  EXPECT_EQ(testing::show(*time), shown(0)) << "still advancing";
  EXPECT_TRUE(c.waitForCount("timeAdvanceGrant(", 2)) << c.dump();
  c.rti->queryLogicalTime(*time);
  EXPECT_EQ(testing::show(*time), shown(5));

  // Only the updates that were accepted reached b, at once (b is not constrained).
  settle();
  Lines expected = {cb("discoverObjectInstance", object, vehicle, b.rti->getObjectInstanceName(object)),
                    cb("timeRegulationEnabled", *at(0))};
  for (auto const& sent : accepted) expected.push_back(reflected(object, "p", 1, sent.first, sent.second, RECEIVE));
  EXPECT_EQ(got(b), expected);
}

// ---- Randomised run ------------------------------------------------------------------

// Regulating and constrained federates, each on its own thread, send time-stamped updates
// and interactions at random valid times (now and then an invalid one, which must be
// refused) before and during advances of random length, plain and Available mixed; then
// all advance to a common end. Every receiver checks that each message came while it was
// advancing, not beyond the time it asked for, not at or before a time already granted
// (at it, after an Available grant), in time-stamp order (one sender's ties in the order
// sent); and, at the end, that it got everything the others sent, once, with its time.
constexpr int kRandomAdvances = 1000;  // per federate
constexpr int64_t kLookaheads[] = {1, 0, 2, 0};
constexpr size_t kRandomFederates = sizeof kLookaheads / sizeof kLookaheads[0];

// The forms of request the run mixes: available, the federate may still send (and be sent)
// messages at the granted time; byNextMessage, it may be granted below the time it asked
// for, at the time of its next message; the others are granted at the time asked for.
struct Form {
  char const* name;
  bool available, byNextMessage;
  void (RTIambassador::*request)(LogicalTime const&);
};
Form const kForms[] = {{"timeAdvanceRequest", false, false, &RTIambassador::timeAdvanceRequest},
                       {"timeAdvanceRequestAvailable", true, false, &RTIambassador::timeAdvanceRequestAvailable},
                       {"nextMessageRequest", false, true, &RTIambassador::nextMessageRequest},
                       {"nextMessageRequestAvailable", true, true, &RTIambassador::nextMessageRequestAvailable}};

struct Sent { int64_t time; char kind; };
struct Delivery {
  int sender;
  uint32_t serial;
  double time;
  char kind;
  OrderType received;
  bool advancing;
  double requested, granted;
  bool grantedAvailable;
};

VariableLengthData serialTag(int sender, uint32_t serial) {
  unsigned char const bytes[] = {static_cast<unsigned char>(sender), static_cast<unsigned char>(serial >> 24),
                                 static_cast<unsigned char>(serial >> 16), static_cast<unsigned char>(serial >> 8),
                                 static_cast<unsigned char>(serial)};
  return VariableLengthData(bytes, sizeof bytes);
}

// Racer is one federate of the randomised run: its ambassador, what it sent, and what it
// was given, recorded with its time state at that moment.
class Racer : public NullFederateAmbassador {
 public:
  Racer(CallbackModel m, Steps const& s, int i, std::atomic<bool>& stop)
      : model(m), steps(s), index(i), lookahead(kLookaheads[i]), stopped(stop),
        rti(RTIambassadorFactory().createRTIambassador()) {}
  ~Racer() override {
    outcome([&] { rti->resignFederationExecution(DELETE_OBJECTS_THEN_DIVEST); });
    outcome([&] { rti->disconnect(); });
  }

  void discoverObjectInstance(ObjectInstanceHandle, ObjectClassHandle, std::wstring const&) override {
    changed([&] { ++discovered; });
  }
  void discoverObjectInstance(ObjectInstanceHandle, ObjectClassHandle, std::wstring const&, FederateHandle) override {
    changed([&] { ++discovered; });
  }
  void timeRegulationEnabled(LogicalTime const&) override { changed([&] { regulating = true; }); }
  void timeConstrainedEnabled(LogicalTime const&) override { changed([&] { constrained = true; }); }
  void timeAdvanceGrant(LogicalTime const& time) override {
    changed([&] {
      double const t = steps.of(time);
      if (!advancing || t > requested || (!requestedByNextMessage && t != requested) || t < granted) {
        errors.push_back("federate " + std::to_string(index) + " granted " + testing::show(time) + " asking for " +
                         std::to_string(requested) + (advancing ? "" : " (not advancing)"));
      }
      advancing = false;
      granted = steps.of(time);
      grantedAvailable = requestedAvailable;
    });
  }
  void reflectAttributeValues(ObjectInstanceHandle, AttributeHandleValueMap const&, VariableLengthData const& t,
                              OrderType sent, TransportationType, LogicalTime const& time, OrderType received,
                              MessageRetractionHandle, SupplementalReflectInfo) override {
    record(t, sent, time, received, 'u');
  }
  void receiveInteraction(InteractionClassHandle, ParameterHandleValueMap const&, VariableLengthData const& t,
                          OrderType sent, TransportationType, LogicalTime const& time, OrderType received,
                          MessageRetractionHandle, SupplementalReceiveInfo) override {
    record(t, sent, time, received, 'i');
  }
  // (A message in another form, without time stamp or retraction handle, is missed at the end.)

  // waitUntil lets callbacks come until done holds (under the lock) or the run stops.
  bool waitUntil(std::function<bool()> const& done, double seconds = 10) {
    auto const deadline = Clock::now() + std::chrono::milliseconds(int64_t(seconds * 1000));
    std::unique_lock<std::mutex> lock(mutex);
    while (!done() && !stopped) {
      if (Clock::now() >= deadline) return false;
      if (model == HLA_IMMEDIATE) {
        changed_.wait_until(lock, std::min(deadline, Clock::now() + std::chrono::milliseconds(50)));
      } else {
        lock.unlock();
        rti->evokeCallback(0.05);
        lock.lock();
      }
    }
    return done();
  }

  // run advances `advances` times at random, sending as it goes, then to end.
  void run(uint32_t seed, int64_t end) {
    std::mt19937 random(seed * 131 + uint32_t(index));
    int64_t time = 0;
    bool available = false;
    try {
      for (int n = 0; n <= kRandomAdvances && !stopped; ++n) {
        bool const last = n == kRandomAdvances;
        if (!last) sendSome(random, time, available);
        Form const& form = kForms[last ? 0 : random() % (sizeof kForms / sizeof kForms[0])];
        int64_t const to = last ? end : time + (random() % 5 == 0 ? 0 : 1 + int64_t(random() % 3));
        {
          std::lock_guard<std::mutex> lock(mutex);
          advancing = true;
          requested = double(to);
          requestedAvailable = form.available;
          requestedByNextMessage = form.byNextMessage;
        }
        ((*rti).*form.request)(*steps.at(to));
        // Waiting for its next message, the federate may be granted as early as that
        // message: the least time it may send at is not known here, so it probes nothing.
        if (!last) sendSome(random, to, form.available, !form.byNextMessage);
        if (!waitUntil([&] { return !advancing; })) {
          if (!stopped) fail("no grant for " + std::string(form.name) + " to " + std::to_string(to) + " within 10 s");
          return;
        }
        {
          std::lock_guard<std::mutex> lock(mutex);
          time = int64_t(granted);
        }
        available = form.available;
      }
    } catch (rti1516e::Exception const& e) {
      fail("threw " + narrow(e.what()));
    }
  }

  void fail(std::string const& what) {
    std::lock_guard<std::mutex> lock(mutex);
    errors.push_back("federate " + std::to_string(index) + ": " + what);
    stopped = true;
  }

  CallbackModel const model;
  Steps const steps;
  int const index;
  int64_t const lookahead;
  std::atomic<bool>& stopped;
  std::auto_ptr<RTIambassador> rti;
  ObjectInstanceHandle own;
  AttributeHandle position;
  InteractionClassHandle collision;
  std::vector<Sent> sent;  // by serial; touched by the federate's thread only
  int64_t promised = 0;    // the least time it may still send at; only ever rises

  std::mutex mutex;
  int discovered = 0;
  bool regulating = false, constrained = false;
  bool advancing = false, requestedAvailable = false, requestedByNextMessage = false, grantedAvailable = false;
  double requested = 0, granted = 0;
  std::vector<Delivery> deliveries;
  std::vector<std::string> errors;

 private:
  template <typename Change>
  void changed(Change change) {
    std::lock_guard<std::mutex> lock(mutex);
    change();
    changed_.notify_all();
  }
  void record(VariableLengthData const& t, OrderType sent, LogicalTime const& time, OrderType received, char kind) {
    std::lock_guard<std::mutex> lock(mutex);
    unsigned char const* p = static_cast<unsigned char const*>(t.data());
    if (t.size() != 5 || sent != TIMESTAMP) {
      errors.push_back("federate " + std::to_string(index) + " given a message with tag " + testing::show(t) +
                       " sent in order " + std::to_string(sent));
      return;
    }
    uint32_t const serial = uint32_t(p[1]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 8 | p[4];
    deliveries.push_back(
        {p[0], serial, steps.of(time), kind, received, advancing, requested, granted, grantedAvailable});
  }

  // sendSome sends up to two messages at or above the least time allowed from base (time
  // or requested time; above it with zero lookahead unless in the Available form), and
  // now and then tries one just below, which must be refused. What a federate once promised
  // stands: after a plain grant to t with zero lookahead, an Available request to t itself
  // does not open t again.
  void sendSome(std::mt19937& random, int64_t base, bool available, bool probe = true) {
    int64_t const allowed = base + lookahead + (lookahead == 0 && !available ? 1 : 0);
    int64_t const least = std::max(promised, allowed);
    if (!probe) {  // granted by its next message, the federate will promise less than least
      for (int n = int(random() % 3); n > 0; --n) send(random() % 2 == 0, least + int64_t(random() % 6), true);
      return;
    }
    promised = least;
    if (random() % 16 == 0) {
      std::string const refused = outcome([&] { send(random() % 2 == 0, least - 1, false); });
      if (refused.rfind("InvalidLogicalTime: ", 0) != 0)
        fail("sending at " + std::to_string(least - 1) + ": " + refused);
    }
    for (int n = int(random() % 3); n > 0; --n) send(random() % 2 == 0, least + int64_t(random() % 6), true);
  }
  void send(bool update, int64_t time, bool keep) {
    uint32_t const serial = uint32_t(sent.size());
    if (update) {
      rti->updateAttributeValues(own, {{position, VariableLengthData("p", 1)}}, serialTag(index, serial),
                                 *steps.at(time));
    } else {
      rti->sendInteraction(collision, {}, serialTag(index, serial), *steps.at(time));
    }
    if (keep) sent.push_back({time, update ? 'u' : 'i'});
  }

  std::condition_variable changed_;
};

// check is every fault in what receiver was given, from the racers' records.
std::vector<std::string> check(Racer const& receiver, std::vector<std::unique_ptr<Racer>> const& racers) {
  std::vector<std::string> faults = receiver.errors;
  std::string const who = "federate " + std::to_string(receiver.index) + ": ";
  double last = -1;
  std::map<int, std::pair<double, uint32_t>> lastOf;  // sender -> (time, serial) of its last message
  std::vector<std::vector<int>> seen(racers.size());
  for (auto const& racer : racers) seen[size_t(racer->index)].assign(racer->sent.size(), 0);
  for (Delivery const& d : receiver.deliveries) {
    std::string const message = "message " + std::to_string(d.sender) + "/" + std::to_string(d.serial) + " at " +
                                std::to_string(d.time);
    if (!d.advancing) faults.push_back(who + message + " came while not advancing");
    if (d.time > d.requested) faults.push_back(who + message + " came asking for " + std::to_string(d.requested));
    if (d.time < d.granted || (d.time == d.granted && !d.grantedAvailable)) {
      faults.push_back(who + message + " came after a grant to " + std::to_string(d.granted));
    }
    if (d.time < last) faults.push_back(who + message + " came after one at " + std::to_string(last));
    auto const previous = lastOf.find(d.sender);
    if (previous != lastOf.end() && std::make_pair(d.time, d.serial) < previous->second) {
      faults.push_back(who + message + " came after its sender's " + std::to_string(previous->second.second));
    }
    if (d.received != TIMESTAMP) faults.push_back(who + message + " came in receive order");
    last = d.time;
    lastOf[d.sender] = {d.time, d.serial};
    if (d.sender < 0 || size_t(d.sender) >= racers.size() || d.sender == receiver.index ||
        d.serial >= seen[size_t(d.sender)].size()) {
      faults.push_back(who + message + " was never sent to it");
      continue;
    }
    Sent const& s = racers[size_t(d.sender)]->sent[d.serial];
    if (++seen[size_t(d.sender)][d.serial] == 2) faults.push_back(who + message + " came twice");
    if (double(s.time) != d.time || s.kind != d.kind) {
      faults.push_back(who + message + " was sent at " + std::to_string(s.time) + " as " + s.kind);
    }
  }
  for (auto const& racer : racers) {
    if (racer->index == receiver.index) continue;
    auto const& marks = seen[size_t(racer->index)];
    long const lost = std::count(marks.begin(), marks.end(), 0);
    if (lost > 0)
      faults.push_back(who + std::to_string(lost) + " of federate " + std::to_string(racer->index) +
                       "'s messages never came");
  }
  return faults;
}

TEST_P(Times, RandomAdvancesDeliverEverythingInOrder) {
  char const* fromEnvironment = std::getenv("OSTRA_TIME_SEED");
  uint32_t const seed = fromEnvironment != nullptr ? uint32_t(std::strtoul(fromEnvironment, nullptr, 10))
                                                   : uint32_t(Clock::now().time_since_epoch().count());
  SCOPED_TRACE("OSTRA_TIME_SEED=" + std::to_string(seed));
  federation = std::wstring(L"Random-") + (model() == HLA_EVOKED ? L"evoked-" : L"immediate-") + steps.name();
  std::atomic<bool> stopped{false};
  std::vector<std::unique_ptr<Racer>> racers;
  for (size_t i = 0; i < kRandomFederates; ++i) {
    racers.push_back(std::make_unique<Racer>(model(), steps, int(i), stopped));
    ASSERT_OK(racers[i]->rti->connect(*racers[i], model(), designator()));
  }
  ASSERT_OK(racers[0]->rti->createFederationExecution(federation, fom("Vehicles.xml"), steps.name()));
  for (auto& racer : racers) {
    RTIambassador& rti = *racer->rti;
    ASSERT_OK(rti.joinFederationExecution(L"r" + std::to_wstring(racer->index), L"Racer", federation));
    ObjectClassHandle const vehicle = rti.getObjectClassHandle(L"Vehicle");
    racer->position = rti.getAttributeHandle(vehicle, L"Position");
    racer->collision = rti.getInteractionClassHandle(L"Collision");
    rti.publishObjectClassAttributes(vehicle, {racer->position});
    rti.subscribeObjectClassAttributes(vehicle, {racer->position});
    rti.publishInteractionClass(racer->collision);
    rti.subscribeInteractionClass(racer->collision);
  }
  for (auto& racer : racers)
    racer->own = racer->rti->registerObjectInstance(racer->rti->getObjectClassHandle(L"Vehicle"));
  for (auto& racer : racers) {
    ASSERT_TRUE(racer->waitUntil([&] { return size_t(racer->discovered) == kRandomFederates - 1; }));
    racer->rti->enableTimeRegulation(*steps.span(racer->lookahead));
    ASSERT_TRUE(racer->waitUntil([&] { return racer->regulating; }));
    racer->rti->enableTimeConstrained();
    ASSERT_TRUE(racer->waitUntil([&] { return racer->constrained; }));
  }

  int64_t const end = 4 * int64_t(kRandomAdvances) + 100;  // beyond every time sent
  auto const began = Clock::now();
  std::vector<std::thread> threads;
  for (auto& racer : racers) threads.emplace_back([&racer, seed, end] { racer->run(seed, end); });
  for (auto& thread : threads) thread.join();
  double const seconds = since(began);

  size_t sent = 0, delivered = 0;
  std::vector<std::string> faults;
  for (auto const& racer : racers) {
    sent += racer->sent.size();
    delivered += racer->deliveries.size();
    std::vector<std::string> const own = check(*racer, racers);
    faults.insert(faults.end(), own.begin(), own.end());
  }
  std::string shown;
  for (size_t i = 0; i < std::min<size_t>(faults.size(), 12); ++i) shown += "\n  " + faults[i];
  EXPECT_TRUE(faults.empty()) << faults.size() << " faults, the first:" << shown;
  EXPECT_EQ(delivered, sent * (kRandomFederates - 1));
  std::printf("[ random   ] seed %u: %zu federates, %d advances each, %zu messages sent, %zu delivered, %.2f s\n", seed,
              kRandomFederates, kRandomAdvances + 1, sent, delivered, seconds);
}

INSTANTIATE_TEST_SUITE_P(Models, Times,
                         ::testing::Combine(::testing::Values(HLA_EVOKED, HLA_IMMEDIATE),
                                            ::testing::Values(Representation::integer, Representation::floating)),
                         [](::testing::TestParamInfo<TimeParam> const& info) {
                           return std::string(std::get<0>(info.param) == HLA_EVOKED ? "Evoked" : "Immediate") +
                                  (std::get<1>(info.param) == Representation::integer ? "Integer" : "Float");
                         });

}  // namespace
}  // namespace ostra1516e
