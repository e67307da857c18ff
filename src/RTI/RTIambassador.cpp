// The service interface's own members, and the name and version of this RTI.
#include <RTI/RTI1516.h>
#include <RTI/RTIambassador.h>

namespace rti1516e {

RTIambassador::RTIambassador() {}
RTIambassador::~RTIambassador() {}

std::wstring rtiName() { return L"Ostra Evolved"; }
std::wstring rtiVersion() { return L"5.3.2.0"; }

}  // namespace rti1516e
