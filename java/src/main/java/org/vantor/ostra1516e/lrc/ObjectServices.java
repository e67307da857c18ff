package org.vantor.ostra1516e.lrc;

import hla.rti1516e.exceptions.FederateServiceInvocationsAreBeingReportedViaMOM;
import hla.rti1516e.exceptions.AttributeNotDefined;
import hla.rti1516e.exceptions.AttributeNotOwned;
import hla.rti1516e.exceptions.AttributeNotPublished;
import hla.rti1516e.exceptions.DeletePrivilegeNotHeld;
import hla.rti1516e.exceptions.FederateOwnsAttributes;
import hla.rti1516e.exceptions.IllegalName;
import hla.rti1516e.exceptions.InteractionClassNotDefined;
import hla.rti1516e.exceptions.InteractionClassNotPublished;
import hla.rti1516e.exceptions.InteractionParameterNotDefined;
import hla.rti1516e.exceptions.InvalidTransportationType;
import hla.rti1516e.exceptions.InvalidUpdateRateDesignator;
import hla.rti1516e.exceptions.NameSetWasEmpty;
import hla.rti1516e.exceptions.ObjectClassNotDefined;
import hla.rti1516e.exceptions.ObjectClassNotPublished;
import hla.rti1516e.exceptions.ObjectInstanceNameInUse;
import hla.rti1516e.exceptions.ObjectInstanceNameNotReserved;
import hla.rti1516e.exceptions.ObjectInstanceNotKnown;
import hla.rti1516e.exceptions.OwnershipAcquisitionPending;
import hla.rti1516e.exceptions.RTIexception;
import java.nio.ByteBuffer;
import java.util.BitSet;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.atomic.AtomicInteger;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.message.DeclarationMessages;
import org.vantor.ostra1516e.message.ObjectMessages;
import org.vantor.ostra1516e.message.OwnershipMessages;
import org.vantor.ostra1516e.wire.AttributeRegions;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.RetractionHandle;
import org.vantor.ostra1516e.wire.ServiceMethod;

/**
 * ObjectServices are a joined federate's declaration and object management services: the
 * checks each one's exception list calls for, against the federation's model and what
 * this federate publishes, knows and owns, then the message to the engine. Updates,
 * interactions and deletions are sent without waiting for the engine; registration waits
 * for the instance's handle.
 *
 * <p>Thread-safety: any number of federate threads may call at once; the state below is
 * held in concurrent maps and the known instances guard their own owned sets.
 */
public final class ObjectServices {
  /** Wire numbers of the order types. */
  static final int RECEIVE = 0;
  static final int TIMESTAMP = 1;

  /** The reports of a federate's service invocations, which it may not subscribe to while they are made. */
  static final String SERVICE_REPORTS =
      "HLAinteractionRoot.HLAmanager.HLAfederate.HLAreport.HLAreportServiceInvocation";
  private final LocalRtiComponent lrc;

  final Map<Integer, BitSet> published = new ConcurrentHashMap<>();
  final Set<Integer> publishedInteractions = ConcurrentHashMap.newKeySet();
  /** Update rate designator of each subscribed object class (empty for none). */
  final Map<Integer, String> subscriptionRates = new ConcurrentHashMap<>();
  final Map<Integer, KnownInstance> known = new ConcurrentHashMap<>();
  final Map<String, KnownInstance> knownByName = new ConcurrentHashMap<>();
  final Set<String> reservedNames = ConcurrentHashMap.newKeySet();
  final AtomicInteger serials = new AtomicInteger();
  /** The order this federate sends each interaction class in, where changed (true: time-stamp order). */
  final Map<Integer, Boolean> interactionOrders = new ConcurrentHashMap<>();

  ObjectServices(LocalRtiComponent lrc) {
    this.lrc = lrc;
  }

  /** forget drops everything of the federation the federate left. */
  void forget() {
    published.clear();
    publishedInteractions.clear();
    subscriptionRates.clear();
    known.clear();
    knownByName.clear();
    reservedNames.clear();
    interactionOrders.clear();
  }

  private FomModel model(ServiceMethod service) throws RTIexception {
    return lrc.check(service).model;
  }

  // ---- Checks ----

  private static String name(ServiceMethod service) {
    return service.serviceName();
  }

  private static void objectClass(ServiceMethod service, FomModel model, int objectClass)
      throws ObjectClassNotDefined {
    if (!model.isObjectClass(objectClass)) {
      throw new ObjectClassNotDefined(name(service) + ": " + objectClass + " is not an object class handle");
    }
  }

  private static void attributes(ServiceMethod service, FomModel model, int objectClass, int[] attributes)
      throws AttributeNotDefined {
    for (int attribute : attributes) {
      attribute(service, model, objectClass, attribute);
    }
  }

  private static void attribute(ServiceMethod service, FomModel model, int objectClass, int attribute)
      throws AttributeNotDefined {
    if (!model.isAttributeAvailable(objectClass, attribute)) {
      throw new AttributeNotDefined(name(service) + ": " + attribute + " is not an attribute of object class "
          + model.objectClassName(objectClass).orElse("" + objectClass));
    }
  }

  private static void interactionClass(ServiceMethod service, FomModel model, int interactionClass)
      throws InteractionClassNotDefined {
    if (!model.isInteractionClass(interactionClass)) {
      throw new InteractionClassNotDefined(name(service) + ": " + interactionClass
          + " is not an interaction class handle");
    }
  }

  private KnownInstance instance(ServiceMethod service, int object) throws ObjectInstanceNotKnown {
    KnownInstance instance = known.get(object);
    if (instance == null) {
      throw new ObjectInstanceNotKnown(name(service) + ": object instance " + object
          + " is not known to this federate");
    }
    return instance;
  }

  private static void transportation(ServiceMethod service, int transportation) throws InvalidTransportationType {
    if (transportation != 1 && transportation != 2) {
      throw new InvalidTransportationType(name(service) + ": " + transportation + " is not a transportation type");
    }
  }

  // ---- Declarations ----

  public void publishObjectClassAttributes(int objectClass, int[] attributes) throws RTIexception {
    ServiceMethod service = ServiceMethod.publishObjectClassAttributes_OCH_AHS;
    FomModel model = model(service);
    objectClass(service, model, objectClass);
    attributes(service, model, objectClass, attributes);
    BitSet set = published.computeIfAbsent(objectClass, c -> new BitSet());
    synchronized (set) {
      for (int attribute : attributes) {
        set.set(attribute);
      }
    }
    lrc.send(service, new DeclarationMessages.PublishObjectClass(objectClass, attributes));
  }

  public void unpublishObjectClass(ServiceMethod service, int objectClass, int[] attributes) throws RTIexception {
    FomModel model = model(service);
    objectClass(service, model, objectClass);
    if (attributes != null) {
      attributes(service, model, objectClass, attributes);
    }
    for (KnownInstance instance : known.values()) {
      if (instance.knownClass == objectClass && instance.acquiring(attributes)) {
        throw new OwnershipAcquisitionPending(name(service) + ": this federate is acquiring attributes of "
            + instance.name + "; cancel the acquisition first");
      }
    }
    BitSet set = published.get(objectClass);
    if (set != null) {
      synchronized (set) {
        if (attributes == null) {
          set.clear();
        } else {
          for (int attribute : attributes) {
            set.clear(attribute);
          }
        }
      }
    }
    // What the federate no longer publishes it no longer owns, in the instances it knows as that class.
    for (KnownInstance instance : known.values()) {
      if (instance.knownClass == objectClass) {
        if (attributes == null) {
          instance.disownAll();
        } else {
          for (int attribute : attributes) {
            instance.disown(attribute);
          }
        }
      }
    }
    lrc.send(service, new DeclarationMessages.UnpublishObjectClass(objectClass, attributes));
  }

  /** publishedAttributes is a copy of what the federate publishes of objectClass. */
  private BitSet publishedAttributes(int objectClass) {
    BitSet set = published.get(objectClass);
    if (set == null) {
      return new BitSet();
    }
    synchronized (set) {
      return (BitSet) set.clone();
    }
  }

  public void publishInteractionClass(int interactionClass) throws RTIexception {
    ServiceMethod service = ServiceMethod.publishInteractionClass_ICH;
    interactionClass(service, model(service), interactionClass);
    publishedInteractions.add(interactionClass);
    lrc.send(service, new DeclarationMessages.PublishInteractionClass(interactionClass));
  }

  public void unpublishInteractionClass(int interactionClass) throws RTIexception {
    ServiceMethod service = ServiceMethod.unpublishInteractionClass_ICH;
    interactionClass(service, model(service), interactionClass);
    publishedInteractions.remove(interactionClass);
    lrc.send(service, new DeclarationMessages.UnpublishInteractionClass(interactionClass));
  }

  public void subscribeObjectClassAttributes(int objectClass, int[] attributes, boolean active, String updateRate)
      throws RTIexception {
    ServiceMethod service = ServiceMethod.subscribeObjectClassAttributes_OCH_AHS_Z_S;
    FomModel model = model(service);
    objectClass(service, model, objectClass);
    attributes(service, model, objectClass, attributes);
    if (!updateRate.isEmpty() && model.updateRate(updateRate).isEmpty()) {
      throw new InvalidUpdateRateDesignator(name(service) + ": no update rate named '" + updateRate + "'");
    }
    subscriptionRates.put(objectClass, updateRate);
    lrc.send(service, new DeclarationMessages.SubscribeObjectClass(objectClass, attributes, active, updateRate, null));
  }

  /** subscribeObjectClassAttributes subscribes attributes within regions of this federate. */
  public void subscribeObjectClassAttributes(ServiceMethod service, int objectClass, List<AttributeRegions> within,
      boolean active, String updateRate) throws RTIexception {
    FomModel model = model(service);
    objectClass(service, model, objectClass);
    int[] pairs = pairs(service, model, objectClass, within, true);
    if (!updateRate.isEmpty() && model.updateRate(updateRate).isEmpty()) {
      throw new InvalidUpdateRateDesignator(name(service) + ": no update rate named '" + updateRate + "'");
    }
    use(pairs, "subscription of object class " + objectClass, true);
    subscriptionRates.put(objectClass, updateRate);
    lrc.send(service, new DeclarationMessages.SubscribeObjectClass(objectClass, attributesOf(pairs), active,
        updateRate, pairs));
  }

  /** unsubscribeObjectClassAttributes ends the subscription of attributes within the regions paired with them. */
  public void unsubscribeObjectClassAttributes(ServiceMethod service, int objectClass, List<AttributeRegions> within)
      throws RTIexception {
    FomModel model = model(service);
    objectClass(service, model, objectClass);
    int[] pairs = pairs(service, model, objectClass, within, false);
    use(pairs, "subscription of object class " + objectClass, false);
    lrc.send(service, new DeclarationMessages.UnsubscribeObjectClass(objectClass, attributesOf(pairs), pairs));
  }

  /**
   * pairs checks attribute and region pairs of objectClass (defined attributes, regions of
   * this federate, and, when checkContext, only dimensions the attribute may be filtered on)
   * and flattens them, attribute then region.
   */
  private int[] pairs(ServiceMethod service, FomModel model, int objectClass, List<AttributeRegions> within,
      boolean checkContext) throws RTIexception {
    java.util.List<Integer> flat = new java.util.ArrayList<>();
    for (AttributeRegions pair : within) {
      attributes(service, model, objectClass, pair.attributes());
      for (int attribute : pair.attributes()) {
        lrc.regions().usable(service, pair.regions(),
            checkContext ? model.availableDimensions(objectClass, attribute) : null);
        for (int region : pair.regions()) {
          flat.add(attribute);
          flat.add(region);
        }
      }
    }
    return flat.stream().mapToInt(Integer::intValue).toArray();
  }

  private static int[] attributesOf(int[] pairs) {
    java.util.BitSet set = new java.util.BitSet();
    for (int i = 0; i < pairs.length; i += 2) {
      set.set(pairs[i]);
    }
    return set.stream().toArray();
  }

  /** use notes (or forgets) the regions of pairs as serving what, per attribute. */
  private void use(int[] pairs, String what, boolean on) {
    for (int i = 0; i + 1 < pairs.length; i += 2) {
      lrc.regions().use(new int[] {pairs[i + 1]}, what + ", attribute " + pairs[i], on);
    }
  }

  /** associateRegionsForUpdates adds (or with associate false removes) update regions of an instance. */
  public void associateRegionsForUpdates(ServiceMethod service, int object, List<AttributeRegions> within,
      boolean associate) throws RTIexception {
    FomModel model = model(service);
    KnownInstance instance = instance(service, object);
    int[] pairs = pairs(service, model, instance.knownClass, within, associate);
    use(pairs, "updates of " + instance.name, associate);
    lrc.send(service, new ObjectMessages.AssociateRegions(object, pairs, associate));
  }

  public void unsubscribeObjectClass(ServiceMethod service, int objectClass, int[] attributes) throws RTIexception {
    FomModel model = model(service);
    objectClass(service, model, objectClass);
    if (attributes != null) {
      attributes(service, model, objectClass, attributes);
    } else {
      subscriptionRates.remove(objectClass);
    }
    lrc.send(service, new DeclarationMessages.UnsubscribeObjectClass(objectClass, attributes, null));
  }

  public void subscribeInteractionClass(int interactionClass, boolean active) throws RTIexception {
    subscribeInteractionClass(ServiceMethod.subscribeInteractionClass_ICH_Z, interactionClass, active, null);
  }

  /** subscribeInteractionClass subscribes within regions of this federate, or everywhere when regions is null. */
  public void subscribeInteractionClass(ServiceMethod service, int interactionClass, boolean active, int[] regions)
      throws RTIexception {
    FomModel model = model(service);
    interactionClass(service, model, interactionClass);
    if (lrc.reportsServices() && interactionClass == model.interactionClassHandle(SERVICE_REPORTS)) {
      throw new FederateServiceInvocationsAreBeingReportedViaMOM(service.serviceName() + ": this federate's "
          + "service invocations are being reported with " + SERVICE_REPORTS + "; it may subscribe to them once "
          + "HLAsetServiceReporting has switched that off");
    }
    if (regions != null) {
      lrc.regions().usable(service, regions, model.interactionDimensions(interactionClass));
      lrc.regions().use(regions, "interaction " + interactionClass, true);
    }
    lrc.send(service, new DeclarationMessages.SubscribeInteractionClass(interactionClass, active, regions));
  }

  public void unsubscribeInteractionClass(int interactionClass) throws RTIexception {
    unsubscribeInteractionClass(ServiceMethod.unsubscribeInteractionClass_ICH, interactionClass, null);
  }

  /** unsubscribeInteractionClass ends the subscription within regions, or all of it when regions is null. */
  public void unsubscribeInteractionClass(ServiceMethod service, int interactionClass, int[] regions)
      throws RTIexception {
    interactionClass(service, model(service), interactionClass);
    String use = "interaction " + interactionClass;
    if (regions != null) {
      lrc.regions().usable(service, regions, null);
      lrc.regions().use(regions, use, false);
    } else {
      lrc.regions().release(use);
    }
    lrc.send(service, new DeclarationMessages.UnsubscribeInteractionClass(interactionClass, regions));
  }

  // ---- Names ----

  private static void legal(ServiceMethod service, String name) throws IllegalName {
    if (name.isEmpty() || name.startsWith("HLA")) {
      throw new IllegalName(name(service) + ": '" + name + "' cannot be reserved: names are not empty and "
          + "do not begin with HLA");
    }
  }

  public void reserveObjectInstanceName(String name) throws RTIexception {
    ServiceMethod service = ServiceMethod.reserveObjectInstanceName_S;
    lrc.check(service);
    legal(service, name);
    lrc.send(service, new ObjectMessages.ReserveName(name));
  }

  public void reserveMultipleObjectInstanceName(List<String> names) throws RTIexception {
    ServiceMethod service = ServiceMethod.reserveMultipleObjectInstanceName_S;
    lrc.check(service);
    if (names.isEmpty()) {
      throw new NameSetWasEmpty(name(service) + ": the set of names is empty");
    }
    for (String name : names) {
      legal(service, name);
    }
    lrc.send(service, new ObjectMessages.ReserveNames(List.copyOf(names)));
  }

  public void releaseObjectInstanceNames(ServiceMethod service, List<String> names) throws RTIexception {
    lrc.check(service);
    for (String name : names) {
      if (!reservedNames.contains(name)) {
        throw new ObjectInstanceNameNotReserved(name(service) + ": the name '" + name
            + "' is not reserved by this federate");
      }
    }
    reservedNames.removeAll(names);
    lrc.send(service, new ObjectMessages.ReleaseNames(List.copyOf(names)));
  }

  // ---- Instances ----

  public int registerObjectInstance(ServiceMethod service, int objectClass, String name) throws RTIexception {
    return registerObjectInstance(service, objectClass, null, name);
  }

  /** registerObjectInstance registers an instance whose attributes are updated within regions (null: none). */
  public int registerObjectInstance(ServiceMethod service, int objectClass, List<AttributeRegions> within,
      String name) throws RTIexception {
    FomModel model = model(service);
    objectClass(service, model, objectClass);
    BitSet owned = publishedAttributes(objectClass);
    if (owned.isEmpty()) {
      throw new ObjectClassNotPublished(name(service) + ": object class "
          + model.objectClassName(objectClass).orElse("" + objectClass) + " is not published by this federate");
    }
    int[] pairs = within == null ? null : pairs(service, model, objectClass, within, true);
    for (int i = 0; pairs != null && i < pairs.length; i += 2) {
      if (!owned.get(pairs[i])) {
        throw new AttributeNotPublished(name(service) + ": attribute "
            + model.attributeName(objectClass, pairs[i]).orElse("" + pairs[i]) + " is not published by this federate");
      }
    }
    if (name != null) {
      if (!reservedNames.contains(name)) {
        throw new ObjectInstanceNameNotReserved(name(service) + ": the name '" + name
            + "' is not reserved by this federate");
      }
      if (knownByName.containsKey(name)) {
        throw new ObjectInstanceNameInUse(name(service) + ": the name '" + name + "' already names an instance");
      }
    }
    ObjectMessages.Registered registered =
        lrc.expect(service, new ObjectMessages.Register(objectClass, name, pairs), ObjectMessages.Registered.class);
    if (pairs != null) {
      use(pairs, "updates of " + registered.name(), true);
    }
    owned.set(model.attributeHandle(model.objectRoot(), "HLAprivilegeToDeleteObject"));
    remember(new KnownInstance(registered.object(), registered.name(), objectClass, owned));
    return registered.object();
  }

  private void remember(KnownInstance instance) {
    known.put(instance.handle, instance);
    knownByName.put(instance.name, instance);
  }

  private void forget(int object) {
    KnownInstance instance = known.remove(object);
    if (instance != null) {
      knownByName.remove(instance.name, instance);
    }
  }

  /** updateAttributeValues sends an update; with a time it returns the retraction handle's bytes. */
  public byte[] updateAttributeValues(ServiceMethod service, int object, HandleValues values, byte[] tag,
      byte[] time) throws RTIexception {
    FomModel model = model(service);
    KnownInstance instance = instance(service, object);
    for (int i = 0; i < values.size(); i++) {
      attribute(service, model, instance.knownClass, values.handle(i));
    }
    for (int i = 0; i < values.size(); i++) {
      if (!instance.owns(values.handle(i))) {
        throw notOwned(service, model, instance, values.handle(i));
      }
    }
    if (time == null) {
      lrc.send(service, new ObjectMessages.Update(object, values, tag, RECEIVE, null, null));
      return null;
    }
    // With a time stamp, each attribute travels in its own preferred order: the time-stamp
    // ordered ones under the retraction handle, the others in receive order with the time.
    // Only a regulating federate sends in time-stamp order.
    Long stamp = lrc.time().timeStamp(service, time);
    RetractionHandle retraction = retractionHandle();
    int[] timeStamped = new int[values.size()];
    int[] received = new int[values.size()];
    int t = 0;
    int r = 0;
    for (int i = 0; i < values.size(); i++) {
      if (stamp != null && instance.timeStampOrder(values.handle(i), model)) {
        timeStamped[t++] = i;
      } else {
        received[r++] = i;
      }
    }
    if (t > 0) {
      lrc.time().sent(retraction, stamp, false);
      lrc.send(service, new ObjectMessages.Update(object, values.select(timeStamped, t), tag, TIMESTAMP, time,
          retraction));
    }
    if (r > 0 || t == 0) {
      lrc.send(service, new ObjectMessages.Update(object, values.select(received, r), tag, RECEIVE, time, null));
    }
    return bytes(retraction);
  }

  /** retractionHandle numbers a time-stamped message: a serial of this federate's and its handle. */
  private RetractionHandle retractionHandle() {
    byte[] federate = ByteBuffer.allocate(4).putInt(lrc.joinState().federate).array();
    return new RetractionHandle(serials.incrementAndGet(), federate);
  }

  /** bytes is a retraction handle as a service returns it, null for none. */
  private static byte[] bytes(RetractionHandle retraction) {
    if (retraction == null) {
      return null;
    }
    byte[] payload = retraction.payload();
    return ByteBuffer.allocate(8 + payload.length).putInt(retraction.serial()).putInt(payload.length).put(payload)
        .array();
  }

  public byte[] sendInteraction(ServiceMethod service, int interactionClass, HandleValues parameters, byte[] tag,
      byte[] time) throws RTIexception {
    return sendInteraction(service, interactionClass, parameters, null, tag, time);
  }

  /** sendInteraction sends within regions of this federate (null: the default region, everywhere). */
  public byte[] sendInteraction(ServiceMethod service, int interactionClass, HandleValues parameters, int[] regions,
      byte[] tag, byte[] time) throws RTIexception {
    FomModel model = model(service);
    interactionClass(service, model, interactionClass);
    for (int i = 0; i < parameters.size(); i++) {
      if (!model.isParameterAvailable(interactionClass, parameters.handle(i))) {
        throw new InteractionParameterNotDefined(name(service) + ": " + parameters.handle(i)
            + " is not a parameter of interaction class "
            + model.interactionClassName(interactionClass).orElse("" + interactionClass));
      }
    }
    requirePublished(service, model, interactionClass);
    if (regions != null) {
      lrc.regions().usable(service, regions, model.interactionDimensions(interactionClass));
    }
    RetractionHandle retraction = time != null ? retractionHandle() : null;
    Long stamp = time != null ? lrc.time().timeStamp(service, time) : null;
    boolean timeStamped = stamp != null && interactionOrders.getOrDefault(interactionClass,
        model.interactionOrder(interactionClass).orElse("Receive").equals("TimeStamp"));
    if (timeStamped) {
      lrc.time().sent(retraction, stamp, false);
    }
    lrc.send(service, new ObjectMessages.SendInteraction(interactionClass, parameters, tag,
        timeStamped ? TIMESTAMP : RECEIVE, time, timeStamped ? retraction : null, regions));
    return bytes(retraction);
  }

  public byte[] deleteObjectInstance(ServiceMethod service, int object, byte[] tag, byte[] time)
      throws RTIexception {
    FomModel model = model(service);
    KnownInstance instance = instance(service, object);
    if (!instance.owns(model.attributeHandle(model.objectRoot(), "HLAprivilegeToDeleteObject"))) {
      throw new DeletePrivilegeNotHeld(name(service) + ": this federate does not hold the privilege to delete "
          + "object instance " + instance.name);
    }
    RetractionHandle retraction = time != null ? retractionHandle() : null;
    Long stamp = time != null ? lrc.time().timeStamp(service, time) : null;
    boolean timeStamped = stamp != null;
    if (timeStamped) {
      lrc.time().sent(retraction, stamp, true);
    }
    forget(object);
    lrc.send(service, new ObjectMessages.Delete(object, tag, timeStamped ? TIMESTAMP : RECEIVE, time,
        timeStamped ? retraction : null));
    return bytes(retraction);
  }

  public void localDeleteObjectInstance(int object) throws RTIexception {
    ServiceMethod service = ServiceMethod.localDeleteObjectInstance_OIH;
    lrc.check(service);
    KnownInstance instance = instance(service, object);
    if (instance.acquiring(null)) {
      throw new OwnershipAcquisitionPending(name(service) + ": this federate is acquiring attributes of object "
          + "instance " + instance.name + "; cancel the acquisition first");
    }
    if (instance.ownsAny()) {
      throw new FederateOwnsAttributes(name(service) + ": this federate owns attributes of object instance "
          + instance.name);
    }
    forget(object);
    lrc.send(service, new ObjectMessages.LocalDelete(object));
  }

  public void requestInstanceAttributeValueUpdate(int object, int[] attributes, byte[] tag) throws RTIexception {
    ServiceMethod service = ServiceMethod.requestAttributeValueUpdate_OIH_AHS_BX;
    FomModel model = model(service);
    KnownInstance instance = instance(service, object);
    attributes(service, model, instance.knownClass, attributes);
    lrc.send(service, new ObjectMessages.RequestObjectUpdate(object, attributes, tag));
  }

  public void requestClassAttributeValueUpdate(int objectClass, int[] attributes, byte[] tag) throws RTIexception {
    ServiceMethod service = ServiceMethod.requestAttributeValueUpdate_OCH_AHS_BX;
    FomModel model = model(service);
    objectClass(service, model, objectClass);
    attributes(service, model, objectClass, attributes);
    lrc.send(service, new ObjectMessages.RequestClassUpdate(objectClass, attributes, tag, null));
  }

  /** requestClassAttributeValueUpdate asks for the values of attributes updated within regions that overlap these. */
  public void requestClassAttributeValueUpdate(ServiceMethod service, int objectClass, List<AttributeRegions> within,
      byte[] tag) throws RTIexception {
    FomModel model = model(service);
    objectClass(service, model, objectClass);
    int[] pairs = pairs(service, model, objectClass, within, true);
    lrc.send(service, new ObjectMessages.RequestClassUpdate(objectClass, attributesOf(pairs), tag, pairs));
  }

  /** knowing is the instance object, once attribute is defined for the class this federate knows it as. */
  private KnownInstance knowing(ServiceMethod service, int object, int attribute) throws RTIexception {
    FomModel model = model(service);
    KnownInstance instance = instance(service, object);
    attribute(service, model, instance.knownClass, attribute);
    return instance;
  }

  /** owning is the instance object, once every one of attributes is defined for it and owned by this federate. */
  private KnownInstance owning(ServiceMethod service, int object, int[] attributes) throws RTIexception {
    FomModel model = model(service);
    KnownInstance instance = instance(service, object);
    attributes(service, model, instance.knownClass, attributes);
    for (int attribute : attributes) {
      if (!instance.owns(attribute)) {
        throw notOwned(service, model, instance, attribute);
      }
    }
    return instance;
  }

  private static AttributeNotOwned notOwned(ServiceMethod service, FomModel model, KnownInstance instance,
      int attribute) {
    return new AttributeNotOwned(name(service) + ": attribute "
        + model.attributeName(instance.knownClass, attribute).orElse("" + attribute) + " of object instance "
        + instance.name + " is not owned by this federate");
  }

  // ---- Transportation types ----

  public void requestAttributeTransportationTypeChange(int object, int[] attributes, int transportation)
      throws RTIexception {
    ServiceMethod service = ServiceMethod.requestAttributeTransportationTypeChange_OIH_AHS_TTH;
    KnownInstance instance = owning(service, object, attributes);
    transportation(service, transportation);
    lrc.send(service, new ObjectMessages.ChangeAttributeTransportation(object, attributes, transportation));
  }

  /** changeAttributeOrderType sets the order this federate's updates of the attributes travel in. */
  public void changeAttributeOrderType(int object, int[] attributes, int order) throws RTIexception {
    ServiceMethod service = ServiceMethod.changeAttributeOrderType_OIH_AHS_OT;
    FomModel model = model(service);
    KnownInstance instance = instance(service, object);
    for (int attribute : attributes) {
      attribute(service, model, instance.knownClass, attribute);
    }
    for (int attribute : attributes) {
      if (!instance.owns(attribute)) {
        throw notOwned(service, model, instance, attribute);
      }
    }
    instance.setOrder(attributes, order == TIMESTAMP);
  }

  /** changeInteractionOrderType sets the order this federate's interactions of the class travel in. */
  public void changeInteractionOrderType(int interactionClass, int order) throws RTIexception {
    ServiceMethod service = ServiceMethod.changeInteractionOrderType_ICH_OT;
    FomModel model = model(service);
    interactionClass(service, model, interactionClass);
    requirePublished(service, model, interactionClass);
    interactionOrders.put(interactionClass, order == TIMESTAMP);
  }

  private void requirePublished(ServiceMethod service, FomModel model, int interactionClass)
      throws InteractionClassNotPublished {
    if (!publishedInteractions.contains(interactionClass)) {
      throw new InteractionClassNotPublished(name(service) + ": interaction class "
          + model.interactionClassName(interactionClass).orElse("" + interactionClass)
          + " is not published by this federate");
    }
  }

  public void queryAttributeTransportationType(int object, int attribute) throws RTIexception {
    ServiceMethod service = ServiceMethod.queryAttributeTransportationType_OIH_AH;
    KnownInstance instance = knowing(service, object, attribute);
    lrc.send(service, new ObjectMessages.QueryAttributeTransportation(object, attribute));
  }

  public void requestInteractionTransportationTypeChange(int interactionClass, int transportation)
      throws RTIexception {
    ServiceMethod service = ServiceMethod.requestInteractionTransportationTypeChange_ICH_TTH;
    FomModel model = model(service);
    interactionClass(service, model, interactionClass);
    requirePublished(service, model, interactionClass);
    transportation(service, transportation);
    lrc.send(service, new ObjectMessages.ChangeInteractionTransportation(interactionClass, transportation));
  }

  public void queryInteractionTransportationType(int federate, int interactionClass) throws RTIexception {
    ServiceMethod service = ServiceMethod.queryInteractionTransportationType_FH_ICH;
    interactionClass(service, model(service), interactionClass);
    lrc.send(service, new ObjectMessages.QueryInteractionTransportation(federate, interactionClass));
  }

  // ---- Known instances for the support services ----

  int knownObjectClass(ServiceMethod service, int object) throws RTIexception {
    lrc.check(service);
    return instance(service, object).knownClass;
  }

  int objectInstanceHandle(ServiceMethod service, String name) throws RTIexception {
    lrc.check(service);
    KnownInstance instance = knownByName.get(name);
    if (instance == null) {
      throw new ObjectInstanceNotKnown(name(service) + ": no object instance named '" + name
          + "' is known to this federate");
    }
    return instance.handle;
  }

  String objectInstanceName(ServiceMethod service, int object) throws RTIexception {
    lrc.check(service);
    return instance(service, object).name;
  }

  double updateRateValueForAttribute(ServiceMethod service, int object, int attribute) throws RTIexception {
    KnownInstance instance = knowing(service, object, attribute);
    String rate = subscriptionRates.getOrDefault(instance.knownClass, "");
    return rate.isEmpty() ? 0 : model(service).updateRate(rate).orElse(0);
  }

  /** ownsAnything tells whether the federate owns any attribute of any instance (resigning without action). */
  boolean ownsAnything() {
    for (KnownInstance instance : known.values()) {
      if (instance.ownsAny()) {
        return true;
      }
    }
    return false;
  }

  // ---- Ownership ----

  /**
   * divest gives up attributes of an instance this federate owns in one of the ways of
   * {@link OwnershipMessages} (the engine decides, and refuses in the wrong state); the
   * result is the attributes that are no longer this federate's.
   */
  public int[] divest(ServiceMethod service, int object, int[] attributes, int kind, byte[] tag)
      throws RTIexception {
    KnownInstance instance = owning(service, object, attributes);
    int[] gone = lrc.expect(service, new OwnershipMessages.Divest(object, attributes, kind,
        tag != null ? tag : new byte[0]), OwnershipMessages.Divested.class).attributes();
    for (int attribute : gone) {
      instance.disown(attribute);
    }
    return gone;
  }

  /** acquire asks for attributes of an instance, or takes such a request back (kind as in {@link OwnershipMessages}). */
  public void acquire(ServiceMethod service, int object, int[] attributes, int kind, byte[] tag) throws RTIexception {
    FomModel model = model(service);
    KnownInstance instance = instance(service, object);
    attributes(service, model, instance.knownClass, attributes);
    if (kind != OwnershipMessages.CANCEL_ACQUISITION) {
      BitSet published = publishedAttributes(instance.knownClass);
      if (published.isEmpty()) {
        throw new ObjectClassNotPublished(name(service) + ": object class "
            + model.objectClassName(instance.knownClass).orElse("" + instance.knownClass)
            + " is not published by this federate");
      }
      int privilege = model.attributeHandle(model.objectRoot(), "HLAprivilegeToDeleteObject");
      for (int attribute : attributes) {
        if (!published.get(attribute) && attribute != privilege) {
          throw new AttributeNotPublished(name(service) + ": attribute "
              + model.attributeName(instance.knownClass, attribute).orElse("" + attribute)
              + " is not published by this federate");
        }
      }
    }
    lrc.expectDone(service, new OwnershipMessages.Acquire(object, attributes, kind, tag != null ? tag : new byte[0]));
    if (kind == OwnershipMessages.ACQUIRE) {
      instance.startAcquiring(attributes);  // what came at once is owned already
    }
  }

  public void queryAttributeOwnership(int object, int attribute) throws RTIexception {
    ServiceMethod service = ServiceMethod.queryAttributeOwnership_OIH_AH;
    KnownInstance instance = knowing(service, object, attribute);
    lrc.send(service, new OwnershipMessages.QueryOwnership(object, attribute));
  }

  public boolean isAttributeOwnedByFederate(int object, int attribute) throws RTIexception {
    ServiceMethod service = ServiceMethod.isAttributeOwnedByFederate_OIH_AH;
    KnownInstance instance = knowing(service, object, attribute);
    return instance.owns(attribute);
  }

  // ---- Events ----

  /** ownership records what the engine handed this federate or refused it, before the federate is told. */
  void ownership(OwnershipMessages.Ownership e) {
    KnownInstance instance = known.get(e.object());
    if (instance == null) {
      return;
    }
    if (e.kind() == OwnershipMessages.ACQUIRED) {
      for (int attribute : e.attributes()) {
        instance.own(attribute);
      }
    } else if (e.kind() == OwnershipMessages.UNAVAILABLE || e.kind() == OwnershipMessages.CANCELLATION_CONFIRMED) {
      instance.stopAcquiring(e.attributes());
    }
  }

  void discovered(ObjectMessages.Discover e) {
    remember(new KnownInstance(e.object(), e.name(), e.knownClass(), new BitSet()));
  }

  void removed(ObjectMessages.Remove e) {
    forget(e.object());
  }

  void reservation(ObjectMessages.NameReservation e) {
    if (e.succeeded()) {
      reservedNames.addAll(e.names());
    }
  }
}
