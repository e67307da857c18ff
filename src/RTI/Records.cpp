// The small records that services and callbacks carry: range bounds, supplemental
// information, restore status and federation execution information.
#include <RTI/RangeBounds.h>
#include <RTI/Typedefs.h>

namespace rti1516e {

// Bounds are 32-bit values; unsigned long is wider here, so only its low 32 bits are kept.
RangeBounds::RangeBounds() : _lowerBound(0), _upperBound(0) {}
RangeBounds::RangeBounds(unsigned long lowerBound, unsigned long upperBound)
    : _lowerBound(static_cast<uint32_t>(lowerBound)),
      _upperBound(static_cast<uint32_t>(upperBound)) {}
RangeBounds::~RangeBounds() {}
RangeBounds::RangeBounds(RangeBounds const& rhs) = default;
RangeBounds& RangeBounds::operator=(RangeBounds const& rhs) = default;
unsigned long RangeBounds::getLowerBound() const { return _lowerBound; }
unsigned long RangeBounds::getUpperBound() const { return _upperBound; }
void RangeBounds::setLowerBound(unsigned long lowerBound) {
  _lowerBound = static_cast<uint32_t>(lowerBound);
}
void RangeBounds::setUpperBound(unsigned long upperBound) {
  _upperBound = static_cast<uint32_t>(upperBound);
}

#define OSTRA_DEFINE_SUPPLEMENTAL_INFO(Name)                                       \
  Name::Name() : hasProducingFederate(false), hasSentRegions(false) {}             \
  Name::Name(FederateHandle const& theFederateHandle)                              \
      : hasProducingFederate(true),                                                \
        hasSentRegions(false),                                                     \
        producingFederate(theFederateHandle) {}                                    \
  Name::Name(RegionHandleSet const& theRegions)                                    \
      : hasProducingFederate(false), hasSentRegions(true), sentRegions(theRegions) {} \
  Name::Name(FederateHandle const& theFederateHandle, RegionHandleSet const& theRegions) \
      : hasProducingFederate(true),                                                \
        hasSentRegions(true),                                                      \
        producingFederate(theFederateHandle),                                      \
        sentRegions(theRegions) {}                                                 \
  Name::Name(Name const& rhs) = default;                                           \
  Name& Name::operator=(Name const& rhs) = default;                                \
  Name::~Name() {}

OSTRA_DEFINE_SUPPLEMENTAL_INFO(SupplementalReflectInfo)
OSTRA_DEFINE_SUPPLEMENTAL_INFO(SupplementalReceiveInfo)

#undef OSTRA_DEFINE_SUPPLEMENTAL_INFO

SupplementalRemoveInfo::SupplementalRemoveInfo() : hasProducingFederate(false) {}
SupplementalRemoveInfo::SupplementalRemoveInfo(FederateHandle const& theFederateHandle)
    : hasProducingFederate(true), producingFederate(theFederateHandle) {}
SupplementalRemoveInfo::SupplementalRemoveInfo(SupplementalRemoveInfo const& rhs) = default;
SupplementalRemoveInfo& SupplementalRemoveInfo::operator=(SupplementalRemoveInfo const& rhs) =
    default;
SupplementalRemoveInfo::~SupplementalRemoveInfo() {}

FederateRestoreStatus::FederateRestoreStatus(FederateHandle const& thePreHandle,
                                             FederateHandle const& thePostHandle,
                                             RestoreStatus theStatus)
    : preRestoreHandle(thePreHandle), postRestoreHandle(thePostHandle), status(theStatus) {}
FederateRestoreStatus::FederateRestoreStatus(FederateRestoreStatus const& rhs) = default;
FederateRestoreStatus& FederateRestoreStatus::operator=(FederateRestoreStatus const& rhs) =
    default;
FederateRestoreStatus::~FederateRestoreStatus() {}

FederationExecutionInformation::FederationExecutionInformation(
    std::wstring const& theFederationExecutionName,
    std::wstring const& theLogicalTimeImplementationName)
    : federationExecutionName(theFederationExecutionName),
      logicalTimeImplementationName(theLogicalTimeImplementationName) {}
FederationExecutionInformation::FederationExecutionInformation(
    FederationExecutionInformation const& rhs) = default;
FederationExecutionInformation& FederationExecutionInformation::operator=(
    FederationExecutionInformation const& rhs) = default;
FederationExecutionInformation::~FederationExecutionInformation() {}

}  // namespace rti1516e
