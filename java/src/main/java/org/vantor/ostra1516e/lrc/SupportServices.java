package org.vantor.ostra1516e.lrc;

import hla.rti1516e.exceptions.AttributeNotDefined;
import hla.rti1516e.exceptions.InteractionParameterNotDefined;
import hla.rti1516e.exceptions.InvalidAttributeHandle;
import hla.rti1516e.exceptions.InvalidDimensionHandle;
import hla.rti1516e.exceptions.InvalidFederateHandle;
import hla.rti1516e.exceptions.InvalidInteractionClassHandle;
import hla.rti1516e.exceptions.InvalidObjectClassHandle;
import hla.rti1516e.exceptions.InvalidOrderName;
import hla.rti1516e.exceptions.InvalidOrderType;
import hla.rti1516e.exceptions.InvalidParameterHandle;
import hla.rti1516e.exceptions.InvalidServiceGroup;
import hla.rti1516e.exceptions.InvalidTransportationName;
import hla.rti1516e.exceptions.InvalidTransportationType;
import hla.rti1516e.exceptions.InvalidUpdateRateDesignator;
import hla.rti1516e.exceptions.NameNotFound;
import hla.rti1516e.exceptions.RTIexception;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.message.FederationMessages;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.wire.ServiceMethod;

/**
 * SupportServices answers the name, handle and model queries of a joined federate from its
 * copy of the federation's model; only federate names and handles are asked of the engine.
 * Handles and enumerations are their wire numbers; 0 is never a valid handle.
 *
 * <p>Thread-safety: reads the component's volatile join state; any thread may call.
 */
public final class SupportServices {
  /** Wire numbers of the order types and transportation types. */
  static final int RECEIVE = 0;
  static final int TIMESTAMP = 1;
  static final int RELIABLE = 1;
  static final int BEST_EFFORT = 2;

  private final LocalRtiComponent lrc;

  SupportServices(LocalRtiComponent lrc) {
    this.lrc = lrc;
  }

  private FomModel model(ServiceMethod service) throws RTIexception {
    return lrc.check(service).model;
  }

  public int getFederateHandle(String name) throws RTIexception {
    ServiceMethod service = ServiceMethod.getFederateHandle_S;
    lrc.check(service);
    return lrc.expect(service, new FederationMessages.FederateHandle(name), Reply.Number.class).value();
  }

  public String getFederateName(int federate) throws RTIexception {
    ServiceMethod service = ServiceMethod.getFederateName_FH;
    lrc.check(service);
    if (federate <= 0) {
      throw new InvalidFederateHandle("getFederateName: " + federate + " is not a valid federate handle");
    }
    return lrc.expect(service, new FederationMessages.FederateName(federate), Reply.Text.class).value();
  }

  /** found is a handle the model found, or NameNotFound with message when it found none. */
  private static int found(int handle, String message) throws NameNotFound {
    if (handle <= 0) {
      throw new NameNotFound(message);
    }
    return handle;
  }

  // ---- Object classes and attributes ----

  public int getObjectClassHandle(String name) throws RTIexception {
    return found(model(ServiceMethod.getObjectClassHandle_S).objectClassHandle(name),
        "getObjectClassHandle: no object class named '" + name + "'");
  }

  public String getObjectClassName(int objectClass) throws RTIexception {
    FomModel model = model(ServiceMethod.getObjectClassName_OCH);
    return objectClassName(model, "getObjectClassName", objectClass);
  }

  private static String objectClassName(FomModel model, String service, int objectClass)
      throws InvalidObjectClassHandle {
    return model.objectClassName(objectClass).orElseThrow(
        () -> new InvalidObjectClassHandle(service + ": " + objectClass + " is not an object class handle"));
  }

  public int getAttributeHandle(int objectClass, String name) throws RTIexception {
    FomModel model = model(ServiceMethod.getAttributeHandle_OCH_S);
    String className = objectClassName(model, "getAttributeHandle", objectClass);
    return found(model.attributeHandle(objectClass, name),
        "getAttributeHandle: object class " + className + " has no attribute named '" + name + "'");
  }

  public String getAttributeName(int objectClass, int attribute) throws RTIexception {
    FomModel model = model(ServiceMethod.getAttributeName_OCH_AH);
    checkAttribute(model, "getAttributeName", objectClass, attribute);
    return model.attributeName(objectClass, attribute).orElseThrow();
  }

  private static void checkAttribute(FomModel model, String service, int objectClass, int attribute)
      throws RTIexception {
    String className = objectClassName(model, service, objectClass);
    if (!model.isAttribute(attribute)) {
      throw new InvalidAttributeHandle(service + ": " + attribute + " is not an attribute handle");
    }
    if (!model.isAttributeAvailable(objectClass, attribute)) {
      String name = model.attributeName(model.attributeDeclaringClass(attribute), attribute).orElse("" + attribute);
      throw new AttributeNotDefined(service + ": attribute " + name + " is not an attribute of object class "
          + className);
    }
  }

  public double getUpdateRateValue(String name) throws RTIexception {
    FomModel model = model(ServiceMethod.getUpdateRateValue_S);
    return model.updateRate(name).orElseThrow(() ->
        new InvalidUpdateRateDesignator("getUpdateRateValue: no update rate named '" + name + "'"));
  }

  public double getUpdateRateValueForAttribute(int objectInstance, int attribute) throws RTIexception {
    return lrc.objects().updateRateValueForAttribute(ServiceMethod.getUpdateRateValueForAttribute_OIH_AH,
        objectInstance, attribute);
  }

  // ---- Object instances this federate knows ----

  public int getKnownObjectClassHandle(int objectInstance) throws RTIexception {
    return lrc.objects().knownObjectClass(ServiceMethod.getKnownObjectClassHandle_OIH, objectInstance);
  }

  public int getObjectInstanceHandle(String name) throws RTIexception {
    return lrc.objects().objectInstanceHandle(ServiceMethod.getObjectInstanceHandle_S, name);
  }

  public String getObjectInstanceName(int objectInstance) throws RTIexception {
    return lrc.objects().objectInstanceName(ServiceMethod.getObjectInstanceName_OIH, objectInstance);
  }

  // ---- Interaction classes and parameters ----

  public int getInteractionClassHandle(String name) throws RTIexception {
    return found(model(ServiceMethod.getInteractionClassHandle_S).interactionClassHandle(name),
        "getInteractionClassHandle: no interaction class named '" + name + "'");
  }

  public String getInteractionClassName(int interactionClass) throws RTIexception {
    FomModel model = model(ServiceMethod.getInteractionClassName_ICH);
    return interactionClassName(model, "getInteractionClassName", interactionClass);
  }

  private static String interactionClassName(FomModel model, String service, int interactionClass)
      throws InvalidInteractionClassHandle {
    return model.interactionClassName(interactionClass).orElseThrow(() -> new InvalidInteractionClassHandle(
        service + ": " + interactionClass + " is not an interaction class handle"));
  }

  public int getParameterHandle(int interactionClass, String name) throws RTIexception {
    FomModel model = model(ServiceMethod.getParameterHandle_ICH_S);
    String className = interactionClassName(model, "getParameterHandle", interactionClass);
    return found(model.parameterHandle(interactionClass, name),
        "getParameterHandle: interaction class " + className + " has no parameter named '" + name + "'");
  }

  public String getParameterName(int interactionClass, int parameter) throws RTIexception {
    FomModel model = model(ServiceMethod.getParameterName_ICH_PH);
    String className = interactionClassName(model, "getParameterName", interactionClass);
    if (!model.isParameter(parameter)) {
      throw new InvalidParameterHandle("getParameterName: " + parameter + " is not a parameter handle");
    }
    if (!model.isParameterAvailable(interactionClass, parameter)) {
      String name = model.parameterName(model.parameterDeclaringClass(parameter), parameter).orElse("" + parameter);
      throw new InteractionParameterNotDefined("getParameterName: parameter " + name
          + " is not a parameter of interaction class " + className);
    }
    return model.parameterName(interactionClass, parameter).orElseThrow();
  }

  // ---- Order and transportation types ----

  public int getOrderType(String name) throws RTIexception {
    model(ServiceMethod.getOrderType_S);
    switch (name) {
      case "Receive": return RECEIVE;
      case "TimeStamp": return TIMESTAMP;
      default:
        throw new InvalidOrderName("getOrderType: no order type named '" + name + "'; known: Receive, TimeStamp");
    }
  }

  public String getOrderName(int orderType) throws RTIexception {
    model(ServiceMethod.getOrderName_OT);
    switch (orderType) {
      case RECEIVE: return "Receive";
      case TIMESTAMP: return "TimeStamp";
      default: throw new InvalidOrderType("getOrderName: " + orderType + " is not an order type");
    }
  }

  public int getTransportationType(String name) throws RTIexception {
    model(ServiceMethod.getTransportationTypeHandle_S);
    switch (name) {
      case "HLAreliable": return RELIABLE;
      case "HLAbestEffort": return BEST_EFFORT;
      default:
        throw new InvalidTransportationName("getTransportationType: no transportation type named '" + name
            + "'; known: HLAreliable, HLAbestEffort");
    }
  }

  public String getTransportationName(int transportationType) throws RTIexception {
    model(ServiceMethod.getTransportationTypeName_TTH);
    switch (transportationType) {
      case RELIABLE: return "HLAreliable";
      case BEST_EFFORT: return "HLAbestEffort";
      default:
        throw new InvalidTransportationType("getTransportationName: " + transportationType
            + " is not a transportation type");
    }
  }

  // ---- Dimensions ----

  public int[] getAvailableDimensionsForClassAttribute(int objectClass, int attribute) throws RTIexception {
    FomModel model = model(ServiceMethod.getAvailableDimensionsForClassAttribute_OCH_AH);
    checkAttribute(model, "getAvailableDimensionsForClassAttribute", objectClass, attribute);
    return toArray(model.availableDimensions(objectClass, attribute));
  }

  public int[] getAvailableDimensionsForInteractionClass(int interactionClass) throws RTIexception {
    FomModel model = model(ServiceMethod.getAvailableDimensionsForInteractionClass_ICH);
    interactionClassName(model, "getAvailableDimensionsForInteractionClass", interactionClass);
    return toArray(model.interactionDimensions(interactionClass));
  }

  public int getDimensionHandle(String name) throws RTIexception {
    return found(model(ServiceMethod.getDimensionHandle_S).dimensionHandle(name),
        "getDimensionHandle: no dimension named '" + name + "'");
  }

  public String getDimensionName(int dimension) throws RTIexception {
    FomModel model = model(ServiceMethod.getDimensionName_DH);
    return dimensionName(model, "getDimensionName", dimension);
  }

  private static String dimensionName(FomModel model, String service, int dimension) throws InvalidDimensionHandle {
    return model.dimensionName(dimension).orElseThrow(
        () -> new InvalidDimensionHandle(service + ": " + dimension + " is not a dimension handle"));
  }

  public long getDimensionUpperBound(int dimension) throws RTIexception {
    FomModel model = model(ServiceMethod.getDimensionUpperBound_DH);
    dimensionName(model, "getDimensionUpperBound", dimension);
    return model.dimensionUpperBound(dimension);
  }

  private static int[] toArray(java.util.Set<Integer> handles) {
    return handles.stream().mapToInt(Integer::intValue).sorted().toArray();
  }

  /** normalizeFederateHandle places a federate on the HLAfederate dimension: its handle's number. */
  public long normalizeFederateHandle(int federate) throws RTIexception {
    model(ServiceMethod.normalizeFederateHandle_FH);
    if (federate <= 0) {
      throw new InvalidFederateHandle("normalizeFederateHandle: " + federate + " is not a valid federate handle");
    }
    return federate;
  }

  /** normalizeServiceGroup places a service group (wire 1 to 7) on the HLAserviceGroup dimension (0 to 6). */
  public long normalizeServiceGroup(int serviceGroup) throws RTIexception {
    model(ServiceMethod.normalizeServiceGroup_SG);
    if (serviceGroup < 1 || serviceGroup > 7) {
      throw new InvalidServiceGroup("normalizeServiceGroup: " + serviceGroup + " is not a service group");
    }
    return serviceGroup - 1;
  }
}
