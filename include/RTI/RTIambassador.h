// RTIambassador.h: the services a federate calls on the RTI.
//
// Get an ambassador from RTIambassadorFactory, connect it with your FederateAmbassador,
// then create or join a federation:
//
//   rti1516e::RTIambassadorFactory factory;
//   std::auto_ptr<rti1516e::RTIambassador> rti = factory.createRTIambassador();
//   rti->connect(myFederateAmbassador, rti1516e::HLA_EVOKED);
//   rti->joinFederationExecution(L"Tank", L"Battle");
//
// Every failure is thrown as an rti1516e::Exception subclass. Besides the exceptions named
// per group below, almost every service may throw NotConnected (no connect yet),
// FederateNotExecutionMember (not joined), SaveInProgress and RestoreInProgress (a save or
// restore is under way), and RTIinternalError (a fault inside the RTI).
#ifndef RTI_RTIambassador_h
#define RTI_RTIambassador_h

#include <RTI/SpecificConfig.h>
#include <RTI/Enums.h>
#include <RTI/Exception.h>
#include <RTI/Handle.h>
#include <RTI/RangeBounds.h>
#include <RTI/Typedefs.h>
#include <RTI/VariableLengthData.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace rti1516e {

class FederateAmbassador;
class LogicalTime;
class LogicalTimeFactory;
class LogicalTimeInterval;

class RTI_EXPORT RTIambassador {
 protected:
  RTIambassador();

 public:
  virtual ~RTIambassador();

  // Federation management. connect: ConnectionFailed, InvalidLocalSettingsDesignator,
  // UnsupportedCallbackModel, AlreadyConnected, CallNotAllowedFromWithinCallback.
  // create: CouldNotOpenFDD, ErrorReadingFDD, InconsistentFDD, CouldNotOpenMIM,
  // ErrorReadingMIM, DesignatorIsHLAstandardMIM, CouldNotCreateLogicalTimeFactory,
  // FederationExecutionAlreadyExists. join: FederateNameAlreadyInUse,
  // FederateAlreadyExecutionMember, FederationExecutionDoesNotExist, CouldNotOpenFDD,
  // ErrorReadingFDD, InconsistentFDD, CouldNotCreateLogicalTimeFactory,
  // CallNotAllowedFromWithinCallback. destroy: FederatesCurrentlyJoined,
  // FederationExecutionDoesNotExist. resign: InvalidResignAction, OwnershipAcquisitionPending,
  // FederateOwnsAttributes. Synchronization, save and restore: the matching
  // ...NotInProgress, ...NotInitiated, FederateHasNotBegunSave, SynchronizationPointLabelNotAnnounced,
  // InvalidFederateHandle, LogicalTimeAlreadyPassed, InvalidLogicalTime, FederateUnableToUseTime.
  virtual void connect(FederateAmbassador& federateAmbassador, CallbackModel theCallbackModel,
                       std::wstring const& localSettingsDesignator = L"") = 0;
  virtual void disconnect() = 0;
  virtual void createFederationExecution(std::wstring const& federationExecutionName,
                                         std::vector<std::wstring> const& fomModules,
                                         std::wstring const& logicalTimeImplementationName = L"") = 0;
  virtual void createFederationExecution(std::wstring const& federationExecutionName,
                                         std::wstring const& fomModule,
                                         std::wstring const& logicalTimeImplementationName = L"") = 0;
  virtual void createFederationExecutionWithMIM(
      std::wstring const& federationExecutionName, std::vector<std::wstring> const& fomModules,
      std::wstring const& mimModule, std::wstring const& logicalTimeImplementationName = L"") = 0;
  virtual void destroyFederationExecution(std::wstring const& federationExecutionName) = 0;
  virtual void listFederationExecutions() = 0;
  virtual FederateHandle joinFederationExecution(
      std::wstring const& federateName, std::wstring const& federateType,
      std::wstring const& federationExecutionName,
      std::vector<std::wstring> const& additionalFomModules = std::vector<std::wstring>()) = 0;
  virtual FederateHandle joinFederationExecution(
      std::wstring const& federateType, std::wstring const& federationExecutionName,
      std::vector<std::wstring> const& additionalFomModules = std::vector<std::wstring>()) = 0;
  virtual void resignFederationExecution(ResignAction resignAction) = 0;
  virtual void registerFederationSynchronizationPoint(std::wstring const& label,
                                                      VariableLengthData const& theUserSuppliedTag,
                                                      FederateHandleSet const& synchronizationSet) = 0;
  virtual void registerFederationSynchronizationPoint(std::wstring const& label,
                                                      VariableLengthData const& theUserSuppliedTag) = 0;
  virtual void synchronizationPointAchieved(std::wstring const& label, bool successfully = true) = 0;
  virtual void requestFederationSave(std::wstring const& label, LogicalTime const& theTime) = 0;
  virtual void requestFederationSave(std::wstring const& label) = 0;
  virtual void federateSaveBegun() = 0;
  virtual void federateSaveComplete() = 0;
  virtual void federateSaveNotComplete() = 0;
  virtual void abortFederationSave() = 0;
  virtual void queryFederationSaveStatus() = 0;
  virtual void requestFederationRestore(std::wstring const& label) = 0;
  virtual void federateRestoreComplete() = 0;
  virtual void federateRestoreNotComplete() = 0;
  virtual void abortFederationRestore() = 0;
  virtual void queryFederationRestoreStatus() = 0;

  // Declaration management: ObjectClassNotDefined, AttributeNotDefined,
  // InteractionClassNotDefined, OwnershipAcquisitionPending, InvalidUpdateRateDesignator.
  virtual void publishObjectClassAttributes(ObjectClassHandle theClass,
                                            AttributeHandleSet const& attributeList) = 0;
  virtual void unpublishObjectClass(ObjectClassHandle theClass) = 0;
  virtual void unpublishObjectClassAttributes(ObjectClassHandle theClass,
                                              AttributeHandleSet const& attributeList) = 0;
  virtual void publishInteractionClass(InteractionClassHandle theInteraction) = 0;
  virtual void unpublishInteractionClass(InteractionClassHandle theInteraction) = 0;
  virtual void subscribeObjectClassAttributes(ObjectClassHandle theClass,
                                              AttributeHandleSet const& attributeList,
                                              bool active = true,
                                              std::wstring const& updateRateDesignator = L"") = 0;
  virtual void unsubscribeObjectClass(ObjectClassHandle theClass) = 0;
  virtual void unsubscribeObjectClassAttributes(ObjectClassHandle theClass,
                                                AttributeHandleSet const& attributeList) = 0;
  virtual void subscribeInteractionClass(InteractionClassHandle theClass, bool active = true) = 0;
  virtual void unsubscribeInteractionClass(InteractionClassHandle theClass) = 0;

  // Object management: IllegalName, ObjectInstanceNameInUse, ObjectInstanceNameNotReserved,
  // ObjectClassNotDefined, ObjectClassNotPublished, ObjectInstanceNotKnown,
  // AttributeNotDefined, AttributeNotOwned, InteractionClassNotDefined,
  // InteractionClassNotPublished, InteractionParameterNotDefined, DeletePrivilegeNotHeld,
  // InvalidLogicalTime, InvalidTransportationType, AttributeAlreadyBeingChanged,
  // InteractionClassAlreadyBeingChanged, NameSetWasEmpty.
  virtual void reserveObjectInstanceName(std::wstring const& theObjectInstanceName) = 0;
  virtual void releaseObjectInstanceName(std::wstring const& theObjectInstanceName) = 0;
  virtual void reserveMultipleObjectInstanceName(std::set<std::wstring> const& theObjectInstanceNames) = 0;
  virtual void releaseMultipleObjectInstanceName(std::set<std::wstring> const& theObjectInstanceNames) = 0;
  virtual ObjectInstanceHandle registerObjectInstance(ObjectClassHandle theClass,
                                                      std::wstring const& theObjectInstanceName) = 0;
  virtual ObjectInstanceHandle registerObjectInstance(ObjectClassHandle theClass) = 0;
  virtual MessageRetractionHandle updateAttributeValues(ObjectInstanceHandle theObject,
                                                        AttributeHandleValueMap const& theAttributeValues,
                                                        VariableLengthData const& theUserSuppliedTag,
                                                        LogicalTime const& theTime) = 0;
  virtual void updateAttributeValues(ObjectInstanceHandle theObject,
                                     AttributeHandleValueMap const& theAttributeValues,
                                     VariableLengthData const& theUserSuppliedTag) = 0;
  virtual MessageRetractionHandle sendInteraction(InteractionClassHandle theInteraction,
                                                  ParameterHandleValueMap const& theParameterValues,
                                                  VariableLengthData const& theUserSuppliedTag,
                                                  LogicalTime const& theTime) = 0;
  virtual void sendInteraction(InteractionClassHandle theInteraction,
                               ParameterHandleValueMap const& theParameterValues,
                               VariableLengthData const& theUserSuppliedTag) = 0;
  virtual MessageRetractionHandle deleteObjectInstance(ObjectInstanceHandle theObject,
                                                       VariableLengthData const& theUserSuppliedTag,
                                                       LogicalTime const& theTime) = 0;
  virtual void deleteObjectInstance(ObjectInstanceHandle theObject,
                                    VariableLengthData const& theUserSuppliedTag) = 0;
  virtual void localDeleteObjectInstance(ObjectInstanceHandle theObject) = 0;
  virtual void requestAttributeValueUpdate(ObjectClassHandle theClass,
                                           AttributeHandleSet const& theAttributes,
                                           VariableLengthData const& theUserSuppliedTag) = 0;
  virtual void requestAttributeValueUpdate(ObjectInstanceHandle theObject,
                                           AttributeHandleSet const& theAttributes,
                                           VariableLengthData const& theUserSuppliedTag) = 0;
  virtual void requestAttributeTransportationTypeChange(ObjectInstanceHandle theObject,
                                                        AttributeHandleSet const& theAttributes,
                                                        TransportationType theType) = 0;
  virtual void queryAttributeTransportationType(ObjectInstanceHandle theObject,
                                                AttributeHandle theAttribute) = 0;
  virtual void requestInteractionTransportationTypeChange(InteractionClassHandle theClass,
                                                          TransportationType theType) = 0;
  virtual void queryInteractionTransportationType(FederateHandle theFederate,
                                                  InteractionClassHandle theInteraction) = 0;

  // Ownership management: ObjectInstanceNotKnown, AttributeNotDefined, AttributeNotOwned,
  // AttributeAlreadyOwned, AttributeNotPublished, ObjectClassNotPublished,
  // AttributeAlreadyBeingDivested, AttributeAlreadyBeingAcquired,
  // AttributeDivestitureWasNotRequested, AttributeAcquisitionWasNotRequested,
  // NoAcquisitionPending, FederateOwnsAttributes.
  virtual void unconditionalAttributeOwnershipDivestiture(ObjectInstanceHandle theObject,
                                                          AttributeHandleSet const& theAttributes) = 0;
  virtual void negotiatedAttributeOwnershipDivestiture(ObjectInstanceHandle theObject,
                                                       AttributeHandleSet const& theAttributes,
                                                       VariableLengthData const& theUserSuppliedTag) = 0;
  virtual void confirmDivestiture(ObjectInstanceHandle theObject,
                                  AttributeHandleSet const& confirmedAttributes,
                                  VariableLengthData const& theUserSuppliedTag) = 0;
  virtual void attributeOwnershipAcquisition(ObjectInstanceHandle theObject,
                                             AttributeHandleSet const& desiredAttributes,
                                             VariableLengthData const& theUserSuppliedTag) = 0;
  virtual void attributeOwnershipAcquisitionIfAvailable(ObjectInstanceHandle theObject,
                                                        AttributeHandleSet const& desiredAttributes) = 0;
  virtual void attributeOwnershipReleaseDenied(ObjectInstanceHandle theObject,
                                               AttributeHandleSet const& theAttributes) = 0;
  // theDivestedAttributes is replaced by the attributes actually divested.
  virtual void attributeOwnershipDivestitureIfWanted(ObjectInstanceHandle theObject,
                                                     AttributeHandleSet const& theAttributes,
                                                     AttributeHandleSet& theDivestedAttributes) = 0;
  virtual void cancelNegotiatedAttributeOwnershipDivestiture(ObjectInstanceHandle theObject,
                                                             AttributeHandleSet const& theAttributes) = 0;
  virtual void cancelAttributeOwnershipAcquisition(ObjectInstanceHandle theObject,
                                                   AttributeHandleSet const& theAttributes) = 0;
  virtual void queryAttributeOwnership(ObjectInstanceHandle theObject,
                                       AttributeHandle theAttribute) = 0;
  virtual bool isAttributeOwnedByFederate(ObjectInstanceHandle theObject,
                                          AttributeHandle theAttribute) = 0;

  // Time management: InvalidLogicalTime, InvalidLookahead, LogicalTimeAlreadyPassed,
  // InTimeAdvancingState, RequestForTimeRegulationPending, RequestForTimeConstrainedPending,
  // TimeRegulationAlreadyEnabled, TimeRegulationIsNotEnabled, TimeConstrainedAlreadyEnabled,
  // TimeConstrainedIsNotEnabled, AsynchronousDeliveryAlreadyEnabled,
  // AsynchronousDeliveryAlreadyDisabled, InvalidMessageRetractionHandle,
  // MessageCanNoLongerBeRetracted, InvalidOrderType.
  virtual void enableTimeRegulation(LogicalTimeInterval const& theLookahead) = 0;
  virtual void disableTimeRegulation() = 0;
  virtual void enableTimeConstrained() = 0;
  virtual void disableTimeConstrained() = 0;
  virtual void timeAdvanceRequest(LogicalTime const& theTime) = 0;
  virtual void timeAdvanceRequestAvailable(LogicalTime const& theTime) = 0;
  virtual void nextMessageRequest(LogicalTime const& theTime) = 0;
  virtual void nextMessageRequestAvailable(LogicalTime const& theTime) = 0;
  virtual void flushQueueRequest(LogicalTime const& theTime) = 0;
  virtual void enableAsynchronousDelivery() = 0;
  virtual void disableAsynchronousDelivery() = 0;
  // queryGALT and queryLITS return false, leaving theTime as it was, when there is no
  // such time.
  virtual bool queryGALT(LogicalTime& theTime) = 0;
  virtual void queryLogicalTime(LogicalTime& theTime) = 0;
  virtual bool queryLITS(LogicalTime& theTime) = 0;
  virtual void modifyLookahead(LogicalTimeInterval const& theLookahead) = 0;
  virtual void queryLookahead(LogicalTimeInterval& interval) = 0;
  virtual void retract(MessageRetractionHandle theHandle) = 0;
  virtual void changeAttributeOrderType(ObjectInstanceHandle theObject,
                                        AttributeHandleSet const& theAttributes,
                                        OrderType theType) = 0;
  virtual void changeInteractionOrderType(InteractionClassHandle theClass, OrderType theType) = 0;

  // Data distribution management: InvalidDimensionHandle, InvalidRegion,
  // RegionNotCreatedByThisFederate, RegionInUseForUpdateOrSubscription,
  // InvalidRegionContext, plus the object and declaration management exceptions.
  virtual RegionHandle createRegion(DimensionHandleSet const& theDimensions) = 0;
  virtual void commitRegionModifications(RegionHandleSet const& theRegionHandleSet) = 0;
  virtual void deleteRegion(RegionHandle const& theRegion) = 0;
  virtual ObjectInstanceHandle registerObjectInstanceWithRegions(
      ObjectClassHandle theClass,
      AttributeHandleSetRegionHandleSetPairVector const& theAttributeHandleSetRegionHandleSetPairVector,
      std::wstring const& theObjectInstanceName) = 0;
  virtual ObjectInstanceHandle registerObjectInstanceWithRegions(
      ObjectClassHandle theClass,
      AttributeHandleSetRegionHandleSetPairVector const& theAttributeHandleSetRegionHandleSetPairVector) = 0;
  virtual void associateRegionsForUpdates(
      ObjectInstanceHandle theObject,
      AttributeHandleSetRegionHandleSetPairVector const& theAttributeHandleSetRegionHandleSetPairVector) = 0;
  virtual void unassociateRegionsForUpdates(
      ObjectInstanceHandle theObject,
      AttributeHandleSetRegionHandleSetPairVector const& theAttributeHandleSetRegionHandleSetPairVector) = 0;
  virtual void subscribeObjectClassAttributesWithRegions(
      ObjectClassHandle theClass,
      AttributeHandleSetRegionHandleSetPairVector const& theAttributeHandleSetRegionHandleSetPairVector,
      bool active = true, std::wstring const& updateRateDesignator = L"") = 0;
  virtual void unsubscribeObjectClassAttributesWithRegions(
      ObjectClassHandle theClass,
      AttributeHandleSetRegionHandleSetPairVector const& theAttributeHandleSetRegionHandleSetPairVector) = 0;
  virtual void subscribeInteractionClassWithRegions(InteractionClassHandle theClass,
                                                    RegionHandleSet const& theRegionHandleSet,
                                                    bool active = true) = 0;
  virtual void unsubscribeInteractionClassWithRegions(InteractionClassHandle theClass,
                                                      RegionHandleSet const& theRegionHandleSet) = 0;
  virtual MessageRetractionHandle sendInteractionWithRegions(
      InteractionClassHandle theInteraction, ParameterHandleValueMap const& theParameterValues,
      RegionHandleSet const& theRegionHandleSet, VariableLengthData const& theUserSuppliedTag,
      LogicalTime const& theTime) = 0;
  virtual void sendInteractionWithRegions(InteractionClassHandle theInteraction,
                                          ParameterHandleValueMap const& theParameterValues,
                                          RegionHandleSet const& theRegionHandleSet,
                                          VariableLengthData const& theUserSuppliedTag) = 0;
  virtual void requestAttributeValueUpdateWithRegions(
      ObjectClassHandle theClass, AttributeHandleSetRegionHandleSetPairVector const& theSet,
      VariableLengthData const& theUserSuppliedTag) = 0;

  // Support services: NameNotFound, InvalidFederateHandle, InvalidObjectClassHandle,
  // InvalidAttributeHandle, InvalidInteractionClassHandle, InvalidParameterHandle,
  // InvalidDimensionHandle, InvalidRegion, InvalidOrderName, InvalidOrderType,
  // InvalidTransportationName, InvalidTransportationType, InvalidServiceGroup,
  // InvalidUpdateRateDesignator, InvalidRangeBound, ObjectInstanceNotKnown,
  // FederateHandleNotKnown, RegionDoesNotContainSpecifiedDimension.
  virtual ResignAction getAutomaticResignDirective() = 0;
  virtual void setAutomaticResignDirective(ResignAction resignAction) = 0;
  virtual FederateHandle getFederateHandle(std::wstring const& theName) = 0;
  virtual std::wstring getFederateName(FederateHandle theHandle) = 0;
  virtual ObjectClassHandle getObjectClassHandle(std::wstring const& theName) = 0;
  virtual std::wstring getObjectClassName(ObjectClassHandle theHandle) = 0;
  virtual ObjectClassHandle getKnownObjectClassHandle(ObjectInstanceHandle theObject) = 0;
  virtual ObjectInstanceHandle getObjectInstanceHandle(std::wstring const& theName) = 0;
  virtual std::wstring getObjectInstanceName(ObjectInstanceHandle theHandle) = 0;
  virtual AttributeHandle getAttributeHandle(ObjectClassHandle whichClass,
                                             std::wstring const& theAttributeName) = 0;
  virtual std::wstring getAttributeName(ObjectClassHandle whichClass,
                                        AttributeHandle theHandle) = 0;
  virtual double getUpdateRateValue(std::wstring const& updateRateDesignator) = 0;
  virtual double getUpdateRateValueForAttribute(ObjectInstanceHandle theObject,
                                                AttributeHandle theAttribute) = 0;
  virtual InteractionClassHandle getInteractionClassHandle(std::wstring const& theName) = 0;
  virtual std::wstring getInteractionClassName(InteractionClassHandle theHandle) = 0;
  virtual ParameterHandle getParameterHandle(InteractionClassHandle whichClass,
                                             std::wstring const& theName) = 0;
  virtual std::wstring getParameterName(InteractionClassHandle whichClass,
                                        ParameterHandle theHandle) = 0;
  virtual OrderType getOrderType(std::wstring const& orderName) = 0;
  virtual std::wstring getOrderName(OrderType orderType) = 0;
  virtual TransportationType getTransportationType(std::wstring const& transportationName) = 0;
  virtual std::wstring getTransportationName(TransportationType transportationType) = 0;
  virtual DimensionHandleSet getAvailableDimensionsForClassAttribute(ObjectClassHandle theClass,
                                                                     AttributeHandle theHandle) = 0;
  virtual DimensionHandleSet getAvailableDimensionsForInteractionClass(
      InteractionClassHandle theClass) = 0;
  virtual DimensionHandle getDimensionHandle(std::wstring const& theName) = 0;
  virtual std::wstring getDimensionName(DimensionHandle theHandle) = 0;
  virtual unsigned long getDimensionUpperBound(DimensionHandle theHandle) = 0;
  virtual DimensionHandleSet getDimensionHandleSet(RegionHandle theRegionHandle) = 0;
  virtual RangeBounds getRangeBounds(RegionHandle theRegionHandle,
                                     DimensionHandle theDimensionHandle) = 0;
  virtual void setRangeBounds(RegionHandle theRegionHandle, DimensionHandle theDimensionHandle,
                              RangeBounds const& theRangeBounds) = 0;
  virtual unsigned long normalizeFederateHandle(FederateHandle theFederateHandle) = 0;
  virtual unsigned long normalizeServiceGroup(ServiceGroup theServiceGroup) = 0;
  virtual void enableObjectClassRelevanceAdvisorySwitch() = 0;
  virtual void disableObjectClassRelevanceAdvisorySwitch() = 0;
  virtual void enableAttributeRelevanceAdvisorySwitch() = 0;
  virtual void disableAttributeRelevanceAdvisorySwitch() = 0;
  virtual void enableAttributeScopeAdvisorySwitch() = 0;
  virtual void disableAttributeScopeAdvisorySwitch() = 0;
  virtual void enableInteractionRelevanceAdvisorySwitch() = 0;
  virtual void disableInteractionRelevanceAdvisorySwitch() = 0;

  // Callback delivery in the HLA_EVOKED model: evokeCallback delivers at most one callback
  // and waits up to the given number of seconds for it; evokeMultipleCallbacks delivers
  // callbacks for at least the minimum and at most the maximum time. Both return whether
  // more callbacks are pending. CallNotAllowedFromWithinCallback when called from a callback.
  virtual bool evokeCallback(double approximateMinimumTimeInSeconds) = 0;
  virtual bool evokeMultipleCallbacks(double approximateMinimumTimeInSeconds,
                                      double approximateMaximumTimeInSeconds) = 0;
  virtual void enableCallbacks() = 0;
  virtual void disableCallbacks() = 0;

  // A new factory for the joined federation's time representation, owned by the caller.
  virtual std::auto_ptr<LogicalTimeFactory> getTimeFactory() const = 0;

  // The decode services turn bytes made by a handle's encode() back into the handle,
  // without contacting the RTI. CouldNotDecode when the bytes are too few.
  virtual FederateHandle decodeFederateHandle(VariableLengthData const& encodedValue) const = 0;
  virtual ObjectClassHandle decodeObjectClassHandle(VariableLengthData const& encodedValue) const = 0;
  virtual InteractionClassHandle decodeInteractionClassHandle(
      VariableLengthData const& encodedValue) const = 0;
  virtual ObjectInstanceHandle decodeObjectInstanceHandle(VariableLengthData const& encodedValue) const = 0;
  virtual AttributeHandle decodeAttributeHandle(VariableLengthData const& encodedValue) const = 0;
  virtual ParameterHandle decodeParameterHandle(VariableLengthData const& encodedValue) const = 0;
  virtual DimensionHandle decodeDimensionHandle(VariableLengthData const& encodedValue) const = 0;
  virtual MessageRetractionHandle decodeMessageRetractionHandle(
      VariableLengthData const& encodedValue) const = 0;
  virtual RegionHandle decodeRegionHandle(VariableLengthData const& encodedValue) const = 0;
};

}  // namespace rti1516e

#endif  // RTI_RTIambassador_h
