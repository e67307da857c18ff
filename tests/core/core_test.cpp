// End-to-end tests of the RTI core through the public API and the bridge: several
// ambassadors in one process share the federation engine embedded in it. Each scenario
// runs in both callback models: in HLA_EVOKED the test thread evokes, in HLA_IMMEDIATE the
// callbacks arrive on the core's thread and the test waits for them, never longer than
// a few seconds. The run under -Xcheck:jni re-runs some of them in a child process.
#include <RTI/RTI1516.h>
#include <RTI/time/HLAinteger64Time.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "../bridge/child_process.h"
#include "core_support.h"

namespace ostra1516e {
namespace {

using namespace coretest;

std::string announce(std::wstring const& label, unsigned char first = 1) {
  return "announceSynchronizationPoint(" + testing::show(label) + ", " + testing::show(tag(first)) + ")";
}
std::string succeeded(std::wstring const& label) {
  return "synchronizationPointRegistrationSucceeded(" + testing::show(label) + ")";
}
std::string failed(std::wstring const& label, SynchronizationPointFailureReason reason) {
  return "synchronizationPointRegistrationFailed(" + testing::show(label) + ", " + testing::show(reason) + ")";
}
std::string synchronized(std::wstring const& label, FederateHandleSet const& failures = {}) {
  return "federationSynchronized(" + testing::show(label) + ", " + testing::show(failures) + ")";
}

// ---- Scenarios, each in both callback models ------------------------------------------

// Which state each service needs and the exception that says it is missing.
TEST_P(Core, ConnectionAndMembershipChecks) {
  Federate f(GetParam());
  RTIambassador& rti = *f.rti;
  std::wstring const federation = name(L"Connection");
  ObjectClassHandle vehicle;
  AttributeHandle position;
  DimensionHandle lane;
  InteractionClassHandle collision;  // never set: the state checks come before any other
  struct Row { std::string service; std::function<void()> call; };
  std::vector<Row> memberServices = {
      {"getFederateName", [&] { rti.getFederateName(FederateHandleFriend::fromNumber(1)); }},
      {"registerFederationSynchronizationPoint", [&] { rti.registerFederationSynchronizationPoint(L"p", tag(1)); }},
      {"synchronizationPointAchieved", [&] { rti.synchronizationPointAchieved(L"p"); }},
      {"resignFederationExecution", [&] { rti.resignFederationExecution(NO_ACTION); }},
      {"enableObjectClassRelevanceAdvisorySwitch", [&] { rti.enableObjectClassRelevanceAdvisorySwitch(); }},
      {"getAutomaticResignDirective", [&] { rti.getAutomaticResignDirective(); }},
      {"normalizeServiceGroup", [&] { rti.normalizeServiceGroup(SUPPORT_SERVICES); }},
      {"getTimeFactory", [&] { rti.getTimeFactory(); }},
      {"publishObjectClassAttributes", [&] { rti.publishObjectClassAttributes(vehicle, {position}); }},
      {"subscribeInteractionClass", [&] { rti.subscribeInteractionClass(collision); }},
      {"registerObjectInstance", [&] { rti.registerObjectInstance(vehicle); }},
      {"queryAttributeOwnership", [&] { rti.queryAttributeOwnership(ObjectInstanceHandleFriend::fromNumber(1), position); }},
      {"attributeOwnershipAcquisition",
       [&] { rti.attributeOwnershipAcquisition(ObjectInstanceHandleFriend::fromNumber(1), {position}, tag(1)); }},
      {"createRegion", [&] { rti.createRegion({lane}); }}};

  for (Row const& row : memberServices) EXPECT_THAT(outcome(row.call), StartsWith("NotConnected: ")) << row.service;
  EXPECT_RTI("NotConnected", rti.createFederationExecution(federation, fom("Vehicles.xml")));
  EXPECT_RTI("NotConnected", f.join(L"solo", federation));
  EXPECT_RTI("NotConnected", rti.destroyFederationExecution(federation));
  // A designator that reaches no server, or is no designator, fails, names what it was
  // given, and leaves the federate unconnected.
  EXPECT_RTI_NAMING("ConnectionFailed", "127.0.0.1:1", rti.connect(f, GetParam(), L"rti://127.0.0.1:1"));
  EXPECT_RTI_NAMING("InvalidLocalSettingsDesignator", "nonsense;;", rti.connect(f, GetParam(), L"nonsense;;"));
  EXPECT_RTI("NotConnected", rti.listFederationExecutions());
  ASSERT_OK(rti.connect(f, GetParam(), designator()));
  EXPECT_RTI("AlreadyConnected", rti.connect(f, GetParam(), L""));

  for (Row const& row : memberServices) {
    EXPECT_THAT(outcome(row.call), StartsWith("FederateNotExecutionMember: ")) << row.service;
  }
  ASSERT_OK(rti.createFederationExecution(federation, fom("Vehicles.xml"), L"HLAinteger64Time"));
  ASSERT_OK(f.join(L"solo", federation));
  vehicle = rti.getObjectClassHandle(L"Vehicle");
  position = rti.getAttributeHandle(vehicle, L"Position");
  lane = rti.getDimensionHandle(L"Lane");

  EXPECT_RTI("FederateIsExecutionMember", rti.disconnect());
  EXPECT_OK(rti.resignFederationExecution(NO_ACTION));
  EXPECT_OK(rti.destroyFederationExecution(federation));
  EXPECT_OK(rti.disconnect());
  EXPECT_RTI("NotConnected", rti.listFederationExecutions());
  // A second connection of the same ambassador works like the first.
  ASSERT_OK(rti.connect(f, GetParam(), designator()));
  rti.listFederationExecutions();
  ASSERT_TRUE(f.waitForCount("reportFederationExecutions(", 1)) << f.dump();
  EXPECT_THAT(f.lines().back(), ::testing::Not(HasSubstr(narrow(federation))));
  EXPECT_OK(rti.disconnect());
}

// The three create forms, every way a create fails, the list, time factories, and
// federations side by side that share nothing.
TEST_P(Core, CreateListAndIsolation) {
  Federate a(GetParam()), b(GetParam()), c(GetParam());
  for (Federate* f : {&a, &b, &c}) f->connect();
  std::wstring const ints = name(L"A-ints"), floats = name(L"B-floats"), ownMim = name(L"C-own-mim");
  std::wstring const never = name(L"never"), missing = fom("Missing.xml");
  std::vector<std::wstring> const vehicles = {fom("Vehicles.xml")};
  ASSERT_OK(a.rti->createFederationExecution(ints, fom("Vehicles.xml"), L"HLAinteger64Time"));
  ASSERT_OK(b.rti->createFederationExecution(floats, {fom("Vehicles.xml"), fom("Traffic.xml")}));
  ASSERT_OK(c.rti->createFederationExecutionWithMIM(ownMim, vehicles, fom("SmallMIM.xml"), L"HLAfloat64Time"));

  EXPECT_RTI_NAMING("FederationExecutionAlreadyExists", narrow(ints),
                    a.rti->createFederationExecution(ints, fom("Traffic.xml")));
  EXPECT_RTI_NAMING("CouldNotOpenFDD", "Missing.xml", a.rti->createFederationExecution(never, missing));
  EXPECT_RTI_NAMING("ErrorReadingFDD", "Malformed.xml", a.rti->createFederationExecution(never, fom("Malformed.xml")));
  EXPECT_RTI_NAMING("InconsistentFDD", "Conflicting.xml",
                    a.rti->createFederationExecution(never, {fom("Vehicles.xml"), fom("Conflicting.xml")}));
  EXPECT_RTI_NAMING("CouldNotCreateLogicalTimeFactory", "HLAdecimalTime",
                    a.rti->createFederationExecution(never, vehicles, L"HLAdecimalTime"));
  EXPECT_RTI("DesignatorIsHLAstandardMIM", a.rti->createFederationExecutionWithMIM(never, vehicles, L"HLAstandardMIM"));
  EXPECT_RTI_NAMING("CouldNotOpenMIM", "Missing.xml", a.rti->createFederationExecutionWithMIM(never, vehicles, missing));
  EXPECT_RTI_NAMING("ErrorReadingMIM", "Malformed.xml",
                    a.rti->createFederationExecutionWithMIM(never, vehicles, fom("Malformed.xml")));

  // Every federation with its time implementation ("" at creation is HLAfloat64Time); the
  // failed creates left nothing behind.
  a.rti->listFederationExecutions();
  EXPECT_TRUE(a.waitFor("reportFederationExecutions([(" + testing::show(ints) + ", \"HLAinteger64Time\"), (" +
                        testing::show(floats) + ", \"HLAfloat64Time\"), (" + testing::show(ownMim) + ", \"HLAfloat64Time\")])"))
      << a.dump();

  // One federate name in two federations; the no-name join gets "<type>-<handle>".
  ASSERT_OK(a.join(L"alpha", ints));
  ASSERT_OK(b.join(L"alpha", floats));
  ASSERT_OK(c.handle = c.rti->joinFederationExecution(L"Viewer", ownMim));
  EXPECT_EQ(c.rti->getFederateName(c.handle), L"Viewer-" + wide(testing::show(c.handle)));
  EXPECT_EQ(a.rti->getTimeFactory()->getName(), L"HLAinteger64Time");
  // The time library's own default (this reference also keeps it in this static program).
  EXPECT_EQ(b.rti->getTimeFactory()->getName(), LogicalTimeFactoryFactory::makeLogicalTimeFactory(L"")->getName());
  EXPECT_EQ(c.rti->getTimeFactory()->getName(), L"HLAfloat64Time");

  // Each federation resolves names in its own model: c's MIM has no HLAfederation class.
  struct Lookup { Federate* federate; wchar_t const* className; bool found; };
  for (Lookup const& row : std::vector<Lookup>{
           {&a, L"HLAmanager.HLAfederation", true}, {&c, L"HLAmanager.HLAfederation", false},
           {&c, L"HLAobjectRoot.HLAmanager.HLAfederate", true}, {&c, L"Vehicle.Truck", true},
           {&b, L"Vehicle.Bus", true}, {&a, L"Vehicle.Bus", false}}) {
    EXPECT_THAT(outcome([&] { row.federate->rti->getObjectClassHandle(row.className); }),
                StartsWith(row.found ? "ok" : "NameNotFound: ")) << narrow(row.className);
  }
  // A synchronization point stays in its federation.
  b.rti->registerFederationSynchronizationPoint(L"floats-only", tag(1));
  EXPECT_TRUE(b.waitFor(announce(L"floats-only"))) << b.dump();
  a.rti->registerFederationSynchronizationPoint(L"ints-only", tag(1));
  EXPECT_TRUE(a.waitFor(announce(L"ints-only"))) << a.dump();
  EXPECT_FALSE(a.has(announce(L"floats-only"))) << a.dump();
  EXPECT_FALSE(b.has(announce(L"ints-only"))) << b.dump();

  for (Federate* f : {&a, &b, &c}) EXPECT_OK(f->rti->resignFederationExecution(NO_ACTION));
  for (auto const& federation : {ints, floats, ownMim}) EXPECT_OK(c.rti->destroyFederationExecution(federation));
  a.rti->listFederationExecutions();
  ASSERT_TRUE(a.waitForCount("reportFederationExecutions(", 2)) << a.dump();
  for (auto const& federation : {ints, floats, ownMim}) {
    EXPECT_THAT(a.lines().back(), ::testing::Not(HasSubstr(narrow(federation))));
  }
}

// Joins of both forms, joins that add or fail to add modules, resigns, and destroy.
TEST_P(Core, JoinResignAndDestroy) {
  Federate a(GetParam()), b(GetParam()), c(GetParam());
  for (Federate* f : {&a, &b, &c}) f->connect();
  std::wstring const federation = name(L"Members");
  ASSERT_OK(a.rti->createFederationExecution(federation, fom("Vehicles.xml")));

  // An explicit name that looks generated; the generated name must still be unique.
  ASSERT_OK(a.join(L"Tester-2", federation));
  EXPECT_RTI_NAMING("FederateNameAlreadyInUse", "Tester-2", b.join(L"Tester-2", federation));
  ASSERT_OK(b.handle = b.rti->joinFederationExecution(L"Tester", federation));
  std::wstring const generated = b.rti->getFederateName(b.handle);
  EXPECT_NE(generated, L"Tester-2");
  EXPECT_EQ(a.rti->getFederateHandle(generated), b.handle);
  EXPECT_RTI("FederateAlreadyExecutionMember", b.join(L"again", federation));

  // Joins that fail leave the federation and its model as they were; Conflicting.xml
  // declares Ghost before its dimension Lane conflicts.
  ObjectClassHandle const vehicle = a.rti->getObjectClassHandle(L"Vehicle");
  AttributeHandle const speed = a.rti->getAttributeHandle(vehicle, L"Speed");
  EXPECT_RTI("FederationExecutionDoesNotExist", c.join(L"gamma", name(L"Nowhere")));
  EXPECT_RTI("InconsistentFDD", c.join(L"gamma", federation, {fom("Conflicting.xml")}));
  EXPECT_RTI("CouldNotOpenFDD", c.join(L"gamma", federation, {fom("Missing.xml")}));
  EXPECT_RTI("ErrorReadingFDD", c.join(L"gamma", federation, {fom("Malformed.xml")}));
  EXPECT_RTI("NameNotFound", a.rti->getObjectClassHandle(L"Ghost"));
  EXPECT_RTI("NameNotFound", a.rti->getFederateHandle(L"gamma"));
  EXPECT_EQ(a.rti->getAttributeHandle(vehicle, L"Speed"), speed);

  // A join that adds a module: its classes reach the federates joined before. (A braced
  // module list here would pick the overload with a federate name.)
  std::vector<std::wstring> const traffic = {fom("Traffic.xml")};
  ASSERT_OK(c.handle = c.rti->joinFederationExecution(L"Viewer", federation, traffic));
  EXPECT_EQ(c.rti->getFederateName(c.handle), L"Viewer-" + wide(testing::show(c.handle)));
  ObjectClassHandle const bus = c.rti->getObjectClassHandle(L"HLAobjectRoot.Vehicle.Bus");
  for (Federate* f : {&a, &b}) {
    auto const resolves = [&](Lines const&) { return outcome([&] { f->rti->getObjectClassHandle(L"Vehicle.Bus"); }) == "ok"; };
    EXPECT_TRUE(f->waitFor(resolves));
    EXPECT_OK(EXPECT_EQ(f->rti->getObjectClassHandle(L"HLAobjectRoot.Vehicle.Bus"), bus));
    EXPECT_OK(EXPECT_EQ(f->rti->getAttributeHandle(vehicle, L"Speed"), speed));
    EXPECT_OK(f->rti->getInteractionClassHandle(L"LightChange"));
  }

  EXPECT_RTI_NAMING("FederatesCurrentlyJoined", "Tester-2", b.rti->destroyFederationExecution(federation));
  EXPECT_OK(a.rti->resignFederationExecution(NO_ACTION));
  EXPECT_RTI("FederateNotExecutionMember", a.rti->resignFederationExecution(NO_ACTION));
  EXPECT_RTI("FederateHandleNotKnown", c.rti->getFederateName(a.handle));
  EXPECT_OK(b.rti->resignFederationExecution(DELETE_OBJECTS));
  EXPECT_OK(c.rti->resignFederationExecution(CANCEL_THEN_DELETE_THEN_DIVEST));

  // With nobody joined the federation lives on, model included, until destroyed.
  ASSERT_OK(a.join(L"Tester-2", federation));
  EXPECT_EQ(a.rti->getObjectClassHandle(L"Vehicle.Bus"), bus);
  EXPECT_OK(a.rti->resignFederationExecution(UNCONDITIONALLY_DIVEST_ATTRIBUTES));
  EXPECT_OK(b.rti->destroyFederationExecution(federation));
  EXPECT_RTI("FederationExecutionDoesNotExist", b.rti->destroyFederationExecution(federation));
  EXPECT_RTI("FederationExecutionDoesNotExist", a.join(L"Tester-2", federation));
}

// Synchronization points: whole-federation and set points, late joiners, failures.
TEST_P(Core, SynchronizationPoints) {
  Federate a(GetParam()), b(GetParam()), c(GetParam()), d(GetParam());
  std::wstring const federation = name(L"Sync");
  for (Federate* f : {&a, &b, &c, &d}) f->connect();
  ASSERT_OK(a.rti->createFederationExecution(federation, fom("Vehicles.xml")));
  a.join(L"a", federation), b.join(L"b", federation), c.join(L"c", federation);

  a.rti->registerFederationSynchronizationPoint(L"ready", tag(1));
  EXPECT_TRUE(a.waitFor(succeeded(L"ready"))) << a.dump();
  b.rti->registerFederationSynchronizationPoint(L"ready", tag(2));
  EXPECT_TRUE(b.waitFor(failed(L"ready", SYNCHRONIZATION_POINT_LABEL_NOT_UNIQUE))) << b.dump();
  d.join(L"d", federation);  // late, but a point without a set takes it in
  for (Federate* f : {&a, &b, &c, &d}) EXPECT_TRUE(f->waitFor(announce(L"ready"))) << f->dump();
  EXPECT_FALSE(b.has(succeeded(L"ready")) || b.has(announce(L"ready", 2))) << b.dump();

  EXPECT_RTI("SynchronizationPointLabelNotAnnounced", a.rti->synchronizationPointAchieved(L"unheard-of"));
  for (Federate* f : {&a, &b, &c}) f->rti->synchronizationPointAchieved(L"ready");
  EXPECT_RTI("SynchronizationPointLabelNotAnnounced", a.rti->synchronizationPointAchieved(L"ready"));
  EXPECT_FALSE(a.waitFor(synchronized(L"ready", {d.handle}), 0.2)) << "synchronized before d achieved";
  d.rti->synchronizationPointAchieved(L"ready", false);
  for (Federate* f : {&a, &b, &c, &d}) EXPECT_TRUE(f->waitFor(synchronized(L"ready", {d.handle}))) << f->dump();

  // A set point is announced to its members only; the point after it, announced to all,
  // shows that c and d would have seen it by now.
  a.rti->registerFederationSynchronizationPoint(L"pair", tag(3), {a.handle, b.handle});
  EXPECT_TRUE(a.waitFor(succeeded(L"pair"))) << a.dump();
  a.rti->registerFederationSynchronizationPoint(L"fence", tag(1));
  for (Federate* f : {&a, &b}) EXPECT_TRUE(f->waitFor(announce(L"pair", 3))) << f->dump();
  for (Federate* f : {&c, &d}) {
    EXPECT_TRUE(f->waitFor(announce(L"fence"))) << f->dump();
    EXPECT_FALSE(f->has(announce(L"pair", 3))) << f->dump();
  }
  EXPECT_RTI("SynchronizationPointLabelNotAnnounced", c.rti->synchronizationPointAchieved(L"pair"));

  // A set with a handle never issued is refused at once; a set member that has resigned
  // fails the registration through its callback.
  for (FederateHandle bad : {FederateHandleFriend::fromNumber(999), FederateHandle()}) {
    EXPECT_RTI("InvalidFederateHandle", a.rti->registerFederationSynchronizationPoint(L"bad", tag(1), {a.handle, bad}));
  }
  d.rti->resignFederationExecution(NO_ACTION);
  a.rti->registerFederationSynchronizationPoint(L"gone", tag(1), {a.handle, d.handle});
  EXPECT_TRUE(a.waitFor(failed(L"gone", SYNCHRONIZATION_SET_MEMBER_NOT_JOINED))) << a.dump();
  EXPECT_FALSE(a.has(succeeded(L"bad")) || a.has(failed(L"bad", SYNCHRONIZATION_POINT_LABEL_NOT_UNIQUE)));

  // A member that resigns no longer holds a point up (d has left "fence" already).
  a.rti->synchronizationPointAchieved(L"pair");
  b.rti->resignFederationExecution(NO_ACTION);
  EXPECT_TRUE(a.waitFor(synchronized(L"pair"))) << a.dump();
  a.rti->synchronizationPointAchieved(L"fence");
  c.rti->synchronizationPointAchieved(L"fence");
  for (Federate* f : {&a, &c}) EXPECT_TRUE(f->waitFor(synchronized(L"fence"))) << f->dump();
}

// Support services against the standard MIM and the test modules.
TEST_P(Core, SupportServices) {
  Federate a(GetParam()), b(GetParam());
  std::wstring const federation = name(L"Support");
  a.connect(), b.connect();
  ASSERT_OK(a.rti->createFederationExecution(federation, {fom("Vehicles.xml"), fom("Traffic.xml")}));
  a.join(L"sup", federation), b.join(L"port", federation);
  RTIambassador& rti = *a.rti;

  // Classes by qualified name, without the root, and by last name where only one class
  // has it ("Car" is both Vehicle.Car and Train.Car).
  struct Name { wchar_t const* given; wchar_t const* qualified; };
  wchar_t const* const truckName = L"HLAobjectRoot.Vehicle.Truck";
  for (Name const& row : std::vector<Name>{
           {L"HLAobjectRoot", L"HLAobjectRoot"}, {truckName, truckName}, {L"Vehicle.Truck", truckName}, {L"Truck", truckName},
           {L"Train.Car", L"HLAobjectRoot.Train.Car"}, {L"HLAfederate", L"HLAobjectRoot.HLAmanager.HLAfederate"},
           {L"Car", nullptr}, {L"Truk", nullptr}, {L"truck", nullptr}, {L"HLAobjectRoot.Truck", nullptr}, {L"", nullptr}}) {
    EXPECT_THAT(outcome([&] { EXPECT_EQ(rti.getObjectClassName(rti.getObjectClassHandle(row.given)), row.qualified); }),
                StartsWith(row.qualified ? "ok" : "NameNotFound: ")) << narrow(row.given);
  }
  wchar_t const* const pileupName = L"HLAinteractionRoot.Collision.Pileup";
  for (Name const& row : std::vector<Name>{
           {pileupName, pileupName}, {L"Collision.Pileup", pileupName}, {L"Pileup", pileupName},
           {L"HLAreportServiceInvocation", L"HLAinteractionRoot.HLAmanager.HLAfederate.HLAreport.HLAreportServiceInvocation"},
           {L"Crash", nullptr}, {L"", nullptr}}) {
    EXPECT_THAT(outcome([&] {
                  EXPECT_EQ(rti.getInteractionClassName(rti.getInteractionClassHandle(row.given)), row.qualified);
                }),
                StartsWith(row.qualified ? "ok" : "NameNotFound: ")) << narrow(row.given);
  }

  // Attributes and parameters; inherited ones keep the handle of the declaring class.
  auto const root = rti.getObjectClassHandle(L"HLAobjectRoot"), vehicle = rti.getObjectClassHandle(L"Vehicle");
  auto const truck = rti.getObjectClassHandle(L"Truck"), car = rti.getObjectClassHandle(L"Vehicle.Car");
  auto const position = rti.getAttributeHandle(vehicle, L"Position"), passengers = rti.getAttributeHandle(car, L"Passengers");
  EXPECT_EQ(rti.getAttributeHandle(truck, L"Position"), position);
  EXPECT_EQ(rti.getAttributeHandle(truck, L"HLAprivilegeToDeleteObject"),
            rti.getAttributeHandle(root, L"HLAprivilegeToDeleteObject"));
  EXPECT_EQ(rti.getAttributeName(truck, position), L"Position");
  auto const collision = rti.getInteractionClassHandle(L"Collision"), pileup = rti.getInteractionClassHandle(L"Pileup");
  auto const count = rti.getParameterHandle(pileup, L"Count");
  EXPECT_EQ(rti.getParameterHandle(pileup, L"Vehicle"), rti.getParameterHandle(collision, L"Vehicle"));
  EXPECT_EQ(rti.getParameterName(pileup, rti.getParameterHandle(collision, L"Vehicle")), L"Vehicle");
  EXPECT_EQ(rti.getParameterName(pileup, count), L"Count");

  // Every refusal of the lookups.
  int32_t const noSuch = 99999;
  auto const unknownInstance = ObjectInstanceHandleFriend::fromNumber(7);
  EXPECT_RTI("InvalidObjectClassHandle", rti.getObjectClassName(ObjectClassHandleFriend::fromNumber(noSuch)));
  EXPECT_RTI("InvalidObjectClassHandle", rti.getObjectClassName(ObjectClassHandle()));
  EXPECT_RTI("InvalidObjectClassHandle", rti.getAttributeHandle(ObjectClassHandleFriend::fromNumber(noSuch), L"Position"));
  EXPECT_RTI("NameNotFound", rti.getAttributeHandle(truck, L"Passengers"));
  EXPECT_RTI("AttributeNotDefined", rti.getAttributeName(vehicle, passengers));
  EXPECT_RTI("InvalidAttributeHandle", rti.getAttributeName(vehicle, AttributeHandleFriend::fromNumber(noSuch)));
  EXPECT_RTI("InvalidInteractionClassHandle", rti.getInteractionClassName(InteractionClassHandleFriend::fromNumber(noSuch)));
  EXPECT_RTI("InvalidInteractionClassHandle",
             rti.getParameterHandle(InteractionClassHandleFriend::fromNumber(noSuch), L"Count"));
  EXPECT_RTI("NameNotFound", rti.getParameterHandle(collision, L"Count"));
  EXPECT_RTI("InteractionParameterNotDefined", rti.getParameterName(collision, count));
  EXPECT_RTI("InvalidParameterHandle", rti.getParameterName(collision, ParameterHandleFriend::fromNumber(noSuch)));
  EXPECT_RTI("InvalidOrderName", rti.getOrderType(L"Sometime"));
  EXPECT_RTI("InvalidTransportationName", rti.getTransportationType(L"HLAcarrierPigeon"));
  EXPECT_RTI("NameNotFound", rti.getDimensionHandle(L"Width"));
  EXPECT_RTI("InvalidDimensionHandle", rti.getDimensionName(DimensionHandleFriend::fromNumber(noSuch)));
  EXPECT_RTI("InvalidDimensionHandle", rti.getDimensionUpperBound(DimensionHandleFriend::fromNumber(noSuch)));
  EXPECT_RTI("AttributeNotDefined", rti.getAvailableDimensionsForClassAttribute(vehicle, passengers));
  EXPECT_RTI("InvalidInteractionClassHandle",
             rti.getAvailableDimensionsForInteractionClass(InteractionClassHandleFriend::fromNumber(noSuch)));
  EXPECT_RTI("InvalidUpdateRateDesignator", rti.getUpdateRateValue(L"Never"));
  EXPECT_RTI("NameNotFound", rti.getFederateHandle(L"nobody"));
  EXPECT_RTI("FederateHandleNotKnown", rti.getFederateName(FederateHandleFriend::fromNumber(999)));
  EXPECT_RTI("InvalidFederateHandle", rti.getFederateName(FederateHandle()));
  EXPECT_RTI("InvalidFederateHandle", rti.normalizeFederateHandle(FederateHandle()));
  EXPECT_RTI("ObjectInstanceNotKnown", rti.getObjectInstanceHandle(L"car-1"));
  EXPECT_RTI("ObjectInstanceNotKnown", rti.getObjectInstanceName(unknownInstance));
  EXPECT_RTI("ObjectInstanceNotKnown", rti.getKnownObjectClassHandle(unknownInstance));
  EXPECT_RTI("ObjectInstanceNotKnown", rti.getUpdateRateValueForAttribute(unknownInstance, position));

  // Orders, transportations, dimensions, rates, normalization and federates.
  // The enumerations cross the bridge in both directions with their own numbering.
  EXPECT_EQ(rti.getOrderType(L"TimeStamp"), TIMESTAMP);
  EXPECT_EQ(rti.getOrderName(RECEIVE), L"Receive");
  EXPECT_EQ(rti.getTransportationType(L"HLAbestEffort"), BEST_EFFORT);
  EXPECT_EQ(rti.getTransportationName(RELIABLE), L"HLAreliable");
  auto const lane = rti.getDimensionHandle(L"Lane"), federateDimension = rti.getDimensionHandle(L"HLAfederate");
  auto const federateClass = rti.getObjectClassHandle(L"HLAfederate");
  EXPECT_EQ(rti.getDimensionName(lane), L"Lane");
  EXPECT_EQ(rti.getDimensionUpperBound(lane), 8u);
  EXPECT_EQ(rti.getDimensionUpperBound(rti.getDimensionHandle(L"HLAserviceGroup")), 7u);
  EXPECT_EQ(rti.getAvailableDimensionsForClassAttribute(truck, position), DimensionHandleSet{lane});
  auto const speed = rti.getAttributeHandle(vehicle, L"Speed");
  auto const federateHandle = rti.getAttributeHandle(federateClass, L"HLAfederateHandle");
  EXPECT_EQ(rti.getAvailableDimensionsForClassAttribute(vehicle, speed), DimensionHandleSet{});
  EXPECT_EQ(rti.getAvailableDimensionsForClassAttribute(federateClass, federateHandle), DimensionHandleSet{federateDimension});
  EXPECT_EQ(rti.getAvailableDimensionsForInteractionClass(collision), DimensionHandleSet{lane});
  EXPECT_EQ(rti.getUpdateRateValue(L"Fast"), 30.0);
  EXPECT_EQ(rti.getUpdateRateValue(L"Slow"), 0.5);
  unsigned long group = 0;
  for (auto g : {FEDERATION_MANAGEMENT, DECLARATION_MANAGEMENT, OBJECT_MANAGEMENT, OWNERSHIP_MANAGEMENT,
                 TIME_MANAGEMENT, DATA_DISTRIBUTION_MANAGEMENT, SUPPORT_SERVICES}) {
    EXPECT_EQ(rti.normalizeServiceGroup(g), group++);
  }
  EXPECT_NE(rti.normalizeFederateHandle(a.handle), rti.normalizeFederateHandle(b.handle));
  EXPECT_EQ(rti.getFederateHandle(L"port"), b.handle);
  EXPECT_EQ(b.rti->getFederateName(a.handle), L"sup");

  // Advisory switches start as the module sets them (object class relevance on), are
  // refused when already in the state asked for, and belong to each federate.
  using Service = void (RTIambassador::*)();
  struct Switch { Service enable, disable; bool on; std::string name; };
#define OSTRA_SWITCH(name, on) \
  { &RTIambassador::enable##name##AdvisorySwitch, &RTIambassador::disable##name##AdvisorySwitch, on, #name }
  for (Switch const& s : std::vector<Switch>{OSTRA_SWITCH(ObjectClassRelevance, true), OSTRA_SWITCH(AttributeRelevance, false),
                                             OSTRA_SWITCH(AttributeScope, false), OSTRA_SWITCH(InteractionRelevance, false)}) {
    Service const toggle = s.on ? s.disable : s.enable, keep = s.on ? s.enable : s.disable;
    std::string const isOn = s.name + "AdvisorySwitchIsOn: ", isOff = s.name + "AdvisorySwitchIsOff: ";
    EXPECT_THAT(outcome([&] { (rti.*keep)(); }), StartsWith(s.on ? isOn : isOff));
    EXPECT_OK((rti.*toggle)()) << s.name;
    EXPECT_THAT(outcome([&] { (rti.*toggle)(); }), StartsWith(s.on ? isOff : isOn));
    EXPECT_OK((b.rti.get()->*toggle)()) << s.name;
  }
#undef OSTRA_SWITCH

  // The automatic resign directive starts as the module sets it.
  EXPECT_EQ(rti.getAutomaticResignDirective(), DELETE_OBJECTS_THEN_DIVEST);
  rti.setAutomaticResignDirective(NO_ACTION);
  EXPECT_EQ(rti.getAutomaticResignDirective(), NO_ACTION);
}

// Disabled callbacks wait and none is lost; inside a callback the callback services
// are refused and the others work, on the thread the model promises.
TEST_P(Core, CallbacksHeldAndCalledFromWithin) {
  Federate a(GetParam()), b(GetParam());
  std::wstring const federation = joinPair(a, b, L"Callbacks");

  a.rti->disableCallbacks();
  a.rti->listFederationExecutions();
  a.rti->registerFederationSynchronizationPoint(L"held", tag(1));
  EXPECT_FALSE(a.waitForCount("", 1, 0.3)) << a.dump();
  a.rti->enableCallbacks();
  EXPECT_TRUE(a.waitForCount("", 3)) << a.dump();
  Lines const delivered = a.lines();
  ASSERT_EQ(delivered.size(), 3u) << a.dump();
  EXPECT_THAT(delivered[0], StartsWith("reportFederationExecutions("));
  EXPECT_EQ(Lines(delivered.begin() + 1, delivered.end()), (Lines{succeeded(L"held"), announce(L"held")}));

  std::vector<std::string> inside;
  std::thread::id callbackThread;
  b.onCallback = [&](std::string const& line) {
    if (line != announce(L"inside")) return;
    callbackThread = std::this_thread::get_id();
    for (auto const& call : std::vector<std::function<void()>>{
             [&] { b.rti->evokeCallback(0); }, [&] { b.rti->evokeMultipleCallbacks(0, 0.1); },
             [&] { b.rti->resignFederationExecution(NO_ACTION); }, [&] { b.rti->disconnect(); },
             [&] { EXPECT_EQ(b.rti->getFederateName(b.handle), L"b"); }, [&] { b.rti->getObjectClassHandle(L"Vehicle.Car"); },
             [&] { b.rti->synchronizationPointAchieved(L"inside"); }}) {
      inside.push_back(outcome(call));
    }
  };
  a.rti->registerFederationSynchronizationPoint(L"inside", tag(1));
  EXPECT_TRUE(b.waitFor(announce(L"inside"))) << b.dump();
  ASSERT_EQ(inside.size(), 7u);
  for (size_t i = 0; i < 4; ++i) EXPECT_THAT(inside[i], StartsWith("CallNotAllowedFromWithinCallback: ")) << "call " << i;
  for (size_t i = 4; i < 7; ++i) EXPECT_EQ(inside[i], "ok") << "call " << i;
  EXPECT_EQ(callbackThread == std::this_thread::get_id(), GetParam() == HLA_EVOKED);
  a.rti->synchronizationPointAchieved(L"inside");
  EXPECT_TRUE(b.waitFor(synchronized(L"inside"))) << b.dump();
}

// disconnect returns only once a callback already running has finished, so that the
// federate may delete its ambassador right after.
TEST(CoreImmediate, DisconnectWaitsForARunningCallback) {
  Federate a(HLA_IMMEDIATE), b(HLA_IMMEDIATE);
  std::wstring const federation = L"Disconnect";
  a.connect(), b.connect();
  ASSERT_OK(a.rti->createFederationExecution(federation, fom("Vehicles.xml")));
  a.join(L"a", federation), b.join(L"b", federation);
  std::atomic<bool> started{false}, finished{false};
  b.onCallback = [&](std::string const& line) {
    if (line != announce(L"slow")) return;
    started = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    finished = true;
  };
  a.rti->registerFederationSynchronizationPoint(L"slow", tag(1));
  auto const deadline = Clock::now() + std::chrono::seconds(5);
  while (!started && Clock::now() < deadline) std::this_thread::yield();
  ASSERT_TRUE(started);
  EXPECT_OK(b.rti->resignFederationExecution(NO_ACTION));
  EXPECT_OK(b.rti->disconnect());
  EXPECT_TRUE(finished);
  EXPECT_OK(a.rti->resignFederationExecution(NO_ACTION));
  EXPECT_OK(a.rti->destroyFederationExecution(federation));
}

// Four threads use one ambassador at once, while its callbacks are delivered.
TEST_P(Core, ConcurrentCallers) {
  Federate a(GetParam()), b(GetParam());
  std::wstring const federation = joinPair(a, b, L"Threads");
  auto const truck = a.rti->getObjectClassHandle(L"Truck");
  int const threads = 4, rounds = 25;
  std::atomic<int> wrong{0};
  auto work = [&](int t, bool achieve) {
    for (int n = 0; n < rounds; ++n) {
      std::wstring const label = L"t" + std::to_wstring(t) + L"-" + std::to_wstring(n);
      std::string const got = outcome([&] {
        wrong += a.rti->getObjectClassHandle(L"HLAobjectRoot.Vehicle.Truck") != truck ||
                 a.rti->getAttributeName(truck, a.rti->getAttributeHandle(truck, L"Load")) != L"Load" ||
                 a.rti->getFederateName(b.handle) != L"b";
        if (achieve) {
          a.rti->synchronizationPointAchieved(label);
        } else {
          a.rti->registerFederationSynchronizationPoint(label, tag(1), {a.handle});
        }
      });
      wrong += got != "ok";
    }
  };
  for (bool achieve : {false, true}) {
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) workers.emplace_back(work, t, achieve);
    std::string const last = achieve ? "federationSynchronized(" : "announceSynchronizationPoint(";
    EXPECT_TRUE(a.waitForCount(last, threads * rounds)) << a.dump();
    for (auto& w : workers) w.join();
  }
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_TRUE(a.waitForCount("synchronizationPointRegistrationSucceeded(", threads * rounds));
  EXPECT_EQ(a.lines().size(), size_t(3 * threads * rounds)) << a.dump();
  settle({&a, &b}, L"settle-threads");  // b takes whatever came before the point
  EXPECT_EQ(withoutSettling(b.lines()), Lines{});
}

INSTANTIATE_TEST_SUITE_P(Models, Core, ::testing::Values(HLA_EVOKED, HLA_IMMEDIATE),
                         [](::testing::TestParamInfo<CallbackModel> const& info) {
                           return info.param == HLA_EVOKED ? "Evoked" : "Immediate";
                         });

// evokeCallback waits its minimum when nothing comes and delivers one callback at a time;
// evokeMultipleCallbacks delivers everything pending and returns before its maximum.
TEST(CoreEvoked, EvokeTiming) {
  Federate f(HLA_EVOKED);
  f.connect();
  auto start = Clock::now();
  EXPECT_FALSE(f.rti->evokeCallback(0.3));
  EXPECT_GE(since(start), 0.25);
  EXPECT_LT(since(start), 2.0);

  // listFederationExecutions queues its report before it returns.
  for (int i = 0; i < 3; ++i) f.rti->listFederationExecutions();
  for (size_t delivered = 1; delivered <= 3; ++delivered) {
    EXPECT_EQ(f.rti->evokeCallback(1.0), delivered < 3);
    EXPECT_EQ(f.lines().size(), delivered);
  }
  for (int i = 0; i < 3; ++i) f.rti->listFederationExecutions();
  start = Clock::now();
  EXPECT_FALSE(f.rti->evokeMultipleCallbacks(0, 5.0));
  EXPECT_LT(since(start), 1.0);
  EXPECT_EQ(f.lines().size(), 6u);
  start = Clock::now();
  EXPECT_FALSE(f.rti->evokeMultipleCallbacks(0.3, 5.0));
  EXPECT_GE(since(start), 0.25);
  EXPECT_LT(since(start), 2.0);
}

// ---- Under -Xcheck:jni ----------------------------------------------------------------

// Scenarios of federations, synchronization points, objects (large values among them) and
// time (grants, queries with and without a time), in both models, re-run in a child whose
// virtual machine checks every JNI call: it must find nothing to say.
TEST(CoreCheckedJni, ScenariosFindNothingToReport) {
  std::string output;
  auto values = runChild("'Models/Core.ConnectionAndMembershipChecks/*:Models/Core.SynchronizationPoints/*"
                         ":Models/Objects.UpdatesAndInteractionsCarryTheirValues/*"
                         ":Models/Objects.AdvisoriesOncePerChange/*"
                         ":Models/Times.AStalledRegulatorHoldsBackConstrainedFederates/*'",
                         "env OSTRA1516_OPTION1=-Xcheck:jni", &output);
  EXPECT_EQ(values["exit"], "0") << output;
  EXPECT_THAT(output, HasSubstr("[  PASSED  ] 12 tests."));
  EXPECT_EQ(output.find("WARNING"), std::string::npos) << output;
  EXPECT_EQ(output.find("FATAL"), std::string::npos) << output;
}

}  // namespace
}  // namespace ostra1516e

// --child=FILTER (see runChild) runs the tests FILTER selects.
int main(int argc, char** argv) {
  std::vector<std::string> filters;
  filters.reserve(argc);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--child=", 8) == 0) {
      argv[i] = &filters.emplace_back("--gtest_filter=" + std::string(argv[i] + 8))[0];
    }
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
