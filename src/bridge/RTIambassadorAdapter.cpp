#include "bridge/RTIambassadorAdapter.h"

#include <RTI/LogicalTime.h>
#include <RTI/LogicalTimeFactory.h>
#include <RTI/LogicalTimeInterval.h>

#include "RTI/HandleFriend.h"
#include "bridge/TimeLibrary.h"

namespace ostra1516e {

RTIambassadorAdapter::RTIambassadorAdapter() : bridge(new RTIambassadorC) {}

RTIambassadorAdapter::RTIambassadorAdapter(std::unique_ptr<RTIambassadorC> bridge)
    : bridge(std::move(bridge)) {}

RTIambassadorAdapter::~RTIambassadorAdapter() {}

#define OSTRA_SERVICE(slot_, cpp_, java_, signature_, result_, codes_, exceptions_) \
  result::result_::Type RTIambassadorAdapter::cpp_(OSTRA_PARAMS codes_) {           \
    return bridge->cpp_(OSTRA_ARGS codes_);                                         \
  }
#define OSTRA_SERVICE_ADAPTER_OWN(...)
#include "gen/cpp/ServiceTable.def"

void RTIambassadorAdapter::deleteRegion(rti1516e::RegionHandle const& theRegion) {
  bridge->deleteRegion(theRegion);
}

// The core takes the flag before the regions.
void RTIambassadorAdapter::subscribeInteractionClassWithRegions(
    rti1516e::InteractionClassHandle theClass, rti1516e::RegionHandleSet const& theRegionHandleSet,
    bool active) {
  bridge->subscribeInteractionClassWithRegions(theClass, active, theRegionHandleSet);
}

// The bridge's time results are never null: a time that cannot be had is an
// RTIinternalError there. The owned result goes also when the assignment throws (a time
// of another representation than the caller's).
bool RTIambassadorAdapter::queryGALT(rti1516e::LogicalTime& theTime) {
  auto const galt = bridge->queryGALT();
  if (!galt.first) return false;
  theTime = *galt.second;
  return true;
}

void RTIambassadorAdapter::queryLogicalTime(rti1516e::LogicalTime& theTime) {
  theTime = *bridge->queryLogicalTime();
}

bool RTIambassadorAdapter::queryLITS(rti1516e::LogicalTime& theTime) {
  auto const lits = bridge->queryLITS();
  if (!lits.first) return false;
  theTime = *lits.second;
  return true;
}

void RTIambassadorAdapter::queryLookahead(rti1516e::LogicalTimeInterval& interval) {
  interval = *bridge->queryLookahead();
}

void RTIambassadorAdapter::attributeOwnershipDivestitureIfWanted(
    rti1516e::ObjectInstanceHandle theObject, rti1516e::AttributeHandleSet const& theAttributes,
    rti1516e::AttributeHandleSet& theDivestedAttributes) {
  theDivestedAttributes = bridge->attributeOwnershipDivestitureIfWanted(theObject, theAttributes);
}

// A new factory each time, independent of the one the bridge keeps for callbacks.
std::auto_ptr<rti1516e::LogicalTimeFactory> RTIambassadorAdapter::getTimeFactory() const {
  return makeFederationTimeFactory(bridge->getTimeFactory());
}

// Handles are decoded here, without the core, from the bytes their encode() made.
#define OSTRA_DECODE_HANDLE(Kind)                                                       \
  rti1516e::Kind RTIambassadorAdapter::decode##Kind(                                    \
      rti1516e::VariableLengthData const& encodedValue) const {                         \
    return rti1516e::Kind##Friend::decode(encodedValue);                                \
  }
OSTRA_DECODE_HANDLE(FederateHandle)
OSTRA_DECODE_HANDLE(ObjectClassHandle)
OSTRA_DECODE_HANDLE(InteractionClassHandle)
OSTRA_DECODE_HANDLE(ObjectInstanceHandle)
OSTRA_DECODE_HANDLE(AttributeHandle)
OSTRA_DECODE_HANDLE(ParameterHandle)
OSTRA_DECODE_HANDLE(DimensionHandle)
OSTRA_DECODE_HANDLE(MessageRetractionHandle)
OSTRA_DECODE_HANDLE(RegionHandle)
#undef OSTRA_DECODE_HANDLE

}  // namespace ostra1516e
