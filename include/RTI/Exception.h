// Exception.h: the exceptions of the IEEE 1516-2010 C++ API.
//
// Every failure that reaches a federate is one of the concrete classes below, thrown by
// value. They all derive directly from rti1516e::Exception and carry a wide message that
// what() returns unchanged, so one handler catches any RTI failure:
//
//   try {
//     ambassador->joinFederationExecution(L"Tank", L"Battle");
//   } catch (rti1516e::FederationExecutionDoesNotExist const&) {
//     ...
//   } catch (rti1516e::Exception const& e) {
//     std::wcerr << e << std::endl;   // prints e.what()
//   }
#ifndef RTI_Exception_h
#define RTI_Exception_h

#include <RTI/SpecificConfig.h>

#include <iosfwd>
#include <string>

namespace rti1516e {

// Exception is the abstract base of every RTI exception. It has no data of its own.
class RTI_EXPORT Exception {
 public:
  Exception();
  Exception(Exception const& rhs);
  Exception& operator=(Exception const& rhs);
  virtual ~Exception();

  // what returns the message exactly as it was given to the constructor.
  virtual std::wstring what() const = 0;
};

// Writes e.what() to the stream.
RTI_EXPORT std::wostream& operator<<(std::wostream& stream, Exception const& e);

// The concrete exception classes, one row each: X(Name, InCore). InCore is 1 when the
// Java core has an exception class hla.rti1516e.exceptions.Name of the same name, so
// that a core failure of that class arrives as this class; 0 when only this library or
// federate code raises it. Keep the rows sorted by name.
#define RTI1516E_EXCEPTIONS(X)                               \
  X(AlreadyConnected, 1)                                     \
  X(AsynchronousDeliveryAlreadyDisabled, 1)                  \
  X(AsynchronousDeliveryAlreadyEnabled, 1)                   \
  X(AttributeAcquisitionWasNotCanceled, 0)                   \
  X(AttributeAcquisitionWasNotRequested, 1)                  \
  X(AttributeAlreadyBeingAcquired, 1)                        \
  X(AttributeAlreadyBeingChanged, 1)                         \
  X(AttributeAlreadyBeingDivested, 1)                        \
  X(AttributeAlreadyOwned, 1)                                \
  X(AttributeDivestitureWasNotRequested, 1)                  \
  X(AttributeNotDefined, 1)                                  \
  X(AttributeNotOwned, 1)                                    \
  X(AttributeNotPublished, 1)                                \
  X(AttributeNotRecognized, 0)                               \
  X(AttributeNotSubscribed, 0)                               \
  X(AttributeRelevanceAdvisorySwitchIsOff, 1)                \
  X(AttributeRelevanceAdvisorySwitchIsOn, 1)                 \
  X(AttributeScopeAdvisorySwitchIsOff, 1)                    \
  X(AttributeScopeAdvisorySwitchIsOn, 1)                     \
  X(BadInitializationParameter, 0)                           \
  X(CallNotAllowedFromWithinCallback, 1)                     \
  X(ConnectionFailed, 1)                                     \
  X(CouldNotCreateLogicalTimeFactory, 1)                     \
  X(CouldNotDecode, 0)                                       \
  X(CouldNotDiscover, 0)                                     \
  X(CouldNotEncode, 0)                                       \
  X(CouldNotInitiateRestore, 0)                              \
  X(CouldNotOpenFDD, 1)                                      \
  X(CouldNotOpenMIM, 1)                                      \
  X(DeletePrivilegeNotHeld, 1)                               \
  X(DesignatorIsHLAstandardMIM, 1)                           \
  X(EncoderException, 0)                                     \
  X(ErrorReadingFDD, 1)                                      \
  X(ErrorReadingMIM, 1)                                      \
  X(FederateAlreadyExecutionMember, 1)                       \
  X(FederateHandleNotKnown, 1)                               \
  X(FederateHasNotBegunSave, 1)                              \
  X(FederateInternalError, 1)                                \
  X(FederateIsExecutionMember, 1)                            \
  X(FederateNameAlreadyInUse, 1)                             \
  X(FederateNotExecutionMember, 1)                           \
  X(FederateOwnsAttributes, 1)                               \
  X(FederateServiceInvocationsAreBeingReportedViaMOM, 1)     \
  X(FederateUnableToUseTime, 1)                              \
  X(FederatesCurrentlyJoined, 1)                             \
  X(FederationExecutionAlreadyExists, 1)                     \
  X(FederationExecutionDoesNotExist, 1)                      \
  X(IllegalName, 1)                                          \
  X(IllegalTimeArithmetic, 0)                                \
  X(InTimeAdvancingState, 1)                                 \
  X(InconsistentFDD, 1)                                      \
  X(InteractionClassAlreadyBeingChanged, 1)                  \
  X(InteractionClassNotDefined, 1)                           \
  X(InteractionClassNotPublished, 1)                         \
  X(InteractionClassNotRecognized, 0)                        \
  X(InteractionClassNotSubscribed, 0)                        \
  X(InteractionParameterNotDefined, 1)                       \
  X(InteractionParameterNotRecognized, 0)                    \
  X(InteractionRelevanceAdvisorySwitchIsOff, 1)              \
  X(InteractionRelevanceAdvisorySwitchIsOn, 1)               \
  X(InternalError, 0)                                        \
  X(InvalidAttributeHandle, 1)                               \
  X(InvalidDimensionHandle, 1)                               \
  X(InvalidFederateHandle, 1)                                \
  X(InvalidInteractionClassHandle, 1)                        \
  X(InvalidLocalSettingsDesignator, 1)                       \
  X(InvalidLogicalTime, 1)                                   \
  X(InvalidLogicalTimeInterval, 0)                           \
  X(InvalidLookahead, 1)                                     \
  X(InvalidMessageRetractionHandle, 1)                       \
  X(InvalidObjectClassHandle, 1)                             \
  X(InvalidOrderName, 1)                                     \
  X(InvalidOrderType, 1)                                     \
  X(InvalidParameterHandle, 1)                               \
  X(InvalidRangeBound, 1)                                    \
  X(InvalidRegion, 1)                                        \
  X(InvalidRegionContext, 1)                                 \
  X(InvalidResignAction, 1)                                  \
  X(InvalidServiceGroup, 1)                                  \
  X(InvalidTransportationName, 1)                            \
  X(InvalidTransportationType, 1)                            \
  X(InvalidUpdateRateDesignator, 1)                          \
  X(JoinedFederateIsNotInTimeAdvancingState, 0)              \
  X(LogicalTimeAlreadyPassed, 1)                             \
  X(MessageCanNoLongerBeRetracted, 1)                        \
  X(NameNotFound, 1)                                         \
  X(NameSetWasEmpty, 1)                                      \
  X(NoAcquisitionPending, 1)                                 \
  X(NoFederateWillingToAcquireAttribute, 0)                  \
  X(NoRequestToEnableTimeConstrainedWasPending, 0)           \
  X(NoRequestToEnableTimeRegulationWasPending, 0)            \
  X(NotConnected, 1)                                         \
  X(ObjectClassNotDefined, 1)                                \
  X(ObjectClassNotKnown, 0)                                  \
  X(ObjectClassNotPublished, 1)                              \
  X(ObjectClassRelevanceAdvisorySwitchIsOff, 1)              \
  X(ObjectClassRelevanceAdvisorySwitchIsOn, 1)               \
  X(ObjectInstanceNameInUse, 1)                              \
  X(ObjectInstanceNameNotReserved, 1)                        \
  X(ObjectInstanceNotKnown, 1)                               \
  X(OwnershipAcquisitionPending, 1)                          \
  X(RTIinternalError, 1)                                     \
  X(RegionDoesNotContainSpecifiedDimension, 1)               \
  X(RegionInUseForUpdateOrSubscription, 1)                   \
  X(RegionNotCreatedByThisFederate, 1)                       \
  X(RequestForTimeConstrainedPending, 1)                     \
  X(RequestForTimeRegulationPending, 1)                      \
  X(RestoreInProgress, 1)                                    \
  X(RestoreNotInProgress, 1)                                 \
  X(RestoreNotRequested, 1)                                  \
  X(SaveInProgress, 1)                                       \
  X(SaveNotInProgress, 1)                                    \
  X(SaveNotInitiated, 1)                                     \
  X(SpecifiedSaveLabelDoesNotExist, 0)                       \
  X(SynchronizationPointLabelNotAnnounced, 1)                \
  X(TimeConstrainedAlreadyEnabled, 1)                        \
  X(TimeConstrainedIsNotEnabled, 1)                          \
  X(TimeRegulationAlreadyEnabled, 1)                         \
  X(TimeRegulationIsNotEnabled, 1)                           \
  X(UnableToPerformSave, 0)                                  \
  X(UnknownName, 0)                                          \
  X(UnsupportedCallbackModel, 1)

// Each concrete class holds only its message.
#define RTI1516E_DECLARE_EXCEPTION(Name, InCore)          \
  class RTI_EXPORT Name : public Exception {              \
   public:                                                \
    Name(std::wstring const& message);                    \
    Name(Name const& rhs);                                \
    Name& operator=(Name const& rhs);                     \
    virtual ~Name();                                      \
    virtual std::wstring what() const;                    \
                                                          \
   private:                                               \
    std::wstring _msg;                                    \
  };

RTI1516E_EXCEPTIONS(RTI1516E_DECLARE_EXCEPTION)

#undef RTI1516E_DECLARE_EXCEPTION

}  // namespace rti1516e

#endif  // RTI_Exception_h
