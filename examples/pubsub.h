// pubsub.h: the publisher and subscriber examples as functions, so that one program can run
// both. Each also has a main of its own (publisher.cpp, subscriber.cpp).
//
// A publisher and a subscriber meet in one program, each on its own thread, through the
// federation engine embedded in it (pubsub_pair), or as two programs connected to one
// federation server (publisher --rti rti://HOST:PORT, subscriber --rti rti://HOST:PORT).
#ifndef OSTRA_EXAMPLES_pubsub_h
#define OSTRA_EXAMPLES_pubsub_h

#include <RTI/RTIambassador.h>
#include <RTI/RTIambassadorFactory.h>

#include <cstring>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>

// Both join this federation; whichever comes first creates it from the module at fomPath.
std::wstring const kTrafficFederation = L"Traffic";

// Where the federation is: rti is the local settings designator of connect, empty for the
// federation engine embedded in this process, rti://HOST:PORT for a federation server.
struct Traffic {
  std::wstring fomPath;
  std::wstring rti;
};

// Registers the vehicle Bus-1 and moves it for the given number of steps, then resigns,
// deleting it. Returns false, after printing why, when the RTI refused something.
bool runPublisher(Traffic const& traffic, int steps);

// Prints every vehicle it discovers, every reflection and every removal, until a vehicle
// it saw has been removed (its publisher is gone) or about seconds have passed. Returns
// false, after printing why, when the RTI refused something.
bool runSubscriber(Traffic const& traffic, double seconds);

// The command line of publisher and subscriber: [--rti rti://HOST:PORT] [FOM], the module
// being fom/Demo.xml by default. Paths in plain ASCII. False, after printing the usage,
// for anything else.
inline bool parseTraffic(int argc, char** argv, Traffic& traffic) {
  traffic.fomPath = OSTRA_EXAMPLE_FOM;
  bool fomGiven = false;
  for (int i = 1; i < argc; ++i) {
    char const* argument = argv[i];
    if (std::strcmp(argument, "--rti") == 0 && i + 1 < argc) {
      traffic.rti.assign(argv[i + 1], argv[i + 1] + std::strlen(argv[i + 1]));
      ++i;
    } else if (argument[0] != '-' && !fomGiven) {
      traffic.fomPath.assign(argument, argument + std::strlen(argument));
      fomGiven = true;
    } else {
      std::cerr << "usage: " << argv[0] << " [--rti rti://HOST:PORT] [FOM]" << std::endl;
      return false;
    }
  }
  return true;
}

// Prints one line whole, even when two federates on two threads print at once.
inline void say(std::wstring const& line) {
  static std::mutex console;
  std::lock_guard<std::mutex> lock(console);
  std::wcout << line << std::endl;
}

// Connects callbacks to the engine in this process or to the server traffic.rti names,
// and joins the traffic federation as name, creating it from the module at
// traffic.fomPath unless another federate did. Returns null, after printing why, when the
// RTI refused.
inline std::unique_ptr<rti1516e::RTIambassador> joinTraffic(rti1516e::FederateAmbassador& callbacks,
                                                            Traffic const& traffic,
                                                            std::wstring const& name,
                                                            std::wstring const& type) {
  // Every RTI failure is an rti1516e::Exception; what() says what went wrong.
  try {
    std::unique_ptr<rti1516e::RTIambassador> rti(rti1516e::RTIambassadorFactory().createRTIambassador().release());
    rti->connect(callbacks, rti1516e::HLA_EVOKED, traffic.rti);
    try {
      rti->createFederationExecution(kTrafficFederation, traffic.fomPath);
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
