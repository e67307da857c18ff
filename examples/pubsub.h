// pubsub.h: the publisher and subscriber examples as functions, so that one program can run
// both. Each also has a main of its own (publisher.cpp, subscriber.cpp).
//
// In this release a federation lives inside one process, so a publisher and a subscriber
// meet only when they run in the same program, each on its own thread: pubsub_pair.
#ifndef OSTRA_EXAMPLES_pubsub_h
#define OSTRA_EXAMPLES_pubsub_h

#include <RTI/RTIambassador.h>
#include <RTI/RTIambassadorFactory.h>

#include <iostream>
#include <memory>
#include <mutex>
#include <string>

// Both join this federation; whichever comes first creates it from the module at fomPath.
std::wstring const kTrafficFederation = L"Traffic";

// Registers the vehicle Bus-1 and moves it for the given number of steps, then resigns,
// deleting it. Returns false, after printing why, when the RTI refused something.
bool runPublisher(std::wstring const& fomPath, int steps);

// Prints every vehicle it discovers, every reflection and every removal, until a vehicle
// it saw has been removed (its publisher is gone) or about seconds have passed. Returns
// false, after printing why, when the RTI refused something.
bool runSubscriber(std::wstring const& fomPath, double seconds);

// Prints one line whole, even when two federates on two threads print at once.
inline void say(std::wstring const& line) {
  static std::mutex console;
  std::lock_guard<std::mutex> lock(console);
  std::wcout << line << std::endl;
}

// Connects callbacks to the engine in this process and joins the traffic federation as
// name, creating it from the module at fomPath unless another federate did. Returns null,
// after printing why, when the RTI refused.
inline std::unique_ptr<rti1516e::RTIambassador> joinTraffic(rti1516e::FederateAmbassador& callbacks,
                                                            std::wstring const& fomPath,
                                                            std::wstring const& name,
                                                            std::wstring const& type) {
  // Every RTI failure is an rti1516e::Exception; what() says what went wrong.
  try {
    std::unique_ptr<rti1516e::RTIambassador> rti(rti1516e::RTIambassadorFactory().createRTIambassador().release());
    rti->connect(callbacks, rti1516e::HLA_EVOKED);  // the engine in this process
    try {
      rti->createFederationExecution(kTrafficFederation, fomPath);
    } catch (rti1516e::FederationExecutionAlreadyExists const&) {
      // someone else created it: join theirs
    }
    rti->joinFederationExecution(name, type, kTrafficFederation);
    return rti;
  } catch (rti1516e::Exception const& e) {
    say(name + L": cannot join: " + e.what());
    return nullptr;
  }
}

// Leaves the federation: resigns with action, destroys the federation if this federate was
// the last one in it, and disconnects.
inline void leave(rti1516e::RTIambassador& rti, rti1516e::ResignAction action) {
  rti.resignFederationExecution(action);
  try {
    rti.destroyFederationExecution(kTrafficFederation);
  } catch (rti1516e::FederatesCurrentlyJoined const&) {
    // others are still in it: the last federate to leave destroys it
  } catch (rti1516e::FederationExecutionDoesNotExist const&) {
    // the others have left, and one of them has destroyed it already
  }
  rti.disconnect();
}

#endif  // OSTRA_EXAMPLES_pubsub_h
