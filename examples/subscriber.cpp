// subscriber: a federate that watches vehicles.
//
//   connect, create the federation (or find it created), join
//   subscribe to the Vehicle class's attributes
//   print every discovery, reflection and removal, until a vehicle it saw is removed
//   resign; destroy the federation unless others are still in it
//
// subscriber [--rti rti://HOST:PORT] [FOM]: through the federation engine in this process,
// or a federation server; the object model is fom/Demo.xml, or the module FOM.
#include <RTI/NullFederateAmbassador.h>
#include <RTI/RTI1516.h>

#include <chrono>
#include <map>
#include <memory>

#include "demo_values.h"
#include "pubsub.h"

namespace {

// The callbacks the subscriber cares about. In the HLA_EVOKED model they run inside
// evokeMultipleCallbacks, on the thread that calls it.
class SubscriberCallbacks : public rti1516e::NullFederateAmbassador {
 public:
  // A new object of a class we subscribe to. (With the object model's
  // conveyProducingFederate switch on, the RTI calls the variant that also names the
  // federate that registered it.)
  void discoverObjectInstance(rti1516e::ObjectInstanceHandle object, rti1516e::ObjectClassHandle,
                              std::wstring const& name) override {
    names_[object] = name;
    say(L"subscriber: discovered " + name);
  }
  void discoverObjectInstance(rti1516e::ObjectInstanceHandle object,
                              rti1516e::ObjectClassHandle theClass, std::wstring const& name,
                              rti1516e::FederateHandle) override {
    discoverObjectInstance(object, theClass, name);
  }

  // New values. Only the attributes that were updated are in the map; the bytes are
  // decoded with the same helpers that encoded them.
  void reflectAttributeValues(rti1516e::ObjectInstanceHandle object,
                              rti1516e::AttributeHandleValueMap const& values,
                              rti1516e::VariableLengthData const& tag, rti1516e::OrderType,
                              rti1516e::TransportationType,
                              rti1516e::SupplementalReflectInfo) override {
    std::wstring line = L"subscriber: " + names_[object];
    try {
      line += L" step " + std::to_wstring(decodeStep(tag));
      auto found = values.find(nameAttribute);
      if (found != values.end()) line += L"  Name=" + decodeText(found->second);
      found = values.find(positionAttribute);
      if (found != values.end())
        line += L"  Position=" + formatPosition(decodePosition(found->second));
    } catch (rti1516e::EncoderException const& e) {
      line += L"  undecodable: " + e.what();  // bytes from another federate may be wrong
    }
    say(line);
  }

  void removeObjectInstance(rti1516e::ObjectInstanceHandle object,
                            rti1516e::VariableLengthData const&, rti1516e::OrderType,
                            rti1516e::SupplementalRemoveInfo) override {
    say(L"subscriber: " + names_[object] + L" removed");
    removed = true;
  }

  // Set once joined, before subscribing: no reflection can arrive before.
  rti1516e::AttributeHandle nameAttribute, positionAttribute;
  bool removed = false;

 private:
  std::map<rti1516e::ObjectInstanceHandle, std::wstring> names_;
};

}  // namespace

bool runSubscriber(Traffic const& traffic, double seconds) {
  SubscriberCallbacks callbacks;
  std::unique_ptr<rti1516e::RTIambassador> rti = joinTraffic(callbacks, traffic, L"subscriber", L"Subscriber");
  if (!rti) return false;

  try {
    rti1516e::ObjectClassHandle const vehicle = rti->getObjectClassHandle(L"Vehicle");
    callbacks.nameAttribute = rti->getAttributeHandle(vehicle, L"Name");
    callbacks.positionAttribute = rti->getAttributeHandle(vehicle, L"Position");
    rti1516e::AttributeHandleSet attributes;
    attributes.insert(callbacks.nameAttribute);
    attributes.insert(callbacks.positionAttribute);
    rti->subscribeObjectClassAttributes(vehicle, attributes);
    say(L"subscriber: subscribed to Vehicle");

    // Objects registered before we subscribed are discovered now as well.
    auto const deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!callbacks.removed && std::chrono::steady_clock::now() < deadline) {
      rti->evokeCallback(0.1);  // one callback, or a tenth of a second without one
    }
    if (!callbacks.removed) say(L"subscriber: time is up");

    leave(*rti, rti1516e::NO_ACTION);
    say(L"subscriber: resigned");
    return true;
  } catch (rti1516e::Exception const& e) {
    say(L"subscriber: the RTI refused: " + e.what());
    return false;
  }
}

#ifndef OSTRA_EXAMPLE_NO_MAIN
int main(int argc, char** argv) {
  Traffic traffic;
  if (!parseTraffic(argc, argv, traffic)) return 2;
  // Alone with the engine of its own process it can only wait in vain; through a server, it
  // gives one time to start the publisher.
  return runSubscriber(traffic, traffic.rti.empty() ? 5.0 : 60.0) ? 0 : 1;
}
#endif
