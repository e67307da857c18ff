package org.vantor.ostra1516e.wire;

import java.util.List;

/**
 * CallbackMethod is the table of the 60 native callback methods of the core's
 * FederateAmbassadorC2007, in the library's registration order. Each constant is named
 * exactly like its native method; every one has the JNI signature "([B)V" and takes a
 * framed callback array (see {@link WireCodec}).
 */
public enum CallbackMethod {
  synchronizationPointRegistrationSucceeded_S_Native,
  synchronizationPointRegistrationFailed_S_SPFR_Native,
  announceSynchronizationPoint_S_BX_Native,
  federationSynchronized_S_FHS_Native,
  initiateFederateSave_S_Native,
  initiateFederateSave_S_LT_Native,
  federationSaved_Native,
  federationNotSaved_SFR_Native,
  federationSaveStatusResponse_FHSSPX_Native,
  requestFederationRestoreSucceeded_S_Native,
  requestFederationRestoreFailed_S_Native,
  federationRestoreBegun_Native,
  initiateFederateRestore_S_S_FH_Native,
  federationRestored_Native,
  federationNotRestored_RFR_Native,
  federationRestoreStatusResponse_FRSX_Native,
  connectionLost_S_Native,
  reportFederationExecutions_FEIS_Native,
  startRegistrationForObjectClass_OCH_Native,
  stopRegistrationForObjectClass_OCH_Native,
  turnInteractionsOn_ICH_Native,
  turnInteractionsOff_ICH_Native,
  objectInstanceNameReservationSucceeded_S_Native,
  multipleObjectInstanceNameReservationSucceeded_S_Native,
  objectInstanceNameReservationFailed_S_Native,
  multipleObjectInstanceNameReservationFailed_S_Native,
  discoverObjectInstance_OIH_OCH_S_Native,
  discoverObjectInstance_OIH_OCH_S_FH_Native,
  reflectAttributeValues_OIH_AHVM_BX_OT_TTH_FASRI_Native,
  reflectAttributeValues_OIH_AHVM_BX_OT_TTH_LT_OT_FASRI_Native,
  reflectAttributeValues_OIH_AHVM_BX_OT_TTH_LT_OT_MRH_FASRI_Native,
  receiveInteraction_ICH_PHVM_BX_OT_TTH_FASRI_Native,
  receiveInteraction_ICH_PHVM_BX_OT_TTH_LT_OT_FASRI_Native,
  receiveInteraction_ICH_PHVM_BX_OT_TTH_LT_OT_MRH_FASRI_Native,
  removeObjectInstance_OIH_BX_OT_FASRI_Native,
  removeObjectInstance_OIH_BX_OT_LT_OT_FASRI_Native,
  removeObjectInstance_OIH_BX_OT_LT_OT_MRH_FASRI_Native,
  attributesInScope_OIH_AHS_Native,
  attributesOutOfScope_OIH_AHS_Native,
  provideAttributeValueUpdate_OIH_AHS_BX_Native,
  turnUpdatesOnForObjectInstance_OIH_AHS_Native,
  turnUpdatesOnForObjectInstance_OIH_AHS_S_Native,
  turnUpdatesOffForObjectInstance_OIH_AHS_Native,
  confirmAttributeTransportationTypeChange_OIH_AHS_TTH_Native,
  confirmInteractionTransportationTypeChange_ICH_TTH_Native,
  reportAttributeTransportationType_OIH_AH_TTH_Native,
  reportInteractionTransportationType_FH_ICH_TTH_Native,
  requestAttributeOwnershipAssumption_OIH_AHS_BX_Native,
  requestDivestitureConfirmation_OIH_AHS_Native,
  attributeOwnershipAcquisitionNotification_OIH_AHS_BX_Native,
  attributeOwnershipUnavailable_OIH_AHS_Native,
  requestAttributeOwnershipRelease_OIH_AHS_BX_Native,
  confirmAttributeOwnershipAcquisitionCancellation_OIH_AHS_Native,
  informAttributeOwnership_OIH_AH_FH_Native,
  attributeIsNotOwned_OIH_AH_Native,
  attributeIsOwnedByRTI_OIH_AH_Native,
  timeRegulationEnabled_LT_Native,
  timeConstrainedEnabled_LT_Native,
  timeAdvanceGrant_LT_Native,
  requestRetraction_MRH_Native;

  /** SIGNATURE is the JNI signature of every native callback method. */
  public static final String SIGNATURE = "([B)V";

  private final List<TypeCode> codes;

  CallbackMethod() {
    this.codes = TypeCode.ofMethod(name());
  }

  /** codes are the type codes of the callback's arguments, in order. */
  public List<TypeCode> codes() {
    return codes;
  }
}
