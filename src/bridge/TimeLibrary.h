// TimeLibrary.h: the bridge's way to the logical-time library.
//
// After every join, and for RTIambassador::getTimeFactory, the bridge asks the
// logical-time library libfedtime1516e64 for the factory of the federation's time
// implementation name:
//
//   std::auto_ptr<rti1516e::LogicalTimeFactory> factory = makeFederationTimeFactory(name);
//
// That library depends on this one (it builds on the time classes here), so this one
// cannot link it in turn. The function is found at run time instead: in the process
// when a loaded object already provides it (a federate linked against the logical-time
// library, or a federation's own library of that name), otherwise in
// libfedtime1516e64.so.<major> loaded from this library's directory or from the
// loader's search path.
#ifndef OSTRA1516E_BRIDGE_TIMELIBRARY_H
#define OSTRA1516E_BRIDGE_TIMELIBRARY_H

#include <RTI/LogicalTimeFactory.h>

#include <memory>
#include <string>

namespace ostra1516e {

// The mangled name of rti1516e::LogicalTimeFactoryFactory::makeLogicalTimeFactory.
extern char const kMakeLogicalTimeFactorySymbol[];

// makeFederationTimeFactory returns the logical-time library's factory for
// implementationName, null for a name it does not know. Throws
// rti1516e::RTIinternalError (also on standard error) when the library cannot be found.
std::auto_ptr<rti1516e::LogicalTimeFactory> makeFederationTimeFactory(
    std::wstring const& implementationName);

}  // namespace ostra1516e

#endif  // OSTRA1516E_BRIDGE_TIMELIBRARY_H
