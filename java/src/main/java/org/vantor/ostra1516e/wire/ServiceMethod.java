package org.vantor.ostra1516e.wire;

import java.util.ArrayList;
import java.util.List;

/**
 * ServiceMethod is the table of the 142 Java service methods that the C++ library calls on
 * the core's RTIambassadorC2007, in the library's slot order: each constant is named
 * exactly like its Java method and holds the method's JNI signature. A signature beginning
 * "([B)" takes the service array that the method name spells; "()" takes nothing.
 */
public enum ServiceMethod {
  connect_FA_CM_S("([B)V",
      "ConnectionFailed, InvalidLocalSettingsDesignator, UnsupportedCallbackModel, AlreadyConnected, CallNotAllowedFromWithinCallback, RTIinternalError"),
  disconnect("()V",
      "FederateIsExecutionMember, CallNotAllowedFromWithinCallback, RTIinternalError"),
  createFederationExecution_S_URLX_URL_S("([B)V",
      "CouldNotCreateLogicalTimeFactory, InconsistentFDD, ErrorReadingFDD, CouldNotOpenFDD, ErrorReadingMIM, CouldNotOpenMIM, DesignatorIsHLAstandardMIM, FederationExecutionAlreadyExists, NotConnected, RTIinternalError"),
  createFederationExecution_S_URLX_S("([B)V",
      "CouldNotCreateLogicalTimeFactory, InconsistentFDD, ErrorReadingFDD, CouldNotOpenFDD, FederationExecutionAlreadyExists, NotConnected, RTIinternalError"),
  createFederationExecution_S_URL_S("([B)V",
      "CouldNotCreateLogicalTimeFactory, InconsistentFDD, ErrorReadingFDD, CouldNotOpenFDD, FederationExecutionAlreadyExists, NotConnected, RTIinternalError"),
  destroyFederationExecution_S("([B)V",
      "FederatesCurrentlyJoined, FederationExecutionDoesNotExist, NotConnected, RTIinternalError"),
  listFederationExecutions("()V",
      "NotConnected, RTIinternalError"),
  joinFederationExecution_S_S_URLX("([B)I",
      "CouldNotCreateLogicalTimeFactory, FederationExecutionDoesNotExist, InconsistentFDD, ErrorReadingFDD, CouldNotOpenFDD, FederateAlreadyExecutionMember, SaveInProgress, RestoreInProgress, NotConnected, CallNotAllowedFromWithinCallback, RTIinternalError"),
  joinFederationExecution_S_S_S_URLX("([B)I",
      "CouldNotCreateLogicalTimeFactory, FederateNameAlreadyInUse, FederationExecutionDoesNotExist, InconsistentFDD, ErrorReadingFDD, CouldNotOpenFDD, FederateAlreadyExecutionMember, SaveInProgress, RestoreInProgress, NotConnected, CallNotAllowedFromWithinCallback, RTIinternalError"),
  resignFederationExecution_RA("([B)V",
      "InvalidResignAction, OwnershipAcquisitionPending, FederateOwnsAttributes, FederateNotExecutionMember, NotConnected, CallNotAllowedFromWithinCallback, RTIinternalError"),
  registerFederationSynchronizationPoint_S_BX_FHS("([B)V",
      "InvalidFederateHandle, SR"),
  registerFederationSynchronizationPoint_S_BX("([B)V",
      "SR"),
  synchronizationPointAchieved_S_Z("([B)V",
      "SynchronizationPointLabelNotAnnounced, SR"),
  requestFederationSave_S_LT("([B)V",
      "LogicalTimeAlreadyPassed, InvalidLogicalTime, FederateUnableToUseTime, SR"),
  requestFederationSave_S("([B)V",
      "SR"),
  federateSaveBegun("()V",
      "SaveNotInitiated, RestoreInProgress, M"),
  federateSaveComplete("()V",
      "FederateHasNotBegunSave, RestoreInProgress, M"),
  federateSaveNotComplete("()V",
      "FederateHasNotBegunSave, RestoreInProgress, M"),
  abortFederationSave("()V",
      "SaveNotInProgress, M"),
  queryFederationSaveStatus("()V",
      "RestoreInProgress, M"),
  requestFederationRestore_S("([B)V",
      "SR"),
  federateRestoreComplete("()V",
      "RestoreNotRequested, SaveInProgress, M"),
  federateRestoreNotComplete("()V",
      "RestoreNotRequested, SaveInProgress, M"),
  abortFederationRestore("()V",
      "RestoreNotInProgress, M"),
  queryFederationRestoreStatus("()V",
      "SaveInProgress, M"),
  publishObjectClassAttributes_OCH_AHS("([B)V",
      "AttributeNotDefined, ObjectClassNotDefined, SR"),
  unpublishObjectClass_OCH("([B)V",
      "OwnershipAcquisitionPending, ObjectClassNotDefined, SR"),
  unpublishObjectClassAttributes_OCH_AHS("([B)V",
      "OwnershipAcquisitionPending, AttributeNotDefined, ObjectClassNotDefined, SR"),
  publishInteractionClass_ICH("([B)V",
      "InteractionClassNotDefined, SR"),
  unpublishInteractionClass_ICH("([B)V",
      "InteractionClassNotDefined, SR"),
  subscribeObjectClassAttributes_OCH_AHS_Z_S("([B)V",
      "AttributeNotDefined, ObjectClassNotDefined, InvalidUpdateRateDesignator, SR"),
  unsubscribeObjectClass_OCH("([B)V",
      "ObjectClassNotDefined, SR"),
  unsubscribeObjectClassAttributes_OCH_AHS("([B)V",
      "AttributeNotDefined, ObjectClassNotDefined, SR"),
  subscribeInteractionClass_ICH_Z("([B)V",
      "FederateServiceInvocationsAreBeingReportedViaMOM, InteractionClassNotDefined, SR"),
  unsubscribeInteractionClass_ICH("([B)V",
      "InteractionClassNotDefined, SR"),
  reserveObjectInstanceName_S("([B)V",
      "IllegalName, SR"),
  releaseObjectInstanceName_S("([B)V",
      "ObjectInstanceNameNotReserved, SR"),
  reserveMultipleObjectInstanceName_S("([B)V",
      "IllegalName, NameSetWasEmpty, SR"),
  releaseMultipleObjectInstanceName_S("([B)V",
      "ObjectInstanceNameNotReserved, SR"),
  registerObjectInstance_OCH_S("([B)I",
      "ObjectInstanceNameInUse, ObjectInstanceNameNotReserved, ObjectClassNotPublished, ObjectClassNotDefined, SR"),
  registerObjectInstance_OCH("([B)I",
      "ObjectClassNotPublished, ObjectClassNotDefined, SR"),
  updateAttributeValues_OIH_AHVM_BX_LT("([B)[B",
      "InvalidLogicalTime, AttributeNotOwned, AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  updateAttributeValues_OIH_AHVM_BX("([B)V",
      "AttributeNotOwned, AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  sendInteraction_ICH_PHVM_BX_LT("([B)[B",
      "InvalidLogicalTime, InteractionClassNotPublished, InteractionParameterNotDefined, InteractionClassNotDefined, SR"),
  sendInteraction_ICH_PHVM_BX("([B)V",
      "InteractionClassNotPublished, InteractionParameterNotDefined, InteractionClassNotDefined, SR"),
  deleteObjectInstance_OIH_BX_LT("([B)[B",
      "InvalidLogicalTime, DeletePrivilegeNotHeld, ObjectInstanceNotKnown, SR"),
  deleteObjectInstance_OIH_BX("([B)V",
      "DeletePrivilegeNotHeld, ObjectInstanceNotKnown, SR"),
  localDeleteObjectInstance_OIH("([B)V",
      "OwnershipAcquisitionPending, FederateOwnsAttributes, ObjectInstanceNotKnown, SR"),
  requestAttributeValueUpdate_OCH_AHS_BX("([B)V",
      "AttributeNotDefined, ObjectClassNotDefined, SR"),
  requestAttributeValueUpdate_OIH_AHS_BX("([B)V",
      "AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  requestAttributeTransportationTypeChange_OIH_AHS_TTH("([B)V",
      "AttributeAlreadyBeingChanged, AttributeNotOwned, AttributeNotDefined, ObjectInstanceNotKnown, InvalidTransportationType, SR"),
  queryAttributeTransportationType_OIH_AH("([B)V",
      "AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  requestInteractionTransportationTypeChange_ICH_TTH("([B)V",
      "InteractionClassAlreadyBeingChanged, InteractionClassNotPublished, InteractionClassNotDefined, InvalidTransportationType, SR"),
  queryInteractionTransportationType_FH_ICH("([B)V",
      "InteractionClassNotDefined, SR"),
  unconditionalAttributeOwnershipDivestiture_OIH_AHS("([B)V",
      "AttributeNotOwned, AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  negotiatedAttributeOwnershipDivestiture_OIH_AHS_BX("([B)V",
      "AttributeAlreadyBeingDivested, AttributeNotOwned, AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  confirmDivestiture_OIH_AHS_BX("([B)V",
      "NoAcquisitionPending, AttributeDivestitureWasNotRequested, AttributeNotOwned, AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  attributeOwnershipAcquisition_OIH_AHS_BX("([B)V",
      "AttributeNotPublished, ObjectClassNotPublished, FederateOwnsAttributes, AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  attributeOwnershipAcquisitionIfAvailable_OIH_AHS("([B)V",
      "AttributeAlreadyBeingAcquired, AttributeNotPublished, ObjectClassNotPublished, FederateOwnsAttributes, AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  attributeOwnershipReleaseDenied_OIH_AHS("([B)V",
      "AttributeNotOwned, AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  attributeOwnershipDivestitureIfWanted_OIH_AHS("([B)[I",
      "AttributeNotOwned, AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  cancelNegotiatedAttributeOwnershipDivestiture_OIH_AHS("([B)V",
      "AttributeDivestitureWasNotRequested, AttributeNotOwned, AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  cancelAttributeOwnershipAcquisition_OIH_AHS("([B)V",
      "AttributeAcquisitionWasNotRequested, AttributeAlreadyOwned, AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  queryAttributeOwnership_OIH_AH("([B)V",
      "AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  isAttributeOwnedByFederate_OIH_AH("([B)Z",
      "AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  enableTimeRegulation_LTI("([B)V",
      "InvalidLookahead, InTimeAdvancingState, RequestForTimeRegulationPending, TimeRegulationAlreadyEnabled, SR"),
  disableTimeRegulation("()V",
      "TimeRegulationIsNotEnabled, SR"),
  enableTimeConstrained("()V",
      "InTimeAdvancingState, RequestForTimeConstrainedPending, TimeConstrainedAlreadyEnabled, SR"),
  disableTimeConstrained("()V",
      "TimeConstrainedIsNotEnabled, SR"),
  timeAdvanceRequest_LT("([B)V",
      "LogicalTimeAlreadyPassed, InvalidLogicalTime, InTimeAdvancingState, RequestForTimeRegulationPending, RequestForTimeConstrainedPending, SR"),
  timeAdvanceRequestAvailable_LT("([B)V",
      "LogicalTimeAlreadyPassed, InvalidLogicalTime, InTimeAdvancingState, RequestForTimeRegulationPending, RequestForTimeConstrainedPending, SR"),
  nextMessageRequest_LT("([B)V",
      "LogicalTimeAlreadyPassed, InvalidLogicalTime, InTimeAdvancingState, RequestForTimeRegulationPending, RequestForTimeConstrainedPending, SR"),
  nextMessageRequestAvailable_LT("([B)V",
      "LogicalTimeAlreadyPassed, InvalidLogicalTime, InTimeAdvancingState, RequestForTimeRegulationPending, RequestForTimeConstrainedPending, SR"),
  flushQueueRequest_LT("([B)V",
      "LogicalTimeAlreadyPassed, InvalidLogicalTime, InTimeAdvancingState, RequestForTimeRegulationPending, RequestForTimeConstrainedPending, SR"),
  enableAsynchronousDelivery("()V",
      "AsynchronousDeliveryAlreadyEnabled, SR"),
  disableAsynchronousDelivery("()V",
      "AsynchronousDeliveryAlreadyDisabled, SR"),
  queryGALT("()[B",
      "SR"),
  queryLogicalTime("()[B",
      "SR"),
  queryLITS("()[B",
      "SR"),
  modifyLookahead_LTI("([B)V",
      "InvalidLookahead, InTimeAdvancingState, TimeRegulationIsNotEnabled, SR"),
  queryLookahead("()[B",
      "TimeRegulationIsNotEnabled, SR"),
  retract_MRH("([B)V",
      "MessageCanNoLongerBeRetracted, InvalidMessageRetractionHandle, TimeRegulationIsNotEnabled, SR"),
  changeAttributeOrderType_OIH_AHS_OT("([B)V",
      "AttributeNotOwned, AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  changeInteractionOrderType_ICH_OT("([B)V",
      "InteractionClassNotPublished, InteractionClassNotDefined, SR"),
  createRegion_DHS("([B)I",
      "InvalidDimensionHandle, SR"),
  commitRegionModifications_RHS("([B)V",
      "RegionNotCreatedByThisFederate, InvalidRegion, SR"),
  deleteRegion_RH("([B)V",
      "RegionInUseForUpdateOrSubscription, RegionNotCreatedByThisFederate, InvalidRegion, SR"),
  registerObjectInstanceWithRegions_OCH_ASRSPL_S("([B)I",
      "ObjectInstanceNameInUse, ObjectInstanceNameNotReserved, InvalidRegionContext, RegionNotCreatedByThisFederate, InvalidRegion, AttributeNotPublished, ObjectClassNotPublished, AttributeNotDefined, ObjectClassNotDefined, SR"),
  registerObjectInstanceWithRegions_OCH_ASRSPL("([B)I",
      "InvalidRegionContext, RegionNotCreatedByThisFederate, InvalidRegion, AttributeNotPublished, ObjectClassNotPublished, AttributeNotDefined, ObjectClassNotDefined, SR"),
  associateRegionsForUpdates_OIH_ASRSPL("([B)V",
      "InvalidRegionContext, RegionNotCreatedByThisFederate, InvalidRegion, AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  unassociateRegionsForUpdates_OIH_ASRSPL("([B)V",
      "RegionNotCreatedByThisFederate, InvalidRegion, AttributeNotDefined, ObjectInstanceNotKnown, SR"),
  subscribeObjectClassAttributesWithRegions_OCH_ASRSPL_Z_S("([B)V",
      "InvalidRegionContext, RegionNotCreatedByThisFederate, InvalidRegion, AttributeNotDefined, ObjectClassNotDefined, InvalidUpdateRateDesignator, SR"),
  unsubscribeObjectClassAttributesWithRegions_OCH_ASRSPL("([B)V",
      "RegionNotCreatedByThisFederate, InvalidRegion, AttributeNotDefined, ObjectClassNotDefined, SR"),
  subscribeInteractionClassWithRegions_ICH_Z_RHS("([B)V",
      "FederateServiceInvocationsAreBeingReportedViaMOM, InvalidRegionContext, RegionNotCreatedByThisFederate, InvalidRegion, InteractionClassNotDefined, SR"),
  unsubscribeInteractionClassWithRegions_ICH_RHS("([B)V",
      "RegionNotCreatedByThisFederate, InvalidRegion, InteractionClassNotDefined, SR"),
  sendInteractionWithRegions_ICH_PHVM_RHS_BX_LT("([B)[B",
      "InvalidLogicalTime, InvalidRegionContext, RegionNotCreatedByThisFederate, InvalidRegion, InteractionClassNotPublished, InteractionParameterNotDefined, InteractionClassNotDefined, SR"),
  sendInteractionWithRegions_ICH_PHVM_RHS_BX("([B)V",
      "InvalidRegionContext, RegionNotCreatedByThisFederate, InvalidRegion, InteractionClassNotPublished, InteractionParameterNotDefined, InteractionClassNotDefined, SR"),
  requestAttributeValueUpdateWithRegions_OCH_ASRSPL_BX("([B)V",
      "InvalidRegionContext, RegionNotCreatedByThisFederate, InvalidRegion, AttributeNotDefined, ObjectClassNotDefined, SR"),
  getAutomaticResignDirective("()I",
      "M"),
  setAutomaticResignDirective_RA("([B)V",
      "InvalidResignAction, M"),
  getFederateHandle_S("([B)I",
      "NameNotFound, M"),
  getFederateName_FH("([B)Ljava/lang/String;",
      "InvalidFederateHandle, FederateHandleNotKnown, M"),
  getObjectClassHandle_S("([B)I",
      "NameNotFound, M"),
  getObjectClassName_OCH("([B)Ljava/lang/String;",
      "InvalidObjectClassHandle, M"),
  getKnownObjectClassHandle_OIH("([B)I",
      "ObjectInstanceNotKnown, M"),
  getObjectInstanceHandle_S("([B)I",
      "ObjectInstanceNotKnown, M"),
  getObjectInstanceName_OIH("([B)Ljava/lang/String;",
      "ObjectInstanceNotKnown, M"),
  getAttributeHandle_OCH_S("([B)I",
      "NameNotFound, InvalidObjectClassHandle, M"),
  getAttributeName_OCH_AH("([B)Ljava/lang/String;",
      "AttributeNotDefined, InvalidAttributeHandle, InvalidObjectClassHandle, M"),
  getUpdateRateValue_S("([B)D",
      "InvalidUpdateRateDesignator, M"),
  getUpdateRateValueForAttribute_OIH_AH("([B)D",
      "ObjectInstanceNotKnown, AttributeNotDefined, M"),
  getInteractionClassHandle_S("([B)I",
      "NameNotFound, M"),
  getInteractionClassName_ICH("([B)Ljava/lang/String;",
      "InvalidInteractionClassHandle, M"),
  getParameterHandle_ICH_S("([B)I",
      "NameNotFound, InvalidInteractionClassHandle, M"),
  getParameterName_ICH_PH("([B)Ljava/lang/String;",
      "InteractionParameterNotDefined, InvalidParameterHandle, InvalidInteractionClassHandle, M"),
  getOrderType_S("([B)I",
      "InvalidOrderName, M"),
  getOrderName_OT("([B)Ljava/lang/String;",
      "InvalidOrderType, M"),
  getTransportationTypeHandle_S("([B)I",
      "InvalidTransportationName, M"),
  getTransportationTypeName_TTH("([B)Ljava/lang/String;",
      "InvalidTransportationType, M"),
  getAvailableDimensionsForClassAttribute_OCH_AH("([B)[I",
      "AttributeNotDefined, InvalidAttributeHandle, InvalidObjectClassHandle, M"),
  getAvailableDimensionsForInteractionClass_ICH("([B)[I",
      "InvalidInteractionClassHandle, M"),
  getDimensionHandle_S("([B)I",
      "NameNotFound, M"),
  getDimensionName_DH("([B)Ljava/lang/String;",
      "InvalidDimensionHandle, M"),
  getDimensionUpperBound_DH("([B)J",
      "InvalidDimensionHandle, M"),
  getDimensionHandleSet_RH("([B)[I",
      "InvalidRegion, SR"),
  getRangeBounds_RH_DH("([B)[J",
      "RegionDoesNotContainSpecifiedDimension, InvalidRegion, SR"),
  setRangeBounds_RH_DH_RB("([B)V",
      "InvalidRangeBound, RegionDoesNotContainSpecifiedDimension, RegionNotCreatedByThisFederate, InvalidRegion, SR"),
  normalizeFederateHandle_FH("([B)J",
      "InvalidFederateHandle, M"),
  normalizeServiceGroup_SG("([B)J",
      "InvalidServiceGroup, M"),
  enableObjectClassRelevanceAdvisorySwitch("()V",
      "ObjectClassRelevanceAdvisorySwitchIsOn, SR"),
  disableObjectClassRelevanceAdvisorySwitch("()V",
      "ObjectClassRelevanceAdvisorySwitchIsOff, SR"),
  enableAttributeRelevanceAdvisorySwitch("()V",
      "AttributeRelevanceAdvisorySwitchIsOn, SR"),
  disableAttributeRelevanceAdvisorySwitch("()V",
      "AttributeRelevanceAdvisorySwitchIsOff, SR"),
  enableAttributeScopeAdvisorySwitch("()V",
      "AttributeScopeAdvisorySwitchIsOn, SR"),
  disableAttributeScopeAdvisorySwitch("()V",
      "AttributeScopeAdvisorySwitchIsOff, SR"),
  enableInteractionRelevanceAdvisorySwitch("()V",
      "InteractionRelevanceAdvisorySwitchIsOn, SR"),
  disableInteractionRelevanceAdvisorySwitch("()V",
      "InteractionRelevanceAdvisorySwitchIsOff, SR"),
  evokeCallback_D("([B)Z",
      "CallNotAllowedFromWithinCallback, RTIinternalError"),
  evokeMultipleCallbacks_D_D("([B)Z",
      "CallNotAllowedFromWithinCallback, RTIinternalError"),
  enableCallbacks("()V",
      "SaveInProgress, RestoreInProgress, RTIinternalError"),
  disableCallbacks("()V",
      "SaveInProgress, RestoreInProgress, RTIinternalError"),
  getTimeFactory("()Ljava/lang/String;",
      "M");

  /** The common tails of the exception lists (a holder, as enum constants are made first). */
  private static final class Tails {
    static final List<String> SR = List.of(
        "SaveInProgress", "RestoreInProgress", "FederateNotExecutionMember", "NotConnected", "RTIinternalError");
    static final List<String> M = List.of("FederateNotExecutionMember", "NotConnected", "RTIinternalError");
  }

  private final String signature;
  private final List<TypeCode> codes;
  private final ResultKind result;
  private final List<String> exceptions;

  ServiceMethod(String signature, String exceptions) {
    this.signature = signature;
    this.codes = TypeCode.ofMethod(name());
    this.result = ResultKind.ofSignature(signature);
    this.exceptions = expand(exceptions);
  }

  private static List<String> expand(String list) {
    List<String> names = new ArrayList<>();
    for (String word : list.split(",")) {
      String name = word.strip();
      switch (name) {
        case "" -> { }
        case "SR" -> names.addAll(Tails.SR);
        case "M" -> names.addAll(Tails.M);
        default -> names.add(name);
      }
    }
    return List.copyOf(names);
  }

  /**
   * exceptions are the simple names of the hla.rti1516e.exceptions classes that the
   * library tests a failure of this service against, in its testing order: the only
   * failures the core may report for it (SR and M above stand for the common tails).
   */
  public List<String> exceptions() {
    return exceptions;
  }

  /**
   * serviceName is the name of the RTIambassador service the method serves: the Java name up
   * to its first underscore, except for the three services whose Java name differs.
   */
  public String serviceName() {
    switch (this) {
      case createFederationExecution_S_URLX_URL_S: return "createFederationExecutionWithMIM";
      case getTransportationTypeHandle_S: return "getTransportationType";
      case getTransportationTypeName_TTH: return "getTransportationName";
      default:
        int underscore = name().indexOf('_');
        return underscore < 0 ? name() : name().substring(0, underscore);
    }
  }

  /** raises tells whether the service's exception list holds the class of that simple name. */
  public boolean raises(String simpleName) {
    return exceptions.contains(simpleName);
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
