// End-to-end tests of declarations, objects and interactions through the public API:
// publishing and subscribing along the class tree, names and registration, updates and
// interactions with their values, deletion, value requests, transportation types, the
// ownership that objects need, the relevance advisories, and calls that must change
// nothing. Each scenario runs in both callback models.
#include <RTI/RTI1516.h>
#include <RTI/time/HLAinteger64Interval.h>
#include <RTI/time/HLAinteger64Time.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core_support.h"

namespace ostra1516e {
namespace {

using namespace coretest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

VariableLengthData blob(std::string const& text) { return VariableLengthData(text.data(), text.size()); }
VariableLengthData const none;
SupplementalReflectInfo const plain;
SupplementalReceiveInfo const plainReceive;
SupplementalRemoveInfo const plainRemove;

// Objects runs its scenarios on federates a, b, c... of one federation, with the handles
// of the test model at hand.
class Objects : public Members {
 protected:
  void start(wchar_t const* base, size_t members, std::vector<std::wstring> modules = {fom("Vehicles.xml")}) {
    ASSERT_NO_FATAL_FAILURE(joinAll(base, members, modules));
    RTIambassador& rti = *federates[0]->rti;
    vehicle = rti.getObjectClassHandle(L"Vehicle"), car = rti.getObjectClassHandle(L"Car");
    position = rti.getAttributeHandle(vehicle, L"Position"), speed = rti.getAttributeHandle(vehicle, L"Speed");
    passengers = rti.getAttributeHandle(car, L"Passengers");
    load = rti.getAttributeHandle(rti.getObjectClassHandle(L"Truck"), L"Load");
    root = rti.getInteractionClassHandle(L"HLAinteractionRoot");
    collision = rti.getInteractionClassHandle(L"Collision"), pileup = rti.getInteractionClassHandle(L"Pileup");
    driver = rti.getParameterHandle(collision, L"Vehicle"), count = rti.getParameterHandle(pileup, L"Count");
    lane = rti.getDimensionHandle(L"Lane");
  }
  // A region of fed's on the Lane dimension, [lower, upper), committed.
  RegionHandle region(Federate& fed, unsigned long lower, unsigned long upper) {
    RegionHandle r = fed.rti->createRegion({lane});
    fed.rti->setRangeBounds(r, lane, RangeBounds(lower, upper));
    fed.rti->commitRegionModifications({r});
    return r;
  }
  std::string discovered(ObjectInstanceHandle object, ObjectClassHandle as) {
    return cb("discoverObjectInstance", object, as, f(0).rti->getObjectInstanceName(object));
  }

  ObjectClassHandle vehicle, car;
  AttributeHandle position, speed, passengers, load;
  InteractionClassHandle root, collision, pileup;
  ParameterHandle driver, count;
  DimensionHandle lane;
};

// An instance is discovered as the closest class its subscriber subscribes, with the
// attributes subscribed there; an interaction is received as the closest subscribed class
// with its parameters; unsubscribing stops delivery at once.
TEST_P(Objects, DeclarationsFollowTheClassHierarchy) {
  ASSERT_NO_FATAL_FAILURE(start(L"Hierarchy", 4));
  Federate &a = f(0), &b = f(1), &c = f(2), &d = f(3);
  EXPECT_OK(a.rti->publishObjectClassAttributes(car, {position, speed, passengers}));
  EXPECT_OK(a.rti->publishInteractionClass(pileup));
  EXPECT_OK(a.rti->subscribeObjectClassAttributes(vehicle, {position}));  // never given its own
  EXPECT_OK(a.rti->subscribeInteractionClass(collision));
  EXPECT_OK(b.rti->subscribeObjectClassAttributes(vehicle, {position}, false));  // passive
  EXPECT_OK(b.rti->subscribeInteractionClass(collision, false));
  EXPECT_OK(c.rti->subscribeObjectClassAttributes(car, {passengers, speed}, true, L"Fast"));
  EXPECT_OK(c.rti->subscribeInteractionClass(pileup));
  EXPECT_OK(d.rti->subscribeInteractionClass(root));
  EXPECT_RTI_NAMING("InvalidUpdateRateDesignator", "Never",
                    d.rti->subscribeObjectClassAttributes(vehicle, {speed}, true, L"Never"));
  for (Federate* fed : {&b, &c, &d}) reached(*fed);  // subscribed before a sends

  ObjectInstanceHandle const car1 = a.rti->registerObjectInstance(car);
  AttributeHandleValueMap const values = {{position, blob("p")}, {speed, blob("s")}, {passengers, blob("n")}};
  ParameterHandleValueMap const parameters = {{driver, blob("v")}, {count, blob("2")}};
  a.rti->updateAttributeValues(car1, values, tag(1));
  a.rti->sendInteraction(pileup, parameters, tag(2));
  settle();
  EXPECT_THAT(got(a), ElementsAre(cb("startRegistrationForObjectClass", car))) << "once, for b and c together";
  EXPECT_THAT(got(b), ElementsAre(discovered(car1, vehicle),
                                  cb("reflectAttributeValues", car1, AttributeHandleValueMap{{position, blob("p")}},
                                     tag(1), RECEIVE, RELIABLE, plain),
                                  cb("receiveInteraction", collision, ParameterHandleValueMap{{driver, blob("v")}},
                                     tag(2), RECEIVE, RELIABLE, plainReceive)));
  // Passengers travels reliably and Speed best effort: one reflection for each.
  EXPECT_THAT(got(c),
              ElementsAre(discovered(car1, car),
                          cb("reflectAttributeValues", car1, AttributeHandleValueMap{{passengers, blob("n")}}, tag(1),
                             RECEIVE, RELIABLE, plain),
                          cb("reflectAttributeValues", car1, AttributeHandleValueMap{{speed, blob("s")}}, tag(1),
                             RECEIVE, BEST_EFFORT, plain),
                          cb("receiveInteraction", pileup, parameters, tag(2), RECEIVE, RELIABLE, plainReceive)));
  EXPECT_THAT(got(d), ElementsAre(cb("receiveInteraction", root, ParameterHandleValueMap{}, tag(2), RECEIVE, RELIABLE,
                                     plainReceive)));
  EXPECT_EQ(b.rti->getKnownObjectClassHandle(car1), vehicle);
  EXPECT_EQ(c.rti->getKnownObjectClassHandle(car1), car);
  EXPECT_EQ(a.rti->getKnownObjectClassHandle(car1), car);
  EXPECT_EQ(c.rti->getUpdateRateValueForAttribute(car1, speed), 30.0);

  // Unsubscribing, whole or in part, takes effect for the very next update.
  EXPECT_OK(b.rti->unsubscribeObjectClass(vehicle));
  EXPECT_OK(b.rti->unsubscribeInteractionClass(collision));
  EXPECT_OK(c.rti->unsubscribeObjectClassAttributes(car, {speed}));
  EXPECT_OK(d.rti->unsubscribeInteractionClass(root));
  for (Federate* fed : {&b, &c, &d}) reached(*fed);
  a.rti->updateAttributeValues(car1, values, tag(3));
  a.rti->sendInteraction(pileup, parameters, tag(4));
  settle();
  EXPECT_THAT(got(b), ElementsAre());
  EXPECT_THAT(got(c),
              ElementsAre(cb("reflectAttributeValues", car1, AttributeHandleValueMap{{passengers, blob("n")}}, tag(3),
                             RECEIVE, RELIABLE, plain),
                          cb("receiveInteraction", pileup, parameters, tag(4), RECEIVE, RELIABLE, plainReceive)));
  EXPECT_THAT(got(d), ElementsAre());
  EXPECT_THAT(got(a), ElementsAre());
  EXPECT_EQ(b.rti->getKnownObjectClassHandle(car1), vehicle) << "still known";
}

// The class an instance is known as stays until it is deleted locally, and decides what is
// reflected: the attributes subscribed at that class, whatever is subscribed elsewhere.
TEST_P(Objects, TheKnownClassDecidesWhatIsReflected) {
  ASSERT_NO_FATAL_FAILURE(start(L"KnownClass", 2));
  Federate &a = f(0), &b = f(1);
  a.rti->publishObjectClassAttributes(car, {position, passengers});
  b.rti->subscribeObjectClassAttributes(vehicle, {position});
  ObjectInstanceHandle const object = a.rti->registerObjectInstance(car);
  settle();
  EXPECT_THAT(got(b), ElementsAre(discovered(object, vehicle)));
  b.rti->subscribeObjectClassAttributes(car, {passengers});
  reached(b);  // subscribed at Car before the update, which still reflects as Vehicle
  AttributeHandleValueMap const values = {{position, blob("p")}, {passengers, blob("n")}};
  a.rti->updateAttributeValues(object, values, none);
  settle();
  EXPECT_EQ(b.rti->getKnownObjectClassHandle(object), vehicle);
  EXPECT_THAT(got(b), ElementsAre(cb("reflectAttributeValues", object, AttributeHandleValueMap{{position, blob("p")}},
                                     none, RECEIVE, RELIABLE, plain)));
  // Discovered again, the instance is known as the closest subscribed class now.
  b.rti->localDeleteObjectInstance(object);
  reached(b);
  a.rti->updateAttributeValues(object, values, none);
  settle();
  EXPECT_THAT(got(b), ElementsAre(discovered(object, car), cb("reflectAttributeValues", object,
                                                              AttributeHandleValueMap{{passengers, blob("n")}}, none,
                                                              RECEIVE, RELIABLE, plain)));
}

// Reserving, releasing and registering names; generated names; the lookups of instances.
TEST_P(Objects, NamesAndRegistration) {
  ASSERT_NO_FATAL_FAILURE(start(L"Names", 3));
  Federate &a = f(0), &b = f(1), &c = f(2);
  a.rti->publishObjectClassAttributes(vehicle, {position});
  b.rti->subscribeObjectClassAttributes(vehicle, {position});
  reached(b);  // a is told to start registering before its reservation succeeds
  struct Refusal { char const* exception; char const* named; std::function<void()> call; };
  for (Refusal const& row : std::vector<Refusal>{
           {"IllegalName", "HLAcar", [&] { a.rti->reserveObjectInstanceName(L"HLAcar"); }},
           {"IllegalName", "''", [&] { a.rti->reserveObjectInstanceName(L""); }},
           {"NameSetWasEmpty", "empty", [&] { a.rti->reserveMultipleObjectInstanceName({}); }},
           {"IllegalName", "HLAkitt", [&] { a.rti->reserveMultipleObjectInstanceName({L"Kitt", L"HLAkitt"}); }},
           {"ObjectInstanceNameNotReserved", "Herbie", [&] { a.rti->releaseObjectInstanceName(L"Herbie"); }},
           {"ObjectInstanceNameNotReserved", "Herbie", [&] { a.rti->registerObjectInstance(vehicle, L"Herbie"); }},
           {"ObjectClassNotPublished", "Vehicle", [&] { b.rti->registerObjectInstance(vehicle); }}}) {
    EXPECT_THAT(outcome(row.call),
                ::testing::AllOf(StartsWith(std::string(row.exception) + ": "), HasSubstr(row.named)));
  }

  a.rti->reserveObjectInstanceName(L"Herbie");
  settle();
  b.rti->reserveObjectInstanceName(L"Herbie");
  b.rti->reserveMultipleObjectInstanceName({L"Kitt", L"Herbie"});
  b.rti->reserveMultipleObjectInstanceName({L"Kitt", L"Knight"});
  reached(b);  // b's reservations come first, c's after
  c.rti->reserveObjectInstanceName(L"Kitt");
  settle();
  EXPECT_RTI_NAMING("ObjectInstanceNameNotReserved", "Herbie", b.rti->releaseObjectInstanceName(L"Herbie"));
  EXPECT_OK(b.rti->releaseMultipleObjectInstanceName({L"Kitt", L"Knight"}));
  reached(b);
  c.rti->reserveObjectInstanceName(L"Kitt");
  settle();
  EXPECT_THAT(got(a), ElementsAre(cb("startRegistrationForObjectClass", vehicle),
                                  cb("objectInstanceNameReservationSucceeded", std::wstring(L"Herbie"))));
  std::set<std::wstring> const kittAndHerbie = {L"Kitt", L"Herbie"}, kittAndKnight = {L"Kitt", L"Knight"};
  EXPECT_THAT(got(b), ElementsAre(cb("objectInstanceNameReservationFailed", std::wstring(L"Herbie")),
                                  cb("multipleObjectInstanceNameReservationFailed", kittAndHerbie),
                                  cb("multipleObjectInstanceNameReservationSucceeded", kittAndKnight)));
  EXPECT_THAT(got(c), ElementsAre(cb("objectInstanceNameReservationFailed", std::wstring(L"Kitt")),
                                  cb("objectInstanceNameReservationSucceeded", std::wstring(L"Kitt"))));

  ObjectInstanceHandle const herbie = a.rti->registerObjectInstance(vehicle, L"Herbie");
  EXPECT_RTI_NAMING("ObjectInstanceNameInUse", "Herbie", a.rti->registerObjectInstance(vehicle, L"Herbie"));
  std::set<std::wstring> names = {L"Herbie"};
  std::vector<ObjectInstanceHandle> unnamed;
  for (int i = 0; i < 3; ++i) {
    unnamed.push_back(a.rti->registerObjectInstance(vehicle));
    names.insert(a.rti->getObjectInstanceName(unnamed.back()));
  }
  EXPECT_EQ(names.size(), 4u) << "generated names are unique";
  EXPECT_EQ(names.count(L""), 0u);
  settle();
  EXPECT_EQ(got(b).size(), 4u);
  EXPECT_EQ(b.rti->getObjectInstanceHandle(L"Herbie"), herbie);
  EXPECT_EQ(b.rti->getObjectInstanceName(herbie), L"Herbie");
  EXPECT_EQ(b.rti->getKnownObjectClassHandle(herbie), vehicle);
  for (ObjectInstanceHandle object : unnamed) {
    EXPECT_EQ(b.rti->getObjectInstanceHandle(a.rti->getObjectInstanceName(object)), object);
  }
  EXPECT_RTI_NAMING("ObjectInstanceNotKnown", "Herbie", c.rti->getObjectInstanceHandle(L"Herbie"));
  EXPECT_RTI("ObjectInstanceNotKnown", c.rti->getKnownObjectClassHandle(herbie));
}

// Values and tags arrive intact whatever their size, never back to the sender, with the
// producing federate (the module switches it on), and with their time when time-stamped.
TEST_P(Objects, UpdatesAndInteractionsCarryTheirValues) {
  ASSERT_NO_FATAL_FAILURE(start(L"Values", 2, {fom("Vehicles.xml"), fom("Producers.xml")}));
  Federate &a = f(0), &b = f(1);
  for (Federate* fed : {&a, &b}) {
    fed->rti->subscribeObjectClassAttributes(vehicle, {position, speed});
    fed->rti->subscribeInteractionClass(collision);
  }
  a.rti->publishObjectClassAttributes(vehicle, {position, speed});
  a.rti->publishInteractionClass(collision);
  ObjectInstanceHandle const object = a.rti->registerObjectInstance(vehicle);
  a.rti->enableTimeRegulation(HLAinteger64Interval(1));  // time-stamp order needs a regulating sender
  settle();
  got(a);  // b's subscription made the class relevant to a; regulation enabled
  std::string big(1 << 20, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = char(i * 31 + 7);
  SupplementalReflectInfo const byA(a.handle);
  SupplementalReceiveInfo const receivedFromA(a.handle);

  struct Update { AttributeHandleValueMap values; VariableLengthData tag; TransportationType transportation; };
  std::vector<Update> const updates = {{{{position, blob(big)}}, tag(1), RELIABLE},
                                       {{{position, none}}, tag(2), RELIABLE},
                                       {{{speed, blob("s")}}, none, BEST_EFFORT},
                                       {{{speed, none}}, none, BEST_EFFORT}};
  Lines expected = {cb("discoverObjectInstance", object, vehicle, a.rti->getObjectInstanceName(object), a.handle)};
  for (Update const& u : updates) {
    EXPECT_OK(a.rti->updateAttributeValues(object, u.values, u.tag));
    expected.push_back(cb("reflectAttributeValues", object, u.values, u.tag, RECEIVE, u.transportation, byA));
  }
  // Position is time-stamp ordered, Speed receive ordered; both carry their time.
  MessageRetractionHandle const stamped = a.rti->updateAttributeValues(object, {{position, blob("t")}}, tag(3),
                                                                       HLAinteger64Time(9));
  EXPECT_TRUE(stamped.isValid());
  expected.push_back(cb("reflectAttributeValues", object, AttributeHandleValueMap{{position, blob("t")}}, tag(3),
                        TIMESTAMP, RELIABLE, HLAinteger64Time(9), RECEIVE, stamped, byA));
  EXPECT_TRUE(a.rti->updateAttributeValues(object, {{speed, blob("u")}}, tag(4), HLAinteger64Time(10)).isValid());
  expected.push_back(cb("reflectAttributeValues", object, AttributeHandleValueMap{{speed, blob("u")}}, tag(4),
                        RECEIVE, BEST_EFFORT, HLAinteger64Time(10), RECEIVE, byA));

  struct Interaction { ParameterHandleValueMap parameters; VariableLengthData tag; };
  for (Interaction const& i :
       std::vector<Interaction>{{{{driver, blob(big)}}, tag(5)}, {{}, none}, {{{driver, none}}, tag(6)}}) {
    EXPECT_OK(a.rti->sendInteraction(collision, i.parameters, i.tag));
    expected.push_back(cb("receiveInteraction", collision, i.parameters, i.tag, RECEIVE, RELIABLE, receivedFromA));
  }
  MessageRetractionHandle const sent =
      a.rti->sendInteraction(collision, {{driver, blob("w")}}, tag(7), HLAinteger64Time(11));
  EXPECT_TRUE(sent.isValid());
  EXPECT_NE(testing::show(sent), testing::show(stamped));
  expected.push_back(cb("receiveInteraction", collision, ParameterHandleValueMap{{driver, blob("w")}}, tag(7),
                        TIMESTAMP, RELIABLE, HLAinteger64Time(11), RECEIVE, sent, receivedFromA));
  MessageRetractionHandle const deleted = a.rti->deleteObjectInstance(object, tag(8), HLAinteger64Time(12));
  EXPECT_TRUE(deleted.isValid());
  expected.push_back(cb("removeObjectInstance", object, tag(8), TIMESTAMP, HLAinteger64Time(12), RECEIVE, deleted,
                        SupplementalRemoveInfo(a.handle)));
  settle();
  EXPECT_EQ(got(b), expected);
  EXPECT_THAT(got(a), ElementsAre()) << "never back to the sender";
}

// A time-stamped update sends each attribute in its own order type: Position in time-stamp
// order (retractable), Speed in receive order with its time stamp.
TEST_P(Objects, EachAttributeKeepsItsOrderType) {
  ASSERT_NO_FATAL_FAILURE(start(L"Orders", 2));
  Federate &a = f(0), &b = f(1);
  a.rti->publishObjectClassAttributes(vehicle, {position, speed});
  b.rti->subscribeObjectClassAttributes(vehicle, {position, speed});
  ObjectInstanceHandle const object = a.rti->registerObjectInstance(vehicle);
  a.rti->enableTimeRegulation(HLAinteger64Interval(1));  // only a regulating federate sends in time-stamp order
  settle();
  EXPECT_THAT(got(b), ElementsAre(discovered(object, vehicle)));
  MessageRetractionHandle const handle =
      a.rti->updateAttributeValues(object, {{position, blob("p")}, {speed, blob("s")}}, tag(1), HLAinteger64Time(5));
  settle();
  EXPECT_THAT(got(b), UnorderedElementsAre(
                          cb("reflectAttributeValues", object, AttributeHandleValueMap{{position, blob("p")}}, tag(1),
                             TIMESTAMP, RELIABLE, HLAinteger64Time(5), RECEIVE, handle, plain),
                          cb("reflectAttributeValues", object, AttributeHandleValueMap{{speed, blob("s")}}, tag(1),
                             RECEIVE, BEST_EFFORT, HLAinteger64Time(5), RECEIVE, plain)));
}

// Deletion reaches those who know the instance; a local delete forgets it until the next
// update; value requests reach the owner alone; transportation types change and are told.
TEST_P(Objects, DeletionRequestsAndTransportation) {
  ASSERT_NO_FATAL_FAILURE(start(L"Deletion", 4));
  Federate &a = f(0), &b = f(1), &c = f(2), &d = f(3);
  a.rti->publishObjectClassAttributes(vehicle, {position, speed});
  a.rti->publishInteractionClass(collision);
  b.rti->subscribeObjectClassAttributes(vehicle, {position, speed});
  c.rti->subscribeObjectClassAttributes(vehicle, {position});
  ObjectInstanceHandle const first = a.rti->registerObjectInstance(vehicle),
                             second = a.rti->registerObjectInstance(vehicle);
  settle();
  EXPECT_THAT(got(b), ElementsAre(discovered(first, vehicle), discovered(second, vehicle)));
  EXPECT_THAT(got(c), ElementsAre(discovered(first, vehicle), discovered(second, vehicle)));
  got(a);

  EXPECT_OK(b.rti->requestAttributeValueUpdate(first, {speed}, tag(1)));
  EXPECT_OK(c.rti->requestAttributeValueUpdate(vehicle, {position}, tag(2)));
  EXPECT_OK(a.rti->requestAttributeValueUpdate(first, {position}, tag(3)));  // it owns them itself
  settle();
  EXPECT_THAT(got(a),
              UnorderedElementsAre(cb("provideAttributeValueUpdate", first, AttributeHandleSet{speed}, tag(1)),
                                   cb("provideAttributeValueUpdate", first, AttributeHandleSet{position}, tag(2)),
                                   cb("provideAttributeValueUpdate", second, AttributeHandleSet{position}, tag(2))));
  for (Federate* fed : {&b, &c, &d}) EXPECT_THAT(got(*fed), ElementsAre()) << fed->dump();

  EXPECT_OK(a.rti->requestAttributeTransportationTypeChange(first, {position}, BEST_EFFORT));
  reached(a);  // changed before b asks
  EXPECT_RTI_NAMING("AttributeNotOwned", "object instance",
                    b.rti->requestAttributeTransportationTypeChange(first, {position}, BEST_EFFORT));
  EXPECT_OK(a.rti->queryAttributeTransportationType(first, position));
  EXPECT_OK(b.rti->queryAttributeTransportationType(first, position));
  EXPECT_OK(b.rti->queryAttributeTransportationType(second, position));
  EXPECT_OK(a.rti->requestInteractionTransportationTypeChange(collision, BEST_EFFORT));
  reached(a);
  EXPECT_RTI_NAMING("InteractionClassNotPublished", "Collision",
                    b.rti->requestInteractionTransportationTypeChange(collision, BEST_EFFORT));
  EXPECT_OK(b.rti->queryInteractionTransportationType(a.handle, collision));
  EXPECT_OK(b.rti->queryInteractionTransportationType(b.handle, collision));
  reached(b);  // b's reports come before the reflection
  a.rti->updateAttributeValues(first, {{position, blob("p")}}, none);
  settle();
  EXPECT_THAT(got(a), ElementsAre(cb("confirmAttributeTransportationTypeChange", first, AttributeHandleSet{position},
                                     BEST_EFFORT),
                                  cb("reportAttributeTransportationType", first, position, BEST_EFFORT),
                                  cb("confirmInteractionTransportationTypeChange", collision, BEST_EFFORT)));
  std::string const reflected = cb("reflectAttributeValues", first, AttributeHandleValueMap{{position, blob("p")}},
                                   none, RECEIVE, BEST_EFFORT, plain);
  EXPECT_THAT(got(b), ElementsAre(cb("reportAttributeTransportationType", first, position, BEST_EFFORT),
                                  cb("reportAttributeTransportationType", second, position, RELIABLE),
                                  cb("reportInteractionTransportationType", a.handle, collision, BEST_EFFORT),
                                  cb("reportInteractionTransportationType", b.handle, collision, RELIABLE), reflected));
  EXPECT_THAT(got(c), ElementsAre(reflected));

  // A local delete: the owner may not, a subscriber forgets the instance and discovers it
  // again with the next update it subscribes.
  EXPECT_RTI("FederateOwnsAttributes", a.rti->localDeleteObjectInstance(first));
  EXPECT_OK(b.rti->localDeleteObjectInstance(first));
  EXPECT_OK(c.rti->localDeleteObjectInstance(second));
  EXPECT_RTI("ObjectInstanceNotKnown", b.rti->getObjectInstanceName(first));
  EXPECT_RTI("ObjectInstanceNotKnown", b.rti->requestAttributeValueUpdate(first, {speed}, none));
  reached(b);
  a.rti->updateAttributeValues(first, {{speed, blob("s")}}, none);
  settle();
  EXPECT_THAT(got(b), ElementsAre(discovered(first, vehicle),
                                  cb("reflectAttributeValues", first, AttributeHandleValueMap{{speed, blob("s")}}, none,
                                     RECEIVE, BEST_EFFORT, plain)));
  EXPECT_THAT(got(c), ElementsAre());

  // Deletion: everyone who knows the instance is told, nobody else, the deleter not.
  a.rti->deleteObjectInstance(first, tag(4));
  a.rti->deleteObjectInstance(second, tag(5));
  settle();
  std::string const removedFirst = cb("removeObjectInstance", first, tag(4), RECEIVE, plainRemove);
  EXPECT_THAT(got(b), ElementsAre(removedFirst, cb("removeObjectInstance", second, tag(5), RECEIVE, plainRemove)));
  EXPECT_THAT(got(c), ElementsAre(removedFirst));
  for (Federate* fed : {&a, &d}) EXPECT_THAT(got(*fed), ElementsAre());
  for (Federate* fed : {&a, &b, &c}) EXPECT_RTI("ObjectInstanceNotKnown", fed->rti->getObjectInstanceName(first));
  EXPECT_RTI("ObjectInstanceNotKnown", a.rti->updateAttributeValues(first, {{speed, blob("s")}}, none));
}

// The registrant owns what it publishes and the privilege to delete; unpublishing divests;
// resigning deletes or divests as asked, and refuses to leave owned attributes behind.
TEST_P(Objects, OwnershipAsObjectsNeedIt) {
  ASSERT_NO_FATAL_FAILURE(start(L"Ownership", 4));
  Federate &a = f(0), &b = f(1), &c = f(2), &d = f(3);
  for (Federate* fed : {&a, &c, &d}) fed->rti->publishObjectClassAttributes(vehicle, {position});
  b.rti->publishObjectClassAttributes(vehicle, {position, speed});
  b.rti->subscribeObjectClassAttributes(vehicle, {position, speed});
  ObjectInstanceHandle const first = a.rti->registerObjectInstance(vehicle),
                             second = a.rti->registerObjectInstance(vehicle);
  ObjectInstanceHandle const ofC = c.rti->registerObjectInstance(vehicle), ofD = d.rti->registerObjectInstance(vehicle);
  std::string const firstName = narrow(a.rti->getObjectInstanceName(first));
  settle();
  EXPECT_EQ(got(b).size(), 4u);

  EXPECT_OK(a.rti->updateAttributeValues(first, {{position, blob("p")}}, none));
  EXPECT_RTI_NAMING("AttributeNotOwned", "Speed", a.rti->updateAttributeValues(first, {{speed, blob("s")}}, none));
  EXPECT_RTI_NAMING("AttributeNotOwned", "Position",
                    b.rti->updateAttributeValues(first, {{position, blob("p")}}, none));
  EXPECT_RTI_NAMING("DeletePrivilegeNotHeld", firstName, b.rti->deleteObjectInstance(first, none));
  EXPECT_RTI("FederateOwnsAttributes", a.rti->localDeleteObjectInstance(first));
  EXPECT_RTI("FederateOwnsAttributes", a.rti->resignFederationExecution(NO_ACTION));

  // Unpublishing an attribute gives it up; the privilege to delete stays.
  EXPECT_OK(a.rti->unpublishObjectClassAttributes(vehicle, {position}));
  EXPECT_RTI_NAMING("AttributeNotOwned", "Position",
                    a.rti->updateAttributeValues(second, {{position, blob("p")}}, none));
  EXPECT_RTI("FederateOwnsAttributes", a.rti->resignFederationExecution(NO_ACTION));
  EXPECT_RTI_NAMING("AttributeNotOwned", "Position",
                    b.rti->updateAttributeValues(first, {{position, blob("p")}}, none));
  // Unpublishing the class gives up everything, the privilege included.
  EXPECT_OK(c.rti->unpublishObjectClass(vehicle));
  EXPECT_RTI("DeletePrivilegeNotHeld", c.rti->deleteObjectInstance(ofC, none));
  EXPECT_OK(c.rti->resignFederationExecution(NO_ACTION));

  EXPECT_OK(a.rti->resignFederationExecution(DELETE_OBJECTS));
  EXPECT_OK(d.rti->resignFederationExecution(UNCONDITIONALLY_DIVEST_ATTRIBUTES));
  settle();
  // What becomes unowned is offered to b, which publishes it and knows the instances.
  AttributeHandle const privilege = b.rti->getAttributeHandle(vehicle, L"HLAprivilegeToDeleteObject");
  AttributeHandleSet const all = {privilege, position};
  EXPECT_THAT(got(b),
              UnorderedElementsAre(cb("reflectAttributeValues", first, AttributeHandleValueMap{{position, blob("p")}},
                                      none, RECEIVE, RELIABLE, plain),
                                   cb("requestAttributeOwnershipAssumption", first, AttributeHandleSet{position}, none),
                                   cb("requestAttributeOwnershipAssumption", second, AttributeHandleSet{position}, none),
                                   cb("requestAttributeOwnershipAssumption", ofC, all, none),
                                   cb("requestAttributeOwnershipAssumption", ofD, all, none),
                                   cb("removeObjectInstance", first, none, RECEIVE, plainRemove),
                                   cb("removeObjectInstance", second, none, RECEIVE, plainRemove)));
  // What c and d left stays known, and is nobody's to update or delete.
  for (ObjectInstanceHandle left : {ofC, ofD}) {
    EXPECT_OK(b.rti->getObjectInstanceName(left));
    EXPECT_RTI("AttributeNotOwned", b.rti->updateAttributeValues(left, {{position, blob("p")}}, none));
    EXPECT_RTI("DeletePrivilegeNotHeld", b.rti->deleteObjectInstance(left, none));
  }
  EXPECT_RTI("ObjectInstanceNotKnown", b.rti->getObjectInstanceName(first));
  EXPECT_OK(b.rti->resignFederationExecution(NO_ACTION)) << "b never owned anything";
}

// Interactions sent within regions reach the subscribers whose regions overlap them and
// those subscribed without regions; a region moved takes effect when committed.
TEST_P(Objects, InteractionsReachTheRegionsTheyOverlap) {
  ASSERT_NO_FATAL_FAILURE(start(L"Regions", 4));
  Federate &a = f(0), &b = f(1), &c = f(2), &d = f(3);
  RegionHandle const sent = region(a, 2, 4), near = region(b, 3, 6), far = region(c, 4, 8);
  EXPECT_EQ(a.rti->getRangeBounds(sent, lane).getUpperBound(), 4u);
  EXPECT_EQ(b.rti->getDimensionHandleSet(sent), DimensionHandleSet{lane});
  EXPECT_RTI("RegionNotCreatedByThisFederate", b.rti->setRangeBounds(sent, lane, RangeBounds(0, 1)));
  EXPECT_RTI("InvalidRangeBound", a.rti->setRangeBounds(sent, lane, RangeBounds(3, 9)));
  EXPECT_OK(a.rti->publishInteractionClass(collision));
  EXPECT_OK(b.rti->subscribeInteractionClassWithRegions(collision, {near}));
  EXPECT_OK(c.rti->subscribeInteractionClassWithRegions(collision, {far}));
  EXPECT_OK(d.rti->subscribeInteractionClass(collision));
  EXPECT_RTI("RegionNotCreatedByThisFederate",
             a.rti->sendInteractionWithRegions(collision, {{driver, blob("x")}}, {near}, tag(9)));
  EXPECT_RTI("RegionInUseForUpdateOrSubscription", c.rti->deleteRegion(far));
  settle();
  for (Federate* fed : {&a, &b, &c, &d}) got(*fed);

  ParameterHandleValueMap const values{{driver, blob("v")}};
  std::string const heard = cb("receiveInteraction", collision, values, tag(1), RECEIVE, RELIABLE, plainReceive);
  EXPECT_OK(a.rti->sendInteractionWithRegions(collision, values, {sent}, tag(1)));
  settle();
  EXPECT_THAT(got(b), ElementsAre(heard)) << "[2, 4) meets [3, 6)";
  EXPECT_THAT(got(c), IsEmpty()) << "[2, 4) does not meet [4, 8)";
  EXPECT_THAT(got(d), ElementsAre(heard)) << "subscribed without regions";

  c.rti->setRangeBounds(far, lane, RangeBounds(0, 3));
  EXPECT_OK(c.rti->commitRegionModifications({far}));
  settle();
  a.rti->sendInteractionWithRegions(collision, values, {sent}, tag(2), HLAinteger64Time(3));  // a does not regulate
  settle();
  EXPECT_THAT(got(c), ElementsAre(cb("receiveInteraction", collision, values, tag(2), RECEIVE, RELIABLE,
                                     HLAinteger64Time(3), RECEIVE, plainReceive)))
      << "moved to [0, 3)";
  EXPECT_OK(c.rti->unsubscribeInteractionClassWithRegions(collision, {far}));
  EXPECT_OK(c.rti->deleteRegion(far));
  settle();
  EXPECT_RTI("InvalidRegion", b.rti->getDimensionHandleSet(far));
}

// Updates within regions reach, and make discover, the subscribers whose regions overlap
// the attribute's update regions; a subscriber moved into overlap discovers the instance with
// the next update.
TEST_P(Objects, UpdatesReachTheRegionsTheyOverlap) {
  ASSERT_NO_FATAL_FAILURE(start(L"UpdateRegions", 3));
  Federate &a = f(0), &b = f(1), &c = f(2);
  RegionHandle const near = region(b, 3, 6), far = region(c, 4, 8), updates = region(a, 2, 4);
  EXPECT_OK(a.rti->publishObjectClassAttributes(vehicle, {position}));
  EXPECT_OK(b.rti->subscribeObjectClassAttributesWithRegions(vehicle, {{{position}, {near}}}));
  EXPECT_OK(c.rti->subscribeObjectClassAttributesWithRegions(vehicle, {{{position}, {far}}}));
  settle();
  ObjectInstanceHandle const v = a.rti->registerObjectInstanceWithRegions(vehicle, {{{position}, {updates}}});
  settle();
  EXPECT_THAT(got(b), ElementsAre(discovered(v, vehicle))) << "[2, 4) meets [3, 6)";
  EXPECT_THAT(got(c), IsEmpty()) << "[2, 4) does not meet [4, 8)";

  c.rti->setRangeBounds(far, lane, RangeBounds(3, 4));
  EXPECT_OK(c.rti->commitRegionModifications({far}));
  settle();
  EXPECT_OK(a.rti->updateAttributeValues(v, {{position, blob("p")}}, tag(1)));
  settle();
  std::string const reflected =
      cb("reflectAttributeValues", v, AttributeHandleValueMap{{position, blob("p")}}, tag(1), RECEIVE, RELIABLE, plain);
  EXPECT_THAT(got(b), ElementsAre(reflected));
  EXPECT_THAT(got(c), ElementsAre(discovered(v, vehicle), reflected)) << "moved into overlap";

  got(a);  // the class became relevant
  EXPECT_OK(b.rti->requestAttributeValueUpdateWithRegions(vehicle, {{{position}, {near}}}, tag(2)));
  settle();
  EXPECT_THAT(got(a), ElementsAre(cb("provideAttributeValueUpdate", v, AttributeHandleSet{position}, tag(2))));

  // Updated within [2, 4) and [5, 6), then within [5, 6) alone, which c's [3, 4) does not meet.
  RegionHandle const other = region(a, 5, 6);
  EXPECT_OK(a.rti->associateRegionsForUpdates(v, {{{position}, {other}}}));
  EXPECT_RTI("RegionInUseForUpdateOrSubscription", a.rti->deleteRegion(updates));
  EXPECT_OK(a.rti->unassociateRegionsForUpdates(v, {{{position}, {updates}}}));
  EXPECT_OK(a.rti->deleteRegion(updates));
  EXPECT_OK(b.rti->unsubscribeObjectClassAttributesWithRegions(vehicle, {{{position}, {near}}}));
  EXPECT_OK(c.rti->subscribeObjectClassAttributesWithRegions(vehicle, {{{position}, {region(c, 5, 8)}}}, false));
  settle();
  EXPECT_OK(a.rti->updateAttributeValues(v, {{position, blob("p")}}, tag(3)));
  settle();
  EXPECT_THAT(got(b), IsEmpty()) << "no longer subscribed";
  EXPECT_THAT(got(c), ElementsAre(cb("reflectAttributeValues", v, AttributeHandleValueMap{{position, blob("p")}}, tag(3),
                                     RECEIVE, RELIABLE, plain)))
      << "[5, 6) meets the passive [5, 8), not [3, 4)";
}

// A region moving in and out of overlap while updates flow: the subscriber discovers the
// instance when overlap begins, hears it is in scope and out of scope as overlap comes and
// goes, and is told the update region that carried each reflection; the owner is told to
// turn updates on and off with it.
TEST_P(Objects, ScopeFollowsRegionsAsTheyMove) {
  ASSERT_NO_FATAL_FAILURE(start(L"Scope", 2, {fom("Vehicles.xml"), fom("ConveyRegions.xml")}));
  Federate &a = f(0), &b = f(1);
  a.rti->enableAttributeRelevanceAdvisorySwitch();
  b.rti->enableAttributeScopeAdvisorySwitch();
  RegionHandle const mine = region(b, 5, 8), updates = region(a, 2, 4);
  EXPECT_OK(a.rti->publishObjectClassAttributes(vehicle, {position}));
  EXPECT_OK(b.rti->subscribeObjectClassAttributesWithRegions(vehicle, {{{position}, {mine}}}));
  ObjectInstanceHandle const v = a.rti->registerObjectInstanceWithRegions(vehicle, {{{position}, {updates}}});
  settle();
  EXPECT_THAT(got(a), ElementsAre(cb("startRegistrationForObjectClass", vehicle)))
      << "a class is relevant wherever its subscribers' regions are; [2, 4) does not meet [5, 8)";
  EXPECT_THAT(got(b), IsEmpty());

  AttributeHandleSet const positionOnly = {position};
  AttributeHandleValueMap const values{{position, blob("p")}};
  std::string const reflected =
      cb("reflectAttributeValues", v, values, tag(1), RECEIVE, RELIABLE, SupplementalReflectInfo(RegionHandleSet{updates}));
  struct Step {
    char const* why;
    Federate* mover;
    RegionHandle moved;
    unsigned long lower, upper;
    std::vector<std::string> owner, subscriber;
  } const steps[] = {
      {"the subscriber moves to [3, 6)", &b, mine, 3, 6,
       {cb("turnUpdatesOnForObjectInstance", v, positionOnly)},
       {discovered(v, vehicle), cb("attributesInScope", v, positionOnly), reflected}},
      {"the update region moves to [6, 8)", &a, updates, 6, 8,
       {cb("turnUpdatesOffForObjectInstance", v, positionOnly)}, {cb("attributesOutOfScope", v, positionOnly)}},
      {"the update region moves back to [4, 5)", &a, updates, 4, 5,
       {cb("turnUpdatesOnForObjectInstance", v, positionOnly)}, {cb("attributesInScope", v, positionOnly), reflected}},
      {"a move within overlap changes nothing", &b, mine, 4, 8, {}, {reflected}},
  };
  for (Step const& step : steps) {
    step.mover->rti->setRangeBounds(step.moved, lane, RangeBounds(step.lower, step.upper));
    EXPECT_OK(step.mover->rti->commitRegionModifications({step.moved}));
    settle();
    EXPECT_OK(a.rti->updateAttributeValues(v, values, tag(1)));
    settle();
    EXPECT_EQ(got(a), step.owner) << step.why;
    EXPECT_EQ(got(b), step.subscriber) << step.why;
  }
}

// Each advisory is given when its answer changes, once, and only with its switch on.
TEST_P(Objects, AdvisoriesOncePerChange) {
  ASSERT_NO_FATAL_FAILURE(start(L"Advisories", 3));
  Federate &p = f(0), &s = f(1), &t = f(2);
  p.rti->enableInteractionRelevanceAdvisorySwitch();
  p.rti->enableAttributeRelevanceAdvisorySwitch();
  s.rti->enableAttributeScopeAdvisorySwitch();
  p.rti->publishObjectClassAttributes(vehicle, {position, speed});
  p.rti->publishInteractionClass(collision);
  ObjectInstanceHandle const object = p.rti->registerObjectInstance(vehicle);
  settle();
  EXPECT_THAT(got(p), ElementsAre()) << "nobody is interested yet";

  AttributeHandleSet const positionOnly = {position};
  s.rti->subscribeObjectClassAttributes(vehicle, positionOnly, true, L"Fast");
  s.rti->subscribeInteractionClass(collision);
  settle();
  EXPECT_THAT(got(p), ElementsAre(cb("startRegistrationForObjectClass", vehicle),
                                  cb("turnUpdatesOnForObjectInstance", object, positionOnly, std::wstring(L"Fast")),
                                  cb("turnInteractionsOn", collision)));
  EXPECT_THAT(got(s), ElementsAre(discovered(object, vehicle), cb("attributesInScope", object, positionOnly)));

  // A second subscriber changes no answer; t's scope switch is off.
  t.rti->subscribeObjectClassAttributes(vehicle, positionOnly);
  t.rti->subscribeInteractionClass(collision);
  settle();
  EXPECT_THAT(got(p), ElementsAre());
  EXPECT_THAT(got(t), ElementsAre(discovered(object, vehicle)));
  s.rti->unsubscribeObjectClass(vehicle);
  s.rti->unsubscribeInteractionClass(collision);
  settle();
  EXPECT_THAT(got(p), ElementsAre());
  EXPECT_THAT(got(s), ElementsAre(cb("attributesOutOfScope", object, positionOnly)));
  t.rti->unsubscribeObjectClass(vehicle);
  t.rti->unsubscribeInteractionClass(collision);
  settle();
  EXPECT_THAT(got(p), ElementsAre(cb("stopRegistrationForObjectClass", vehicle),
                                  cb("turnUpdatesOffForObjectInstance", object, positionOnly),
                                  cb("turnInteractionsOff", collision)));
  EXPECT_THAT(got(t), ElementsAre());

  // With p's switches off, interest comes and goes unannounced; s's scope still changes.
  p.rti->disableObjectClassRelevanceAdvisorySwitch();
  p.rti->disableInteractionRelevanceAdvisorySwitch();
  p.rti->disableAttributeRelevanceAdvisorySwitch();
  reached(p);
  s.rti->subscribeObjectClassAttributes(vehicle, positionOnly);
  s.rti->subscribeInteractionClass(collision);
  settle();
  EXPECT_THAT(got(p), ElementsAre());
  EXPECT_THAT(got(s), ElementsAre(cb("attributesInScope", object, positionOnly)));
}

// A passive subscription receives like an active one but makes nothing relevant to others.
TEST_P(Objects, PassiveSubscriptionsAdviseNobody) {
  ASSERT_NO_FATAL_FAILURE(start(L"Passive", 2));
  Federate &p = f(0), &t = f(1);
  p.rti->enableInteractionRelevanceAdvisorySwitch();
  p.rti->enableAttributeRelevanceAdvisorySwitch();
  p.rti->publishObjectClassAttributes(vehicle, {position});
  p.rti->publishInteractionClass(collision);
  ObjectInstanceHandle const object = p.rti->registerObjectInstance(vehicle);
  t.rti->subscribeObjectClassAttributes(vehicle, {position}, false);
  t.rti->subscribeInteractionClass(collision, false);
  settle();
  EXPECT_THAT(got(p), ElementsAre());
  EXPECT_THAT(got(t), ElementsAre(discovered(object, vehicle)));
  t.rti->subscribeObjectClassAttributes(vehicle, {position}, true);
  t.rti->subscribeInteractionClass(collision, true);
  settle();
  EXPECT_THAT(got(p), ElementsAre(cb("startRegistrationForObjectClass", vehicle),
                                  cb("turnUpdatesOnForObjectInstance", object, AttributeHandleSet{position}),
                                  cb("turnInteractionsOn", collision)));
}

// The update rate an owner is asked for is that of the subscriptions of those attributes.
TEST_P(Objects, UpdateRatesBelongToTheirAttributes) {
  ASSERT_NO_FATAL_FAILURE(start(L"Rates", 3));
  Federate &p = f(0), &t = f(1), &u = f(2);
  p.rti->enableAttributeRelevanceAdvisorySwitch();
  p.rti->publishObjectClassAttributes(vehicle, {position, speed});
  ObjectInstanceHandle const object = p.rti->registerObjectInstance(vehicle);
  t.rti->subscribeObjectClassAttributes(vehicle, {position}, true, L"Fast");
  settle();
  u.rti->subscribeObjectClassAttributes(vehicle, {speed});
  settle();
  EXPECT_THAT(got(p), ElementsAre(cb("startRegistrationForObjectClass", vehicle),
                                  cb("turnUpdatesOnForObjectInstance", object, AttributeHandleSet{position},
                                     std::wstring(L"Fast")),
                                  cb("turnUpdatesOnForObjectInstance", object, AttributeHandleSet{speed})));
}

// A wrong call is refused with the exception its service lists and a message naming what
// was wrong; nothing is delivered and nothing changes.
TEST_P(Objects, WrongCallsChangeNothing) {
  ASSERT_NO_FATAL_FAILURE(start(L"Wrong", 3));
  Federate &a = f(0), &b = f(1), &c = f(2);
  a.rti->publishObjectClassAttributes(vehicle, {position, speed});
  a.rti->publishInteractionClass(collision);
  for (Federate* fed : {&b, &c}) {
    fed->rti->subscribeObjectClassAttributes(vehicle, {position, speed});
    fed->rti->subscribeInteractionClass(collision);
  }
  ObjectInstanceHandle const object = a.rti->registerObjectInstance(vehicle);
  std::string const objectName = narrow(a.rti->getObjectInstanceName(object));
  settle();
  for (Federate* fed : {&a, &b, &c}) fed->take();

  auto const unknown = ObjectInstanceHandleFriend::fromNumber(4242);
  auto const noClass = ObjectClassHandleFriend::fromNumber(9999);
  auto const noInteraction = InteractionClassHandleFriend::fromNumber(9999);
  AttributeHandleValueMap const good = {{position, blob("p")}};
  struct Row { char const* what; char const* exception; std::string named; std::function<void()> call; };
  for (Row const& row : std::vector<Row>{
           {"update of an attribute not owned", "AttributeNotOwned", "Position",
            [&] { b.rti->updateAttributeValues(object, good, none); }},
           {"update of an instance not known", "ObjectInstanceNotKnown", "4242",
            [&] { a.rti->updateAttributeValues(unknown, good, none); }},
           {"update with an attribute of another class", "AttributeNotDefined", "Vehicle",
            [&] { a.rti->updateAttributeValues(object, {{position, blob("p")}, {load, blob("l")}}, none); }},
           {"time-stamped update of an attribute not owned", "AttributeNotOwned", "Position",
            [&] { c.rti->updateAttributeValues(object, good, none, HLAinteger64Time(3)); }},
           {"interaction not published", "InteractionClassNotPublished", "Collision",
            [&] { b.rti->sendInteraction(collision, {{driver, blob("v")}}, none); }},
           {"parameter of another class", "InteractionParameterNotDefined", "Collision",
            [&] { a.rti->sendInteraction(collision, {{driver, blob("v")}, {count, blob("2")}}, none); }},
           {"interaction class that does not exist", "InteractionClassNotDefined", "9999",
            [&] { a.rti->sendInteraction(noInteraction, {}, none); }},
           {"register of a class that does not exist", "ObjectClassNotDefined", "9999",
            [&] { a.rti->registerObjectInstance(noClass); }},
           {"publish of a class that does not exist", "ObjectClassNotDefined", "9999",
            [&] { a.rti->publishObjectClassAttributes(noClass, {position}); }},
           {"publish of an attribute of another class", "AttributeNotDefined", "Vehicle",
            [&] { a.rti->publishObjectClassAttributes(vehicle, {position, load}); }},
           {"subscribe to a class that does not exist", "ObjectClassNotDefined", "9999",
            [&] { b.rti->subscribeObjectClassAttributes(noClass, {position}); }},
           {"delete without the privilege", "DeletePrivilegeNotHeld", objectName,
            [&] { b.rti->deleteObjectInstance(object, none); }},
           {"request for an instance not known", "ObjectInstanceNotKnown", "4242",
            [&] { b.rti->requestAttributeValueUpdate(unknown, {position}, none); }},
           {"request with an attribute of another class", "AttributeNotDefined", "Vehicle",
            [&] { b.rti->requestAttributeValueUpdate(object, {load}, none); }}}) {
    EXPECT_THAT(outcome(row.call),
                ::testing::AllOf(StartsWith(std::string(row.exception) + ": "), HasSubstr(row.named)))
        << row.what;
  }
  settle();
  for (Federate* fed : {&a, &b, &c}) EXPECT_THAT(got(*fed), ElementsAre()) << fed->dump();

  // Everything still works as before: a still publishes and owns, b and c still subscribe.
  a.rti->updateAttributeValues(object, good, none);
  a.rti->sendInteraction(collision, {{driver, blob("v")}}, none);
  settle();
  for (Federate* fed : {&b, &c}) {
    EXPECT_THAT(got(*fed), ElementsAre(cb("reflectAttributeValues", object, good, none, RECEIVE, RELIABLE, plain),
                                       cb("receiveInteraction", collision, ParameterHandleValueMap{{driver, blob("v")}},
                                          none, RECEIVE, RELIABLE, plainReceive)));
  }
  EXPECT_THAT(got(a), ElementsAre());
}


INSTANTIATE_TEST_SUITE_P(Models, Objects, ::testing::Values(HLA_EVOKED, HLA_IMMEDIATE),
                         [](::testing::TestParamInfo<CallbackModel> const& info) {
                           return info.param == HLA_EVOKED ? "Evoked" : "Immediate";
                         });

}  // namespace
}  // namespace ostra1516e
