// End-to-end tests of the management object model through the public API: a monitor
// federate that knows the federation only from HLAmanager objects and interactions sees
// every federate appear, change and leave, asks for reports and adjusts another federate.
// Each scenario runs in both callback models.
#include <RTI/RTI1516.h>
#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/HLAopaqueData.h>
#include <RTI/encoding/HLAvariableArray.h>
#include <RTI/time/HLAinteger64Time.h>

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "core_support.h"

namespace ostra1516e {
namespace {

using namespace coretest;

// Monitor keeps the last value of every attribute it reflected and every interaction it
// received, beside the lines every federate records.
class Monitor : public Federate {
 public:
  using Federate::Federate;

  void reflectAttributeValues(ObjectInstanceHandle object, AttributeHandleValueMap const& values,
                              VariableLengthData const& tag, OrderType order, TransportationType type,
                              SupplementalReflectInfo info) override {
    {
      std::lock_guard<std::mutex> lock(valuesMutex);
      for (auto const& value : values) latest[object][value.first] = value.second;
    }
    Federate::reflectAttributeValues(object, values, tag, order, type, info);
  }
  void receiveInteraction(InteractionClassHandle kind, ParameterHandleValueMap const& values,
                          VariableLengthData const& tag, OrderType order, TransportationType type,
                          SupplementalReceiveInfo info) override {
    {
      std::lock_guard<std::mutex> lock(valuesMutex);
      received[kind].push_back(values);
    }
    Federate::receiveInteraction(kind, values, tag, order, type, info);
  }

  void discoverObjectInstance(ObjectInstanceHandle object, ObjectClassHandle kind, std::wstring const& name) override {
    {
      std::lock_guard<std::mutex> lock(valuesMutex);
      names[name] = object;
    }
    Federate::discoverObjectInstance(object, kind, name);
  }
  void discoverObjectInstance(ObjectInstanceHandle object, ObjectClassHandle kind, std::wstring const& name,
                              FederateHandle producer) override {
    {
      std::lock_guard<std::mutex> lock(valuesMutex);
      names[name] = object;
    }
    Federate::discoverObjectInstance(object, kind, name, producer);
  }
  ObjectInstanceHandle discovered(std::wstring const& name) {
    std::lock_guard<std::mutex> lock(valuesMutex);
    return names[name];
  }

  // value is the last value of an attribute of an object, empty when none came.
  VariableLengthData value(ObjectInstanceHandle object, AttributeHandle attribute) {
    std::lock_guard<std::mutex> lock(valuesMutex);
    return latest[object][attribute];
  }
  std::vector<ParameterHandleValueMap> reports(InteractionClassHandle kind) {
    std::lock_guard<std::mutex> lock(valuesMutex);
    return received[kind];
  }

 private:
  std::mutex valuesMutex;
  std::map<ObjectInstanceHandle, std::map<AttributeHandle, VariableLengthData>> latest;
  std::map<InteractionClassHandle, std::vector<ParameterHandleValueMap>> received;
  std::map<std::wstring, ObjectInstanceHandle> names;
};

std::wstring text(VariableLengthData const& data) {
  HLAunicodeString decoded;
  decoded.decode(data);
  return decoded.get();
}
// The decoders below give an empty value for an attribute whose value has not come yet.
int32_t number(VariableLengthData const& data) {
  if (data.size() == 0) return -1;
  HLAinteger32BE decoded;
  decoded.decode(data);
  return decoded.get();
}
VariableLengthData opaque(VariableLengthData const& data) {
  HLAopaqueData decoded;
  decoded.decode(data);
  return VariableLengthData(decoded.get(), decoded.dataLength());
}
VariableLengthData handleValue(FederateHandle handle) {
  return HLAopaqueData(static_cast<Octet const*>(handle.encode().data()), handle.encodedLength()).encode();
}
std::vector<FederateHandle> handleList(RTIambassador& rti, VariableLengthData const& data) {
  HLAvariableArray list{HLAopaqueData()};
  if (data.size() == 0) return {};
  list.decode(data);
  std::vector<FederateHandle> handles;
  for (size_t i = 0; i < list.size(); ++i) {
    auto const& element = static_cast<HLAopaqueData const&>(list.get(i));
    handles.push_back(rti.decodeFederateHandle(VariableLengthData(element.get(), element.dataLength())));
  }
  return handles;
}

class Mom : public Members {
 protected:
  // start joins a monitor (federate a, of the Monitor class) and others b, c... and makes
  // the monitor subscribe to the MOM classes it watches.
  void start(wchar_t const* base, size_t others) {
    federation = name(base);
    auto first = std::make_unique<Monitor>(GetParam());
    monitor = first.get();
    federates.push_back(std::move(first));
    for (size_t i = 0; i < others; ++i) federates.push_back(std::make_unique<Federate>(GetParam()));
    for (auto& fed : federates) fed->connect();
    ASSERT_OK(f(0).rti->createFederationExecution(federation, {fom("Vehicles.xml")}, L"HLAinteger64Time"));
    for (size_t i = 0; i < federates.size(); ++i) {
      ASSERT_OK(federates[i]->join(std::wstring(1, wchar_t(L'a' + i)), federation));
    }
    RTIambassador& rti = *monitor->rti;
    federateClass = rti.getObjectClassHandle(L"HLAmanager.HLAfederate");
    federationClass = rti.getObjectClassHandle(L"HLAmanager.HLAfederation");
    AttributeHandleSet watched;
    for (wchar_t const* a : {L"HLAfederateHandle", L"HLAfederateName", L"HLAtimeRegulating", L"HLAupdatesSent",
                             L"HLAconveyProducingFederate", L"HLAlogicalTime"}) {
      watched.insert(attr[a] = rti.getAttributeHandle(federateClass, a));
    }
    attr[L"HLAfederatesInFederation"] = rti.getAttributeHandle(federationClass, L"HLAfederatesInFederation");
    ASSERT_OK(rti.subscribeObjectClassAttributes(federateClass, watched));
    ASSERT_OK(rti.subscribeObjectClassAttributes(federationClass, {attr[L"HLAfederatesInFederation"]}));
    for (wchar_t const* r : {L"HLAreportInteractionPublication", L"HLAreportMOMexception"}) {
      report[r] = rti.getInteractionClassHandle(std::wstring(L"HLAmanager.HLAfederate.HLAreport.") + r);
      ASSERT_OK(rti.subscribeInteractionClass(report[r]));
    }
  }

  // objectOf waits until the monitor has discovered the HLAfederate object of fed, named
  // after its handle, and has its name, and returns it.
  ObjectInstanceHandle objectOf(Federate& fed) {
    std::wstring const name = L"HLAfederate" + std::to_wstring(number(fed.handle.encode()));
    ObjectInstanceHandle found;
    monitor->waitFor([&](Lines const&) {
      found = monitor->discovered(name);
      return found.isValid() && monitor->value(found, attr[L"HLAfederateName"]).size() > 0;
    });
    return found;
  }

  // send makes the monitor send a MOM interaction about fed with further parameters.
  void send(std::wstring const& kind, Federate& about, std::map<std::wstring, VariableLengthData> more = {},
            bool badHandle = false) {
    RTIambassador& rti = *monitor->rti;
    InteractionClassHandle const c = rti.getInteractionClassHandle(L"HLAmanager.HLAfederate." + kind);
    rti.publishInteractionClass(c);
    ParameterHandleValueMap values;
    unsigned char const three[] = {0, 0, 0, 3, 1, 2, 3, 0};
    values[rti.getParameterHandle(c, L"HLAfederate")] =
        badHandle ? VariableLengthData(three, sizeof three) : handleValue(about.handle);
    for (auto const& m : more) values[rti.getParameterHandle(c, m.first)] = m.second;
    ASSERT_OK(rti.sendInteraction(c, values, tag(0)));
  }

  Monitor* monitor = nullptr;
  ObjectClassHandle federateClass, federationClass;
  std::map<std::wstring, AttributeHandle> attr;
  std::map<std::wstring, InteractionClassHandle> report;
};

// The monitor sees each federate's object with its name and handle, its regulation switched
// on, its time advance and its update count on request, owned by the RTI; it asks for b's publications, switches c's conveying of
// producers on, is told that a request with a damaged handle is malformed, has b's service
// invocations reported, and makes c resign and sees it leave.
TEST_P(Mom, AMonitorWatchesAndAdjustsTheFederation) {
  ASSERT_NO_FATAL_FAILURE(start(L"Mom", 2));
  Federate &b = f(1), &c = f(2);
  RTIambassador& rti = *monitor->rti;
  std::map<Federate*, ObjectInstanceHandle> objects;
  for (Federate* fed : {static_cast<Federate*>(monitor), &b, &c}) {
    objects[fed] = objectOf(*fed);
    ASSERT_EQ(text(monitor->value(objects[fed], attr[L"HLAfederateName"])),
              std::wstring(1, wchar_t(L'a' + (fed == monitor ? 0 : fed == &b ? 1 : 2)))) << monitor->dump();
    EXPECT_EQ(rti.decodeFederateHandle(opaque(monitor->value(objects[fed], attr[L"HLAfederateHandle"]))), fed->handle);
  }
  ObjectInstanceHandle federationObject;
  ASSERT_TRUE(monitor->waitFor([&](Lines const&) {
    return (federationObject = monitor->discovered(L"HLAfederation")).isValid();
  })) << monitor->dump();
  auto members = [&] { return handleList(rti, monitor->value(federationObject, attr[L"HLAfederatesInFederation"])); };
  EXPECT_TRUE(monitor->waitFor([&](Lines const&) { return members().size() == 3; })) << monitor->dump();

  auto lookahead = b.rti->getTimeFactory()->makeEpsilon();
  ASSERT_OK(b.rti->enableTimeRegulation(*lookahead));
  EXPECT_TRUE(monitor->waitFor([&](Lines const&) {
    return number(monitor->value(objects[&b], attr[L"HLAtimeRegulating"])) == 1;
  })) << monitor->dump();

  // b's time advance shows in its object; its attributes are the RTI's.
  ASSERT_TRUE(b.waitForCount("timeRegulationEnabled(", 1)) << b.dump();
  ASSERT_OK(b.rti->timeAdvanceRequest(HLAinteger64Time(3)));
  ASSERT_TRUE(b.waitFor(cb("timeAdvanceGrant", HLAinteger64Time(3)))) << b.dump();
  AttributeHandle const logicalTime = attr[L"HLAlogicalTime"];
  ASSERT_OK(rti.requestAttributeValueUpdate(objects[&b], {logicalTime}, tag(3)));
  EXPECT_TRUE(monitor->waitFor([&](Lines const&) {
    VariableLengthData const value = monitor->value(objects[&b], logicalTime);
    if (value.size() == 0) return false;
    HLAinteger64Time time;
    time.decode(opaque(value));
    return time == HLAinteger64Time(3);
  })) << monitor->dump();
  ASSERT_OK(rti.queryAttributeOwnership(objects[&b], attr[L"HLAfederateName"]));
  EXPECT_TRUE(monitor->waitFor(cb("attributeIsOwnedByRTI", objects[&b], attr[L"HLAfederateName"])))
      << monitor->dump();

  ObjectClassHandle const vehicle = b.rti->getObjectClassHandle(L"Vehicle");
  AttributeHandle const position = b.rti->getAttributeHandle(vehicle, L"Position");
  ASSERT_OK(b.rti->publishObjectClassAttributes(vehicle, {position}));
  InteractionClassHandle const collision = b.rti->getInteractionClassHandle(L"Collision");
  ASSERT_OK(b.rti->publishInteractionClass(collision));
  ObjectInstanceHandle const car = b.rti->registerObjectInstance(vehicle);
  for (int i = 0; i < 2; ++i) ASSERT_OK(b.rti->updateAttributeValues(car, {{position, tag(1)}}, tag(2)));
  reached(b);
  ASSERT_OK(rti.requestAttributeValueUpdate(objects[&b], {attr[L"HLAupdatesSent"]}, tag(3)));
  EXPECT_TRUE(monitor->waitFor([&](Lines const&) {
    return number(monitor->value(objects[&b], attr[L"HLAupdatesSent"])) == 2;
  })) << monitor->dump();

  ASSERT_NO_FATAL_FAILURE(send(L"HLArequest.HLArequestPublications", b));
  InteractionClassHandle const publication = report[L"HLAreportInteractionPublication"];
  ASSERT_TRUE(monitor->waitFor([&](Lines const&) { return monitor->reports(publication).size() == 1; }))
      << monitor->dump();
  ParameterHandleValueMap answer = monitor->reports(publication)[0];
  EXPECT_EQ(rti.decodeFederateHandle(opaque(answer[rti.getParameterHandle(publication, L"HLAfederate")])), b.handle);
  HLAvariableArray classes{HLAopaqueData()};
  classes.decode(answer[rti.getParameterHandle(publication, L"HLAinteractionClassList")]);
  ASSERT_EQ(classes.size(), 1u);
  auto const& only = static_cast<HLAopaqueData const&>(classes.get(0));
  EXPECT_EQ(rti.decodeInteractionClassHandle(VariableLengthData(only.get(), only.dataLength())), collision);

  HLAinteger32BE const enabled(1);
  ASSERT_NO_FATAL_FAILURE(send(L"HLAadjust.HLAsetSwitches", c, {{L"HLAconveyProducingFederate", enabled.encode()}}));
  EXPECT_TRUE(monitor->waitFor([&](Lines const&) {
    return number(monitor->value(objects[&c], attr[L"HLAconveyProducingFederate"])) == 1;
  })) << monitor->dump();

  ASSERT_NO_FATAL_FAILURE(send(L"HLArequest.HLArequestPublications", b, {}, true));
  InteractionClassHandle const exception = report[L"HLAreportMOMexception"];
  ASSERT_TRUE(monitor->waitFor([&](Lines const&) { return monitor->reports(exception).size() == 1; }))
      << monitor->dump();
  ParameterHandleValueMap failure = monitor->reports(exception)[0];
  EXPECT_EQ(rti.decodeFederateHandle(opaque(failure[rti.getParameterHandle(exception, L"HLAfederate")])),
            monitor->handle);
  EXPECT_EQ(text(failure[rti.getParameterHandle(exception, L"HLAservice")]), L"HLArequestPublications");
  EXPECT_THAT(narrow(text(failure[rti.getParameterHandle(exception, L"HLAexception")])), HasSubstr("3 bytes"));

  // b's service invocations reported while asked for; it may not subscribe to those reports then.
  InteractionClassHandle const invocation =
      rti.getInteractionClassHandle(L"HLAmanager.HLAfederate.HLAreport.HLAreportServiceInvocation");
  ASSERT_OK(rti.subscribeInteractionClass(invocation));
  ASSERT_NO_FATAL_FAILURE(send(L"HLAadjust.HLAsetServiceReporting", b, {{L"HLAreportingState", enabled.encode()}}));
  reached(*monitor), reached(b);
  EXPECT_RTI("FederateServiceInvocationsAreBeingReportedViaMOM", b.rti->subscribeInteractionClass(invocation));
  ASSERT_OK(b.rti->unpublishInteractionClass(collision));
  auto reportOf = [&](std::wstring const& service) {
    for (auto& values : monitor->reports(invocation)) {
      if (text(values[rti.getParameterHandle(invocation, L"HLAservice")]) == service) return values;
    }
    return ParameterHandleValueMap();
  };
  ASSERT_TRUE(monitor->waitFor([&](Lines const&) { return !reportOf(L"unpublishInteractionClass").empty(); }))
      << monitor->dump();
  EXPECT_EQ(number(reportOf(L"unpublishInteractionClass")[rti.getParameterHandle(invocation, L"HLAsuccessIndicator")]),
            1);
  EXPECT_THAT(narrow(text(reportOf(L"subscribeInteractionClass")[rti.getParameterHandle(invocation,
      L"HLAexception")])), HasSubstr("FederateServiceInvocationsAreBeingReportedViaMOM"));

  // The monitor makes c resign, which c's component carries out as c's own call.
  HLAinteger32BE const cancelThenDeleteThenDivest(5);
  ASSERT_NO_FATAL_FAILURE(send(L"HLAservice.HLAresignFederationExecution", c,
                               {{L"HLAresignAction", cancelThenDeleteThenDivest.encode()}}));
  auto const deadline = Clock::now() + std::chrono::seconds(5);  // c evokes (or sleeps) until it has left
  while (outcome([&] { c.rti->getFederateName(c.handle); }) == "ok" && Clock::now() < deadline) {
    c.rti->evokeCallback(0.05);
  }
  EXPECT_RTI("FederateNotExecutionMember", c.rti->getFederateName(c.handle));
  EXPECT_TRUE(monitor->waitFor([&](Lines const& lines) {
    return std::any_of(lines.begin(), lines.end(), [&](std::string const& line) {
      return line.rfind("removeObjectInstance(" + testing::show(objects[&c]), 0) == 0;
    }) && members().size() == 2;
  })) << monitor->dump();
  EXPECT_EQ(members(), (std::vector<FederateHandle>{monitor->handle, b.handle}));
}

INSTANTIATE_TEST_SUITE_P(Models, Mom, ::testing::Values(HLA_EVOKED, HLA_IMMEDIATE),
                         [](::testing::TestParamInfo<CallbackModel> const& info) {
                           return std::string(info.param == HLA_EVOKED ? "Evoked" : "Immediate");
                         });

}  // namespace
}  // namespace ostra1516e
