// NullFederateAmbassador.h: a FederateAmbassador whose callbacks do nothing.
//
// Derive from it and override only the callbacks your federate handles; every other
// callback is accepted and ignored.
#ifndef RTI_NullFederateAmbassador_h
#define RTI_NullFederateAmbassador_h

#include <RTI/SpecificConfig.h>
#include <RTI/FederateAmbassador.h>

#include <set>
#include <string>

namespace rti1516e {

class RTI_EXPORT NullFederateAmbassador : public FederateAmbassador {
 public:
  NullFederateAmbassador();
  NullFederateAmbassador(NullFederateAmbassador const& rhs);
  NullFederateAmbassador& operator=(NullFederateAmbassador const& rhs);
  virtual ~NullFederateAmbassador();

  // Federation management.
  void connectionLost(std::wstring const&) override {}
  void reportFederationExecutions(FederationExecutionInformationVector const&) override {}
  void synchronizationPointRegistrationSucceeded(std::wstring const&) override {}
  void synchronizationPointRegistrationFailed(std::wstring const&,
                                              SynchronizationPointFailureReason) override {}
  void announceSynchronizationPoint(std::wstring const&, VariableLengthData const&) override {}
  void federationSynchronized(std::wstring const&, FederateHandleSet const&) override {}
  void initiateFederateSave(std::wstring const&) override {}
  void initiateFederateSave(std::wstring const&, LogicalTime const&) override {}
  void federationSaved() override {}
  void federationNotSaved(SaveFailureReason) override {}
  void federationSaveStatusResponse(FederateHandleSaveStatusPairVector const&) override {}
  void requestFederationRestoreSucceeded(std::wstring const&) override {}
  void requestFederationRestoreFailed(std::wstring const&) override {}
  void federationRestoreBegun() override {}
  void initiateFederateRestore(std::wstring const&, std::wstring const&, FederateHandle) override {}
  void federationRestored() override {}
  void federationNotRestored(RestoreFailureReason) override {}
  void federationRestoreStatusResponse(FederateRestoreStatusVector const&) override {}

  // Declaration management.
  void startRegistrationForObjectClass(ObjectClassHandle) override {}
  void stopRegistrationForObjectClass(ObjectClassHandle) override {}
  void turnInteractionsOn(InteractionClassHandle) override {}
  void turnInteractionsOff(InteractionClassHandle) override {}

  // Object management.
  void objectInstanceNameReservationSucceeded(std::wstring const&) override {}
  void objectInstanceNameReservationFailed(std::wstring const&) override {}
  void multipleObjectInstanceNameReservationSucceeded(std::set<std::wstring> const&) override {}
  void multipleObjectInstanceNameReservationFailed(std::set<std::wstring> const&) override {}
  void discoverObjectInstance(ObjectInstanceHandle, ObjectClassHandle,
                              std::wstring const&) override {}
  void discoverObjectInstance(ObjectInstanceHandle, ObjectClassHandle, std::wstring const&,
                              FederateHandle) override {}
  void reflectAttributeValues(ObjectInstanceHandle, AttributeHandleValueMap const&,
                              VariableLengthData const&, OrderType, TransportationType,
                              SupplementalReflectInfo) override {}
  void reflectAttributeValues(ObjectInstanceHandle, AttributeHandleValueMap const&,
                              VariableLengthData const&, OrderType, TransportationType,
                              LogicalTime const&, OrderType, SupplementalReflectInfo) override {}
  void reflectAttributeValues(ObjectInstanceHandle, AttributeHandleValueMap const&,
                              VariableLengthData const&, OrderType, TransportationType,
                              LogicalTime const&, OrderType, MessageRetractionHandle,
                              SupplementalReflectInfo) override {}
  void receiveInteraction(InteractionClassHandle, ParameterHandleValueMap const&,
                          VariableLengthData const&, OrderType, TransportationType,
                          SupplementalReceiveInfo) override {}
  void receiveInteraction(InteractionClassHandle, ParameterHandleValueMap const&,
                          VariableLengthData const&, OrderType, TransportationType,
                          LogicalTime const&, OrderType, SupplementalReceiveInfo) override {}
  void receiveInteraction(InteractionClassHandle, ParameterHandleValueMap const&,
                          VariableLengthData const&, OrderType, TransportationType,
                          LogicalTime const&, OrderType, MessageRetractionHandle,
                          SupplementalReceiveInfo) override {}
  void removeObjectInstance(ObjectInstanceHandle, VariableLengthData const&, OrderType,
                            SupplementalRemoveInfo) override {}
  void removeObjectInstance(ObjectInstanceHandle, VariableLengthData const&, OrderType,
                            LogicalTime const&, OrderType, SupplementalRemoveInfo) override {}
  void removeObjectInstance(ObjectInstanceHandle, VariableLengthData const&, OrderType,
                            LogicalTime const&, OrderType, MessageRetractionHandle,
                            SupplementalRemoveInfo) override {}
  void attributesInScope(ObjectInstanceHandle, AttributeHandleSet const&) override {}
  void attributesOutOfScope(ObjectInstanceHandle, AttributeHandleSet const&) override {}
  void provideAttributeValueUpdate(ObjectInstanceHandle, AttributeHandleSet const&,
                                   VariableLengthData const&) override {}
  void turnUpdatesOnForObjectInstance(ObjectInstanceHandle, AttributeHandleSet const&) override {}
  void turnUpdatesOnForObjectInstance(ObjectInstanceHandle, AttributeHandleSet const&,
                                      std::wstring const&) override {}
  void turnUpdatesOffForObjectInstance(ObjectInstanceHandle, AttributeHandleSet const&) override {}
  void confirmAttributeTransportationTypeChange(ObjectInstanceHandle, AttributeHandleSet,
                                                TransportationType) override {}
  void reportAttributeTransportationType(ObjectInstanceHandle, AttributeHandle,
                                         TransportationType) override {}
  void confirmInteractionTransportationTypeChange(InteractionClassHandle,
                                                  TransportationType) override {}
  void reportInteractionTransportationType(FederateHandle, InteractionClassHandle,
                                           TransportationType) override {}

  // Ownership management.
  void requestAttributeOwnershipAssumption(ObjectInstanceHandle, AttributeHandleSet const&,
                                           VariableLengthData const&) override {}
  void requestDivestitureConfirmation(ObjectInstanceHandle, AttributeHandleSet const&) override {}
  void attributeOwnershipAcquisitionNotification(ObjectInstanceHandle, AttributeHandleSet const&,
                                                 VariableLengthData const&) override {}
  void attributeOwnershipUnavailable(ObjectInstanceHandle, AttributeHandleSet const&) override {}
  void requestAttributeOwnershipRelease(ObjectInstanceHandle, AttributeHandleSet const&,
                                        VariableLengthData const&) override {}
  void confirmAttributeOwnershipAcquisitionCancellation(ObjectInstanceHandle,
                                                        AttributeHandleSet const&) override {}
  void informAttributeOwnership(ObjectInstanceHandle, AttributeHandle, FederateHandle) override {}
  void attributeIsNotOwned(ObjectInstanceHandle, AttributeHandle) override {}
  void attributeIsOwnedByRTI(ObjectInstanceHandle, AttributeHandle) override {}

  // Time management.
  void timeRegulationEnabled(LogicalTime const&) override {}
  void timeConstrainedEnabled(LogicalTime const&) override {}
  void timeAdvanceGrant(LogicalTime const&) override {}
  void requestRetraction(MessageRetractionHandle) override {}
};

}  // namespace rti1516e

#endif  // RTI_NullFederateAmbassador_h
