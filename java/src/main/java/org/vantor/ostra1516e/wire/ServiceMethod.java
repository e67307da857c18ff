package org.vantor.ostra1516e.wire;

import java.util.List;

/**
 * ServiceMethod is the table of the 142 Java service methods that the C++ library calls on
 * the core's RTIambassadorC2007, in the library's slot order: each constant is named
 * exactly like its Java method and holds the method's JNI signature. A signature beginning
 * "([B)" takes the service array that the method name spells; "()" takes nothing.
 */
public enum ServiceMethod {
  connect_FA_CM_S("([B)V"),
  disconnect("()V"),
  createFederationExecution_S_URLX_URL_S("([B)V"),
  createFederationExecution_S_URLX_S("([B)V"),
  createFederationExecution_S_URL_S("([B)V"),
  destroyFederationExecution_S("([B)V"),
  listFederationExecutions("()V"),
  joinFederationExecution_S_S_URLX("([B)I"),
  joinFederationExecution_S_S_S_URLX("([B)I"),
  resignFederationExecution_RA("([B)V"),
  registerFederationSynchronizationPoint_S_BX_FHS("([B)V"),
  registerFederationSynchronizationPoint_S_BX("([B)V"),
  synchronizationPointAchieved_S_Z("([B)V"),
  requestFederationSave_S_LT("([B)V"),
  requestFederationSave_S("([B)V"),
  federateSaveBegun("()V"),
  federateSaveComplete("()V"),
  federateSaveNotComplete("()V"),
  abortFederationSave("()V"),
  queryFederationSaveStatus("()V"),
  requestFederationRestore_S("([B)V"),
  federateRestoreComplete("()V"),
  federateRestoreNotComplete("()V"),
  abortFederationRestore("()V"),
  queryFederationRestoreStatus("()V"),
  publishObjectClassAttributes_OCH_AHS("([B)V"),
  unpublishObjectClass_OCH("([B)V"),
  unpublishObjectClassAttributes_OCH_AHS("([B)V"),
  publishInteractionClass_ICH("([B)V"),
  unpublishInteractionClass_ICH("([B)V"),
  subscribeObjectClassAttributes_OCH_AHS_Z_S("([B)V"),
  unsubscribeObjectClass_OCH("([B)V"),
  unsubscribeObjectClassAttributes_OCH_AHS("([B)V"),
  subscribeInteractionClass_ICH_Z("([B)V"),
  unsubscribeInteractionClass_ICH("([B)V"),
  reserveObjectInstanceName_S("([B)V"),
  releaseObjectInstanceName_S("([B)V"),
  reserveMultipleObjectInstanceName_S("([B)V"),
  releaseMultipleObjectInstanceName_S("([B)V"),
  registerObjectInstance_OCH_S("([B)I"),
  registerObjectInstance_OCH("([B)I"),
  updateAttributeValues_OIH_AHVM_BX_LT("([B)[B"),
  updateAttributeValues_OIH_AHVM_BX("([B)V"),
  sendInteraction_ICH_PHVM_BX_LT("([B)[B"),
  sendInteraction_ICH_PHVM_BX("([B)V"),
  deleteObjectInstance_OIH_BX_LT("([B)[B"),
  deleteObjectInstance_OIH_BX("([B)V"),
  localDeleteObjectInstance_OIH("([B)V"),
  requestAttributeValueUpdate_OCH_AHS_BX("([B)V"),
  requestAttributeValueUpdate_OIH_AHS_BX("([B)V"),
  requestAttributeTransportationTypeChange_OIH_AHS_TTH("([B)V"),
  queryAttributeTransportationType_OIH_AH("([B)V"),
  requestInteractionTransportationTypeChange_ICH_TTH("([B)V"),
  queryInteractionTransportationType_FH_ICH("([B)V"),
  unconditionalAttributeOwnershipDivestiture_OIH_AHS("([B)V"),
  negotiatedAttributeOwnershipDivestiture_OIH_AHS_BX("([B)V"),
  confirmDivestiture_OIH_AHS_BX("([B)V"),
  attributeOwnershipAcquisition_OIH_AHS_BX("([B)V"),
  attributeOwnershipAcquisitionIfAvailable_OIH_AHS("([B)V"),
  attributeOwnershipReleaseDenied_OIH_AHS("([B)V"),
  attributeOwnershipDivestitureIfWanted_OIH_AHS("([B)[I"),
  cancelNegotiatedAttributeOwnershipDivestiture_OIH_AHS("([B)V"),
  cancelAttributeOwnershipAcquisition_OIH_AHS("([B)V"),
  queryAttributeOwnership_OIH_AH("([B)V"),
  isAttributeOwnedByFederate_OIH_AH("([B)Z"),
  enableTimeRegulation_LTI("([B)V"),
  disableTimeRegulation("()V"),
  enableTimeConstrained("()V"),
  disableTimeConstrained("()V"),
  timeAdvanceRequest_LT("([B)V"),
  timeAdvanceRequestAvailable_LT("([B)V"),
  nextMessageRequest_LT("([B)V"),
  nextMessageRequestAvailable_LT("([B)V"),
  flushQueueRequest_LT("([B)V"),
  enableAsynchronousDelivery("()V"),
  disableAsynchronousDelivery("()V"),
  queryGALT("()[B"),
  queryLogicalTime("()[B"),
  queryLITS("()[B"),
  modifyLookahead_LTI("([B)V"),
  queryLookahead("()[B"),
  retract_MRH("([B)V"),
  changeAttributeOrderType_OIH_AHS_OT("([B)V"),
  changeInteractionOrderType_ICH_OT("([B)V"),
  createRegion_DHS("([B)I"),
  commitRegionModifications_RHS("([B)V"),
  deleteRegion_RH("([B)V"),
  registerObjectInstanceWithRegions_OCH_ASRSPL_S("([B)I"),
  registerObjectInstanceWithRegions_OCH_ASRSPL("([B)I"),
  associateRegionsForUpdates_OIH_ASRSPL("([B)V"),
  unassociateRegionsForUpdates_OIH_ASRSPL("([B)V"),
  subscribeObjectClassAttributesWithRegions_OCH_ASRSPL_Z_S("([B)V"),
  unsubscribeObjectClassAttributesWithRegions_OCH_ASRSPL("([B)V"),
  subscribeInteractionClassWithRegions_ICH_Z_RHS("([B)V"),
  unsubscribeInteractionClassWithRegions_ICH_RHS("([B)V"),
  sendInteractionWithRegions_ICH_PHVM_RHS_BX_LT("([B)[B"),
  sendInteractionWithRegions_ICH_PHVM_RHS_BX("([B)V"),
  requestAttributeValueUpdateWithRegions_OCH_ASRSPL_BX("([B)V"),
  getAutomaticResignDirective("()I"),
  setAutomaticResignDirective_RA("([B)V"),
  getFederateHandle_S("([B)I"),
  getFederateName_FH("([B)Ljava/lang/String;"),
  getObjectClassHandle_S("([B)I"),
  getObjectClassName_OCH("([B)Ljava/lang/String;"),
  getKnownObjectClassHandle_OIH("([B)I"),
  getObjectInstanceHandle_S("([B)I"),
  getObjectInstanceName_OIH("([B)Ljava/lang/String;"),
  getAttributeHandle_OCH_S("([B)I"),
  getAttributeName_OCH_AH("([B)Ljava/lang/String;"),
  getUpdateRateValue_S("([B)D"),
  getUpdateRateValueForAttribute_OIH_AH("([B)D"),
  getInteractionClassHandle_S("([B)I"),
  getInteractionClassName_ICH("([B)Ljava/lang/String;"),
  getParameterHandle_ICH_S("([B)I"),
  getParameterName_ICH_PH("([B)Ljava/lang/String;"),
  getOrderType_S("([B)I"),
  getOrderName_OT("([B)Ljava/lang/String;"),
  getTransportationTypeHandle_S("([B)I"),
  getTransportationTypeName_TTH("([B)Ljava/lang/String;"),
  getAvailableDimensionsForClassAttribute_OCH_AH("([B)[I"),
  getAvailableDimensionsForInteractionClass_ICH("([B)[I"),
  getDimensionHandle_S("([B)I"),
  getDimensionName_DH("([B)Ljava/lang/String;"),
  getDimensionUpperBound_DH("([B)J"),
  getDimensionHandleSet_RH("([B)[I"),
  getRangeBounds_RH_DH("([B)[J"),
  setRangeBounds_RH_DH_RB("([B)V"),
  normalizeFederateHandle_FH("([B)J"),
  normalizeServiceGroup_SG("([B)J"),
  enableObjectClassRelevanceAdvisorySwitch("()V"),
  disableObjectClassRelevanceAdvisorySwitch("()V"),
  enableAttributeRelevanceAdvisorySwitch("()V"),
  disableAttributeRelevanceAdvisorySwitch("()V"),
  enableAttributeScopeAdvisorySwitch("()V"),
  disableAttributeScopeAdvisorySwitch("()V"),
  enableInteractionRelevanceAdvisorySwitch("()V"),
  disableInteractionRelevanceAdvisorySwitch("()V"),
  evokeCallback_D("([B)Z"),
  evokeMultipleCallbacks_D_D("([B)Z"),
  enableCallbacks("()V"),
  disableCallbacks("()V"),
  getTimeFactory("()Ljava/lang/String;");

  private final String signature;
  private final List<TypeCode> codes;
  private final ResultKind result;

  ServiceMethod(String signature) {
    this.signature = signature;
    this.codes = TypeCode.ofMethod(name());
    this.result = ResultKind.ofSignature(signature);
  }

  /** signature is the JNI signature under which the library looks the method up. */
  public String signature() {
    return signature;
  }

  /** takesArray tells whether the method's only parameter is a service array. */
  public boolean takesArray() {
    return signature.startsWith("([B)");
  }

  /** codes are the type codes of the service array, in order; empty without an array. */
  public List<TypeCode> codes() {
    return codes;
  }

  public ResultKind result() {
    return result;
  }
}
