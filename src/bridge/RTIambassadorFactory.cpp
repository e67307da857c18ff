// RTIambassadorFactory: hands out ambassadors connected to the Java RTI core.
#include <RTI/RTIambassadorFactory.h>

#include <RTI/Exception.h>
#include <RTI/RTIambassador.h>

namespace rti1516e {

RTIambassadorFactory::RTIambassadorFactory() {}
RTIambassadorFactory::~RTIambassadorFactory() {}

std::auto_ptr<RTIambassador> RTIambassadorFactory::createRTIambassador() {
  throw RTIinternalError(
      L"Cannot create an RTIambassador: this build of the library does not contain the "
      L"bridge to the Java RTI core yet");
}

}  // namespace rti1516e
