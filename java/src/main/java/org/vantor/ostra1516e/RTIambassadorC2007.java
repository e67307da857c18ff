package org.vantor.ostra1516e;

import hla.rti1516e.exceptions.RTIexception;
import java.lang.ref.Cleaner;
import org.vantor.ostra1516e.wire.ServiceMethod;

/**
 * RTIambassadorC2007 is the service object that the C++ library creates for each
 * ambassador. It has the constructor and the 142 service methods that the library looks up
 * by name and JNI signature; each one hands its service array to {@link ServiceEntry},
 * which decodes it and makes one typed call on the ambassador's local RTI component.
 *
 * <p>Thread-safety: the library calls these methods from any number of federate threads at
 * once; the local RTI component serializes what must be serialized.
 */
public class RTIambassadorC2007 {
  /** Leaves the federation for an ambassador dropped while still joined. */
  private static final Cleaner ABANDONED = Cleaner.create();

  private final ServiceEntry core;

  /** settings is the library's start-up array: an empty string list, four zero bytes. */
  public RTIambassadorC2007(byte[] settings) {
    core = new ServiceEntry(new FederateAmbassadorC2007());
    // The library destroys an ambassador by calling disconnect, which refuses while the
    // federate is joined; once nothing can call this object any more, its federate is
    // resigned as the federation's automatic resign directive says, as if it had crashed.
    ABANDONED.register(this, core::abandon);
  }

  // One line per service, in the library's slot order.
  public void connect_FA_CM_S(byte[] a) throws RTIexception { core.call(ServiceMethod.connect_FA_CM_S, a); }
  public void disconnect() throws RTIexception { core.call(ServiceMethod.disconnect, null); }
  public void createFederationExecution_S_URLX_URL_S(byte[] a) throws RTIexception { core.call(ServiceMethod.createFederationExecution_S_URLX_URL_S, a); }
  public void createFederationExecution_S_URLX_S(byte[] a) throws RTIexception { core.call(ServiceMethod.createFederationExecution_S_URLX_S, a); }
  public void createFederationExecution_S_URL_S(byte[] a) throws RTIexception { core.call(ServiceMethod.createFederationExecution_S_URL_S, a); }
  public void destroyFederationExecution_S(byte[] a) throws RTIexception { core.call(ServiceMethod.destroyFederationExecution_S, a); }
  public void listFederationExecutions() throws RTIexception { core.call(ServiceMethod.listFederationExecutions, null); }
  public int joinFederationExecution_S_S_URLX(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.joinFederationExecution_S_S_URLX, a); }
  public int joinFederationExecution_S_S_S_URLX(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.joinFederationExecution_S_S_S_URLX, a); }
  public void resignFederationExecution_RA(byte[] a) throws RTIexception { core.call(ServiceMethod.resignFederationExecution_RA, a); }
  public void registerFederationSynchronizationPoint_S_BX_FHS(byte[] a) throws RTIexception { core.call(ServiceMethod.registerFederationSynchronizationPoint_S_BX_FHS, a); }
  public void registerFederationSynchronizationPoint_S_BX(byte[] a) throws RTIexception { core.call(ServiceMethod.registerFederationSynchronizationPoint_S_BX, a); }
  public void synchronizationPointAchieved_S_Z(byte[] a) throws RTIexception { core.call(ServiceMethod.synchronizationPointAchieved_S_Z, a); }
  public void requestFederationSave_S_LT(byte[] a) throws RTIexception { core.call(ServiceMethod.requestFederationSave_S_LT, a); }
  public void requestFederationSave_S(byte[] a) throws RTIexception { core.call(ServiceMethod.requestFederationSave_S, a); }
  public void federateSaveBegun() throws RTIexception { core.call(ServiceMethod.federateSaveBegun, null); }
  public void federateSaveComplete() throws RTIexception { core.call(ServiceMethod.federateSaveComplete, null); }
  public void federateSaveNotComplete() throws RTIexception { core.call(ServiceMethod.federateSaveNotComplete, null); }
  public void abortFederationSave() throws RTIexception { core.call(ServiceMethod.abortFederationSave, null); }
  public void queryFederationSaveStatus() throws RTIexception { core.call(ServiceMethod.queryFederationSaveStatus, null); }
  public void requestFederationRestore_S(byte[] a) throws RTIexception { core.call(ServiceMethod.requestFederationRestore_S, a); }
  public void federateRestoreComplete() throws RTIexception { core.call(ServiceMethod.federateRestoreComplete, null); }
  public void federateRestoreNotComplete() throws RTIexception { core.call(ServiceMethod.federateRestoreNotComplete, null); }
  public void abortFederationRestore() throws RTIexception { core.call(ServiceMethod.abortFederationRestore, null); }
  public void queryFederationRestoreStatus() throws RTIexception { core.call(ServiceMethod.queryFederationRestoreStatus, null); }
  public void publishObjectClassAttributes_OCH_AHS(byte[] a) throws RTIexception { core.call(ServiceMethod.publishObjectClassAttributes_OCH_AHS, a); }
  public void unpublishObjectClass_OCH(byte[] a) throws RTIexception { core.call(ServiceMethod.unpublishObjectClass_OCH, a); }
  public void unpublishObjectClassAttributes_OCH_AHS(byte[] a) throws RTIexception { core.call(ServiceMethod.unpublishObjectClassAttributes_OCH_AHS, a); }
  public void publishInteractionClass_ICH(byte[] a) throws RTIexception { core.call(ServiceMethod.publishInteractionClass_ICH, a); }
  public void unpublishInteractionClass_ICH(byte[] a) throws RTIexception { core.call(ServiceMethod.unpublishInteractionClass_ICH, a); }
  public void subscribeObjectClassAttributes_OCH_AHS_Z_S(byte[] a) throws RTIexception { core.call(ServiceMethod.subscribeObjectClassAttributes_OCH_AHS_Z_S, a); }
  public void unsubscribeObjectClass_OCH(byte[] a) throws RTIexception { core.call(ServiceMethod.unsubscribeObjectClass_OCH, a); }
  public void unsubscribeObjectClassAttributes_OCH_AHS(byte[] a) throws RTIexception { core.call(ServiceMethod.unsubscribeObjectClassAttributes_OCH_AHS, a); }
  public void subscribeInteractionClass_ICH_Z(byte[] a) throws RTIexception { core.call(ServiceMethod.subscribeInteractionClass_ICH_Z, a); }
  public void unsubscribeInteractionClass_ICH(byte[] a) throws RTIexception { core.call(ServiceMethod.unsubscribeInteractionClass_ICH, a); }
  public void reserveObjectInstanceName_S(byte[] a) throws RTIexception { core.call(ServiceMethod.reserveObjectInstanceName_S, a); }
  public void releaseObjectInstanceName_S(byte[] a) throws RTIexception { core.call(ServiceMethod.releaseObjectInstanceName_S, a); }
  public void reserveMultipleObjectInstanceName_S(byte[] a) throws RTIexception { core.call(ServiceMethod.reserveMultipleObjectInstanceName_S, a); }
  public void releaseMultipleObjectInstanceName_S(byte[] a) throws RTIexception { core.call(ServiceMethod.releaseMultipleObjectInstanceName_S, a); }
  public int registerObjectInstance_OCH_S(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.registerObjectInstance_OCH_S, a); }
  public int registerObjectInstance_OCH(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.registerObjectInstance_OCH, a); }
  public byte[] updateAttributeValues_OIH_AHVM_BX_LT(byte[] a) throws RTIexception { return (byte[]) core.call(ServiceMethod.updateAttributeValues_OIH_AHVM_BX_LT, a); }
  public void updateAttributeValues_OIH_AHVM_BX(byte[] a) throws RTIexception { core.call(ServiceMethod.updateAttributeValues_OIH_AHVM_BX, a); }
  public byte[] sendInteraction_ICH_PHVM_BX_LT(byte[] a) throws RTIexception { return (byte[]) core.call(ServiceMethod.sendInteraction_ICH_PHVM_BX_LT, a); }
  public void sendInteraction_ICH_PHVM_BX(byte[] a) throws RTIexception { core.call(ServiceMethod.sendInteraction_ICH_PHVM_BX, a); }
  public byte[] deleteObjectInstance_OIH_BX_LT(byte[] a) throws RTIexception { return (byte[]) core.call(ServiceMethod.deleteObjectInstance_OIH_BX_LT, a); }
  public void deleteObjectInstance_OIH_BX(byte[] a) throws RTIexception { core.call(ServiceMethod.deleteObjectInstance_OIH_BX, a); }
  public void localDeleteObjectInstance_OIH(byte[] a) throws RTIexception { core.call(ServiceMethod.localDeleteObjectInstance_OIH, a); }
  public void requestAttributeValueUpdate_OCH_AHS_BX(byte[] a) throws RTIexception { core.call(ServiceMethod.requestAttributeValueUpdate_OCH_AHS_BX, a); }
  public void requestAttributeValueUpdate_OIH_AHS_BX(byte[] a) throws RTIexception { core.call(ServiceMethod.requestAttributeValueUpdate_OIH_AHS_BX, a); }
  public void requestAttributeTransportationTypeChange_OIH_AHS_TTH(byte[] a) throws RTIexception { core.call(ServiceMethod.requestAttributeTransportationTypeChange_OIH_AHS_TTH, a); }
  public void queryAttributeTransportationType_OIH_AH(byte[] a) throws RTIexception { core.call(ServiceMethod.queryAttributeTransportationType_OIH_AH, a); }
  public void requestInteractionTransportationTypeChange_ICH_TTH(byte[] a) throws RTIexception { core.call(ServiceMethod.requestInteractionTransportationTypeChange_ICH_TTH, a); }
  public void queryInteractionTransportationType_FH_ICH(byte[] a) throws RTIexception { core.call(ServiceMethod.queryInteractionTransportationType_FH_ICH, a); }
  public void unconditionalAttributeOwnershipDivestiture_OIH_AHS(byte[] a) throws RTIexception { core.call(ServiceMethod.unconditionalAttributeOwnershipDivestiture_OIH_AHS, a); }
  public void negotiatedAttributeOwnershipDivestiture_OIH_AHS_BX(byte[] a) throws RTIexception { core.call(ServiceMethod.negotiatedAttributeOwnershipDivestiture_OIH_AHS_BX, a); }
  public void confirmDivestiture_OIH_AHS_BX(byte[] a) throws RTIexception { core.call(ServiceMethod.confirmDivestiture_OIH_AHS_BX, a); }
  public void attributeOwnershipAcquisition_OIH_AHS_BX(byte[] a) throws RTIexception { core.call(ServiceMethod.attributeOwnershipAcquisition_OIH_AHS_BX, a); }
  public void attributeOwnershipAcquisitionIfAvailable_OIH_AHS(byte[] a) throws RTIexception { core.call(ServiceMethod.attributeOwnershipAcquisitionIfAvailable_OIH_AHS, a); }
  public void attributeOwnershipReleaseDenied_OIH_AHS(byte[] a) throws RTIexception { core.call(ServiceMethod.attributeOwnershipReleaseDenied_OIH_AHS, a); }
  public int[] attributeOwnershipDivestitureIfWanted_OIH_AHS(byte[] a) throws RTIexception { return (int[]) core.call(ServiceMethod.attributeOwnershipDivestitureIfWanted_OIH_AHS, a); }
  public void cancelNegotiatedAttributeOwnershipDivestiture_OIH_AHS(byte[] a) throws RTIexception { core.call(ServiceMethod.cancelNegotiatedAttributeOwnershipDivestiture_OIH_AHS, a); }
  public void cancelAttributeOwnershipAcquisition_OIH_AHS(byte[] a) throws RTIexception { core.call(ServiceMethod.cancelAttributeOwnershipAcquisition_OIH_AHS, a); }
  public void queryAttributeOwnership_OIH_AH(byte[] a) throws RTIexception { core.call(ServiceMethod.queryAttributeOwnership_OIH_AH, a); }
  public boolean isAttributeOwnedByFederate_OIH_AH(byte[] a) throws RTIexception { return (Boolean) core.call(ServiceMethod.isAttributeOwnedByFederate_OIH_AH, a); }
  public void enableTimeRegulation_LTI(byte[] a) throws RTIexception { core.call(ServiceMethod.enableTimeRegulation_LTI, a); }
  public void disableTimeRegulation() throws RTIexception { core.call(ServiceMethod.disableTimeRegulation, null); }
  public void enableTimeConstrained() throws RTIexception { core.call(ServiceMethod.enableTimeConstrained, null); }
  public void disableTimeConstrained() throws RTIexception { core.call(ServiceMethod.disableTimeConstrained, null); }
  public void timeAdvanceRequest_LT(byte[] a) throws RTIexception { core.call(ServiceMethod.timeAdvanceRequest_LT, a); }
  public void timeAdvanceRequestAvailable_LT(byte[] a) throws RTIexception { core.call(ServiceMethod.timeAdvanceRequestAvailable_LT, a); }
  public void nextMessageRequest_LT(byte[] a) throws RTIexception { core.call(ServiceMethod.nextMessageRequest_LT, a); }
  public void nextMessageRequestAvailable_LT(byte[] a) throws RTIexception { core.call(ServiceMethod.nextMessageRequestAvailable_LT, a); }
  public void flushQueueRequest_LT(byte[] a) throws RTIexception { core.call(ServiceMethod.flushQueueRequest_LT, a); }
  public void enableAsynchronousDelivery() throws RTIexception { core.call(ServiceMethod.enableAsynchronousDelivery, null); }
  public void disableAsynchronousDelivery() throws RTIexception { core.call(ServiceMethod.disableAsynchronousDelivery, null); }
  public byte[] queryGALT() throws RTIexception { return (byte[]) core.call(ServiceMethod.queryGALT, null); }
  public byte[] queryLogicalTime() throws RTIexception { return (byte[]) core.call(ServiceMethod.queryLogicalTime, null); }
  public byte[] queryLITS() throws RTIexception { return (byte[]) core.call(ServiceMethod.queryLITS, null); }
  public void modifyLookahead_LTI(byte[] a) throws RTIexception { core.call(ServiceMethod.modifyLookahead_LTI, a); }
  public byte[] queryLookahead() throws RTIexception { return (byte[]) core.call(ServiceMethod.queryLookahead, null); }
  public void retract_MRH(byte[] a) throws RTIexception { core.call(ServiceMethod.retract_MRH, a); }
  public void changeAttributeOrderType_OIH_AHS_OT(byte[] a) throws RTIexception { core.call(ServiceMethod.changeAttributeOrderType_OIH_AHS_OT, a); }
  public void changeInteractionOrderType_ICH_OT(byte[] a) throws RTIexception { core.call(ServiceMethod.changeInteractionOrderType_ICH_OT, a); }
  public int createRegion_DHS(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.createRegion_DHS, a); }
  public void commitRegionModifications_RHS(byte[] a) throws RTIexception { core.call(ServiceMethod.commitRegionModifications_RHS, a); }
  public void deleteRegion_RH(byte[] a) throws RTIexception { core.call(ServiceMethod.deleteRegion_RH, a); }
  public int registerObjectInstanceWithRegions_OCH_ASRSPL_S(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.registerObjectInstanceWithRegions_OCH_ASRSPL_S, a); }
  public int registerObjectInstanceWithRegions_OCH_ASRSPL(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.registerObjectInstanceWithRegions_OCH_ASRSPL, a); }
  public void associateRegionsForUpdates_OIH_ASRSPL(byte[] a) throws RTIexception { core.call(ServiceMethod.associateRegionsForUpdates_OIH_ASRSPL, a); }
  public void unassociateRegionsForUpdates_OIH_ASRSPL(byte[] a) throws RTIexception { core.call(ServiceMethod.unassociateRegionsForUpdates_OIH_ASRSPL, a); }
  public void subscribeObjectClassAttributesWithRegions_OCH_ASRSPL_Z_S(byte[] a) throws RTIexception { core.call(ServiceMethod.subscribeObjectClassAttributesWithRegions_OCH_ASRSPL_Z_S, a); }
  public void unsubscribeObjectClassAttributesWithRegions_OCH_ASRSPL(byte[] a) throws RTIexception { core.call(ServiceMethod.unsubscribeObjectClassAttributesWithRegions_OCH_ASRSPL, a); }
  public void subscribeInteractionClassWithRegions_ICH_Z_RHS(byte[] a) throws RTIexception { core.call(ServiceMethod.subscribeInteractionClassWithRegions_ICH_Z_RHS, a); }
  public void unsubscribeInteractionClassWithRegions_ICH_RHS(byte[] a) throws RTIexception { core.call(ServiceMethod.unsubscribeInteractionClassWithRegions_ICH_RHS, a); }
  public byte[] sendInteractionWithRegions_ICH_PHVM_RHS_BX_LT(byte[] a) throws RTIexception { return (byte[]) core.call(ServiceMethod.sendInteractionWithRegions_ICH_PHVM_RHS_BX_LT, a); }
  public void sendInteractionWithRegions_ICH_PHVM_RHS_BX(byte[] a) throws RTIexception { core.call(ServiceMethod.sendInteractionWithRegions_ICH_PHVM_RHS_BX, a); }
  public void requestAttributeValueUpdateWithRegions_OCH_ASRSPL_BX(byte[] a) throws RTIexception { core.call(ServiceMethod.requestAttributeValueUpdateWithRegions_OCH_ASRSPL_BX, a); }
  public int getAutomaticResignDirective() throws RTIexception { return (Integer) core.call(ServiceMethod.getAutomaticResignDirective, null); }
  public void setAutomaticResignDirective_RA(byte[] a) throws RTIexception { core.call(ServiceMethod.setAutomaticResignDirective_RA, a); }
  public int getFederateHandle_S(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.getFederateHandle_S, a); }
  public String getFederateName_FH(byte[] a) throws RTIexception { return (String) core.call(ServiceMethod.getFederateName_FH, a); }
  public int getObjectClassHandle_S(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.getObjectClassHandle_S, a); }
  public String getObjectClassName_OCH(byte[] a) throws RTIexception { return (String) core.call(ServiceMethod.getObjectClassName_OCH, a); }
  public int getKnownObjectClassHandle_OIH(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.getKnownObjectClassHandle_OIH, a); }
  public int getObjectInstanceHandle_S(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.getObjectInstanceHandle_S, a); }
  public String getObjectInstanceName_OIH(byte[] a) throws RTIexception { return (String) core.call(ServiceMethod.getObjectInstanceName_OIH, a); }
  public int getAttributeHandle_OCH_S(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.getAttributeHandle_OCH_S, a); }
  public String getAttributeName_OCH_AH(byte[] a) throws RTIexception { return (String) core.call(ServiceMethod.getAttributeName_OCH_AH, a); }
  public double getUpdateRateValue_S(byte[] a) throws RTIexception { return (Double) core.call(ServiceMethod.getUpdateRateValue_S, a); }
  public double getUpdateRateValueForAttribute_OIH_AH(byte[] a) throws RTIexception { return (Double) core.call(ServiceMethod.getUpdateRateValueForAttribute_OIH_AH, a); }
  public int getInteractionClassHandle_S(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.getInteractionClassHandle_S, a); }
  public String getInteractionClassName_ICH(byte[] a) throws RTIexception { return (String) core.call(ServiceMethod.getInteractionClassName_ICH, a); }
  public int getParameterHandle_ICH_S(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.getParameterHandle_ICH_S, a); }
  public String getParameterName_ICH_PH(byte[] a) throws RTIexception { return (String) core.call(ServiceMethod.getParameterName_ICH_PH, a); }
  public int getOrderType_S(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.getOrderType_S, a); }
  public String getOrderName_OT(byte[] a) throws RTIexception { return (String) core.call(ServiceMethod.getOrderName_OT, a); }
  public int getTransportationTypeHandle_S(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.getTransportationTypeHandle_S, a); }
  public String getTransportationTypeName_TTH(byte[] a) throws RTIexception { return (String) core.call(ServiceMethod.getTransportationTypeName_TTH, a); }
  public int[] getAvailableDimensionsForClassAttribute_OCH_AH(byte[] a) throws RTIexception { return (int[]) core.call(ServiceMethod.getAvailableDimensionsForClassAttribute_OCH_AH, a); }
  public int[] getAvailableDimensionsForInteractionClass_ICH(byte[] a) throws RTIexception { return (int[]) core.call(ServiceMethod.getAvailableDimensionsForInteractionClass_ICH, a); }
  public int getDimensionHandle_S(byte[] a) throws RTIexception { return (Integer) core.call(ServiceMethod.getDimensionHandle_S, a); }
  public String getDimensionName_DH(byte[] a) throws RTIexception { return (String) core.call(ServiceMethod.getDimensionName_DH, a); }
  public long getDimensionUpperBound_DH(byte[] a) throws RTIexception { return (Long) core.call(ServiceMethod.getDimensionUpperBound_DH, a); }
  public int[] getDimensionHandleSet_RH(byte[] a) throws RTIexception { return (int[]) core.call(ServiceMethod.getDimensionHandleSet_RH, a); }
  public long[] getRangeBounds_RH_DH(byte[] a) throws RTIexception { return (long[]) core.call(ServiceMethod.getRangeBounds_RH_DH, a); }
  public void setRangeBounds_RH_DH_RB(byte[] a) throws RTIexception { core.call(ServiceMethod.setRangeBounds_RH_DH_RB, a); }
  public long normalizeFederateHandle_FH(byte[] a) throws RTIexception { return (Long) core.call(ServiceMethod.normalizeFederateHandle_FH, a); }
  public long normalizeServiceGroup_SG(byte[] a) throws RTIexception { return (Long) core.call(ServiceMethod.normalizeServiceGroup_SG, a); }
  public void enableObjectClassRelevanceAdvisorySwitch() throws RTIexception { core.call(ServiceMethod.enableObjectClassRelevanceAdvisorySwitch, null); }
  public void disableObjectClassRelevanceAdvisorySwitch() throws RTIexception { core.call(ServiceMethod.disableObjectClassRelevanceAdvisorySwitch, null); }
  public void enableAttributeRelevanceAdvisorySwitch() throws RTIexception { core.call(ServiceMethod.enableAttributeRelevanceAdvisorySwitch, null); }
  public void disableAttributeRelevanceAdvisorySwitch() throws RTIexception { core.call(ServiceMethod.disableAttributeRelevanceAdvisorySwitch, null); }
  public void enableAttributeScopeAdvisorySwitch() throws RTIexception { core.call(ServiceMethod.enableAttributeScopeAdvisorySwitch, null); }
  public void disableAttributeScopeAdvisorySwitch() throws RTIexception { core.call(ServiceMethod.disableAttributeScopeAdvisorySwitch, null); }
  public void enableInteractionRelevanceAdvisorySwitch() throws RTIexception { core.call(ServiceMethod.enableInteractionRelevanceAdvisorySwitch, null); }
  public void disableInteractionRelevanceAdvisorySwitch() throws RTIexception { core.call(ServiceMethod.disableInteractionRelevanceAdvisorySwitch, null); }
  public boolean evokeCallback_D(byte[] a) throws RTIexception { return (Boolean) core.call(ServiceMethod.evokeCallback_D, a); }
  public boolean evokeMultipleCallbacks_D_D(byte[] a) throws RTIexception { return (Boolean) core.call(ServiceMethod.evokeMultipleCallbacks_D_D, a); }
  public void enableCallbacks() throws RTIexception { core.call(ServiceMethod.enableCallbacks, null); }
  public void disableCallbacks() throws RTIexception { core.call(ServiceMethod.disableCallbacks, null); }
  public String getTimeFactory() throws RTIexception { return (String) core.call(ServiceMethod.getTimeFactory, null); }
}
