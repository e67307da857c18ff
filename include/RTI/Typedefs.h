// Typedefs.h: the collections and small records that services and callbacks carry.
//
//   rti1516e::AttributeHandleValueMap values;
//   values[position] = rti1516e::VariableLengthData(bytes, size);
//   ambassador->updateAttributeValues(tank, values, tag);
//
// Sets and maps of handles are ordered by the handle's operator<.
#ifndef RTI_Typedefs_h
#define RTI_Typedefs_h

#include <RTI/SpecificConfig.h>
#include <RTI/Enums.h>
#include <RTI/Handle.h>
#include <RTI/VariableLengthData.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace rti1516e {

typedef std::set<AttributeHandle> AttributeHandleSet;
typedef std::set<ParameterHandle> ParameterHandleSet;
typedef std::set<FederateHandle> FederateHandleSet;
typedef std::set<DimensionHandle> DimensionHandleSet;
typedef std::set<RegionHandle> RegionHandleSet;
typedef std::set<ObjectClassHandle> ObjectClassHandleSet;
typedef std::set<InteractionClassHandle> InteractionClassHandleSet;
typedef std::set<ObjectInstanceHandle> ObjectInstanceHandleSet;

typedef std::map<AttributeHandle, VariableLengthData> AttributeHandleValueMap;
typedef std::map<ParameterHandle, VariableLengthData> ParameterHandleValueMap;

typedef std::pair<AttributeHandleSet, RegionHandleSet> AttributeHandleSetRegionHandleSetPair;
typedef std::vector<AttributeHandleSetRegionHandleSetPair>
    AttributeHandleSetRegionHandleSetPairVector;

typedef std::pair<FederateHandle, SaveStatus> FederateHandleSaveStatusPair;
typedef std::vector<FederateHandleSaveStatusPair> FederateHandleSaveStatusPairVector;

// Extra information about a reflection or a received interaction. producingFederate is
// meaningful only when hasProducingFederate is set, sentRegions only when
// hasSentRegions is set; the constructors set each flag exactly when they are given the
// matching value (an empty region set included).
#define RTI1516E_DECLARE_SUPPLEMENTAL_INFO(Name)                                   \
  struct RTI_EXPORT Name {                                                         \
    Name();                                                                        \
    explicit Name(FederateHandle const& theFederateHandle);                        \
    explicit Name(RegionHandleSet const& theRegions);                              \
    Name(FederateHandle const& theFederateHandle, RegionHandleSet const& theRegions); \
    Name(Name const& rhs);                                                         \
    Name& operator=(Name const& rhs);                                              \
    ~Name();                                                                       \
                                                                                   \
    bool hasProducingFederate;                                                     \
    bool hasSentRegions;                                                           \
    FederateHandle producingFederate;                                              \
    RegionHandleSet sentRegions;                                                   \
  };

RTI1516E_DECLARE_SUPPLEMENTAL_INFO(SupplementalReflectInfo)
RTI1516E_DECLARE_SUPPLEMENTAL_INFO(SupplementalReceiveInfo)

#undef RTI1516E_DECLARE_SUPPLEMENTAL_INFO

// Extra information about a removed object instance.
struct RTI_EXPORT SupplementalRemoveInfo {
  SupplementalRemoveInfo();
  explicit SupplementalRemoveInfo(FederateHandle const& theFederateHandle);
  SupplementalRemoveInfo(SupplementalRemoveInfo const& rhs);
  SupplementalRemoveInfo& operator=(SupplementalRemoveInfo const& rhs);
  ~SupplementalRemoveInfo();

  bool hasProducingFederate;
  FederateHandle producingFederate;
};

// One federate's part in a restore: its handle before and after, and how far it got.
struct RTI_EXPORT FederateRestoreStatus {
  FederateRestoreStatus(FederateHandle const& thePreHandle,
                        FederateHandle const& thePostHandle, RestoreStatus theStatus);
  FederateRestoreStatus(FederateRestoreStatus const& rhs);
  FederateRestoreStatus& operator=(FederateRestoreStatus const& rhs);
  ~FederateRestoreStatus();

  FederateHandle preRestoreHandle;
  FederateHandle postRestoreHandle;
  RestoreStatus status;
};

typedef std::vector<FederateRestoreStatus> FederateRestoreStatusVector;

// One running federation as listFederationExecutions reports it.
struct RTI_EXPORT FederationExecutionInformation {
  FederationExecutionInformation(std::wstring const& theFederationExecutionName,
                                 std::wstring const& theLogicalTimeImplementationName);
  FederationExecutionInformation(FederationExecutionInformation const& rhs);
  FederationExecutionInformation& operator=(FederationExecutionInformation const& rhs);
  ~FederationExecutionInformation();

  std::wstring federationExecutionName;
  std::wstring logicalTimeImplementationName;
};

typedef std::vector<FederationExecutionInformation> FederationExecutionInformationVector;

}  // namespace rti1516e

#endif  // RTI_Typedefs_h
