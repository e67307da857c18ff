// The callback interface and its do-nothing implementation hold no data: construction,
// copying and destruction have nothing to do. The null callbacks are inline in the header.
#include <RTI/FederateAmbassador.h>
#include <RTI/NullFederateAmbassador.h>

namespace rti1516e {

FederateAmbassador::FederateAmbassador() {}
FederateAmbassador::FederateAmbassador(FederateAmbassador const&) {}
FederateAmbassador& FederateAmbassador::operator=(FederateAmbassador const&) { return *this; }
FederateAmbassador::~FederateAmbassador() {}

NullFederateAmbassador::NullFederateAmbassador() {}
NullFederateAmbassador::NullFederateAmbassador(NullFederateAmbassador const& rhs)
    : FederateAmbassador(rhs) {}
NullFederateAmbassador& NullFederateAmbassador::operator=(NullFederateAmbassador const& rhs) {
  FederateAmbassador::operator=(rhs);
  return *this;
}
NullFederateAmbassador::~NullFederateAmbassador() {}

}  // namespace rti1516e
