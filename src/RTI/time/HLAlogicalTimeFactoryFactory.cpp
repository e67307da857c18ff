#include <RTI/time/HLAlogicalTimeFactoryFactory.h>

#include <RTI/time/HLAfloat64TimeFactory.h>
#include <RTI/time/HLAinteger64TimeFactory.h>

#include "TimeValue.h"

namespace rti1516e {

std::auto_ptr<LogicalTimeFactory> HLAlogicalTimeFactoryFactory::makeLogicalTimeFactory(
    std::wstring const& implementationName) {
  if (implementationName == logicaltime::kInteger64Name) {
    return std::auto_ptr<LogicalTimeFactory>(new HLAinteger64TimeFactory);
  }
  // A federation created without naming a representation uses the floating-point one.
  if (implementationName == logicaltime::kFloat64Name || implementationName.empty()) {
    return std::auto_ptr<LogicalTimeFactory>(new HLAfloat64TimeFactory);
  }
  return std::auto_ptr<LogicalTimeFactory>();
}

}  // namespace rti1516e
