// libfedtime1516e64: the federation's time factory by implementation name. It offers
// the two standard representations under the same names as HLAlogicalTimeFactoryFactory,
// which keeps the one table of names.
#include <RTI/LogicalTimeFactory.h>
#include <RTI/time/HLAlogicalTimeFactoryFactory.h>

namespace rti1516e {

std::auto_ptr<LogicalTimeFactory> LogicalTimeFactoryFactory::makeLogicalTimeFactory(
    std::wstring const& implementationName) {
  return HLAlogicalTimeFactoryFactory::makeLogicalTimeFactory(implementationName);
}

}  // namespace rti1516e
