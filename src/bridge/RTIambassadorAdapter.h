// RTIambassadorAdapter: the RTIambassador that RTIambassadorFactory hands out. It passes
// every service to the bridge object it owns and adds only what the standard interface
// needs on top: out-parameters filled from the bridge's results, the time factory made
// from the name the core reports, and handles decoded locally without the core.
//
//   std::auto_ptr<rti1516e::RTIambassador> rti(new RTIambassadorAdapter);
//
// Exceptions of the bridge reach the federate unchanged. An adapter cannot be copied:
// it owns its bridge object and with it one service object of the core.
#ifndef OSTRA1516E_BRIDGE_RTIAMBASSADORADAPTER_H
#define OSTRA1516E_BRIDGE_RTIAMBASSADORADAPTER_H

#include <RTI/RTIambassador.h>

#include <memory>

#include "gen/cpp/RTIambassadorC.h"

namespace ostra1516e {

class RTIambassadorAdapter : public rti1516e::RTIambassador {
 public:
  // Makes a new bridge object; throws what its construction throws.
  RTIambassadorAdapter();
  // Takes over an existing bridge object (never null).
  explicit RTIambassadorAdapter(std::unique_ptr<RTIambassadorC> bridge);
  ~RTIambassadorAdapter() override;

  RTIambassadorAdapter(RTIambassadorAdapter const&) = delete;
  RTIambassadorAdapter& operator=(RTIambassadorAdapter const&) = delete;

  // The services that are passed on as they are.
#define OSTRA_SERVICE(slot_, cpp_, java_, signature_, result_, codes_, exceptions_) \
  result::result_::Type cpp_(OSTRA_PARAMS codes_) override;
#define OSTRA_SERVICE_ADAPTER_OWN(...)
#include "gen/cpp/ServiceTable.def"

  void deleteRegion(rti1516e::RegionHandle const& theRegion) override;
  void subscribeInteractionClassWithRegions(rti1516e::InteractionClassHandle theClass,
                                            rti1516e::RegionHandleSet const& theRegionHandleSet,
                                            bool active) override;
  bool queryGALT(rti1516e::LogicalTime& theTime) override;
  void queryLogicalTime(rti1516e::LogicalTime& theTime) override;
  bool queryLITS(rti1516e::LogicalTime& theTime) override;
  void queryLookahead(rti1516e::LogicalTimeInterval& interval) override;
  void attributeOwnershipDivestitureIfWanted(rti1516e::ObjectInstanceHandle theObject,
                                             rti1516e::AttributeHandleSet const& theAttributes,
                                             rti1516e::AttributeHandleSet& theDivestedAttributes) override;
  std::auto_ptr<rti1516e::LogicalTimeFactory> getTimeFactory() const override;

  rti1516e::FederateHandle decodeFederateHandle(rti1516e::VariableLengthData const& encodedValue) const override;
  rti1516e::ObjectClassHandle decodeObjectClassHandle(
      rti1516e::VariableLengthData const& encodedValue) const override;
  rti1516e::InteractionClassHandle decodeInteractionClassHandle(
      rti1516e::VariableLengthData const& encodedValue) const override;
  rti1516e::ObjectInstanceHandle decodeObjectInstanceHandle(
      rti1516e::VariableLengthData const& encodedValue) const override;
  rti1516e::AttributeHandle decodeAttributeHandle(rti1516e::VariableLengthData const& encodedValue) const override;
  rti1516e::ParameterHandle decodeParameterHandle(rti1516e::VariableLengthData const& encodedValue) const override;
  rti1516e::DimensionHandle decodeDimensionHandle(rti1516e::VariableLengthData const& encodedValue) const override;
  rti1516e::MessageRetractionHandle decodeMessageRetractionHandle(
      rti1516e::VariableLengthData const& encodedValue) const override;
  rti1516e::RegionHandle decodeRegionHandle(rti1516e::VariableLengthData const& encodedValue) const override;

 private:
  std::unique_ptr<RTIambassadorC> bridge;
};

}  // namespace ostra1516e

#endif  // OSTRA1516E_BRIDGE_RTIAMBASSADORADAPTER_H
