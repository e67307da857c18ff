#include "federation_tour.h"

#include <RTI/RTI1516.h>
#include <RTI/NullFederateAmbassador.h>

#include <iostream>
#include <memory>

namespace {

// A federate's callbacks: NullFederateAmbassador does nothing for every callback, so a
// federate overrides only those it cares about. In the evoked callback model they run on
// the federate's own thread, inside evokeCallback or evokeMultipleCallbacks.
class Greeter : public rti1516e::NullFederateAmbassador {
 public:
  explicit Greeter(std::wstring name) : name_(std::move(name)) {}

  void announceSynchronizationPoint(std::wstring const& label,
                                    rti1516e::VariableLengthData const&) override {
    std::wcout << name_ << L": synchronization point \"" << label << L"\" announced" << std::endl;
    announced_ = true;
  }

  void federationSynchronized(std::wstring const& label, rti1516e::FederateHandleSet const&) override {
    std::wcout << name_ << L": the federation reached \"" << label << L"\"" << std::endl;
    synchronized_ = true;
  }

  bool announced_ = false;
  bool synchronized_ = false;

 private:
  std::wstring name_;
};

// Delivers callbacks until done() holds or about two seconds have passed.
template <typename Done>
void evokeUntil(rti1516e::RTIambassador& rti, Done done) {
  // evokeCallback delivers one callback, or returns after a tenth of a second without one.
  for (int i = 0; i < 20 && !done(); ++i) rti.evokeCallback(0.1);
}

}  // namespace

bool showFederation(std::wstring const& fomPath) {
  std::wstring const federation = L"Greetings";
  try {
    // One ambassador per federate. The empty local settings designator of connect means
    // the federation engine embedded in this process.
    rti1516e::RTIambassadorFactory factory;
    std::auto_ptr<rti1516e::RTIambassador> alice = factory.createRTIambassador();
    std::auto_ptr<rti1516e::RTIambassador> bob = factory.createRTIambassador();
    Greeter aliceCallbacks(L"alice"), bobCallbacks(L"bob");
    alice->connect(aliceCallbacks, rti1516e::HLA_EVOKED);
    bob->connect(bobCallbacks, rti1516e::HLA_EVOKED);

    // The federation's object model: the standard MIM plus our module.
    alice->createFederationExecution(federation, fomPath, L"HLAinteger64Time");
    alice->joinFederationExecution(L"alice", L"Greeter", federation);
    bob->joinFederationExecution(L"bob", L"Greeter", federation);

    // Names become handles once; services then take handles.
    rti1516e::ObjectClassHandle greeter = bob->getObjectClassHandle(L"Greeter");
    rti1516e::AttributeHandle label = bob->getAttributeHandle(greeter, L"Label");
    std::wcout << L"class " << bob->getObjectClassName(greeter) << L" has attribute "
               << bob->getAttributeName(greeter, label) << std::endl;

    // A synchronization point: every joined federate is told, and the federation is
    // synchronized once each of them has achieved it.
    alice->registerFederationSynchronizationPoint(L"ready", rti1516e::VariableLengthData());
    evokeUntil(*alice, [&] { return aliceCallbacks.announced_; });
    evokeUntil(*bob, [&] { return bobCallbacks.announced_; });
    alice->synchronizationPointAchieved(L"ready");
    bob->synchronizationPointAchieved(L"ready");
    evokeUntil(*alice, [&] { return aliceCallbacks.synchronized_; });
    evokeUntil(*bob, [&] { return bobCallbacks.synchronized_; });

    bob->resignFederationExecution(rti1516e::NO_ACTION);
    alice->resignFederationExecution(rti1516e::NO_ACTION);
    alice->destroyFederationExecution(federation);
    alice->disconnect();
    bob->disconnect();
    std::wcout << L"federation " << federation << L" destroyed" << std::endl;
    return true;
  } catch (rti1516e::Exception const& e) {
    // Every RTI failure arrives as an rti1516e::Exception whose message says what to fix.
    std::wcerr << L"the RTI refused: " << e.what() << std::endl;
    return false;
  }
}
