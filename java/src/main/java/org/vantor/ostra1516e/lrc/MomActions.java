package org.vantor.ostra1516e.lrc;

import java.util.HashMap;
import java.util.Map;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.message.MomMessages;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.MomValues;
import org.vantor.ostra1516e.wire.ServiceMethod;

/**
 * MomActions turns an HLAservice interaction of the management object model (and
 * HLAmodifyAttributeState) into the service call it stands for: the service and its
 * arguments as the service entry takes them, so that the call goes the way of the
 * federate's own calls, with every check they have.
 *
 * <p>Thread-safety: stateless.
 */
final class MomActions {
  private MomActions() {
  }

  /** Call is a service and its arguments in the service entry's types. */
  record Call(ServiceMethod service, Object... arguments) {}

  @FunctionalInterface
  private interface Reading {
    Call read(Parameters p) throws MomValues.Malformed;
  }

  /** Parameters reads an interaction's parameters by name, with the types they have in the model. */
  private static final class Parameters {
    private final MomValues.Parameters p;

    Parameters(FomModel model, int interactionClass, HandleValues values) {
      p = new MomValues.Parameters(name -> model.parameterHandle(interactionClass, name), values);
    }

    boolean has(String name) {
      return p.has(name);
    }

    Integer handle(String name) throws MomValues.Malformed {
      return p.get(name, MomValues.Reader::handle);
    }

    int[] handles(String name) throws MomValues.Malformed {
      return p.get(name, MomValues.Reader::handles);
    }

    Integer number(String name) throws MomValues.Malformed {
      return p.get(name, MomValues.Reader::int32);
    }

    Boolean bool(String name) throws MomValues.Malformed {
      return p.get(name, MomValues.Reader::bool);
    }

    String string(String name) throws MomValues.Malformed {
      return p.get(name, MomValues.Reader::string);
    }

    byte[] bytes(String name) throws MomValues.Malformed {
      return p.get(name, MomValues.Reader::bytes);
    }
  }

  private static final String OBJECT = "HLAobjectInstance";
  private static final String ATTRIBUTES = "HLAattributeList";
  private static final String TIME = "HLAtimeStamp";
  private static final Map<String, Reading> READINGS = readings();

  private static Map<String, Reading> readings() {
    Map<String, Reading> r = new HashMap<>();
    r.put("HLAresignFederationExecution", p -> {
      int action = p.number("HLAresignAction");
      if (action < 1 || action > 6) {
        throw new MomValues.Malformed("HLAresignAction " + action + " is not a resign action (1 to 6)");
      }
      return new Call(ServiceMethod.resignFederationExecution_RA, action - 1);
    });
    r.put("HLAsynchronizationPointAchieved", p ->
        new Call(ServiceMethod.synchronizationPointAchieved_S_Z, p.string("HLAlabel"), true));
    r.put("HLAfederateSaveBegun", p -> new Call(ServiceMethod.federateSaveBegun));
    r.put("HLAfederateSaveComplete", p -> new Call(p.bool("HLAsuccessIndicator")
        ? ServiceMethod.federateSaveComplete : ServiceMethod.federateSaveNotComplete));
    r.put("HLAfederateRestoreComplete", p -> new Call(p.bool("HLAsuccessIndicator")
        ? ServiceMethod.federateRestoreComplete : ServiceMethod.federateRestoreNotComplete));
    r.put("HLApublishObjectClassAttributes", p -> new Call(ServiceMethod.publishObjectClassAttributes_OCH_AHS,
        p.handle("HLAobjectClass"), p.handles(ATTRIBUTES)));
    r.put("HLAunpublishObjectClassAttributes", p -> new Call(ServiceMethod.unpublishObjectClassAttributes_OCH_AHS,
        p.handle("HLAobjectClass"), p.handles(ATTRIBUTES)));
    r.put("HLApublishInteractionClass", p -> new Call(ServiceMethod.publishInteractionClass_ICH,
        p.handle("HLAinteractionClass")));
    r.put("HLAunpublishInteractionClass", p -> new Call(ServiceMethod.unpublishInteractionClass_ICH,
        p.handle("HLAinteractionClass")));
    r.put("HLAsubscribeObjectClassAttributes", p -> new Call(ServiceMethod.subscribeObjectClassAttributes_OCH_AHS_Z_S,
        p.handle("HLAobjectClass"), p.handles(ATTRIBUTES), p.has("HLAactive") ? p.bool("HLAactive") : true, ""));
    r.put("HLAunsubscribeObjectClassAttributes", p -> new Call(
        ServiceMethod.unsubscribeObjectClassAttributes_OCH_AHS, p.handle("HLAobjectClass"), p.handles(ATTRIBUTES)));
    r.put("HLAsubscribeInteractionClass", p -> new Call(ServiceMethod.subscribeInteractionClass_ICH_Z,
        p.handle("HLAinteractionClass"), p.has("HLAactive") ? p.bool("HLAactive") : true));
    r.put("HLAunsubscribeInteractionClass", p -> new Call(ServiceMethod.unsubscribeInteractionClass_ICH,
        p.handle("HLAinteractionClass")));
    r.put("HLAdeleteObjectInstance", p -> {
      byte[] tag = p.has("HLAtag") ? p.bytes("HLAtag") : new byte[0];
      byte[] time = p.has(TIME) ? p.bytes(TIME) : new byte[0];
      return time.length == 0 ? new Call(ServiceMethod.deleteObjectInstance_OIH_BX, p.handle(OBJECT), tag)
          : new Call(ServiceMethod.deleteObjectInstance_OIH_BX_LT, p.handle(OBJECT), tag, time);
    });
    r.put("HLAlocalDeleteObjectInstance", p -> new Call(ServiceMethod.localDeleteObjectInstance_OIH,
        p.handle(OBJECT)));
    r.put("HLArequestAttributeTransportationTypeChange", p -> new Call(
        ServiceMethod.requestAttributeTransportationTypeChange_OIH_AHS_TTH, p.handle(OBJECT), p.handles(ATTRIBUTES),
        transportation(p)));
    r.put("HLArequestInteractionTransportationTypeChange", p -> new Call(
        ServiceMethod.requestInteractionTransportationTypeChange_ICH_TTH, p.handle("HLAinteractionClass"),
        transportation(p)));
    r.put("HLAunconditionalAttributeOwnershipDivestiture", p -> new Call(
        ServiceMethod.unconditionalAttributeOwnershipDivestiture_OIH_AHS, p.handle(OBJECT), p.handles(ATTRIBUTES)));
    r.put("HLAenableTimeRegulation", p -> new Call(ServiceMethod.enableTimeRegulation_LTI,
        p.bytes("HLAlookahead")));
    r.put("HLAdisableTimeRegulation", p -> new Call(ServiceMethod.disableTimeRegulation));
    r.put("HLAenableTimeConstrained", p -> new Call(ServiceMethod.enableTimeConstrained));
    r.put("HLAdisableTimeConstrained", p -> new Call(ServiceMethod.disableTimeConstrained));
    r.put("HLAtimeAdvanceRequest", p -> new Call(ServiceMethod.timeAdvanceRequest_LT, p.bytes(TIME)));
    r.put("HLAtimeAdvanceRequestAvailable", p -> new Call(ServiceMethod.timeAdvanceRequestAvailable_LT,
        p.bytes(TIME)));
    r.put("HLAnextMessageRequest", p -> new Call(ServiceMethod.nextMessageRequest_LT, p.bytes(TIME)));
    r.put("HLAnextMessageRequestAvailable", p -> new Call(ServiceMethod.nextMessageRequestAvailable_LT,
        p.bytes(TIME)));
    r.put("HLAflushQueueRequest", p -> new Call(ServiceMethod.flushQueueRequest_LT, p.bytes(TIME)));
    r.put("HLAenableAsynchronousDelivery", p -> new Call(ServiceMethod.enableAsynchronousDelivery));
    r.put("HLAdisableAsynchronousDelivery", p -> new Call(ServiceMethod.disableAsynchronousDelivery));
    r.put("HLAmodifyLookahead", p -> new Call(ServiceMethod.modifyLookahead_LTI, p.bytes("HLAlookahead")));
    r.put("HLAchangeAttributeOrderType", p -> new Call(ServiceMethod.changeAttributeOrderType_OIH_AHS_OT,
        p.handle(OBJECT), p.handles(ATTRIBUTES), order(p)));
    r.put("HLAchangeInteractionOrderType", p -> new Call(ServiceMethod.changeInteractionOrderType_ICH_OT,
        p.handle("HLAinteractionClass"), order(p)));
    // The attribute's state for the federate: owned (it acquires the attribute if it is free) or unowned.
    r.put("HLAmodifyAttributeState", p -> {
      int state = p.number("HLAattributeState");
      if (state != 0 && state != 1) {
        throw new MomValues.Malformed("HLAattributeState " + state + " is neither Unowned (0) nor Owned (1)");
      }
      int[] attribute = {p.handle("HLAattribute")};
      return state == 1
          ? new Call(ServiceMethod.attributeOwnershipAcquisitionIfAvailable_OIH_AHS, p.handle(OBJECT), attribute)
          : new Call(ServiceMethod.unconditionalAttributeOwnershipDivestiture_OIH_AHS, p.handle(OBJECT), attribute);
    });
    return r;
  }

  private static Integer order(Parameters p) throws MomValues.Malformed {
    int order = p.number("HLAsendOrder");
    if (order != 0 && order != 1) {
      throw new MomValues.Malformed("HLAsendOrder " + order + " is neither Receive (0) nor TimeStamp (1)");
    }
    return order;
  }

  /** transportation is the wire number of a transportation type's name (1 reliable, 2 best effort). */
  private static Integer transportation(Parameters p) throws MomValues.Malformed {
    String name = p.string("HLAtransportation");
    if (name.equals("HLAreliable")) {
      return 1;
    }
    if (name.equals("HLAbestEffort")) {
      return 2;
    }
    throw new MomValues.Malformed("HLAtransportation " + name + " is not a transportation type "
        + "(HLAreliable or HLAbestEffort)");
  }

  /** serviceOf is the last name of an interaction class: the MOM service it stands for. */
  static String serviceOf(FomModel model, int interactionClass) {
    String name = model.interactionClassName(interactionClass).orElse("");
    return name.substring(name.lastIndexOf('.') + 1);
  }

  /** read turns an Act into its call; a parameter that is missing or does not hold its type throws. */
  static Call read(FomModel model, MomMessages.Act act) throws MomValues.Malformed {
    String service = serviceOf(model, act.interactionClass());
    Reading reading = READINGS.get(service);
    if (reading == null) {
      throw new MomValues.Malformed(service + " is not a service the management object model carries out");
    }
    return reading.read(new Parameters(model, act.interactionClass(), act.parameters()));
  }
}
