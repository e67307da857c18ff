// RTIambassadorC: the bridge object behind one RTIambassador. It owns one service object
// of the Java core and carries every service into it, one operation per row of
// ServiceTable.def, each named and typed after its row:
//
//   RTIambassadorC bridge;                         // finds or starts the virtual machine
//   bridge.connect(federateAmbassador, rti1516e::HLA_EVOKED, L"");
//   rti1516e::FederateHandle me =
//       bridge.joinFederationExecution(L"Tank", L"Battle", std::vector<std::wstring>());
//
// Parameters come in the order of the Java method's type codes, which is the standard
// API's order everywhere except subscribeInteractionClassWithRegions (flag before
// regions). Failures are the rti1516e exceptions of the row's list, or RTIinternalError.
#ifndef OSTRA_GEN_RTIAMBASSADORC_H
#define OSTRA_GEN_RTIAMBASSADORC_H

#include <jni.h>

#include "bridge/FederateAmbassadorRegistry.h"
#include "bridge/JniScopes.h"
#include "gen/cpp/ServiceTable.h"

namespace ostra1516e {

class RTIambassadorC {
 public:
  // Finds or starts the virtual machine, checks that the core's classes are on the class
  // path, fills the service method table, binds the callback natives and creates the
  // Java service object. Throws rti1516e::RTIinternalError, also written to standard
  // error, when any of that fails; the caller's floating-point setting survives.
  RTIambassadorC();
  // Disconnects the service object in the core, ignoring any failure, and releases it.
  virtual ~RTIambassadorC();

  RTIambassadorC(RTIambassadorC const&) = delete;
  RTIambassadorC& operator=(RTIambassadorC const&) = delete;

#define OSTRA_SERVICE(slot_, cpp_, java_, signature_, result_, codes_, exceptions_) \
  virtual result::result_::Type cpp_(OSTRA_PARAMS codes_);
#include "gen/cpp/ServiceTable.def"

  // What callbacks for this ambassador need: registered with the registry by connect.
  CallbackTarget target;
  // The core's service object.
  GlobalRef<jobject> javaObject;

 protected:
  // A bridge object with no Java side, for tests that stand in for the core.
  struct WithoutJava {};
  explicit RTIambassadorC(WithoutJava) {}

 private:
  // Replaces the time factory after a join with the one for the federation's time
  // implementation name.
  void installTimeFactory();
};

}  // namespace ostra1516e

#endif  // OSTRA_GEN_RTIAMBASSADORC_H
