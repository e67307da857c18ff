// TypeCodes: one tag type per type code of the array format shared with the Java core.
//
// A Java method name spells its arguments (joinFederationExecution_S_S_S_URLX); the
// service and callback tables name the same codes as these tags, and the encoders and
// decoders are picked by tag. Each tag gives
//   Value  the C++ type the code carries,
//   Param  how an operation takes it (by value for handles and enumerations, otherwise by
//          const reference),
//   name   the code as it appears in Java method names.
#ifndef OSTRA_GEN_TYPECODES_H
#define OSTRA_GEN_TYPECODES_H

#include <RTI/Enums.h>
#include <RTI/FederateAmbassador.h>
#include <RTI/Handle.h>
#include <RTI/LogicalTime.h>
#include <RTI/LogicalTimeInterval.h>
#include <RTI/RangeBounds.h>
#include <RTI/Typedefs.h>
#include <RTI/VariableLengthData.h>

#include <set>
#include <string>
#include <vector>

namespace ostra1516e {
namespace code {

#define OSTRA_BY_VALUE(Tag, Type, Name)          \
  struct Tag {                                   \
    using Value = Type;                          \
    using Param = Type;                          \
    static constexpr char const name[] = Name;   \
  };
#define OSTRA_BY_REFERENCE(Tag, Type, Name)      \
  struct Tag {                                   \
    using Value = Type;                          \
    using Param = Type const&;                   \
    static constexpr char const name[] = Name;   \
  };

OSTRA_BY_REFERENCE(S, std::wstring, "S")
// The string-set form of S, in the four multiple-name services and callbacks.
OSTRA_BY_REFERENCE(SSet, std::set<std::wstring>, "S")
OSTRA_BY_REFERENCE(URL, std::wstring, "URL")
OSTRA_BY_REFERENCE(URLX, std::vector<std::wstring>, "URLX")
OSTRA_BY_REFERENCE(BX, rti1516e::VariableLengthData, "BX")

OSTRA_BY_VALUE(OIH, rti1516e::ObjectInstanceHandle, "OIH")
OSTRA_BY_VALUE(OCH, rti1516e::ObjectClassHandle, "OCH")
OSTRA_BY_VALUE(ICH, rti1516e::InteractionClassHandle, "ICH")
OSTRA_BY_VALUE(AH, rti1516e::AttributeHandle, "AH")
OSTRA_BY_VALUE(PH, rti1516e::ParameterHandle, "PH")
OSTRA_BY_VALUE(FH, rti1516e::FederateHandle, "FH")
OSTRA_BY_VALUE(DH, rti1516e::DimensionHandle, "DH")
OSTRA_BY_VALUE(RH, rti1516e::RegionHandle, "RH")

OSTRA_BY_REFERENCE(AHS, rti1516e::AttributeHandleSet, "AHS")
OSTRA_BY_REFERENCE(FHS, rti1516e::FederateHandleSet, "FHS")
OSTRA_BY_REFERENCE(DHS, rti1516e::DimensionHandleSet, "DHS")
OSTRA_BY_REFERENCE(RHS, rti1516e::RegionHandleSet, "RHS")
OSTRA_BY_REFERENCE(AHVM, rti1516e::AttributeHandleValueMap, "AHVM")
OSTRA_BY_REFERENCE(PHVM, rti1516e::ParameterHandleValueMap, "PHVM")
OSTRA_BY_REFERENCE(ASRSPL, rti1516e::AttributeHandleSetRegionHandleSetPairVector, "ASRSPL")

OSTRA_BY_VALUE(Z, bool, "Z")
OSTRA_BY_VALUE(D, double, "D")
OSTRA_BY_REFERENCE(RB, rti1516e::RangeBounds, "RB")
OSTRA_BY_REFERENCE(LT, rti1516e::LogicalTime, "LT")
OSTRA_BY_REFERENCE(LTI, rti1516e::LogicalTimeInterval, "LTI")
OSTRA_BY_VALUE(MRH, rti1516e::MessageRetractionHandle, "MRH")

OSTRA_BY_VALUE(OT, rti1516e::OrderType, "OT")
OSTRA_BY_VALUE(TTH, rti1516e::TransportationType, "TTH")
OSTRA_BY_VALUE(RA, rti1516e::ResignAction, "RA")
OSTRA_BY_VALUE(SG, rti1516e::ServiceGroup, "SG")
OSTRA_BY_VALUE(CM, rti1516e::CallbackModel, "CM")
OSTRA_BY_VALUE(SPFR, rti1516e::SynchronizationPointFailureReason, "SPFR")
OSTRA_BY_VALUE(SFR, rti1516e::SaveFailureReason, "SFR")
OSTRA_BY_VALUE(RFR, rti1516e::RestoreFailureReason, "RFR")

// The federate's ambassador; on the wire, the registry handle of its callback target.
struct FA {
  using Value = rti1516e::FederateAmbassador;
  using Param = rti1516e::FederateAmbassador&;
  static constexpr char const name[] = "FA";
};

// The three forms of FASRI, told apart by the callback that carries them.
OSTRA_BY_VALUE(FASRIReflect, rti1516e::SupplementalReflectInfo, "FASRI")
OSTRA_BY_VALUE(FASRIReceive, rti1516e::SupplementalReceiveInfo, "FASRI")
OSTRA_BY_VALUE(FASRIRemove, rti1516e::SupplementalRemoveInfo, "FASRI")

OSTRA_BY_REFERENCE(FEIS, rti1516e::FederationExecutionInformationVector, "FEIS")
OSTRA_BY_REFERENCE(FRSX, rti1516e::FederateRestoreStatusVector, "FRSX")
OSTRA_BY_REFERENCE(FHSSPX, rti1516e::FederateHandleSaveStatusPairVector, "FHSSPX")

#undef OSTRA_BY_VALUE
#undef OSTRA_BY_REFERENCE

}  // namespace code
}  // namespace ostra1516e

#endif  // OSTRA_GEN_TYPECODES_H
