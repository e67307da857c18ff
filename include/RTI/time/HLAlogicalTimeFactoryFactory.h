// HLAlogicalTimeFactoryFactory.h: the factory of a standard time representation by name.
//
//   std::auto_ptr<rti1516e::LogicalTimeFactory> factory =
//       rti1516e::HLAlogicalTimeFactoryFactory::makeLogicalTimeFactory(L"HLAfloat64Time");
#ifndef RTI_time_HLAlogicalTimeFactoryFactory_h
#define RTI_time_HLAlogicalTimeFactoryFactory_h

#include <RTI/LogicalTimeFactory.h>

#include <memory>
#include <string>

namespace rti1516e {

class RTI_EXPORT HLAlogicalTimeFactoryFactory {
 public:
  // A new HLAinteger64TimeFactory for "HLAinteger64Time", a new HLAfloat64TimeFactory
  // for "HLAfloat64Time" or the empty name (the default representation), null for any
  // other name. Names are compared exactly, case included.
  static std::auto_ptr<LogicalTimeFactory> makeLogicalTimeFactory(
      std::wstring const& implementationName);
};

}  // namespace rti1516e

#endif  // RTI_time_HLAlogicalTimeFactoryFactory_h
