// RTIambassadorFactory.h: where a federate gets its RTIambassador.
//
//   rti1516e::RTIambassadorFactory factory;
//   std::auto_ptr<rti1516e::RTIambassador> rti = factory.createRTIambassador();
//
// Each call makes a new, independent ambassador owned by the caller. Failing to bring up
// the RTI throws RTIinternalError with the reason.
#ifndef RTI_RTIambassadorFactory_h
#define RTI_RTIambassadorFactory_h

#include <RTI/SpecificConfig.h>

#include <memory>

namespace rti1516e {

class RTIambassador;

class RTI_EXPORT RTIambassadorFactory {
 public:
  RTIambassadorFactory();
  virtual ~RTIambassadorFactory();

  std::auto_ptr<RTIambassador> createRTIambassador();
};

}  // namespace rti1516e

#endif  // RTI_RTIambassadorFactory_h
