package org.vantor.ostra1516e.engine;

import java.util.ArrayList;
import java.util.BitSet;
import java.util.HashMap;
import java.util.HashSet;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.function.Consumer;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.message.ObjectMessages;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.RetractionHandle;

/**
 * ObjectManagement carries a federation's object instances: names and their reservations,
 * registration and discovery, updates to reflections, interactions to receptions,
 * deletions to removals, value update requests and transportation types. Components check
 * every request against what their federate may do before they send it; the engine keeps
 * what it must to route, and drops what a race made stale (an update of an instance deleted
 * meanwhile) rather than deliver it.
 *
 * <p>Thread-safety: touched only by its federation's tasks.
 */
final class ObjectManagement {
  /** Wire numbers of order and transportation types. */
  static final int RECEIVE = 0;
  static final int TIMESTAMP = 1;
  static final int RELIABLE = 1;
  static final int BEST_EFFORT = 2;

  private final Federation federation;
  final Map<Integer, Instance> instances = new HashMap<>();
  /** The instances with attributes updated within each region. */
  private final Map<Integer, Set<Instance>> updatedWithin = new HashMap<>();
  private final Map<String, Instance> instancesByName = new HashMap<>();
  int nextInstance = 1;

  ObjectManagement(Federation federation) {
    this.federation = federation;
  }

  void clear() {
    instances.clear();
    instancesByName.clear();
    updatedWithin.clear();
    nextInstance = 1;
  }

  /** adopt takes an instance read from a save file. */
  void adopt(Instance instance) {
    instances.put(instance.handle, instance);
    instancesByName.put(instance.name, instance);
    instance.updateRegions.forEach((attribute, within) ->
        within.stream().forEach(region -> updatedWithin.computeIfAbsent(region, r -> new HashSet<>()).add(instance)));
  }

  // ---- Names ----

  private Member reservedBy(String name) {
    for (Member member : federation.members()) {
      if (member.reservedNames.contains(name)) {
        return member;
      }
    }
    return null;
  }

  void reserve(Member member, List<String> names, boolean multiple) {
    boolean free = true;
    for (String name : names) {
      free &= reservedBy(name) == null && !instancesByName.containsKey(name);
    }
    if (free) {
      member.reservedNames.addAll(names);
    }
    member.send(new ObjectMessages.NameReservation(names, multiple, free));
  }

  void release(Member member, List<String> names) {
    member.reservedNames.removeAll(names);
  }

  // ---- Registration and discovery ----

  void register(Member member, ObjectMessages.Register m, Consumer<Reply> reply) {
    FomModel model = federation.model();
    if (!member.publishes(m.objectClass())) {
      reply.accept(new Reply.Refused("ObjectClassNotPublished", "object class "
          + model.objectClassName(m.objectClass()).orElse("" + m.objectClass()) + " is not published"));
      return;
    }
    String name = m.name();
    if (name != null) {
      if (!member.reservedNames.contains(name)) {
        reply.accept(new Reply.Refused("ObjectInstanceNameNotReserved", "the name " + name
            + " is not reserved by this federate"));
        return;
      }
      if (instancesByName.containsKey(name)) {
        reply.accept(new Reply.Refused("ObjectInstanceNameInUse", "the name " + name
            + " already names an object instance"));
        return;
      }
    }
    int handle = nextInstance++;
    if (name == null) {
      name = generatedName(handle);
    }
    Instance instance = new Instance(handle, name, m.objectClass(), member.handle);
    addRegions(instance, m.regions(), true);
    BitSet published = member.published.get(m.objectClass());
    published.stream().forEach(a -> instance.owners.put(a, member.handle));
    instance.owners.put(federation.privilegeToDelete(), member.handle);
    instance.knownClass.put(member.handle, m.objectClass());
    instances.put(handle, instance);
    instancesByName.put(name, instance);
    reply.accept(new ObjectMessages.Registered(handle, name));
    member.counts.registered++;
    discoverOthers(instance, member);
    federation.advisories().refreshInstance(instance);
  }

  /**
   * registerForRti registers an object of the RTI's own (the management object model's),
   * owned by it with the given attributes and the privilege to delete it, under a name that
   * no federate can reserve; the attributes are updated within region (none: 0).
   */
  Instance registerForRti(int objectClass, String name, BitSet attributes, int region) {
    Instance instance = new Instance(nextInstance++, name, objectClass, Mom.RTI);
    attributes.stream().forEach(a -> instance.owners.put(a, Mom.RTI));
    if (region > 0) {
      addRegions(instance, attributes.stream().flatMap(a -> java.util.stream.IntStream.of(a, region)).toArray(), true);
    }
    instance.owners.put(federation.privilegeToDelete(), Mom.RTI);
    instances.put(instance.handle, instance);
    instancesByName.put(name, instance);
    discoverOthers(instance, null);
    federation.advisories().refreshInstance(instance);
    return instance;
  }

  /** associate adds or removes update regions of an instance's attributes (attribute and region pairs). */
  void associate(Member member, ObjectMessages.AssociateRegions m) {
    Instance instance = instances.get(m.object());
    if (instance != null) {
      addRegions(instance, m.regions(), m.associate());
      if (m.associate()) {
        discoverOthers(instance, member);
      }
      federation.advisories().refreshInstance(instance);
    }
  }

  private void addRegions(Instance instance, int[] pairs, boolean add) {
    for (int i = 0; pairs != null && i + 1 < pairs.length; i += 2) {
      BitSet within = instance.updateRegions.computeIfAbsent(pairs[i], a -> new BitSet());
      within.set(pairs[i + 1], add);
      if (within.isEmpty()) {
        instance.updateRegions.remove(pairs[i]);
      }
    }
    for (int i = 0; pairs != null && i + 1 < pairs.length; i += 2) {
      int region = pairs[i + 1];
      if (instance.updatesWithin(region)) {
        updatedWithin.computeIfAbsent(region, r -> new HashSet<>()).add(instance);
      } else {
        forgetUpdater(region, instance);
      }
    }
  }

  private void forgetUpdater(int region, Instance instance) {
    Set<Instance> users = updatedWithin.get(region);
    if (users != null && users.remove(instance) && users.isEmpty()) {
      updatedWithin.remove(region);
    }
  }

  /**
   * regionMoved makes what a committed region now reaches known: member, whose region it is,
   * discovers the instances updated within regions it now meets that its subscriptions
   * reach, and the instances updated within it are discovered by the subscribers they now
   * reach. Advisories follow.
   */
  void regionMoved(Member member, int region) {
    BitSet met = federation.regions().overlapping(region);
    Routes routes = federation.routes();
    for (int r = met.nextSetBit(0); r >= 0; r = met.nextSetBit(r + 1)) {
      for (Instance instance : updatedWithin.getOrDefault(r, Set.of())) {
        if (!instance.knownBy(member) && hasOtherOwner(instance, member)) {
          Routes.ObjectRoute route = routes.routeOf(member, instance.registeredClass);
          if (route != null && reachesAny(route, instance)) {
            discover(instance, route);
          }
        }
      }
    }
    for (Instance instance : updatedWithin.getOrDefault(region, Set.of())) {
      discoverOthers(instance, null);
    }
    federation.advisories().refreshInstances();
  }

  /** discoverOthers makes every member but the one given that does not know instance discover it where it reaches. */
  private void discoverOthers(Instance instance, Member except) {
    for (Routes.ObjectRoute route : federation.routes().forObjectClass(instance.registeredClass)) {
      if (route.member() != except && !instance.knownBy(route.member()) && hasOtherOwner(instance, route.member())
          && reachesAny(route, instance)) {
        discover(instance, route);
      }
    }
  }

  /**
   * passes tells whether an update of attribute of instance reaches member, which subscribes
   * it at knownClass: without regions, or within a region that overlaps one the attribute is
   * updated within (an attribute updated without regions reaches every region).
   */
  boolean passes(Member member, int knownClass, Instance instance, int attribute) {
    Member.Subscription subscription = member.subscribed.get(knownClass);
    if (subscription == null || subscription.everywhere.get(attribute)) {
      return true;
    }
    return federation.regions().reaches(instance.updateRegions.get(attribute), subscription.regions.get(attribute));
  }

  /** reachesAny tells whether some attribute of instance that route's member subscribes reaches it. */
  private boolean reachesAny(Routes.ObjectRoute route, Instance instance) {
    for (int a = route.attributes().nextSetBit(0); a >= 0; a = route.attributes().nextSetBit(a + 1)) {
      if (passes(route.member(), route.knownClass(), instance, a)) {
        return true;
      }
    }
    return false;
  }

  private String generatedName(int handle) {
    String name = "HLAobject" + handle;
    for (int n = 2; instancesByName.containsKey(name) || reservedBy(name) != null; n++) {
      name = "HLAobject" + handle + "_" + n;
    }
    return name;
  }

  private void discover(Instance instance, Routes.ObjectRoute route) {
    Member member = route.member();
    instance.knownClass.put(member.handle, route.knownClass());
    member.counts.discovered++;
    member.send(new ObjectMessages.Discover(instance.handle, route.knownClass(), instance.name,
        member.conveyProducingFederate ? instance.registrant : 0));
    if (instance.registrant == Mom.RTI) {  // the RTI's objects come with their values
      federation.post(() -> federation.mom().provide(instance, null));
    } else if (federation.mom().autoProvide) {
      askOwners(member, instance, Routes.reflected(route, instance).stream().toArray(), new byte[0]);
    }
  }

  /** discoverFor makes member discover every instance its subscriptions now reach. */
  void discoverFor(Member member) {
    Routes routes = federation.routes();
    for (Instance instance : instances.values()) {
      if (!instance.knownBy(member) && hasOtherOwner(instance, member)) {
        Routes.ObjectRoute route = routes.routeOf(member, instance.registeredClass);
        if (route != null && reachesAny(route, instance)) {
          discover(instance, route);
        }
      }
    }
  }

  private static boolean hasOtherOwner(Instance instance, Member member) {
    for (int owner : instance.owners.values()) {
      if (owner != member.handle) {
        return true;
      }
    }
    return false;
  }

  // ---- Updates and interactions ----

  void update(Member sender, ObjectMessages.Update m) {
    Instance instance = instances.get(m.object());
    if (instance == null) {
      return;  // deleted while the update was on its way
    }
    sender.updatesSent++;
    HandleValues values = m.values();
    sender.counts.updates.add(transportationOf(instance, values.size() > 0 ? values.handle(0) : 0),
        instance.registeredClass);
    instance.updatedBy.set(sender.handle);
    int[] picked = new int[values.size()];
    boolean timeStampOrder = m.sentOrder() == TIMESTAMP;
    long stamp = timeStampOrder ? federation.time().times().ordinal(m.time()) : 0;
    for (Routes.ObjectRoute route : federation.routes().forObjectClass(instance.registeredClass)) {
      Member member = route.member();
      if (member == sender) {
        continue;
      }
      BitSet subscribed = Routes.reflected(route, instance);
      Integer known = instance.knownClass.get(member.handle);
      int knownClass = known != null ? known : route.knownClass();
      int count = 0;
      for (int i = 0; subscribed != null && i < values.size(); i++) {
        if (subscribed.get(values.handle(i)) && passes(member, knownClass, instance, values.handle(i))) {
          picked[count++] = i;
        }
      }
      if (count == 0) {
        continue;
      }
      if (!instance.knownBy(member)) {
        discover(instance, route);
        federation.advisories().refreshInstance(instance);
      }
      HandleValues reflected = values.select(picked, count);
      member.reflectionsReceived++;
      instance.reflectedBy.set(member.handle);
      int producer = member.conveyProducingFederate ? sender.handle : 0;
      int[] regions = member.conveyRegionDesignatorSets ? sentRegions(member, knownClass, instance, reflected) : null;
      boolean held = timeStampOrder && member.time.constrained;
      for (HandleValues part : byTransportation(instance, reflected)) {
        int transportation = transportationOf(instance, part.handle(0));
        member.counts.reflections.add(transportation, knownClass);
        federation.time().deliver(member, new ObjectMessages.Reflect(instance.handle, part, m.tag(), m.sentOrder(),
            held ? TIMESTAMP : RECEIVE, transportation, m.time(), producer, m.retraction(), regions),
            timeStampOrder, stamp, m.retraction(), sender);
      }
    }
  }

  /**
   * sentRegions is what a reflection tells a member that asks for region designator sets:
   * the update regions of the reflected attributes that meet the member's subscription
   * regions of them (all of them where it subscribes without regions); null when none of the
   * attributes is updated within regions.
   */
  private int[] sentRegions(Member member, int knownClass, Instance instance, HandleValues reflected) {
    Member.Subscription subscription = member.subscribed.get(knownClass);
    BitSet sent = null;
    for (int i = 0; i < reflected.size(); i++) {
      int attribute = reflected.handle(i);
      BitSet within = instance.updateRegions.get(attribute);
      if (within != null) {
        sent = sent != null ? sent : new BitSet();
        federation.regions().met(within, subscription == null || subscription.everywhere.get(attribute) ? null
            : subscription.regions.get(attribute), sent);
      }
    }
    return sent == null ? null : sent.stream().toArray();
  }

  int transportationOf(Instance instance, int attribute) {
    Integer changed = instance.transportation.get(attribute);
    if (changed != null) {
      return changed;
    }
    return federation.attributeTransportation(attribute);
  }

  /** byTransportation splits values into runs of one transportation type (almost always one run). */
  private List<HandleValues> byTransportation(Instance instance, HandleValues values) {
    int first = transportationOf(instance, values.handle(0));
    boolean mixed = false;
    for (int i = 1; i < values.size() && !mixed; i++) {
      mixed = transportationOf(instance, values.handle(i)) != first;
    }
    if (!mixed) {
      return List.of(values);
    }
    List<HandleValues> parts = new ArrayList<>();
    for (int type : new int[] {RELIABLE, BEST_EFFORT}) {
      int[] picked = new int[values.size()];
      int count = 0;
      for (int i = 0; i < values.size(); i++) {
        if (transportationOf(instance, values.handle(i)) == type) {
          picked[count++] = i;
        }
      }
      if (count > 0) {
        parts.add(values.select(picked, count));
      }
    }
    return parts;
  }

  void sendInteraction(Member sender, ObjectMessages.SendInteraction m) {
    HandleValues parameters = m.parameters();
    int[] picked = new int[parameters.size()];
    boolean timeStampOrder = m.sentOrder() == TIMESTAMP;
    long stamp = timeStampOrder ? federation.time().times().ordinal(m.time()) : 0;
    Integer changed = sender.interactionTransportation.get(m.interactionClass());
    int transportation = changed != null ? changed : federation.transportationNumber(
        federation.model().interactionTransportation(m.interactionClass()).orElse(""));
    sender.interactionsSent++;
    sender.counts.interactionsSent.add(transportation, m.interactionClass());
    for (Routes.InteractionRoute route : federation.routes().forInteractionClass(m.interactionClass())) {
      Member member = route.member();
      if (member == sender || !member.interactionsEverywhere.contains(route.receivedClass())
          && !federation.regions().reaches(m.regions(), member.interactionRegions.get(route.receivedClass()))) {
        continue;
      }
      int count = 0;
      for (int i = 0; i < parameters.size(); i++) {
        if (route.parameters().get(parameters.handle(i))) {
          picked[count++] = i;
        }
      }
      boolean held = timeStampOrder && member.time.constrained;
      member.interactionsReceived++;
      member.counts.interactionsReceived.add(transportation, route.receivedClass());
      federation.time().deliver(member, new ObjectMessages.Receive(route.receivedClass(),
          parameters.select(picked, count), m.tag(), m.sentOrder(), held ? TIMESTAMP : RECEIVE, transportation,
          m.time(), member.conveyProducingFederate ? sender.handle : 0, m.retraction(),
          member.conveyRegionDesignatorSets ? m.regions() : null), timeStampOrder, stamp, m.retraction(), sender);
    }
    if (federation.mom().listensTo(m.interactionClass())) {
      federation.mom().received(sender, m);
    }
  }

  // ---- Deletion ----

  void delete(Member sender, ObjectMessages.Delete m) {
    Instance instance = instances.get(m.object());
    if (instance == null) {
      return;
    }
    remove(instance, sender, m.tag(), m.sentOrder(), m.time(), m.retraction());
  }

  /** remove deletes instance, telling every member that knows it but the deleter. */
  void remove(Instance instance, Member deleter, byte[] tag, int sentOrder, byte[] time,
      RetractionHandle retraction) {
    instances.remove(instance.handle);
    instancesByName.remove(instance.name);
    for (BitSet within : instance.updateRegions.values()) {
      within.stream().forEach(region -> forgetUpdater(region, instance));
    }
    deleter.counts.deleted++;
    for (int knower : instance.knownClass.keySet()) {
      Member member = federation.member(knower);
      if (member != null && member != deleter) {
        member.counts.removed++;
        boolean timeStampOrder = sentOrder == TIMESTAMP;
        boolean held = timeStampOrder && member.time.constrained;
        federation.time().deliver(member, new ObjectMessages.Remove(instance.handle, tag, sentOrder,
            held ? TIMESTAMP : RECEIVE, time, member.conveyProducingFederate ? deleter.handle : 0, retraction),
            timeStampOrder, timeStampOrder ? federation.time().times().ordinal(time) : 0, retraction, null);
      }
    }
  }

  void localDelete(Member member, ObjectMessages.LocalDelete m) {
    Instance instance = instances.get(m.object());
    if (instance != null) {
      instance.knownClass.remove(member.handle);
      instance.toldInScope.remove(member.handle);
    }
  }

  // ---- Value update requests ----

  void requestObjectUpdate(Member requester, ObjectMessages.RequestObjectUpdate m) {
    Instance instance = instances.get(m.object());
    if (instance != null) {
      askOwners(requester, instance, m.attributes(), m.tag());
    }
  }

  void requestClassUpdate(Member requester, ObjectMessages.RequestClassUpdate m) {
    FomModel model = federation.model();
    for (Instance instance : instances.values()) {
      if (model.isObjectSubclassOf(instance.registeredClass, m.objectClass())) {
        askOwners(requester, instance, m.regions() == null ? m.attributes() : within(instance, m.regions()), m.tag());
      }
    }
  }

  /** within is the attributes of pairs (attribute and region) that instance updates within a region meeting theirs. */
  private int[] within(Instance instance, int[] pairs) {
    Map<Integer, BitSet> asked = new HashMap<>();
    for (int i = 0; i + 1 < pairs.length; i += 2) {
      asked.computeIfAbsent(pairs[i], a -> new BitSet()).set(pairs[i + 1]);
    }
    return asked.entrySet().stream()
        .filter(e -> federation.regions().reaches(instance.updateRegions.get(e.getKey()), e.getValue()))
        .mapToInt(Map.Entry::getKey).toArray();
  }

  private void askOwners(Member requester, Instance instance, int[] attributes, byte[] tag) {
    Map<Integer, BitSet> byOwner = new HashMap<>();
    for (int attribute : attributes) {
      Integer owner = instance.owners.get(attribute);
      if (owner != null && owner != requester.handle) {
        byOwner.computeIfAbsent(owner, o -> new BitSet()).set(attribute);
      }
    }
    for (Map.Entry<Integer, BitSet> e : byOwner.entrySet()) {
      if (e.getKey() == Mom.RTI) {
        federation.mom().provide(instance, e.getValue());
        continue;
      }
      Member owner = federation.member(e.getKey());
      if (owner != null) {
        owner.send(new ObjectMessages.ProvideUpdate(instance.handle, e.getValue().stream().toArray(), tag));
      }
    }
  }

  // ---- Transportation types ----

  void changeAttributeTransportation(Member member, ObjectMessages.ChangeAttributeTransportation m) {
    Instance instance = instances.get(m.object());
    if (instance != null) {
      for (int attribute : m.attributes()) {
        instance.transportation.put(attribute, m.transportation());
      }
    }
    member.send(new ObjectMessages.AttributeTransportationChanged(m.object(), m.attributes(), m.transportation()));
  }

  void queryAttributeTransportation(Member member, ObjectMessages.QueryAttributeTransportation m) {
    Instance instance = instances.get(m.object());
    if (instance != null) {
      member.send(new ObjectMessages.AttributeTransportationReport(m.object(), m.attribute(),
          transportationOf(instance, m.attribute())));
    }
  }

  void changeInteractionTransportation(Member member, ObjectMessages.ChangeInteractionTransportation m) {
    member.interactionTransportation.put(m.interactionClass(), m.transportation());
    member.send(new ObjectMessages.InteractionTransportationChanged(m.interactionClass(), m.transportation()));
  }

  void queryInteractionTransportation(Member member, ObjectMessages.QueryInteractionTransportation m) {
    Member sender = federation.member(m.federate());
    Integer changed = sender != null ? sender.interactionTransportation.get(m.interactionClass()) : null;
    int transportation = changed != null ? changed : federation.transportationNumber(
        federation.model().interactionTransportation(m.interactionClass()).orElse(""));
    member.send(new ObjectMessages.InteractionTransportationReport(m.federate(), m.interactionClass(),
        transportation));
  }

  // ---- Resignation ----

  /**
   * resign applies a resign action (wire number) to what member owns and forgets it
   * everywhere: deleting the instances whose privilege to delete it holds and divesting the
   * rest as the action says.
   */
  void resign(Member member, int action) {
    boolean delete = action == 1 || action == 3 || action == 4;
    if (delete) {
      int privilege = federation.privilegeToDelete();
      List<Instance> doomed = new ArrayList<>();
      for (Instance instance : instances.values()) {
        Integer owner = instance.owners.get(privilege);
        if (owner != null && owner == member.handle) {
          doomed.add(instance);
        }
      }
      for (Instance instance : doomed) {
        remove(instance, member, new byte[0], RECEIVE, null, null);
      }
    }
    OwnershipManagement ownership = federation.ownership();
    ownership.cancelAll(member);
    ownership.release(member, 0, null);
    for (Instance instance : instances.values()) {
      instance.knownClass.remove(member.handle);
      instance.toldRelevant.remove(member.handle);
      instance.toldInScope.remove(member.handle);
    }
  }
}
