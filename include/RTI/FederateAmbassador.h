// FederateAmbassador.h: the callbacks the RTI makes to a federate.
//
// A federate passes its FederateAmbassador to RTIambassador::connect. Derive from
// NullFederateAmbassador to override only the callbacks you handle:
//
//   class Tank : public rti1516e::NullFederateAmbassador {
//    public:
//     void discoverObjectInstance(rti1516e::ObjectInstanceHandle theObject,
//                                 rti1516e::ObjectClassHandle theObjectClass,
//                                 std::wstring const& theObjectInstanceName) override;
//   };
//
// Everything passed by reference lives only until the callback returns: copy what you
// keep. An exception thrown from a callback is reported to the RTI as
// FederateInternalError with the exception's message.
#ifndef RTI_FederateAmbassador_h
#define RTI_FederateAmbassador_h

#include <RTI/SpecificConfig.h>
#include <RTI/Enums.h>
#include <RTI/Exception.h>
#include <RTI/Handle.h>
#include <RTI/Typedefs.h>
#include <RTI/VariableLengthData.h>

#include <set>
#include <string>

namespace rti1516e {

class LogicalTime;

class RTI_EXPORT FederateAmbassador {
 protected:
  FederateAmbassador();

 public:
  FederateAmbassador(FederateAmbassador const& rhs);
  FederateAmbassador& operator=(FederateAmbassador const& rhs);
  virtual ~FederateAmbassador() = 0;

  // Federation management.
  virtual void connectionLost(std::wstring const& faultDescription) = 0;
  virtual void reportFederationExecutions(
      FederationExecutionInformationVector const& theFederationExecutionInformationList) = 0;
  virtual void synchronizationPointRegistrationSucceeded(std::wstring const& label) = 0;
  virtual void synchronizationPointRegistrationFailed(std::wstring const& label,
                                                      SynchronizationPointFailureReason reason) = 0;
  virtual void announceSynchronizationPoint(std::wstring const& label,
                                            VariableLengthData const& theUserSuppliedTag) = 0;
  virtual void federationSynchronized(std::wstring const& label,
                                      FederateHandleSet const& failedToSyncSet) = 0;
  virtual void initiateFederateSave(std::wstring const& label) = 0;
  virtual void initiateFederateSave(std::wstring const& label, LogicalTime const& theTime) = 0;
  virtual void federationSaved() = 0;
  virtual void federationNotSaved(SaveFailureReason theSaveFailureReason) = 0;
  virtual void federationSaveStatusResponse(
      FederateHandleSaveStatusPairVector const& theFederateStatusVector) = 0;
  virtual void requestFederationRestoreSucceeded(std::wstring const& label) = 0;
  virtual void requestFederationRestoreFailed(std::wstring const& label) = 0;
  virtual void federationRestoreBegun() = 0;
  virtual void initiateFederateRestore(std::wstring const& label, std::wstring const& federateName,
                                       FederateHandle handle) = 0;
  virtual void federationRestored() = 0;
  virtual void federationNotRestored(RestoreFailureReason theRestoreFailureReason) = 0;
  virtual void federationRestoreStatusResponse(
      FederateRestoreStatusVector const& theFederateRestoreStatusVector) = 0;

  // Declaration management.
  virtual void startRegistrationForObjectClass(ObjectClassHandle theClass) = 0;
  virtual void stopRegistrationForObjectClass(ObjectClassHandle theClass) = 0;
  virtual void turnInteractionsOn(InteractionClassHandle theHandle) = 0;
  virtual void turnInteractionsOff(InteractionClassHandle theHandle) = 0;

  // Object management.
  virtual void objectInstanceNameReservationSucceeded(std::wstring const& theObjectInstanceName) = 0;
  virtual void objectInstanceNameReservationFailed(std::wstring const& theObjectInstanceName) = 0;
  virtual void multipleObjectInstanceNameReservationSucceeded(
      std::set<std::wstring> const& theObjectInstanceNames) = 0;
  virtual void multipleObjectInstanceNameReservationFailed(
      std::set<std::wstring> const& theObjectInstanceNames) = 0;
  virtual void discoverObjectInstance(ObjectInstanceHandle theObject,
                                      ObjectClassHandle theObjectClass,
                                      std::wstring const& theObjectInstanceName) = 0;
  virtual void discoverObjectInstance(ObjectInstanceHandle theObject,
                                      ObjectClassHandle theObjectClass,
                                      std::wstring const& theObjectInstanceName,
                                      FederateHandle producingFederate) = 0;
  virtual void reflectAttributeValues(ObjectInstanceHandle theObject,
                                      AttributeHandleValueMap const& theAttributeValues,
                                      VariableLengthData const& theUserSuppliedTag,
                                      OrderType sentOrder, TransportationType theType,
                                      SupplementalReflectInfo theReflectInfo) = 0;
  virtual void reflectAttributeValues(ObjectInstanceHandle theObject,
                                      AttributeHandleValueMap const& theAttributeValues,
                                      VariableLengthData const& theUserSuppliedTag,
                                      OrderType sentOrder, TransportationType theType,
                                      LogicalTime const& theTime, OrderType receivedOrder,
                                      SupplementalReflectInfo theReflectInfo) = 0;
  virtual void reflectAttributeValues(ObjectInstanceHandle theObject,
                                      AttributeHandleValueMap const& theAttributeValues,
                                      VariableLengthData const& theUserSuppliedTag,
                                      OrderType sentOrder, TransportationType theType,
                                      LogicalTime const& theTime, OrderType receivedOrder,
                                      MessageRetractionHandle theHandle,
                                      SupplementalReflectInfo theReflectInfo) = 0;
  virtual void receiveInteraction(InteractionClassHandle theInteraction,
                                  ParameterHandleValueMap const& theParameterValues,
                                  VariableLengthData const& theUserSuppliedTag,
                                  OrderType sentOrder, TransportationType theType,
                                  SupplementalReceiveInfo theReceiveInfo) = 0;
  virtual void receiveInteraction(InteractionClassHandle theInteraction,
                                  ParameterHandleValueMap const& theParameterValues,
                                  VariableLengthData const& theUserSuppliedTag,
                                  OrderType sentOrder, TransportationType theType,
                                  LogicalTime const& theTime, OrderType receivedOrder,
                                  SupplementalReceiveInfo theReceiveInfo) = 0;
  virtual void receiveInteraction(InteractionClassHandle theInteraction,
                                  ParameterHandleValueMap const& theParameterValues,
                                  VariableLengthData const& theUserSuppliedTag,
                                  OrderType sentOrder, TransportationType theType,
                                  LogicalTime const& theTime, OrderType receivedOrder,
                                  MessageRetractionHandle theHandle,
                                  SupplementalReceiveInfo theReceiveInfo) = 0;
  virtual void removeObjectInstance(ObjectInstanceHandle theObject,
                                    VariableLengthData const& theUserSuppliedTag,
                                    OrderType sentOrder, SupplementalRemoveInfo theRemoveInfo) = 0;
  virtual void removeObjectInstance(ObjectInstanceHandle theObject,
                                    VariableLengthData const& theUserSuppliedTag,
                                    OrderType sentOrder, LogicalTime const& theTime,
                                    OrderType receivedOrder,
                                    SupplementalRemoveInfo theRemoveInfo) = 0;
  virtual void removeObjectInstance(ObjectInstanceHandle theObject,
                                    VariableLengthData const& theUserSuppliedTag,
                                    OrderType sentOrder, LogicalTime const& theTime,
                                    OrderType receivedOrder, MessageRetractionHandle theHandle,
                                    SupplementalRemoveInfo theRemoveInfo) = 0;
  virtual void attributesInScope(ObjectInstanceHandle theObject,
                                 AttributeHandleSet const& theAttributes) = 0;
  virtual void attributesOutOfScope(ObjectInstanceHandle theObject,
                                    AttributeHandleSet const& theAttributes) = 0;
  virtual void provideAttributeValueUpdate(ObjectInstanceHandle theObject,
                                           AttributeHandleSet const& theAttributes,
                                           VariableLengthData const& theUserSuppliedTag) = 0;
  virtual void turnUpdatesOnForObjectInstance(ObjectInstanceHandle theObject,
                                              AttributeHandleSet const& theAttributes) = 0;
  virtual void turnUpdatesOnForObjectInstance(ObjectInstanceHandle theObject,
                                              AttributeHandleSet const& theAttributes,
                                              std::wstring const& updateRateDesignator) = 0;
  virtual void turnUpdatesOffForObjectInstance(ObjectInstanceHandle theObject,
                                               AttributeHandleSet const& theAttributes) = 0;
  virtual void confirmAttributeTransportationTypeChange(ObjectInstanceHandle theObject,
                                                        AttributeHandleSet theAttributes,
                                                        TransportationType theTransportation) = 0;
  virtual void reportAttributeTransportationType(ObjectInstanceHandle theObject,
                                                 AttributeHandle theAttribute,
                                                 TransportationType theTransportation) = 0;
  virtual void confirmInteractionTransportationTypeChange(InteractionClassHandle theInteraction,
                                                          TransportationType theTransportation) = 0;
  virtual void reportInteractionTransportationType(FederateHandle federateHandle,
                                                   InteractionClassHandle theInteraction,
                                                   TransportationType theTransportation) = 0;

  // Ownership management.
  virtual void requestAttributeOwnershipAssumption(ObjectInstanceHandle theObject,
                                                   AttributeHandleSet const& offeredAttributes,
                                                   VariableLengthData const& theUserSuppliedTag) = 0;
  virtual void requestDivestitureConfirmation(ObjectInstanceHandle theObject,
                                              AttributeHandleSet const& releasedAttributes) = 0;
  virtual void attributeOwnershipAcquisitionNotification(
      ObjectInstanceHandle theObject, AttributeHandleSet const& securedAttributes,
      VariableLengthData const& theUserSuppliedTag) = 0;
  virtual void attributeOwnershipUnavailable(ObjectInstanceHandle theObject,
                                             AttributeHandleSet const& theAttributes) = 0;
  virtual void requestAttributeOwnershipRelease(ObjectInstanceHandle theObject,
                                                AttributeHandleSet const& candidateAttributes,
                                                VariableLengthData const& theUserSuppliedTag) = 0;
  virtual void confirmAttributeOwnershipAcquisitionCancellation(
      ObjectInstanceHandle theObject, AttributeHandleSet const& theAttributes) = 0;
  virtual void informAttributeOwnership(ObjectInstanceHandle theObject,
                                        AttributeHandle theAttribute, FederateHandle theOwner) = 0;
  virtual void attributeIsNotOwned(ObjectInstanceHandle theObject,
                                   AttributeHandle theAttribute) = 0;
  virtual void attributeIsOwnedByRTI(ObjectInstanceHandle theObject,
                                     AttributeHandle theAttribute) = 0;

  // Time management.
  virtual void timeRegulationEnabled(LogicalTime const& theFederateTime) = 0;
  virtual void timeConstrainedEnabled(LogicalTime const& theFederateTime) = 0;
  virtual void timeAdvanceGrant(LogicalTime const& theTime) = 0;
  virtual void requestRetraction(MessageRetractionHandle theHandle) = 0;
};

}  // namespace rti1516e

#endif  // RTI_FederateAmbassador_h
