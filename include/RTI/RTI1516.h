// RTI1516.h: everything a federate needs from the IEEE 1516-2010 C++ API.
//
//   #include <RTI/RTI1516.h>
//
//   std::wcout << rti1516e::rtiName() << L" " << rti1516e::rtiVersion() << std::endl;
//
// The standard logical time representations have their own headers under RTI/time/.
#ifndef RTI_RTI1516_h
#define RTI_RTI1516_h

#include <RTI/SpecificConfig.h>
#include <RTI/Enums.h>
#include <RTI/Exception.h>
#include <RTI/FederateAmbassador.h>
#include <RTI/Handle.h>
#include <RTI/LogicalTime.h>
#include <RTI/LogicalTimeFactory.h>
#include <RTI/LogicalTimeInterval.h>
#include <RTI/NullFederateAmbassador.h>
#include <RTI/RangeBounds.h>
#include <RTI/RTIambassador.h>
#include <RTI/RTIambassadorFactory.h>
#include <RTI/Typedefs.h>
#include <RTI/VariableLengthData.h>

#include <string>

namespace rti1516e {

// The name and version of this RTI.
RTI_EXPORT std::wstring rtiName();
RTI_EXPORT std::wstring rtiVersion();

}  // namespace rti1516e

#endif  // RTI_RTI1516_h
