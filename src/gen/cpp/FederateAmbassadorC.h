// FederateAmbassadorC: the callback direction of the bridge.
//
// The core's class org/vantor/ostra1516e/FederateAmbassadorC2007 declares one native
// method per FederateAmbassador callback, each taking one framed byte array. Every bridge
// construction binds them and sets the catch-all flag:
//
//   setCatchAllFlag(std::getenv("OSTRA1516_DONTCATCHALL") == nullptr);
//   registerCallbackNatives(env);
//
// The callbacks themselves are described by CallbackTable.def; CallbackDispatch.h holds
// the dispatch that the native methods share.
#ifndef OSTRA_GEN_FEDERATEAMBASSADORC_H
#define OSTRA_GEN_FEDERATEAMBASSADORC_H

#include <jni.h>

namespace ostra1516e {

// registerCallbackNatives binds the 60 native methods of the core's callback class on
// env's virtual machine. Never throws: a missing class or a failed registration is
// written to standard error and the bridge goes on without callbacks.
void registerCallbackNatives(JNIEnv* env);

// setCatchAllFlag decides, for every later callback in the process, whether an exception
// of a type the bridge does not know (neither rti1516e::Exception, std::exception nor
// std::string) thrown by a federate's callback is reported to the core as
// "Unknown C++ exception" (true), or not intercepted (false): it then reaches the native
// method's noexcept boundary and std::terminate ends the process with the exception's
// type on standard error, instead of unwinding into the virtual machine.
void setCatchAllFlag(bool catchAll);

// catchAllFlag is the setting in force.
bool catchAllFlag();

}  // namespace ostra1516e

#endif  // OSTRA_GEN_FEDERATEAMBASSADORC_H
