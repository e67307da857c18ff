package org.vantor.ostra1516e;

import hla.rti1516e.exceptions.RTIexception;
import hla.rti1516e.exceptions.RTIinternalError;
import java.util.List;
import org.vantor.ostra1516e.engine.FederationEngine;
import org.vantor.ostra1516e.lrc.CallbackSink;
import org.vantor.ostra1516e.lrc.LocalRtiComponent;
import org.vantor.ostra1516e.lrc.ObjectServices;
import org.vantor.ostra1516e.lrc.SupportServices;
import org.vantor.ostra1516e.message.OwnershipMessages;
import org.vantor.ostra1516e.message.TimeMessages;
import org.vantor.ostra1516e.transport.InProcessTransport;
import org.vantor.ostra1516e.wire.AttributeRegions;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.RangeBounds;
import org.vantor.ostra1516e.wire.RetractionHandle;
import org.vantor.ostra1516e.wire.ServiceMethod;
import org.vantor.ostra1516e.wire.WireCodec;
import org.vantor.ostra1516e.wire.WireFormatException;

/**
 * ServiceEntry decodes a service array with the wire codec and makes the one typed call on
 * the local RTI component that the service stands for, returning its result as the Java
 * value the library converts (Integer for handles and enumerations, int[] for handle sets,
 * byte[] for times and retraction handles). No RTI logic lives here.
 *
 * <p>Thread-safety: as the local RTI component; the codec is stateless.
 */
final class ServiceEntry {
  private static final WireCodec CODEC = new WireCodec(WireCodec.STANDARD_TIME_LENGTH);
  private static final Object[] NO_ARGUMENTS = new Object[0];

  private final LocalRtiComponent lrc;
  private final SupportServices support;
  private final ObjectServices objects;

  ServiceEntry(CallbackSink callbacks) {
    lrc = new LocalRtiComponent(new InProcessTransport(FederationEngine.embedded()), callbacks);
    support = lrc.support();
    objects = lrc.objects();
    lrc.dispatchThrough(this::reported);
  }

  /** abandon drops the connection of an ambassador that nothing can call any more. */
  void abandon() {
    lrc.abandon();
  }

  Object call(ServiceMethod service, byte[] array) throws RTIexception {
    Object[] a;
    if (service.takesArray()) {
      try {
        a = CODEC.decodeArguments(service, array);
      } catch (WireFormatException e) {
        throw new RTIinternalError(service.serviceName() + ": malformed service array: " + e.getMessage());
      }
    } else {
      a = NO_ARGUMENTS;
    }
    return reported(service, a);
  }

  /** reported makes a call and reports it where the management object model asks for reports. */
  private Object reported(ServiceMethod service, Object[] a) throws RTIexception {
    if (!lrc.reportsServices() && !lrc.reportsExceptions()) {
      return dispatch(service, a);
    }
    try {
      Object result = dispatch(service, a);
      lrc.reportInvocation(service, a, result, null);
      return result;
    } catch (RTIexception e) {
      lrc.reportInvocation(service, a, null, e);
      throw e;
    }
  }

  @SuppressWarnings("unchecked")
  private static List<AttributeRegions> regions(Object value) {
    return (List<AttributeRegions>) value;
  }

  @SuppressWarnings("unchecked")
  private static List<String> strings(Object value) {
    return (List<String>) value;
  }

  private Object dispatch(ServiceMethod s, Object[] a) throws RTIexception {
    switch (s) {
      case connect_FA_CM_S: lrc.connect((Integer) a[0], (Integer) a[1], (String) a[2]); return null;
      case disconnect: lrc.disconnect(); return null;
      case createFederationExecution_S_URLX_URL_S:
        lrc.createFederationExecution(s, (String) a[0], strings(a[1]), (String) a[2], (String) a[3]); return null;
      case createFederationExecution_S_URLX_S:
        lrc.createFederationExecution(s, (String) a[0], strings(a[1]), null, (String) a[2]); return null;
      case createFederationExecution_S_URL_S:
        lrc.createFederationExecution(s, (String) a[0], List.of((String) a[1]), null, (String) a[2]); return null;
      case destroyFederationExecution_S: lrc.destroyFederationExecution((String) a[0]); return null;
      case listFederationExecutions: lrc.listFederationExecutions(); return null;
      case joinFederationExecution_S_S_URLX:
        return lrc.joinFederationExecution(s, null, (String) a[0], (String) a[1], strings(a[2]));
      case joinFederationExecution_S_S_S_URLX:
        return lrc.joinFederationExecution(s, (String) a[0], (String) a[1], (String) a[2], strings(a[3]));
      case resignFederationExecution_RA: lrc.resignFederationExecution((Integer) a[0]); return null;
      case registerFederationSynchronizationPoint_S_BX_FHS:
        lrc.registerFederationSynchronizationPoint(s, (String) a[0], (byte[]) a[1], (int[]) a[2]); return null;
      case registerFederationSynchronizationPoint_S_BX:
        lrc.registerFederationSynchronizationPoint(s, (String) a[0], (byte[]) a[1], new int[0]); return null;
      case synchronizationPointAchieved_S_Z: lrc.synchronizationPointAchieved((String) a[0], (Boolean) a[1]); return null;
      case requestFederationSave_S_LT: lrc.requestFederationSave(s, (String) a[0], (byte[]) a[1]); return null;
      case requestFederationSave_S: lrc.requestFederationSave(s, (String) a[0], null); return null;
      case federateSaveBegun: lrc.federateSaveBegun(); return null;
      case federateSaveComplete: lrc.federateSaveComplete(s, true); return null;
      case federateSaveNotComplete: lrc.federateSaveComplete(s, false); return null;
      case abortFederationSave: lrc.abortFederationSave(); return null;
      case queryFederationSaveStatus: lrc.queryFederationSaveStatus(); return null;
      case requestFederationRestore_S: lrc.requestFederationRestore((String) a[0]); return null;
      case federateRestoreComplete: lrc.federateRestoreComplete(s, true); return null;
      case federateRestoreNotComplete: lrc.federateRestoreComplete(s, false); return null;
      case abortFederationRestore: lrc.abortFederationRestore(); return null;
      case queryFederationRestoreStatus: lrc.queryFederationRestoreStatus(); return null;
      case publishObjectClassAttributes_OCH_AHS:
        objects.publishObjectClassAttributes((Integer) a[0], (int[]) a[1]); return null;
      case unpublishObjectClass_OCH: objects.unpublishObjectClass(s, (Integer) a[0], null); return null;
      case unpublishObjectClassAttributes_OCH_AHS:
        objects.unpublishObjectClass(s, (Integer) a[0], (int[]) a[1]); return null;
      case publishInteractionClass_ICH: objects.publishInteractionClass((Integer) a[0]); return null;
      case unpublishInteractionClass_ICH: objects.unpublishInteractionClass((Integer) a[0]); return null;
      case subscribeObjectClassAttributes_OCH_AHS_Z_S:
        objects.subscribeObjectClassAttributes((Integer) a[0], (int[]) a[1], (Boolean) a[2], (String) a[3]);
        return null;
      case unsubscribeObjectClass_OCH: objects.unsubscribeObjectClass(s, (Integer) a[0], null); return null;
      case unsubscribeObjectClassAttributes_OCH_AHS:
        objects.unsubscribeObjectClass(s, (Integer) a[0], (int[]) a[1]); return null;
      case subscribeInteractionClass_ICH_Z:
        objects.subscribeInteractionClass((Integer) a[0], (Boolean) a[1]); return null;
      case unsubscribeInteractionClass_ICH: objects.unsubscribeInteractionClass((Integer) a[0]); return null;
      case reserveObjectInstanceName_S: objects.reserveObjectInstanceName((String) a[0]); return null;
      case releaseObjectInstanceName_S: objects.releaseObjectInstanceNames(s, List.of((String) a[0])); return null;
      case reserveMultipleObjectInstanceName_S: objects.reserveMultipleObjectInstanceName(strings(a[0])); return null;
      case releaseMultipleObjectInstanceName_S: objects.releaseObjectInstanceNames(s, strings(a[0])); return null;
      case registerObjectInstance_OCH_S: return objects.registerObjectInstance(s, (Integer) a[0], (String) a[1]);
      case registerObjectInstance_OCH: return objects.registerObjectInstance(s, (Integer) a[0], null);
      case updateAttributeValues_OIH_AHVM_BX_LT:
        return objects.updateAttributeValues(s, (Integer) a[0], (HandleValues) a[1], (byte[]) a[2], (byte[]) a[3]);
      case updateAttributeValues_OIH_AHVM_BX:
        return objects.updateAttributeValues(s, (Integer) a[0], (HandleValues) a[1], (byte[]) a[2], null);
      case sendInteraction_ICH_PHVM_BX_LT:
        return objects.sendInteraction(s, (Integer) a[0], (HandleValues) a[1], (byte[]) a[2], (byte[]) a[3]);
      case sendInteraction_ICH_PHVM_BX:
        return objects.sendInteraction(s, (Integer) a[0], (HandleValues) a[1], (byte[]) a[2], null);
      case deleteObjectInstance_OIH_BX_LT:
        return objects.deleteObjectInstance(s, (Integer) a[0], (byte[]) a[1], (byte[]) a[2]);
      case deleteObjectInstance_OIH_BX: return objects.deleteObjectInstance(s, (Integer) a[0], (byte[]) a[1], null);
      case localDeleteObjectInstance_OIH: objects.localDeleteObjectInstance((Integer) a[0]); return null;
      case requestAttributeValueUpdate_OCH_AHS_BX:
        objects.requestClassAttributeValueUpdate((Integer) a[0], (int[]) a[1], (byte[]) a[2]); return null;
      case requestAttributeValueUpdate_OIH_AHS_BX:
        objects.requestInstanceAttributeValueUpdate((Integer) a[0], (int[]) a[1], (byte[]) a[2]); return null;
      case requestAttributeTransportationTypeChange_OIH_AHS_TTH:
        objects.requestAttributeTransportationTypeChange((Integer) a[0], (int[]) a[1], (Integer) a[2]); return null;
      case queryAttributeTransportationType_OIH_AH:
        objects.queryAttributeTransportationType((Integer) a[0], (Integer) a[1]); return null;
      case requestInteractionTransportationTypeChange_ICH_TTH:
        objects.requestInteractionTransportationTypeChange((Integer) a[0], (Integer) a[1]); return null;
      case queryInteractionTransportationType_FH_ICH:
        objects.queryInteractionTransportationType((Integer) a[0], (Integer) a[1]); return null;
      case unconditionalAttributeOwnershipDivestiture_OIH_AHS:
        objects.divest(s, (Integer) a[0], (int[]) a[1], OwnershipMessages.UNCONDITIONAL, null); return null;
      case negotiatedAttributeOwnershipDivestiture_OIH_AHS_BX:
        objects.divest(s, (Integer) a[0], (int[]) a[1], OwnershipMessages.NEGOTIATED, (byte[]) a[2]); return null;
      case confirmDivestiture_OIH_AHS_BX:
        objects.divest(s, (Integer) a[0], (int[]) a[1], OwnershipMessages.CONFIRM, (byte[]) a[2]); return null;
      case attributeOwnershipDivestitureIfWanted_OIH_AHS:
        return objects.divest(s, (Integer) a[0], (int[]) a[1], OwnershipMessages.IF_WANTED, null);
      case cancelNegotiatedAttributeOwnershipDivestiture_OIH_AHS:
        objects.divest(s, (Integer) a[0], (int[]) a[1], OwnershipMessages.CANCEL_NEGOTIATED, null); return null;
      case attributeOwnershipReleaseDenied_OIH_AHS:
        objects.divest(s, (Integer) a[0], (int[]) a[1], OwnershipMessages.RELEASE_DENIED, null); return null;
      case attributeOwnershipAcquisition_OIH_AHS_BX:
        objects.acquire(s, (Integer) a[0], (int[]) a[1], OwnershipMessages.ACQUIRE, (byte[]) a[2]); return null;
      case attributeOwnershipAcquisitionIfAvailable_OIH_AHS:
        objects.acquire(s, (Integer) a[0], (int[]) a[1], OwnershipMessages.IF_AVAILABLE, null); return null;
      case cancelAttributeOwnershipAcquisition_OIH_AHS:
        objects.acquire(s, (Integer) a[0], (int[]) a[1], OwnershipMessages.CANCEL_ACQUISITION, null); return null;
      case queryAttributeOwnership_OIH_AH: objects.queryAttributeOwnership((Integer) a[0], (Integer) a[1]); return null;
      case isAttributeOwnedByFederate_OIH_AH: return objects.isAttributeOwnedByFederate((Integer) a[0], (Integer) a[1]);
      case subscribeInteractionClassWithRegions_ICH_Z_RHS:
        objects.subscribeInteractionClass(s, (Integer) a[0], (Boolean) a[1], (int[]) a[2]); return null;
      case unsubscribeInteractionClassWithRegions_ICH_RHS:
        objects.unsubscribeInteractionClass(s, (Integer) a[0], (int[]) a[1]); return null;
      case sendInteractionWithRegions_ICH_PHVM_RHS_BX_LT:
        return objects.sendInteraction(s, (Integer) a[0], (HandleValues) a[1], (int[]) a[2], (byte[]) a[3],
            (byte[]) a[4]);
      case sendInteractionWithRegions_ICH_PHVM_RHS_BX:
        return objects.sendInteraction(s, (Integer) a[0], (HandleValues) a[1], (int[]) a[2], (byte[]) a[3], null);
      case registerObjectInstanceWithRegions_OCH_ASRSPL_S:
        return objects.registerObjectInstance(s, (Integer) a[0], regions(a[1]), (String) a[2]);
      case registerObjectInstanceWithRegions_OCH_ASRSPL:
        return objects.registerObjectInstance(s, (Integer) a[0], regions(a[1]), null);
      case associateRegionsForUpdates_OIH_ASRSPL:
        objects.associateRegionsForUpdates(s, (Integer) a[0], regions(a[1]), true); return null;
      case unassociateRegionsForUpdates_OIH_ASRSPL:
        objects.associateRegionsForUpdates(s, (Integer) a[0], regions(a[1]), false); return null;
      case subscribeObjectClassAttributesWithRegions_OCH_ASRSPL_Z_S:
        objects.subscribeObjectClassAttributes(s, (Integer) a[0], regions(a[1]), (Boolean) a[2], (String) a[3]);
        return null;
      case unsubscribeObjectClassAttributesWithRegions_OCH_ASRSPL:
        objects.unsubscribeObjectClassAttributes(s, (Integer) a[0], regions(a[1])); return null;
      case requestAttributeValueUpdateWithRegions_OCH_ASRSPL_BX:
        objects.requestClassAttributeValueUpdate(s, (Integer) a[0], regions(a[1]), (byte[]) a[2]); return null;
      case createRegion_DHS: return lrc.regions().createRegion((int[]) a[0]);
      case commitRegionModifications_RHS: lrc.regions().commitRegionModifications((int[]) a[0]); return null;
      case deleteRegion_RH: lrc.regions().deleteRegion((Integer) a[0]); return null;
      case getDimensionHandleSet_RH: return lrc.regions().getDimensionHandleSet((Integer) a[0]);
      case getRangeBounds_RH_DH: return lrc.regions().getRangeBounds((Integer) a[0], (Integer) a[1]);
      case setRangeBounds_RH_DH_RB:
        lrc.regions().setRangeBounds((Integer) a[0], (Integer) a[1], (RangeBounds) a[2]); return null;
      case enableTimeRegulation_LTI: lrc.time().enableTimeRegulation((byte[]) a[0]); return null;
      case disableTimeRegulation: lrc.time().disableTimeRegulation(); return null;
      case enableTimeConstrained: lrc.time().enableTimeConstrained(); return null;
      case disableTimeConstrained: lrc.time().disableTimeConstrained(); return null;
      case timeAdvanceRequest_LT:
        lrc.time().timeAdvanceRequest(s, TimeMessages.TIME_ADVANCE, (byte[]) a[0]); return null;
      case timeAdvanceRequestAvailable_LT:
        lrc.time().timeAdvanceRequest(s, TimeMessages.TIME_ADVANCE_AVAILABLE, (byte[]) a[0]); return null;
      case nextMessageRequest_LT:
        lrc.time().timeAdvanceRequest(s, TimeMessages.NEXT_MESSAGE, (byte[]) a[0]); return null;
      case nextMessageRequestAvailable_LT:
        lrc.time().timeAdvanceRequest(s, TimeMessages.NEXT_MESSAGE_AVAILABLE, (byte[]) a[0]); return null;
      case flushQueueRequest_LT:
        lrc.time().timeAdvanceRequest(s, TimeMessages.FLUSH_QUEUE, (byte[]) a[0]); return null;
      case enableAsynchronousDelivery: lrc.time().setAsynchronousDelivery(true); return null;
      case disableAsynchronousDelivery: lrc.time().setAsynchronousDelivery(false); return null;
      case modifyLookahead_LTI: lrc.time().modifyLookahead((byte[]) a[0]); return null;
      case retract_MRH: lrc.time().retract((RetractionHandle) a[0]); return null;
      case changeAttributeOrderType_OIH_AHS_OT:
        objects.changeAttributeOrderType((Integer) a[0], (int[]) a[1], (Integer) a[2]); return null;
      case changeInteractionOrderType_ICH_OT:
        objects.changeInteractionOrderType((Integer) a[0], (Integer) a[1]); return null;
      case queryGALT: case queryLITS: return lrc.time().query(s);
      case queryLogicalTime: return lrc.time().queryLogicalTime();
      case queryLookahead: return lrc.time().queryLookahead();
      case getAutomaticResignDirective: return lrc.getAutomaticResignDirective();
      case setAutomaticResignDirective_RA: lrc.setAutomaticResignDirective((Integer) a[0]); return null;
      case getFederateHandle_S: return support.getFederateHandle((String) a[0]);
      case getFederateName_FH: return support.getFederateName((Integer) a[0]);
      case getObjectClassHandle_S: return support.getObjectClassHandle((String) a[0]);
      case getObjectClassName_OCH: return support.getObjectClassName((Integer) a[0]);
      case getKnownObjectClassHandle_OIH: return support.getKnownObjectClassHandle((Integer) a[0]);
      case getObjectInstanceHandle_S: return support.getObjectInstanceHandle((String) a[0]);
      case getObjectInstanceName_OIH: return support.getObjectInstanceName((Integer) a[0]);
      case getAttributeHandle_OCH_S: return support.getAttributeHandle((Integer) a[0], (String) a[1]);
      case getAttributeName_OCH_AH: return support.getAttributeName((Integer) a[0], (Integer) a[1]);
      case getUpdateRateValue_S: return support.getUpdateRateValue((String) a[0]);
      case getUpdateRateValueForAttribute_OIH_AH:
        return support.getUpdateRateValueForAttribute((Integer) a[0], (Integer) a[1]);
      case getInteractionClassHandle_S: return support.getInteractionClassHandle((String) a[0]);
      case getInteractionClassName_ICH: return support.getInteractionClassName((Integer) a[0]);
      case getParameterHandle_ICH_S: return support.getParameterHandle((Integer) a[0], (String) a[1]);
      case getParameterName_ICH_PH: return support.getParameterName((Integer) a[0], (Integer) a[1]);
      case getOrderType_S: return support.getOrderType((String) a[0]);
      case getOrderName_OT: return support.getOrderName((Integer) a[0]);
      case getTransportationTypeHandle_S: return support.getTransportationType((String) a[0]);
      case getTransportationTypeName_TTH: return support.getTransportationName((Integer) a[0]);
      case getAvailableDimensionsForClassAttribute_OCH_AH:
        return support.getAvailableDimensionsForClassAttribute((Integer) a[0], (Integer) a[1]);
      case getAvailableDimensionsForInteractionClass_ICH:
        return support.getAvailableDimensionsForInteractionClass((Integer) a[0]);
      case getDimensionHandle_S: return support.getDimensionHandle((String) a[0]);
      case getDimensionName_DH: return support.getDimensionName((Integer) a[0]);
      case getDimensionUpperBound_DH: return support.getDimensionUpperBound((Integer) a[0]);
      case normalizeFederateHandle_FH: return support.normalizeFederateHandle((Integer) a[0]);
      case normalizeServiceGroup_SG: return support.normalizeServiceGroup((Integer) a[0]);
      case enableObjectClassRelevanceAdvisorySwitch:
      case disableObjectClassRelevanceAdvisorySwitch:
      case enableAttributeRelevanceAdvisorySwitch:
      case disableAttributeRelevanceAdvisorySwitch:
      case enableAttributeScopeAdvisorySwitch:
      case disableAttributeScopeAdvisorySwitch:
      case enableInteractionRelevanceAdvisorySwitch:
      case disableInteractionRelevanceAdvisorySwitch:
        lrc.setAdvisorySwitch(s);
        return null;
      case evokeCallback_D: return lrc.evokeCallback((Double) a[0]);
      case evokeMultipleCallbacks_D_D: return lrc.evokeMultipleCallbacks((Double) a[0], (Double) a[1]);
      case enableCallbacks: lrc.enableCallbacks(); return null;
      case disableCallbacks: lrc.disableCallbacks(); return null;
      case getTimeFactory: return lrc.getTimeFactory();
      default: throw new RTIinternalError(s.serviceName() + ": no component service carries it");
    }
  }
}
