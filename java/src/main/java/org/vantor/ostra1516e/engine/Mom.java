package org.vantor.ostra1516e.engine;

import java.io.IOException;
import java.io.InputStream;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.BitSet;
import java.util.HashMap;
import java.util.LinkedHashMap;
import java.util.LinkedHashSet;
import java.util.List;
import java.util.Map;
import java.util.Properties;
import java.util.Set;
import java.util.TreeMap;
import java.util.concurrent.ScheduledFuture;
import java.util.concurrent.TimeUnit;
import java.util.function.Function;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.fom.FomModule;
import org.vantor.ostra1516e.message.MomMessages;
import org.vantor.ostra1516e.message.ObjectMessages;
import org.vantor.ostra1516e.time.Bound;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.MomValues;

/**
 * Mom is the federation's management object model: the RTI's own objects of
 * HLAmanager.HLAfederation (one for the federation) and HLAmanager.HLAfederate (one for each
 * joined federate), kept current, and the answers to the HLAmanager interactions that
 * federates send.
 *
 * <p>It takes part in the federation as a federate would, under {@link #RTI}: it registers,
 * updates and deletes its objects and sends its reports through the same routing as every
 * member's, so subscribers discover, reflect and receive them with the usual callbacks. It
 * is not a member: it joins no synchronization point, save or time advance.
 *
 * <p>An object's attributes are sent in full when it is registered and when an owner is
 * asked for them; conditional ones when they change (checked after each message that may
 * change them); periodic ones at the period a federate's HLAsetTiming sets (none until it
 * does).
 *
 * <p>Thread-safety: touched only by its federation's tasks, but for the timers, which only
 * post tasks.
 */
final class Mom {
  /** The member handle under which the RTI owns its objects and sends its reports. */
  static final int RTI = 0;
  static final String RTI_VERSION = rtiVersion();

  private static final String MANAGER = "HLAinteractionRoot.HLAmanager.";
  private static final String FEDERATE_CLASS = "HLAobjectRoot.HLAmanager.HLAfederate";
  private static final String FEDERATION_CLASS = "HLAobjectRoot.HLAmanager.HLAfederation";
  private static final byte[] NO_TAG = new byte[0];

  /** How each attribute of a class is sent: with the object only, on change, or on change and each period. */
  enum Kind { STATIC, CONDITIONAL, PERIODIC }

  record Attribute<T>(String name, Kind kind, Function<T, byte[]> value) {}

  private final Federation federation;
  final Member rti = new Member(RTI, "RTI", "RTI", null);
  private FomModel modelSeen;
  private int federateClass;
  private int federationClass;
  /** The MOM's interaction classes this model has, and the handler of each by class handle. */
  private final BitSet managerClasses = new BitSet();
  private final Map<Integer, Handler> handlers = new HashMap<>();
  private Instance federationObject;
  private final Map<Integer, Watched> watched = new LinkedHashMap<>();
  private final Map<Integer, byte[]> federationTold = new HashMap<>();
  /** Whether any member's object was told anything since nobody subscribed to them last. */
  private boolean federatesTold;
  /** The members whose conditional attributes may have changed since the last refresh; all when allChanged. */
  private final Set<Integer> changed = new LinkedHashSet<>();
  private boolean allChanged = true;
  boolean autoProvide;

  /** Watched is a member's HLAfederate object and what the MOM last told of it. */
  static final class Watched {
    final Member member;
    Instance instance;
    final Map<Integer, byte[]> told = new HashMap<>();
    ScheduledFuture<?> timer;
    int period;
    /** The region of the RTI's that places the member on the HLAfederate dimension (0: none). */
    int region;
    boolean reportServices;
    boolean reportExceptions;

    Watched(Member member) {
      this.member = member;
    }
  }

  Mom(Federation federation) {
    this.federation = federation;
  }

  private static String rtiVersion() {
    Properties properties = new Properties();
    try (InputStream in = Mom.class.getResourceAsStream("version.properties")) {
      if (in != null) {
        properties.load(in);
      }
    } catch (IOException e) {
      // No version file: the version stays unknown.
    }
    return "Ostra1516e " + properties.getProperty("version", "(version unknown)");
  }

  // ---- The attributes ----

  private final List<Attribute<Member>> federateAttributes = List.of(
      new Attribute<>("HLAfederateHandle", Kind.STATIC, m -> MomValues.handle(m.handle)),
      new Attribute<>("HLAfederateName", Kind.STATIC, m -> MomValues.string(m.name)),
      new Attribute<>("HLAfederateType", Kind.STATIC, m -> MomValues.string(m.type)),
      new Attribute<>("HLAfederateHost", Kind.STATIC, m -> MomValues.string(m.host())),
      new Attribute<>("HLARTIversion", Kind.STATIC, m -> MomValues.string(RTI_VERSION)),
      new Attribute<>("HLAFOMmoduleDesignatorList", Kind.STATIC,
          m -> MomValues.strings(m.modules.stream().map(FomModule::designator).toList())),
      new Attribute<>("HLAtimeConstrained", Kind.CONDITIONAL, m -> MomValues.bool(m.time.constrained)),
      new Attribute<>("HLAtimeRegulating", Kind.CONDITIONAL, m -> MomValues.bool(m.time.regulating)),
      new Attribute<>("HLAasynchronousDelivery", Kind.CONDITIONAL, m -> MomValues.bool(m.time.asynchronous)),
      new Attribute<>("HLAfederateState", Kind.CONDITIONAL, m -> MomValues.int32(federateState())),
      new Attribute<>("HLAtimeManagerState", Kind.CONDITIONAL, m -> MomValues.int32(m.time.request != 0 ? 1 : 0)),
      new Attribute<>("HLAlogicalTime", Kind.PERIODIC, m -> MomValues.bytes(times().encode(m.time.time))),
      new Attribute<>("HLAlookahead", Kind.PERIODIC, m -> MomValues.bytes(m.time.lookahead != null
          ? m.time.lookahead : times().between(times().initial(), times().initial()))),
      new Attribute<>("HLAGALT", Kind.PERIODIC, this::galt),
      new Attribute<>("HLALITS", Kind.PERIODIC, this::lits),
      new Attribute<>("HLAROlength", Kind.PERIODIC, m -> MomValues.int32(m.time.receiveOrder.size())),
      new Attribute<>("HLATSOlength", Kind.PERIODIC, m -> MomValues.int32(m.time.held.size())),
      new Attribute<>("HLAreflectionsReceived", Kind.PERIODIC, m -> count(m.reflectionsReceived)),
      new Attribute<>("HLAupdatesSent", Kind.PERIODIC, m -> count(m.updatesSent)),
      new Attribute<>("HLAinteractionsReceived", Kind.PERIODIC, m -> count(m.interactionsReceived)),
      new Attribute<>("HLAinteractionsSent", Kind.PERIODIC, m -> count(m.interactionsSent)),
      new Attribute<>("HLAobjectInstancesThatCanBeDeleted", Kind.PERIODIC,
          m -> count(instancesOf(m, Member.Counts.CAN_DELETE).values().stream().mapToLong(Long::longValue).sum())),
      new Attribute<>("HLAobjectInstancesUpdated", Kind.PERIODIC,
          m -> count(instancesOf(m, Member.Counts.UPDATED).values().stream().mapToLong(Long::longValue).sum())),
      new Attribute<>("HLAobjectInstancesReflected", Kind.PERIODIC,
          m -> count(instancesOf(m, Member.Counts.REFLECTED).values().stream().mapToLong(Long::longValue).sum())),
      new Attribute<>("HLAobjectInstancesDeleted", Kind.PERIODIC, m -> count(m.counts.deleted)),
      new Attribute<>("HLAobjectInstancesRemoved", Kind.PERIODIC, m -> count(m.counts.removed)),
      new Attribute<>("HLAobjectInstancesRegistered", Kind.PERIODIC, m -> count(m.counts.registered)),
      new Attribute<>("HLAobjectInstancesDiscovered", Kind.PERIODIC, m -> count(m.counts.discovered)),
      new Attribute<>("HLAtimeGrantedTime", Kind.PERIODIC, m -> count(m.time.stateMillis(false))),
      new Attribute<>("HLAtimeAdvancingTime", Kind.PERIODIC, m -> count(m.time.stateMillis(true))),
      new Attribute<>("HLAconveyRegionDesignatorSets", Kind.CONDITIONAL,
          m -> MomValues.int32(m.conveyRegionDesignatorSets ? 1 : 0)),
      new Attribute<>("HLAconveyProducingFederate", Kind.CONDITIONAL,
          m -> MomValues.int32(m.conveyProducingFederate ? 1 : 0)));

  private final List<Attribute<Federation>> federationAttributes = List.of(
      new Attribute<>("HLAfederationName", Kind.STATIC, f -> MomValues.string(f.name())),
      new Attribute<>("HLAfederatesInFederation", Kind.CONDITIONAL, f -> MomValues.handles(memberHandles())),
      new Attribute<>("HLARTIversion", Kind.STATIC, f -> MomValues.string(RTI_VERSION)),
      new Attribute<>("HLAMIMdesignator", Kind.STATIC, f -> MomValues.string(f.model().mimDesignator())),
      new Attribute<>("HLAFOMmoduleDesignatorList", Kind.CONDITIONAL,
          f -> MomValues.strings(f.model().moduleDesignators())),
      new Attribute<>("HLAcurrentFDD", Kind.CONDITIONAL,
          f -> MomValues.string(String.join("; ", f.model().moduleDesignators()))),
      new Attribute<>("HLAtimeImplementationName", Kind.STATIC, f -> MomValues.string(f.timeImplementation())),
      new Attribute<>("HLAlastSaveName", Kind.CONDITIONAL, f -> MomValues.string(f.saves().lastLabel())),
      new Attribute<>("HLAlastSaveTime", Kind.CONDITIONAL, f -> MomValues.bytes(orNone(f.saves().lastTime()))),
      new Attribute<>("HLAnextSaveName", Kind.CONDITIONAL, f -> MomValues.string(f.saves().nextLabel())),
      new Attribute<>("HLAnextSaveTime", Kind.CONDITIONAL, f -> MomValues.bytes(orNone(f.saves().nextTime()))),
      new Attribute<>("HLAautoProvide", Kind.CONDITIONAL, f -> MomValues.int32(autoProvide ? 1 : 0)));

  private byte[] galt(Member m) {
    Bound galt = federation.time().galt(m);
    return MomValues.bytes(galt == null ? NO_TAG : times().encode(galt.time()));
  }

  private byte[] lits(Member m) {
    Long lits = federation.time().lits(m);
    return MomValues.bytes(lits == null ? NO_TAG : times().encode(lits));
  }

  private static byte[] orNone(byte[] time) {
    return time != null ? time : NO_TAG;
  }

  private static byte[] count(long value) {
    return MomValues.int32((int) Math.min(value, Integer.MAX_VALUE));
  }

  private org.vantor.ostra1516e.time.TimeRepresentation times() {
    return federation.time().times();
  }

  private int federateState() {
    if (federation.saves().inProgress()) {
      return 3;
    }
    return federation.restores().inProgress() ? 5 : 1;
  }

  private int[] memberHandles() {
    List<Integer> handles = new ArrayList<>();
    federation.members().forEach(m -> handles.add(m.handle));
    return handles.stream().mapToInt(Integer::intValue).toArray();
  }

  /**
   * instancesOf counts by registered class the instances member can delete (holds the
   * privilege to delete), has updated or has reflected.
   */
  private Map<Integer, Long> instancesOf(Member member, int which) {
    Map<Integer, Long> counts = new TreeMap<>();
    int privilege = federation.privilegeToDelete();
    for (Instance instance : federation.objects().instances.values()) {
      boolean counted = switch (which) {
        case Member.Counts.CAN_DELETE -> Integer.valueOf(member.handle).equals(instance.owners.get(privilege));
        case Member.Counts.UPDATED -> instance.updatedBy.get(member.handle);
        default -> instance.reflectedBy.get(member.handle);
      };
      if (counted) {
        counts.merge(instance.registeredClass, 1L, Long::sum);
      }
    }
    return counts;
  }

  // ---- The model's handles ----

  /** resolve looks up the MOM's classes in the federation's model, once for each model it has. */
  private void resolve() {
    FomModel model = federation.model();
    if (model == modelSeen) {
      return;
    }
    modelSeen = model;
    federateClass = model.objectClassHandle(FEDERATE_CLASS);
    federationClass = model.objectClassHandle(FEDERATION_CLASS);
    managerClasses.clear();
    handlers.clear();
    int manager = model.interactionClassHandle(MANAGER.substring(0, MANAGER.length() - 1));
    if (manager != FomModel.NONE) {
      collect(model, manager);
    }
  }

  private void collect(FomModel model, int interactionClass) {
    List<Integer> children = model.interactionClassChildren(interactionClass);
    if (children.isEmpty()) {
      String name = model.interactionClassName(interactionClass).orElse("");
      String path = name.substring(Math.min(MANAGER.length(), name.length()));
      Handler handler = path.startsWith("HLAfederate.HLAservice.") ? FORWARD : HANDLERS.get(path);
      if (handler != null) {
        managerClasses.set(interactionClass);
        handlers.put(interactionClass, handler);
      }
    }
    children.forEach(c -> collect(model, c));
  }

  private int attribute(int objectClass, String name) {
    return federation.model().attributeHandle(objectClass, name);
  }

  /** listensTo tells whether the MOM acts on interactions of a class; cheap, as every interaction asks. */
  boolean listensTo(int interactionClass) {
    return managerClasses.get(interactionClass);
  }

  // ---- The objects ----

  /** started registers the federation's object; called once the federation exists. */
  void started() {
    resolve();
    if (federationClass != FomModel.NONE && federationObject == null) {
      federationObject = federation.objects().registerForRti(federationClass, "HLAfederation",
          attributesOf(federationClass, federationAttributes), 0);
      sendFederation(Kind.STATIC);
    }
  }

  void joined(Member member) {
    resolve();
    if (federateClass == FomModel.NONE) {
      return;
    }
    Watched w = new Watched(member);
    w.region = placeOnFederateDimension(member.handle);
    w.instance = federation.objects().registerForRti(federateClass, "HLAfederate" + member.handle,
        attributesOf(federateClass, federateAttributes), w.region);
    watched.put(member.handle, w);
    sendFederate(w, Kind.STATIC);
    refresh();
  }

  /**
   * placeOnFederateDimension makes a region of the RTI's covering the member's place on the
   * HLAfederate dimension (its handle, as normalizeFederateHandle gives it): its object's
   * attributes are updated, and the reports about it sent, within it, so that a subscriber
   * may take those of some federates only. 0 when the model has no such dimension.
   */
  private int placeOnFederateDimension(int member) {
    int dimension = federation.model().dimensionHandle("HLAfederate");
    if (dimension == FomModel.NONE || dimension <= 0) {
      return 0;
    }
    Regions regions = federation.regions();
    int handle = regions.nextRegion++;
    regions.put(handle, new Regions.Region(RTI, new int[] {dimension}, new int[] {member, member + 1}));
    return handle;
  }

  /** left deletes a member's object, after telling of a lost one with HLAreportFederateLost. */
  void left(Member member, boolean lost, String fault) {
    Watched w = watched.get(member.handle);
    if (w == null) {
      return;
    }
    if (w.timer != null) {
      w.timer.cancel(false);
    }
    if (lost) {
      report(member.handle, "HLAfederate.HLAreport.HLAreportFederateLost",
          "HLAfederateName", MomValues.string(member.name),
          "HLAtimeStamp", MomValues.bytes(times().encode(member.time.time)),
          "HLAfaultDescription", MomValues.string(fault));
    }
    watched.remove(member.handle);
    if (federation.objects().instances.get(w.instance.handle) == w.instance) {
      w.instance.knownClass.remove(member.handle);  // it is leaving: the others are told
      federation.objects().remove(w.instance, rti, NO_TAG, ObjectManagement.RECEIVE, null, null);
    }
    if (w.region > 0) {
      federation.regions().remove(w.region);
    }
  }

  /** stopped ends the timers of a federation that is destroyed. */
  void stopped() {
    watched.values().forEach(w -> {
      if (w.timer != null) {
        w.timer.cancel(false);
      }
    });
  }

  /**
   * restored takes up the RTI's objects that a restore brought back (the federation's, and
   * each saved member's, named after its handle) in place of those before it.
   */
  void restored() {
    watched.values().forEach(w -> {
      if (w.timer != null) {
        w.timer.cancel(false);
      }
    });
    watched.clear();
    federationTold.clear();
    federationObject = null;
    resolve();
    for (Instance instance : federation.objects().instances.values()) {
      if (instance.registrant != RTI) {
        continue;
      }
      if (instance.registeredClass == federationClass) {
        federationObject = instance;
      } else if (instance.registeredClass == federateClass && instance.name.startsWith("HLAfederate")) {
        try {
          Member member = federation.member(Integer.parseInt(instance.name.substring("HLAfederate".length())));
          if (member != null) {
            Watched w = new Watched(member);
            w.instance = instance;
            w.region = instance.updateRegions.values().stream().mapToInt(r -> r.nextSetBit(0)).filter(r -> r > 0)
                .findFirst().orElse(0);
            watched.put(member.handle, w);
          }
        } catch (NumberFormatException e) {
          // Not one of the MOM's names: left alone.
        }
      }
    }
    if (federationObject == null) {  // saved without the RTI's objects
      started();
    }
    for (Member member : federation.members()) {
      if (!watched.containsKey(member.handle)) {
        joined(member);
      }
      member.send(new MomMessages.Reporting(false, false));  // reports start again switched off
    }
    refreshAll();
  }

  private static <T> BitSet attributesOf(int objectClass, List<Attribute<T>> table, FomModel model) {
    BitSet attributes = new BitSet();
    for (Attribute<T> a : table) {
      int handle = model.attributeHandle(objectClass, a.name());
      if (handle != FomModel.NONE) {
        attributes.set(handle);
      }
    }
    return attributes;
  }

  private <T> BitSet attributesOf(int objectClass, List<Attribute<T>> table) {
    return attributesOf(objectClass, table, federation.model());
  }

  /** changed notes that a member's time state may have changed; the next {@link #refresh} looks at it. */
  void changed(Member member) {
    changed.add(member.handle);
  }

  /** refreshAll is {@link #refresh} after a change that may touch every member's object. */
  void refreshAll() {
    allChanged = true;
    refresh();
  }

  /**
   * refresh sends the conditional attributes that changed since last told, of the
   * federation's object and of the members noted as changed (a time message costs the
   * member it concerns, not the whole federation). Nothing is worked out while nobody
   * subscribes to the class; what was told is then forgotten, so that a later subscriber
   * hears it all.
   */
  void refresh() {
    if (federationObject != null) {
      if (federation.routes().forObjectClass(federationClass).length > 0) {
        sendFederation(Kind.CONDITIONAL);
      } else {
        federationTold.clear();
      }
    }
    if (!watched.isEmpty()) {
      if (federation.routes().forObjectClass(federateClass).length > 0) {
        federatesTold = true;
        if (allChanged) {
          for (Watched w : watched.values()) {
            sendFederate(w, Kind.CONDITIONAL);
          }
        } else {
          for (int handle : changed) {
            Watched w = watched.get(handle);
            if (w != null) {
              sendFederate(w, Kind.CONDITIONAL);
            }
          }
        }
      } else if (federatesTold) {
        federatesTold = false;
        watched.values().forEach(w -> w.told.clear());
      }
    }
    changed.clear();
    allChanged = false;
  }

  private void sendFederation(Kind kind) {
    send(federationObject, federationAttributes, federation, federationTold, kind, null);
  }

  private void sendFederate(Watched w, Kind kind) {
    federatesTold = true;
    send(w.instance, federateAttributes, w.member, w.told, kind, null);
  }

  /**
   * send updates instance with the attributes of kind (STATIC: every one; CONDITIONAL: those
   * that changed; PERIODIC: the periodic ones and the changed conditional ones) or, where
   * asked is given, with the asked ones.
   */
  private <T> void send(Instance instance, List<Attribute<T>> table, T subject, Map<Integer, byte[]> told,
      Kind kind, BitSet asked) {
    if (instance == null || federation.objects().instances.get(instance.handle) != instance) {
      return;
    }
    FomModel model = federation.model();
    List<Integer> handles = new ArrayList<>();
    List<byte[]> values = new ArrayList<>();
    for (Attribute<T> a : table) {
      int handle = model.attributeHandle(instance.registeredClass, a.name());
      if (handle == FomModel.NONE || asked != null && !asked.get(handle)) {
        continue;
      }
      boolean wanted = asked != null || kind == Kind.STATIC || a.kind() == Kind.PERIODIC && kind == Kind.PERIODIC;
      if (!wanted && a.kind() != Kind.CONDITIONAL) {
        continue;
      }
      byte[] value = a.value().apply(subject);
      byte[] before = told.put(handle, value);
      if (wanted || !Arrays.equals(before, value)) {
        handles.add(handle);
        values.add(value);
      }
    }
    if (!handles.isEmpty()) {
      federation.objects().update(rti, new ObjectMessages.Update(instance.handle,
          new HandleValues(handles.stream().mapToInt(Integer::intValue).toArray(), values.toArray(new byte[0][])),
          NO_TAG, ObjectManagement.RECEIVE, null, null));
    }
  }

  /** provide answers a request for attribute values (null: all of them) of one of the RTI's objects. */
  void provide(Instance instance, BitSet attributes) {
    if (instance == federationObject) {
      send(instance, federationAttributes, federation, federationTold, Kind.STATIC, attributes);
      return;
    }
    for (Watched w : watched.values()) {
      if (w.instance == instance) {
        send(instance, federateAttributes, w.member, w.told, Kind.STATIC, attributes);
        return;
      }
    }
  }

  private void periodic(int memberHandle) {
    Watched w = watched.get(memberHandle);
    if (w != null) {
      sendFederate(w, Kind.PERIODIC);
    }
  }

  private void setPeriod(Watched w, int seconds) {
    if (w.timer != null) {
      w.timer.cancel(false);
      w.timer = null;
    }
    w.period = seconds;
    if (seconds > 0) {
      int handle = w.member.handle;
      w.timer = federation.engine().schedule(federation, () -> periodic(handle), seconds, TimeUnit.SECONDS);
    }
  }

  // ---- The interactions ----

  /** Handler carries out one MOM interaction; subject is the member it names (null for federation ones). */
  @FunctionalInterface
  private interface Handler {
    void handle(Mom mom, Member sender, Member subject, int interactionClass, MomValues.Parameters p)
        throws MomValues.Malformed;
  }

  /**
   * FORWARD hands a service interaction to the component of the federate it names, which
   * carries it out as its federate's own call and tells of a failure (see {@link #actFailed}).
   */
  private static final Handler FORWARD = (mom, sender, subject, c, p) ->
      subject.send(new MomMessages.Act(sender.handle, c, p.values()));

  /**
   * received acts on an interaction of one of the MOM's classes that sender sent. One that
   * cannot be carried out is answered by HLAreportMOMexception naming the sender.
   */
  void received(Member sender, ObjectMessages.SendInteraction m) {
    resolve();
    Handler handler = handlers.get(m.interactionClass());
    if (handler == null) {
      return;
    }
    FomModel model = federation.model();
    String name = model.interactionClassName(m.interactionClass()).orElse("");
    String service = name.substring(name.lastIndexOf('.') + 1);
    MomValues.Parameters p = new MomValues.Parameters(n -> model.parameterHandle(m.interactionClass(), n),
        m.parameters());
    Member subject = null;
    try {
      if (name.startsWith(MANAGER + "HLAfederate.")) {
        int handle = p.get("HLAfederate", MomValues.Reader::handle);
        subject = federation.member(handle);
        if (subject == null) {
          momException(sender, service, "federate handle " + handle + " is not a federate joined to federation "
              + "execution " + federation.name(), true);
          return;
        }
      }
      handler.handle(this, sender, subject, m.interactionClass(), p);
    } catch (MomValues.Malformed e) {
      momException(sender, service, e.getMessage(), true);
    }
  }

  private void momException(Member sender, String service, String why, boolean parameterError) {
    momException(sender.handle, service, why, parameterError);
  }

  private void momException(int sender, String service, String why, boolean parameterError) {
    report(sender, "HLAfederate.HLAreport.HLAreportMOMexception", "HLAservice", MomValues.string(service),
        "HLAexception", MomValues.string(why), "HLAparameterError", MomValues.bool(parameterError));
  }

  /** actFailed tells the federate that asked for a service on member's behalf that it failed. */
  void actFailed(Member member, MomMessages.ActFailed m) {
    momException(m.requester(), m.service(), member.name + " could not carry it out: " + m.exception(),
        m.parameterError());
  }

  /** serviceInvoked reports a service invocation of member's, with HLAreportServiceInvocation. */
  void serviceInvoked(Member member, MomMessages.ServiceInvoked m) {
    report(member.handle, "HLAfederate.HLAreport.HLAreportServiceInvocation",
        "HLAservice", MomValues.string(m.service()), "HLAsuccessIndicator", MomValues.bool(m.success()),
        "HLAsuppliedArguments", MomValues.strings(m.supplied()),
        "HLAreturnedArguments", MomValues.strings(m.returned()),
        "HLAexception", MomValues.string(m.exception()), "HLAserialNumber", MomValues.int32(m.serial()));
  }

  /** exceptionGiven reports an exception member's service gave it, with HLAreportException. */
  void exceptionGiven(Member member, MomMessages.ExceptionGiven m) {
    report(member.handle, "HLAfederate.HLAreport.HLAreportException",
        "HLAservice", MomValues.string(m.service()), "HLAexception", MomValues.string(m.exception()));
  }

  /**
   * report sends an interaction of the MOM's class path (below HLAmanager) with parameters
   * given as name and value pairs; a report about a federate (subject not RTI) carries its
   * handle as HLAfederate.
   */
  void report(int subject, String path, Object... pairs) {
    FomModel model = federation.model();
    int interactionClass = model.interactionClassHandle(MANAGER + path);
    if (interactionClass == FomModel.NONE) {
      return;
    }
    List<Integer> handles = new ArrayList<>();
    List<byte[]> values = new ArrayList<>();
    if (path.startsWith("HLAfederate.")) {
      handles.add(model.parameterHandle(interactionClass, "HLAfederate"));
      values.add(MomValues.handle(subject));
    }
    for (int i = 0; i + 1 < pairs.length; i += 2) {
      int handle = model.parameterHandle(interactionClass, (String) pairs[i]);
      if (handle != FomModel.NONE) {
        handles.add(handle);
        values.add((byte[]) pairs[i + 1]);
      }
    }
    Watched about = path.startsWith("HLAfederate.") ? watched.get(subject) : null;
    int[] within = about != null && about.region > 0 ? new int[] {about.region} : null;
    federation.objects().sendInteraction(rti, new ObjectMessages.SendInteraction(interactionClass,
        new HandleValues(handles.stream().mapToInt(Integer::intValue).toArray(), values.toArray(new byte[0][])),
        NO_TAG, ObjectManagement.RECEIVE, null, null, within));
  }

  private static final Map<String, Handler> HANDLERS = handlers();

  private static Map<String, Handler> handlers() {
    Map<String, Handler> h = new HashMap<>();
    // HLAfederate.HLAadjust
    h.put("HLAfederate.HLAadjust.HLAsetTiming", (mom, sender, subject, c, p) -> {
      int seconds = p.get("HLAreportPeriod", MomValues.Reader::int32);
      if (seconds < 0) {
        throw new MomValues.Malformed("HLAreportPeriod is " + seconds + " seconds; it must be 0 (no periodic "
            + "updates) or more");
      }
      mom.setPeriod(mom.watched.get(subject.handle), seconds);
    });
    h.put("HLAfederate.HLAadjust.HLAmodifyAttributeState", FORWARD);
    h.put("HLAfederate.HLAadjust.HLAsetServiceReporting", (mom, sender, subject, c, p) -> {
      boolean on = p.get("HLAreportingState", MomValues.Reader::bool);
      int reports = mom.federation.model().interactionClassHandle(MANAGER + "HLAfederate.HLAreport."
          + "HLAreportServiceInvocation");
      if (on && subject.subscribedInteractions.containsKey(reports)) {
        throw new MomValues.Malformed(subject.name + " subscribes to HLAreportServiceInvocation; its service "
            + "invocations cannot be reported while it does");
      }
      Watched w = mom.watched.get(subject.handle);
      w.reportServices = on;
      subject.send(new MomMessages.Reporting(w.reportServices, w.reportExceptions));
    });
    h.put("HLAfederate.HLAadjust.HLAsetExceptionReporting", (mom, sender, subject, c, p) -> {
      Watched w = mom.watched.get(subject.handle);
      w.reportExceptions = p.get("HLAreportingState", MomValues.Reader::bool);
      subject.send(new MomMessages.Reporting(w.reportServices, w.reportExceptions));
    });
    h.put("HLAfederate.HLAadjust.HLAsetSwitches", (mom, sender, subject, c, p) -> {
      if (p.has("HLAconveyRegionDesignatorSets")) {
        subject.conveyRegionDesignatorSets = p.get("HLAconveyRegionDesignatorSets", MomValues.Reader::bool);
      }
      if (p.has("HLAconveyProducingFederate")) {
        subject.conveyProducingFederate = p.get("HLAconveyProducingFederate", MomValues.Reader::bool);
      }
      mom.changed(subject);
      mom.refresh();
    });
    // HLAfederate.HLArequest
    h.put("HLAfederate.HLArequest.HLArequestPublications", (mom, sender, subject, c, p) -> mom.publications(subject));
    h.put("HLAfederate.HLArequest.HLArequestSubscriptions", (mom, sender, subject, c, p) -> mom.subscriptions(subject));
    h.put("HLAfederate.HLArequest.HLArequestObjectInstancesThatCanBeDeleted", (mom, sender, subject, c, p) ->
        mom.report(subject.handle, "HLAfederate.HLAreport.HLAreportObjectInstancesThatCanBeDeleted",
            "HLAobjectInstanceCounts", classCounts(mom.instancesOf(subject, Member.Counts.CAN_DELETE))));
    h.put("HLAfederate.HLArequest.HLArequestObjectInstancesUpdated", (mom, sender, subject, c, p) ->
        mom.report(subject.handle, "HLAfederate.HLAreport.HLAreportObjectInstancesUpdated",
            "HLAobjectInstanceCounts", classCounts(mom.instancesOf(subject, Member.Counts.UPDATED))));
    h.put("HLAfederate.HLArequest.HLArequestObjectInstancesReflected", (mom, sender, subject, c, p) ->
        mom.report(subject.handle, "HLAfederate.HLAreport.HLAreportObjectInstancesReflected",
            "HLAobjectInstanceCounts", classCounts(mom.instancesOf(subject, Member.Counts.REFLECTED))));
    h.put("HLAfederate.HLArequest.HLArequestUpdatesSent", (mom, sender, subject, c, p) ->
        mom.byTransportation(subject, subject.counts.updates, "HLAreportUpdatesSent", "HLAupdateCounts"));
    h.put("HLAfederate.HLArequest.HLArequestReflectionsReceived", (mom, sender, subject, c, p) ->
        mom.byTransportation(subject, subject.counts.reflections, "HLAreportReflectionsReceived",
            "HLAreflectCounts"));
    h.put("HLAfederate.HLArequest.HLArequestInteractionsSent", (mom, sender, subject, c, p) ->
        mom.byTransportation(subject, subject.counts.interactionsSent, "HLAreportInteractionsSent",
            "HLAinteractionCounts"));
    h.put("HLAfederate.HLArequest.HLArequestInteractionsReceived", (mom, sender, subject, c, p) ->
        mom.byTransportation(subject, subject.counts.interactionsReceived, "HLAreportInteractionsReceived",
            "HLAinteractionCounts"));
    h.put("HLAfederate.HLArequest.HLArequestObjectInstanceInformation", (mom, sender, subject, c, p) -> {
      int handle = p.get("HLAobjectInstance", MomValues.Reader::handle);
      Instance instance = mom.federation.objects().instances.get(handle);
      if (instance == null) {
        throw new MomValues.Malformed("object instance " + handle + " does not exist");
      }
      Integer known = instance.knownClass.get(subject.handle);
      mom.report(subject.handle, "HLAfederate.HLAreport.HLAreportObjectInstanceInformation",
          "HLAobjectInstance", MomValues.handle(handle),
          "HLAownedInstanceAttributeList", MomValues.handles(instance.ownedBy(subject.handle).stream().toArray()),
          "HLAregisteredClass", MomValues.handle(instance.registeredClass),
          "HLAknownClass", MomValues.handle(known != null ? known : 0));
    });
    h.put("HLAfederate.HLArequest.HLArequestFOMmoduleData", (mom, sender, subject, c, p) ->
        mom.moduleData(subject.handle, "HLAfederate.HLAreport.HLAreportFOMmoduleData",
            subject.modules.stream().map(FomModule::content).toList(), p));
    // HLAfederation
    h.put("HLAfederation.HLAadjust.HLAsetSwitches", (mom, sender, subject, c, p) -> {
      mom.autoProvide = p.get("HLAautoProvide", MomValues.Reader::bool);
      mom.refresh();
    });
    h.put("HLAfederation.HLArequest.HLArequestSynchronizationPoints", (mom, sender, subject, c, p) ->
        mom.report(RTI, "HLAfederation.HLAreport.HLAreportSynchronizationPoints",
            "HLAsyncPoints", MomValues.strings(new ArrayList<>(mom.federation.syncPoints.keySet()))));
    h.put("HLAfederation.HLArequest.HLArequestSynchronizationPointStatus", (mom, sender, subject, c, p) -> {
      for (Federation.SyncPoint point : mom.federation.syncPoints.values()) {
        MomValues.Writer federates = new MomValues.Writer().int32(point.members.size());
        for (int member : point.members) {
          federates.handle(member).int32(point.waiting.contains(member) ? 2 : 3);
        }
        mom.report(RTI, "HLAfederation.HLAreport.HLAreportSynchronizationPointStatus",
            "HLAsyncPointName", MomValues.string(point.label), "HLAsyncPointFederates", federates.done());
      }
    });
    h.put("HLAfederation.HLArequest.HLArequestFOMmoduleData", (mom, sender, subject, c, p) ->
        mom.moduleData(RTI, "HLAfederation.HLAreport.HLAreportFOMmoduleData",
            mom.federation.model().modules().stream().map(FomModule::content).toList(), p));
    h.put("HLAfederation.HLArequest.HLArequestMIMdata", (mom, sender, subject, c, p) ->
        mom.report(RTI, "HLAfederation.HLAreport.HLAreportMIMdata", "HLAMIMdata",
            MomValues.string(new String(mom.federation.model().mim().content(), StandardCharsets.UTF_8))));
    return h;
  }

  /** classCounts writes HLAobjectClassBasedCounts (or HLAinteractionCounts: the same layout). */
  private static byte[] classCounts(Map<Integer, Long> counts) {
    MomValues.Writer out = new MomValues.Writer().int32(counts.size());
    counts.forEach((c, n) -> out.handle(c).int32((int) Math.min(n, Integer.MAX_VALUE)));
    return out.done();
  }

  /** byTransportation reports counts for each transportation type that has some (reliable when none has). */
  private void byTransportation(Member subject, Member.ClassCounts counts, String report, String countsName) {
    for (int transportation : new int[] {ObjectManagement.RELIABLE, ObjectManagement.BEST_EFFORT}) {
      if (counts.of(transportation).isEmpty() && (transportation == ObjectManagement.BEST_EFFORT
          || !counts.of(ObjectManagement.BEST_EFFORT).isEmpty())) {
        continue;
      }
      report(subject.handle, "HLAfederate.HLAreport." + report,
          "HLAtransportation", MomValues.string(transportation == ObjectManagement.RELIABLE ? "HLAreliable"
              : "HLAbestEffort"),
          countsName, classCounts(counts.of(transportation)));
    }
  }

  private void publications(Member subject) {
    Map<Integer, BitSet> published = new TreeMap<>();
    subject.published.forEach((c, attributes) -> {
      if (!attributes.isEmpty()) {
        published.put(c, attributes);
      }
    });
    published.forEach((c, attributes) -> report(subject.handle,
        "HLAfederate.HLAreport.HLAreportObjectClassPublication",
        "HLAnumberOfClasses", MomValues.int32(published.size()), "HLAobjectClass", MomValues.handle(c),
        "HLAattributeList", MomValues.handles(attributes.stream().toArray())));
    report(subject.handle, "HLAfederate.HLAreport.HLAreportInteractionPublication", "HLAinteractionClassList",
        MomValues.handles(subject.publishedInteractions.stream().mapToInt(Integer::intValue).sorted().toArray()));
  }

  private void subscriptions(Member subject) {
    Map<Integer, Member.Subscription> subscribed = new TreeMap<>(subject.subscribed);
    subscribed.values().removeIf(s -> s.attributes.isEmpty());
    subscribed.forEach((c, s) -> report(subject.handle, "HLAfederate.HLAreport.HLAreportObjectClassSubscription",
        "HLAnumberOfClasses", MomValues.int32(subscribed.size()), "HLAobjectClass", MomValues.handle(c),
        "HLAactive", MomValues.bool(s.active), "HLAmaxUpdateRate", MomValues.string(s.updateRate),
        "HLAattributeList", MomValues.handles(s.attributes.stream().toArray())));
    MomValues.Writer list = new MomValues.Writer().int32(subject.subscribedInteractions.size());
    new TreeMap<>(subject.subscribedInteractions).forEach((c, active) -> list.handle(c).bool(active));
    report(subject.handle, "HLAfederate.HLAreport.HLAreportInteractionSubscription", "HLAinteractionClassList",
        list.done());
  }

  private void moduleData(int subject, String report, List<byte[]> contents, MomValues.Parameters p)
      throws MomValues.Malformed {
    int index = p.get("HLAFOMmoduleIndicator", MomValues.Reader::int32);
    if (index < 0 || index >= contents.size()) {
      throw new MomValues.Malformed("HLAFOMmoduleIndicator " + index + " is not among the " + contents.size()
          + " modules (0 to " + (contents.size() - 1) + ")");
    }
    report(subject, report, "HLAFOMmoduleIndicator", MomValues.int32(index),
        "HLAFOMmoduleData", MomValues.string(new String(contents.get(index), StandardCharsets.UTF_8)));
  }
}
