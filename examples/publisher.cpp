// publisher: a federate that registers one vehicle and moves it.
//
//   connect, create the federation (or find it created), join
//   publish the Vehicle class's attributes
//   reserve the name Bus-1, register the object with it
//   wait until somebody subscribes (the RTI says so when asked to), update it every step
//   resign, deleting the object; destroy the federation unless others are still in it
//
// publisher [--rti rti://HOST:PORT] [FOM]: through the federation engine in this process,
// or a federation server; the object model is fom/Demo.xml, or the module FOM.
#include <RTI/NullFederateAmbassador.h>
#include <RTI/RTI1516.h>

#include <chrono>
#include <memory>

#include "demo_values.h"
#include "pubsub.h"

namespace {

// The callbacks the publisher cares about. In the HLA_EVOKED model they run inside
// evokeMultipleCallbacks, on the thread that calls it.
class PublisherCallbacks : public rti1516e::NullFederateAmbassador {
 public:
  void objectInstanceNameReservationSucceeded(std::wstring const&) override { reserved = true; }
  void objectInstanceNameReservationFailed(std::wstring const&) override { refused = true; }

  // Someone subscribes to attributes of an object we update (with the attribute relevance
  // advisory switch on).
  void turnUpdatesOnForObjectInstance(rti1516e::ObjectInstanceHandle,
                                      rti1516e::AttributeHandleSet const&) override {
    listened = true;
  }
  void turnUpdatesOnForObjectInstance(rti1516e::ObjectInstanceHandle,
                                      rti1516e::AttributeHandleSet const&,
                                      std::wstring const&) override {
    listened = true;
  }
  void turnUpdatesOffForObjectInstance(rti1516e::ObjectInstanceHandle,
                                       rti1516e::AttributeHandleSet const&) override {
    listened = false;
  }

  bool reserved = false;
  bool refused = false;
  bool listened = false;
};

// Delivers callbacks until done() holds or the given time has passed; returns done().
template <typename Done>
bool evokeUntil(rti1516e::RTIambassador& rti, double seconds, Done done) {
  auto const deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    rti.evokeCallback(0.1);  // one callback, or a tenth of a second without one
  }
  return done();
}

}  // namespace

bool runPublisher(Traffic const& traffic, int steps) {
  std::wstring const objectName = L"Bus-1";
  PublisherCallbacks callbacks;
  std::unique_ptr<rti1516e::RTIambassador> rti = joinTraffic(callbacks, traffic, L"publisher", L"Publisher");
  if (!rti) return false;

  try {
    // Names become handles once; services take handles.
    rti1516e::ObjectClassHandle const vehicle = rti->getObjectClassHandle(L"Vehicle");
    rti1516e::AttributeHandle const name = rti->getAttributeHandle(vehicle, L"Name");
    rti1516e::AttributeHandle const position = rti->getAttributeHandle(vehicle, L"Position");
    rti1516e::AttributeHandleSet attributes;
    attributes.insert(name);
    attributes.insert(position);
    rti->publishObjectClassAttributes(vehicle, attributes);
    rti->enableAttributeRelevanceAdvisorySwitch();  // tell us when someone subscribes

    // The name is reserved first, so that no other federate can take it; the answer
    // arrives as a callback.
    rti->reserveObjectInstanceName(objectName);
    evokeUntil(*rti, 5, [&] { return callbacks.reserved || callbacks.refused; });
    if (!callbacks.reserved) {
      say(L"publisher: the name " + objectName + L" is not available");
      rti->resignFederationExecution(rti1516e::NO_ACTION);
      rti->disconnect();
      return false;
    }
    rti1516e::ObjectInstanceHandle const bus = rti->registerObjectInstance(vehicle, objectName);
    say(L"publisher: registered " + objectName);

    if (!evokeUntil(*rti, 2, [&] { return callbacks.listened; })) {
      say(L"publisher: nobody subscribes; updating anyway");
    }

    for (int step = 1; step <= steps; ++step) {
      Position const at{10.0 * step, 2.0};
      rti1516e::AttributeHandleValueMap values;
      values[name] = encodeText(L"city bus");
      values[position] = encodePosition(at);
      rti->updateAttributeValues(bus, values, encodeStep(step));
      say(L"publisher: step " + std::to_wstring(step) + L": " + objectName + L" at " +
          formatPosition(at));
      rti->evokeMultipleCallbacks(0.1, 0.1);  // a step takes a tenth of a second
    }

    // Resigning deletes the objects we own: subscribers see them removed.
    leave(*rti, rti1516e::DELETE_OBJECTS_THEN_DIVEST);
    say(L"publisher: resigned");
    return true;
  } catch (rti1516e::Exception const& e) {
    say(L"publisher: the RTI refused: " + e.what());
    return false;
  }
}

#ifndef OSTRA_EXAMPLE_NO_MAIN
int main(int argc, char** argv) {
  Traffic traffic;
  if (!parseTraffic(argc, argv, traffic)) return 2;
  return runPublisher(traffic, 5) ? 0 : 1;
}
#endif
