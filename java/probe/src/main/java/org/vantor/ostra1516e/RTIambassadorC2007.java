package org.vantor.ostra1516e;

import org.vantor.ostra1516e.probe.Probe;
import org.vantor.ostra1516e.wire.ServiceMethod;

/**
 * RTIambassadorC2007 of the probe core: the service object that the C++ library creates
 * per ambassador. It has the constructor and the 142 service methods that the library
 * looks up by name and signature; each method only hands its name and bytes to
 * {@link Probe}, which records them and plays back what a test scripted.
 */
public class RTIambassadorC2007 {
  private final int id;

  /** settings is the library's start-up array: an empty string list, four zero bytes. */
  public RTIambassadorC2007(byte[] settings) {
    id = Probe.construct(settings);
  }

  // One line per service, in the library's slot order.
  public void connect_FA_CM_S(byte[] a) { Probe.play(id, ServiceMethod.connect_FA_CM_S, a); }
  public void disconnect() { Probe.play(id, ServiceMethod.disconnect, null); }
  public void createFederationExecution_S_URLX_URL_S(byte[] a) { Probe.play(id, ServiceMethod.createFederationExecution_S_URLX_URL_S, a); }
  public void createFederationExecution_S_URLX_S(byte[] a) { Probe.play(id, ServiceMethod.createFederationExecution_S_URLX_S, a); }
  public void createFederationExecution_S_URL_S(byte[] a) { Probe.play(id, ServiceMethod.createFederationExecution_S_URL_S, a); }
  public void destroyFederationExecution_S(byte[] a) { Probe.play(id, ServiceMethod.destroyFederationExecution_S, a); }
  public void listFederationExecutions() { Probe.play(id, ServiceMethod.listFederationExecutions, null); }
  public int joinFederationExecution_S_S_URLX(byte[] a) { return (int) Probe.play(id, ServiceMethod.joinFederationExecution_S_S_URLX, a); }
  public int joinFederationExecution_S_S_S_URLX(byte[] a) { return (int) Probe.play(id, ServiceMethod.joinFederationExecution_S_S_S_URLX, a); }
  public void resignFederationExecution_RA(byte[] a) { Probe.play(id, ServiceMethod.resignFederationExecution_RA, a); }
  public void registerFederationSynchronizationPoint_S_BX_FHS(byte[] a) { Probe.play(id, ServiceMethod.registerFederationSynchronizationPoint_S_BX_FHS, a); }
  public void registerFederationSynchronizationPoint_S_BX(byte[] a) { Probe.play(id, ServiceMethod.registerFederationSynchronizationPoint_S_BX, a); }
  public void synchronizationPointAchieved_S_Z(byte[] a) { Probe.play(id, ServiceMethod.synchronizationPointAchieved_S_Z, a); }
  public void requestFederationSave_S_LT(byte[] a) { Probe.play(id, ServiceMethod.requestFederationSave_S_LT, a); }
  public void requestFederationSave_S(byte[] a) { Probe.play(id, ServiceMethod.requestFederationSave_S, a); }
  public void federateSaveBegun() { Probe.play(id, ServiceMethod.federateSaveBegun, null); }
  public void federateSaveComplete() { Probe.play(id, ServiceMethod.federateSaveComplete, null); }
  public void federateSaveNotComplete() { Probe.play(id, ServiceMethod.federateSaveNotComplete, null); }
  public void abortFederationSave() { Probe.play(id, ServiceMethod.abortFederationSave, null); }
  public void queryFederationSaveStatus() { Probe.play(id, ServiceMethod.queryFederationSaveStatus, null); }
  public void requestFederationRestore_S(byte[] a) { Probe.play(id, ServiceMethod.requestFederationRestore_S, a); }
  public void federateRestoreComplete() { Probe.play(id, ServiceMethod.federateRestoreComplete, null); }
  public void federateRestoreNotComplete() { Probe.play(id, ServiceMethod.federateRestoreNotComplete, null); }
  public void abortFederationRestore() { Probe.play(id, ServiceMethod.abortFederationRestore, null); }
  public void queryFederationRestoreStatus() { Probe.play(id, ServiceMethod.queryFederationRestoreStatus, null); }
  public void publishObjectClassAttributes_OCH_AHS(byte[] a) { Probe.play(id, ServiceMethod.publishObjectClassAttributes_OCH_AHS, a); }
  public void unpublishObjectClass_OCH(byte[] a) { Probe.play(id, ServiceMethod.unpublishObjectClass_OCH, a); }
  public void unpublishObjectClassAttributes_OCH_AHS(byte[] a) { Probe.play(id, ServiceMethod.unpublishObjectClassAttributes_OCH_AHS, a); }
  public void publishInteractionClass_ICH(byte[] a) { Probe.play(id, ServiceMethod.publishInteractionClass_ICH, a); }
  public void unpublishInteractionClass_ICH(byte[] a) { Probe.play(id, ServiceMethod.unpublishInteractionClass_ICH, a); }
  public void subscribeObjectClassAttributes_OCH_AHS_Z_S(byte[] a) { Probe.play(id, ServiceMethod.subscribeObjectClassAttributes_OCH_AHS_Z_S, a); }
  public void unsubscribeObjectClass_OCH(byte[] a) { Probe.play(id, ServiceMethod.unsubscribeObjectClass_OCH, a); }
  public void unsubscribeObjectClassAttributes_OCH_AHS(byte[] a) { Probe.play(id, ServiceMethod.unsubscribeObjectClassAttributes_OCH_AHS, a); }
  public void subscribeInteractionClass_ICH_Z(byte[] a) { Probe.play(id, ServiceMethod.subscribeInteractionClass_ICH_Z, a); }
  public void unsubscribeInteractionClass_ICH(byte[] a) { Probe.play(id, ServiceMethod.unsubscribeInteractionClass_ICH, a); }
  public void reserveObjectInstanceName_S(byte[] a) { Probe.play(id, ServiceMethod.reserveObjectInstanceName_S, a); }
  public void releaseObjectInstanceName_S(byte[] a) { Probe.play(id, ServiceMethod.releaseObjectInstanceName_S, a); }
  public void reserveMultipleObjectInstanceName_S(byte[] a) { Probe.play(id, ServiceMethod.reserveMultipleObjectInstanceName_S, a); }
  public void releaseMultipleObjectInstanceName_S(byte[] a) { Probe.play(id, ServiceMethod.releaseMultipleObjectInstanceName_S, a); }
  public int registerObjectInstance_OCH_S(byte[] a) { return (int) Probe.play(id, ServiceMethod.registerObjectInstance_OCH_S, a); }
  public int registerObjectInstance_OCH(byte[] a) { return (int) Probe.play(id, ServiceMethod.registerObjectInstance_OCH, a); }
  public byte[] updateAttributeValues_OIH_AHVM_BX_LT(byte[] a) { return (byte[]) Probe.play(id, ServiceMethod.updateAttributeValues_OIH_AHVM_BX_LT, a); }
  public void updateAttributeValues_OIH_AHVM_BX(byte[] a) { Probe.play(id, ServiceMethod.updateAttributeValues_OIH_AHVM_BX, a); }
  public byte[] sendInteraction_ICH_PHVM_BX_LT(byte[] a) { return (byte[]) Probe.play(id, ServiceMethod.sendInteraction_ICH_PHVM_BX_LT, a); }
  public void sendInteraction_ICH_PHVM_BX(byte[] a) { Probe.play(id, ServiceMethod.sendInteraction_ICH_PHVM_BX, a); }
  public byte[] deleteObjectInstance_OIH_BX_LT(byte[] a) { return (byte[]) Probe.play(id, ServiceMethod.deleteObjectInstance_OIH_BX_LT, a); }
  public void deleteObjectInstance_OIH_BX(byte[] a) { Probe.play(id, ServiceMethod.deleteObjectInstance_OIH_BX, a); }
  public void localDeleteObjectInstance_OIH(byte[] a) { Probe.play(id, ServiceMethod.localDeleteObjectInstance_OIH, a); }
  public void requestAttributeValueUpdate_OCH_AHS_BX(byte[] a) { Probe.play(id, ServiceMethod.requestAttributeValueUpdate_OCH_AHS_BX, a); }
  public void requestAttributeValueUpdate_OIH_AHS_BX(byte[] a) { Probe.play(id, ServiceMethod.requestAttributeValueUpdate_OIH_AHS_BX, a); }
  public void requestAttributeTransportationTypeChange_OIH_AHS_TTH(byte[] a) { Probe.play(id, ServiceMethod.requestAttributeTransportationTypeChange_OIH_AHS_TTH, a); }
  public void queryAttributeTransportationType_OIH_AH(byte[] a) { Probe.play(id, ServiceMethod.queryAttributeTransportationType_OIH_AH, a); }
  public void requestInteractionTransportationTypeChange_ICH_TTH(byte[] a) { Probe.play(id, ServiceMethod.requestInteractionTransportationTypeChange_ICH_TTH, a); }
  public void queryInteractionTransportationType_FH_ICH(byte[] a) { Probe.play(id, ServiceMethod.queryInteractionTransportationType_FH_ICH, a); }
  public void unconditionalAttributeOwnershipDivestiture_OIH_AHS(byte[] a) { Probe.play(id, ServiceMethod.unconditionalAttributeOwnershipDivestiture_OIH_AHS, a); }
  public void negotiatedAttributeOwnershipDivestiture_OIH_AHS_BX(byte[] a) { Probe.play(id, ServiceMethod.negotiatedAttributeOwnershipDivestiture_OIH_AHS_BX, a); }
  public void confirmDivestiture_OIH_AHS_BX(byte[] a) { Probe.play(id, ServiceMethod.confirmDivestiture_OIH_AHS_BX, a); }
  public void attributeOwnershipAcquisition_OIH_AHS_BX(byte[] a) { Probe.play(id, ServiceMethod.attributeOwnershipAcquisition_OIH_AHS_BX, a); }
  public void attributeOwnershipAcquisitionIfAvailable_OIH_AHS(byte[] a) { Probe.play(id, ServiceMethod.attributeOwnershipAcquisitionIfAvailable_OIH_AHS, a); }
  public void attributeOwnershipReleaseDenied_OIH_AHS(byte[] a) { Probe.play(id, ServiceMethod.attributeOwnershipReleaseDenied_OIH_AHS, a); }
  public int[] attributeOwnershipDivestitureIfWanted_OIH_AHS(byte[] a) { return (int[]) Probe.play(id, ServiceMethod.attributeOwnershipDivestitureIfWanted_OIH_AHS, a); }
  public void cancelNegotiatedAttributeOwnershipDivestiture_OIH_AHS(byte[] a) { Probe.play(id, ServiceMethod.cancelNegotiatedAttributeOwnershipDivestiture_OIH_AHS, a); }
  public void cancelAttributeOwnershipAcquisition_OIH_AHS(byte[] a) { Probe.play(id, ServiceMethod.cancelAttributeOwnershipAcquisition_OIH_AHS, a); }
  public void queryAttributeOwnership_OIH_AH(byte[] a) { Probe.play(id, ServiceMethod.queryAttributeOwnership_OIH_AH, a); }
  public boolean isAttributeOwnedByFederate_OIH_AH(byte[] a) { return (boolean) Probe.play(id, ServiceMethod.isAttributeOwnedByFederate_OIH_AH, a); }
  public void enableTimeRegulation_LTI(byte[] a) { Probe.play(id, ServiceMethod.enableTimeRegulation_LTI, a); }
  public void disableTimeRegulation() { Probe.play(id, ServiceMethod.disableTimeRegulation, null); }
  public void enableTimeConstrained() { Probe.play(id, ServiceMethod.enableTimeConstrained, null); }
  public void disableTimeConstrained() { Probe.play(id, ServiceMethod.disableTimeConstrained, null); }
  public void timeAdvanceRequest_LT(byte[] a) { Probe.play(id, ServiceMethod.timeAdvanceRequest_LT, a); }
  public void timeAdvanceRequestAvailable_LT(byte[] a) { Probe.play(id, ServiceMethod.timeAdvanceRequestAvailable_LT, a); }
  public void nextMessageRequest_LT(byte[] a) { Probe.play(id, ServiceMethod.nextMessageRequest_LT, a); }
  public void nextMessageRequestAvailable_LT(byte[] a) { Probe.play(id, ServiceMethod.nextMessageRequestAvailable_LT, a); }
  public void flushQueueRequest_LT(byte[] a) { Probe.play(id, ServiceMethod.flushQueueRequest_LT, a); }
  public void enableAsynchronousDelivery() { Probe.play(id, ServiceMethod.enableAsynchronousDelivery, null); }
  public void disableAsynchronousDelivery() { Probe.play(id, ServiceMethod.disableAsynchronousDelivery, null); }
  public byte[] queryGALT() { return (byte[]) Probe.play(id, ServiceMethod.queryGALT, null); }
  public byte[] queryLogicalTime() { return (byte[]) Probe.play(id, ServiceMethod.queryLogicalTime, null); }
  public byte[] queryLITS() { return (byte[]) Probe.play(id, ServiceMethod.queryLITS, null); }
  public void modifyLookahead_LTI(byte[] a) { Probe.play(id, ServiceMethod.modifyLookahead_LTI, a); }
  public byte[] queryLookahead() { return (byte[]) Probe.play(id, ServiceMethod.queryLookahead, null); }
  public void retract_MRH(byte[] a) { Probe.play(id, ServiceMethod.retract_MRH, a); }
  public void changeAttributeOrderType_OIH_AHS_OT(byte[] a) { Probe.play(id, ServiceMethod.changeAttributeOrderType_OIH_AHS_OT, a); }
  public void changeInteractionOrderType_ICH_OT(byte[] a) { Probe.play(id, ServiceMethod.changeInteractionOrderType_ICH_OT, a); }
  public int createRegion_DHS(byte[] a) { return (int) Probe.play(id, ServiceMethod.createRegion_DHS, a); }
  public void commitRegionModifications_RHS(byte[] a) { Probe.play(id, ServiceMethod.commitRegionModifications_RHS, a); }
  public void deleteRegion_RH(byte[] a) { Probe.play(id, ServiceMethod.deleteRegion_RH, a); }
  public int registerObjectInstanceWithRegions_OCH_ASRSPL_S(byte[] a) { return (int) Probe.play(id, ServiceMethod.registerObjectInstanceWithRegions_OCH_ASRSPL_S, a); }
  public int registerObjectInstanceWithRegions_OCH_ASRSPL(byte[] a) { return (int) Probe.play(id, ServiceMethod.registerObjectInstanceWithRegions_OCH_ASRSPL, a); }
  public void associateRegionsForUpdates_OIH_ASRSPL(byte[] a) { Probe.play(id, ServiceMethod.associateRegionsForUpdates_OIH_ASRSPL, a); }
  public void unassociateRegionsForUpdates_OIH_ASRSPL(byte[] a) { Probe.play(id, ServiceMethod.unassociateRegionsForUpdates_OIH_ASRSPL, a); }
  public void subscribeObjectClassAttributesWithRegions_OCH_ASRSPL_Z_S(byte[] a) { Probe.play(id, ServiceMethod.subscribeObjectClassAttributesWithRegions_OCH_ASRSPL_Z_S, a); }
  public void unsubscribeObjectClassAttributesWithRegions_OCH_ASRSPL(byte[] a) { Probe.play(id, ServiceMethod.unsubscribeObjectClassAttributesWithRegions_OCH_ASRSPL, a); }
  public void subscribeInteractionClassWithRegions_ICH_Z_RHS(byte[] a) { Probe.play(id, ServiceMethod.subscribeInteractionClassWithRegions_ICH_Z_RHS, a); }
  public void unsubscribeInteractionClassWithRegions_ICH_RHS(byte[] a) { Probe.play(id, ServiceMethod.unsubscribeInteractionClassWithRegions_ICH_RHS, a); }
  public byte[] sendInteractionWithRegions_ICH_PHVM_RHS_BX_LT(byte[] a) { return (byte[]) Probe.play(id, ServiceMethod.sendInteractionWithRegions_ICH_PHVM_RHS_BX_LT, a); }
  public void sendInteractionWithRegions_ICH_PHVM_RHS_BX(byte[] a) { Probe.play(id, ServiceMethod.sendInteractionWithRegions_ICH_PHVM_RHS_BX, a); }
  public void requestAttributeValueUpdateWithRegions_OCH_ASRSPL_BX(byte[] a) { Probe.play(id, ServiceMethod.requestAttributeValueUpdateWithRegions_OCH_ASRSPL_BX, a); }
  public int getAutomaticResignDirective() { return (int) Probe.play(id, ServiceMethod.getAutomaticResignDirective, null); }
  public void setAutomaticResignDirective_RA(byte[] a) { Probe.play(id, ServiceMethod.setAutomaticResignDirective_RA, a); }
  public int getFederateHandle_S(byte[] a) { return (int) Probe.play(id, ServiceMethod.getFederateHandle_S, a); }
  public String getFederateName_FH(byte[] a) { return (String) Probe.play(id, ServiceMethod.getFederateName_FH, a); }
  public int getObjectClassHandle_S(byte[] a) { return (int) Probe.play(id, ServiceMethod.getObjectClassHandle_S, a); }
  public String getObjectClassName_OCH(byte[] a) { return (String) Probe.play(id, ServiceMethod.getObjectClassName_OCH, a); }
  public int getKnownObjectClassHandle_OIH(byte[] a) { return (int) Probe.play(id, ServiceMethod.getKnownObjectClassHandle_OIH, a); }
  public int getObjectInstanceHandle_S(byte[] a) { return (int) Probe.play(id, ServiceMethod.getObjectInstanceHandle_S, a); }
  public String getObjectInstanceName_OIH(byte[] a) { return (String) Probe.play(id, ServiceMethod.getObjectInstanceName_OIH, a); }
  public int getAttributeHandle_OCH_S(byte[] a) { return (int) Probe.play(id, ServiceMethod.getAttributeHandle_OCH_S, a); }
  public String getAttributeName_OCH_AH(byte[] a) { return (String) Probe.play(id, ServiceMethod.getAttributeName_OCH_AH, a); }
  public double getUpdateRateValue_S(byte[] a) { return (double) Probe.play(id, ServiceMethod.getUpdateRateValue_S, a); }
  public double getUpdateRateValueForAttribute_OIH_AH(byte[] a) { return (double) Probe.play(id, ServiceMethod.getUpdateRateValueForAttribute_OIH_AH, a); }
  public int getInteractionClassHandle_S(byte[] a) { return (int) Probe.play(id, ServiceMethod.getInteractionClassHandle_S, a); }
  public String getInteractionClassName_ICH(byte[] a) { return (String) Probe.play(id, ServiceMethod.getInteractionClassName_ICH, a); }
  public int getParameterHandle_ICH_S(byte[] a) { return (int) Probe.play(id, ServiceMethod.getParameterHandle_ICH_S, a); }
  public String getParameterName_ICH_PH(byte[] a) { return (String) Probe.play(id, ServiceMethod.getParameterName_ICH_PH, a); }
  public int getOrderType_S(byte[] a) { return (int) Probe.play(id, ServiceMethod.getOrderType_S, a); }
  public String getOrderName_OT(byte[] a) { return (String) Probe.play(id, ServiceMethod.getOrderName_OT, a); }
  public int getTransportationTypeHandle_S(byte[] a) { return (int) Probe.play(id, ServiceMethod.getTransportationTypeHandle_S, a); }
  public String getTransportationTypeName_TTH(byte[] a) { return (String) Probe.play(id, ServiceMethod.getTransportationTypeName_TTH, a); }
  public int[] getAvailableDimensionsForClassAttribute_OCH_AH(byte[] a) { return (int[]) Probe.play(id, ServiceMethod.getAvailableDimensionsForClassAttribute_OCH_AH, a); }
  public int[] getAvailableDimensionsForInteractionClass_ICH(byte[] a) { return (int[]) Probe.play(id, ServiceMethod.getAvailableDimensionsForInteractionClass_ICH, a); }
  public int getDimensionHandle_S(byte[] a) { return (int) Probe.play(id, ServiceMethod.getDimensionHandle_S, a); }
  public String getDimensionName_DH(byte[] a) { return (String) Probe.play(id, ServiceMethod.getDimensionName_DH, a); }
  public long getDimensionUpperBound_DH(byte[] a) { return (long) Probe.play(id, ServiceMethod.getDimensionUpperBound_DH, a); }
  public int[] getDimensionHandleSet_RH(byte[] a) { return (int[]) Probe.play(id, ServiceMethod.getDimensionHandleSet_RH, a); }
  public long[] getRangeBounds_RH_DH(byte[] a) { return (long[]) Probe.play(id, ServiceMethod.getRangeBounds_RH_DH, a); }
  public void setRangeBounds_RH_DH_RB(byte[] a) { Probe.play(id, ServiceMethod.setRangeBounds_RH_DH_RB, a); }
  public long normalizeFederateHandle_FH(byte[] a) { return (long) Probe.play(id, ServiceMethod.normalizeFederateHandle_FH, a); }
  public long normalizeServiceGroup_SG(byte[] a) { return (long) Probe.play(id, ServiceMethod.normalizeServiceGroup_SG, a); }
  public void enableObjectClassRelevanceAdvisorySwitch() { Probe.play(id, ServiceMethod.enableObjectClassRelevanceAdvisorySwitch, null); }
  public void disableObjectClassRelevanceAdvisorySwitch() { Probe.play(id, ServiceMethod.disableObjectClassRelevanceAdvisorySwitch, null); }
  public void enableAttributeRelevanceAdvisorySwitch() { Probe.play(id, ServiceMethod.enableAttributeRelevanceAdvisorySwitch, null); }
  public void disableAttributeRelevanceAdvisorySwitch() { Probe.play(id, ServiceMethod.disableAttributeRelevanceAdvisorySwitch, null); }
  public void enableAttributeScopeAdvisorySwitch() { Probe.play(id, ServiceMethod.enableAttributeScopeAdvisorySwitch, null); }
  public void disableAttributeScopeAdvisorySwitch() { Probe.play(id, ServiceMethod.disableAttributeScopeAdvisorySwitch, null); }
  public void enableInteractionRelevanceAdvisorySwitch() { Probe.play(id, ServiceMethod.enableInteractionRelevanceAdvisorySwitch, null); }
  public void disableInteractionRelevanceAdvisorySwitch() { Probe.play(id, ServiceMethod.disableInteractionRelevanceAdvisorySwitch, null); }
  public boolean evokeCallback_D(byte[] a) { return (boolean) Probe.play(id, ServiceMethod.evokeCallback_D, a); }
  public boolean evokeMultipleCallbacks_D_D(byte[] a) { return (boolean) Probe.play(id, ServiceMethod.evokeMultipleCallbacks_D_D, a); }
  public void enableCallbacks() { Probe.play(id, ServiceMethod.enableCallbacks, null); }
  public void disableCallbacks() { Probe.play(id, ServiceMethod.disableCallbacks, null); }
  // Unscripted, the probe's federations use the representation of the bridge tests' sample times.
  public String getTimeFactory() {
    String name = (String) Probe.play(id, ServiceMethod.getTimeFactory, null);
    return name.isEmpty() ? "HLAinteger64Time" : name;
  }
}
