// RTIambassadorFactory: hands out ambassadors connected to the Java RTI core.
#include <RTI/RTIambassadorFactory.h>

#include <RTI/RTIambassador.h>

#include "bridge/RTIambassadorAdapter.h"

namespace rti1516e {

RTIambassadorFactory::RTIambassadorFactory() {}
RTIambassadorFactory::~RTIambassadorFactory() {}

// Each ambassador has its own service object in the core; the virtual machine is shared.
std::auto_ptr<RTIambassador> RTIambassadorFactory::createRTIambassador() {
  return std::auto_ptr<RTIambassador>(new ostra1516e::RTIambassadorAdapter);
}

}  // namespace rti1516e
