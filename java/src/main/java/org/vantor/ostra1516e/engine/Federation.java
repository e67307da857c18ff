package org.vantor.ostra1516e.engine;

import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashSet;
import java.util.Arrays;
import java.util.BitSet;
import java.util.HashMap;
import java.util.IdentityHashMap;
import java.util.LinkedHashMap;
import java.util.LinkedHashSet;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.TreeSet;
import java.util.function.Consumer;
import org.vantor.ostra1516e.fom.FomException;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.message.DeclarationMessages;
import org.vantor.ostra1516e.message.Event;
import org.vantor.ostra1516e.message.FederationMessages;
import org.vantor.ostra1516e.message.Message;
import org.vantor.ostra1516e.message.MomMessages;
import org.vantor.ostra1516e.message.ObjectMessages;
import org.vantor.ostra1516e.message.OwnershipMessages;
import org.vantor.ostra1516e.message.RegionMessages;
import org.vantor.ostra1516e.message.SaveMessages;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.message.SyncMessages;
import org.vantor.ostra1516e.message.TimeMessages;
import org.vantor.ostra1516e.time.TimeRepresentation;

/**
 * Federation is one federation execution inside the engine: its model, its joined
 * federates and its synchronization points.
 *
 * <p>Thread-safety: everything but {@link #post}, {@link #name} and
 * {@link #timeImplementation} runs only as a task of the federation's own mailbox, one at a
 * time, so the state below needs no lock.
 */
final class Federation {
  /** Wire number of CANCEL_THEN_DELETE_THEN_DIVEST, the default automatic resign action. */
  static final int CANCEL_THEN_DELETE_THEN_DIVEST = 4;

  private final FederationEngine engine;
  private final String name;
  private final String timeImplementation;
  private final Mailbox mailbox;

  private FomModel model;
  private boolean destroyed;
  int nextFederate = 1;
  int automaticResign = CANCEL_THEN_DELETE_THEN_DIVEST;
  private final Map<Integer, Member> members = new LinkedHashMap<>();
  private final Map<String, Member> membersByName = new HashMap<>();
  private final Map<Session, Member> membersBySession = new IdentityHashMap<>();
  final Map<String, SyncPoint> syncPoints = new LinkedHashMap<>();
  private final Routes routes = new Routes(this);
  private final ObjectManagement objects = new ObjectManagement(this);
  private final OwnershipManagement ownership = new OwnershipManagement(this, objects);
  private final Regions regions = new Regions(this);
  private final Advisories advisories = new Advisories(this);
  private final Saves saves = new Saves(this);
  private final Restores restores = new Restores(this);
  private final TimeManagement time;
  private final Mom mom = new Mom(this);
  private int privilegeToDelete;
  private int[] attributeTransportations;
  private FomModel modelOfTransportations;

  /** SyncPoint is a registered synchronization point that is not yet synchronized. */
  static final class SyncPoint {
    final String label;
    final byte[] tag;
    final boolean wholeFederation;
    final Set<Integer> members = new LinkedHashSet<>();
    final Set<Integer> waiting = new LinkedHashSet<>();
    final Set<Integer> failed = new TreeSet<>();

    SyncPoint(String label, byte[] tag, boolean wholeFederation) {
      this.label = label;
      this.tag = tag;
      this.wholeFederation = wholeFederation;
    }
  }

  Federation(FederationEngine engine, String name, String timeImplementation, FomModel model) {
    this.engine = engine;
    this.name = name;
    this.timeImplementation = timeImplementation;
    this.model = model;
    this.mailbox = new Mailbox(name, engine.mailboxLimit());
    TimeRepresentation representation = TimeRepresentation.named(timeImplementation);
    this.time = new TimeManagement(this, representation != null ? representation
        : TimeRepresentation.named(TimeRepresentation.FLOAT));
    this.automaticResign = resignActionNumber(model.automaticResignAction());
    this.privilegeToDelete = model.attributeHandle(model.objectRoot(), "HLAprivilegeToDeleteObject");
    mom.started();
  }

  /** The wire numbers of the resign actions, by their names in an object model's switch table. */
  private static int resignActionNumber(String name) {
    switch (name) {
      case "UnconditionallyDivestAttributes": return 0;
      case "DeleteObjects": return 1;
      case "CancelPendingOwnershipAcquisitions": return 2;
      case "DeleteObjectsThenDivest": return 3;
      case "NoAction": return 5;
      default: return CANCEL_THEN_DELETE_THEN_DIVEST;
    }
  }

  // ---- What the parts share ----

  FomModel model() {
    return model;
  }

  Iterable<Member> members() {
    return members.values();
  }

  Member member(int handle) {
    return members.get(handle);
  }

  Routes routes() {
    return routes;
  }

  Regions regions() {
    return regions;
  }

  OwnershipManagement ownership() {
    return ownership;
  }

  ObjectManagement objects() {
    return objects;
  }

  Advisories advisories() {
    return advisories;
  }

  TimeManagement time() {
    return time;
  }

  Saves saves() {
    return saves;
  }

  Mom mom() {
    return mom;
  }

  int memberCount() {
    return members.size();
  }

  /** clearForRestore empties the federation's state, to be filled from a save of it made with model. */
  void clearForRestore(FomModel saved) {
    model = saved;
    members.clear();
    membersByName.clear();
    membersBySession.clear();
    syncPoints.clear();
    objects.clear();
    regions.clear();
    advisories.clear();
    time.clear();
    routes.invalidate();
  }

  /** bind gives a restored member the session of the joined federate that takes its place. */
  void bind(Member member, Session session) {
    member.session = session;
    membersBySession.put(session, member);
  }

  Restores restores() {
    return restores;
  }

  FederationEngine engine() {
    return engine;
  }

  /** adopt takes a member read from a save file, which has no session until a restore gives it one. */
  void adopt(Member member) {
    members.put(member.handle, member);
    membersByName.put(member.name, member);
  }

  /** saveFile is where this federation keeps the save of label. */
  Path saveFile(String label) {
    return engine.saveDirectory().resolve(SaveFile.fileName(name)).resolve(SaveFile.fileName(label) + ".save");
  }

  int privilegeToDelete() {
    return privilegeToDelete;
  }

  boolean anySwitchOn(int advisory) {
    for (Member member : members.values()) {
      if (member.advisories[advisory]) {
        return true;
      }
    }
    return false;
  }

  /**
   * attributeTransportation is the wire number of the transportation type the model gives
   * attribute, worked out once per model: every update asks.
   */
  int attributeTransportation(int attribute) {
    int[] numbers = attributeTransportations;
    if (numbers == null || modelOfTransportations != model) {
      numbers = new int[model.attributeCount() + 1];
      for (int a = 1; a < numbers.length; a++) {
        numbers[a] = transportationNumber(model.attributeTransportation(a).orElse(""));
      }
      attributeTransportations = numbers;
      modelOfTransportations = model;
    }
    return attribute > 0 && attribute < numbers.length ? numbers[attribute] : ObjectManagement.RELIABLE;
  }

  /** transportationNumber is the wire number of a transportation type's name (reliable unless best effort). */
  int transportationNumber(String transportation) {
    if (transportation.equals("HLAbestEffort")) {
      return ObjectManagement.BEST_EFFORT;
    }
    return model.transportationType(transportation).map(t -> t.reliable()).orElse(true)
        ? ObjectManagement.RELIABLE : ObjectManagement.BEST_EFFORT;
  }

  String name() {
    return name;
  }

  String timeImplementation() {
    return timeImplementation;
  }

  void post(Runnable task) {
    mailbox.post(task);
  }

  /** queued is the number of messages waiting in the federation's mailbox; any thread may ask. */
  int queued() {
    return mailbox.queued();
  }

  // ---- Federation management ----

  void join(Session session, FederationMessages.Join m, Consumer<Reply> reply) {
    if (destroyed) {
      reply.accept(FederationEngine.doesNotExist(name));
      return;
    }
    if (session.federation() != null || membersBySession.containsKey(session)) {
      reply.accept(new Reply.Refused("FederateAlreadyExecutionMember", "already joined to a federation execution"));
      return;
    }
    if (saves.inProgress()) {
      reply.accept(new Reply.Refused("SaveInProgress", "federation execution " + name + " is saving "
          + saves.label() + "; join when the save has ended"));
      return;
    }
    if (restores.inProgress()) {
      reply.accept(new Reply.Refused("RestoreInProgress", "federation execution " + name + " is being restored;"
          + " join when the restore has ended"));
      return;
    }
    if (m.federateName() != null && membersByName.containsKey(m.federateName())) {
      reply.accept(new Reply.Refused("FederateNameAlreadyInUse", "a federate named " + m.federateName()
          + " is already joined to federation execution " + name));
      return;
    }
    FomModel extended = model;
    if (!m.modules().isEmpty()) {
      try {
        extended = model.extend(m.modules());
      } catch (FomException e) {
        reply.accept(new Reply.Refused("InconsistentFDD", e.getMessage()));
        return;
      }
    }
    int handle = nextFederate++;
    String federateName = m.federateName() != null ? m.federateName() : generatedName(m.federateType(), handle);
    Member member = new Member(handle, federateName, m.federateType(), session);
    member.modules = List.copyOf(m.modules());
    boolean modelChanged = extended != model;
    model = extended;
    member.advisories[Member.OBJECT_CLASS_RELEVANCE] = model.switchEnabled("objectClassRelevanceAdvisory");
    member.advisories[Member.ATTRIBUTE_RELEVANCE] = model.switchEnabled("attributeRelevanceAdvisory");
    member.advisories[Member.ATTRIBUTE_SCOPE] = model.switchEnabled("attributeScopeAdvisory");
    member.advisories[Member.INTERACTION_RELEVANCE] = model.switchEnabled("interactionRelevanceAdvisory");
    member.conveyProducingFederate = model.switchEnabled("conveyProducingFederate");
    member.conveyRegionDesignatorSets = model.switchEnabled("conveyRegionDesignatorSets");
    member.time = new TimeManagement.TimeState(time.times().initial());
    routes.invalidate();
    members.put(handle, member);
    membersByName.put(federateName, member);
    membersBySession.put(session, member);
    session.joined(this);
    reply.accept(new Reply.Joined(handle, federateName, timeImplementation, model));

    if (modelChanged) {
      Event changed = new FederationMessages.ModelExtended(model);
      for (Member other : members.values()) {
        if (other != member) {
          other.send(changed);
        }
      }
    }
    for (SyncPoint point : syncPoints.values()) {
      if (point.wholeFederation) {
        point.members.add(handle);
        point.waiting.add(handle);
        member.send(new SyncMessages.Announce(point.label, point.tag));
      }
    }
    mom.joined(member);
  }

  private String generatedName(String type, int handle) {
    String base = (type == null || type.isEmpty() ? "federate" : type) + "-" + handle;
    String candidate = base;
    for (int n = 2; membersByName.containsKey(candidate); n++) {
      candidate = base + "-" + n;
    }
    return candidate;
  }

  void destroy(Consumer<Reply> reply) {
    if (destroyed) {
      reply.accept(FederationEngine.doesNotExist(name));
      return;
    }
    if (!members.isEmpty()) {
      reply.accept(new Reply.Refused("FederatesCurrentlyJoined", "federation execution " + name
          + " still has joined federates: " + String.join(", ", membersByName.keySet())));
      return;
    }
    destroyed = true;
    mom.stopped();
    engine.forget(this);
    reply.accept(Reply.Done.INSTANCE);
  }

  /** lose resigns the federate of a session that closed while joined, by the automatic resign directive. */
  void lose(Session session) {
    Member member = membersBySession.get(session);
    if (member != null) {
      remove(member, automaticResign, true);
      mom.refreshAll();
    }
  }

  private void remove(Member member, int resignAction, boolean lost) {
    mom.left(member, lost, "its connection to the RTI closed or stopped answering");
    objects.resign(member, resignAction);
    regions.forget(member);
    members.remove(member.handle);
    membersByName.remove(member.name);
    membersBySession.remove(member.session);
    member.session.joined(null);
    routes.invalidate();
    advisories.forget(member);
    advisories.refreshAll();
    time.forget(member);
    saves.left(member, lost);
    restores.left(member, lost);
    saves.timeMoved();
    time.grant();
    for (SyncPoint point : new ArrayList<>(syncPoints.values())) {
      point.members.remove(member.handle);
      if (point.waiting.remove(member.handle)) {
        completeIfSynchronized(point);
      }
    }
  }

  // ---- Messages of joined federates ----

  void handle(Session session, Message message, Consumer<Reply> reply) {
    Member member = membersBySession.get(session);
    if (member == null) {
      reply.accept(new Reply.Refused("FederateNotExecutionMember", "not joined to federation execution " + name));
      return;
    }
    if (message instanceof ObjectMessages.Update m) {
      objects.update(member, m);
    } else if (message instanceof ObjectMessages.SendInteraction m) {
      objects.sendInteraction(member, m);
    } else if (message instanceof DeclarationMessages.PublishObjectClass
        || message instanceof DeclarationMessages.UnpublishObjectClass
        || message instanceof DeclarationMessages.PublishInteractionClass
        || message instanceof DeclarationMessages.UnpublishInteractionClass
        || message instanceof DeclarationMessages.SubscribeObjectClass
        || message instanceof DeclarationMessages.UnsubscribeObjectClass
        || message instanceof DeclarationMessages.SubscribeInteractionClass
        || message instanceof DeclarationMessages.UnsubscribeInteractionClass
        || message instanceof DeclarationMessages.SetAdvisorySwitch) {
      declare(member, message);
    } else if (message instanceof TimeMessages.AdvanceRequest
        || message instanceof TimeMessages.EnableRegulation
        || message instanceof TimeMessages.DisableRegulation
        || message instanceof TimeMessages.EnableConstrained
        || message instanceof TimeMessages.DisableConstrained
        || message instanceof TimeMessages.ModifyLookahead
        || message instanceof TimeMessages.AsynchronousDelivery
        || message instanceof TimeMessages.Retract) {
      time.handle(member, message);
      saves.timeMoved();
      mom.changed(member);
      mom.refresh();
    } else if (message instanceof TimeMessages.QueryGalt) {
      org.vantor.ostra1516e.time.Bound galt = time.galt(member);
      reply.accept(new TimeMessages.Time(galt == null ? null : time.times().encode(galt.time())));
    } else if (message instanceof TimeMessages.QuerySendBound) {
      org.vantor.ostra1516e.time.Bound bound = time.sendBound(member);
      reply.accept(new TimeMessages.SendBound(time.times().encode(bound.time()), bound.strict()));
    } else if (message instanceof TimeMessages.QueryLits) {
      Long lits = time.lits(member);
      reply.accept(new TimeMessages.Time(lits == null ? null : time.times().encode(lits)));
    } else if (message instanceof ObjectMessages.Register m) {
      objects.register(member, m, reply);
    } else if (message instanceof SaveMessages.RequestSave m) {
      saves.request(member, m, reply);
      mom.refreshAll();
    } else if (message instanceof SaveMessages.SaveBegun) {
      saves.begun(member);
    } else if (message instanceof SaveMessages.SaveComplete m) {
      saves.complete(member, m);
      mom.refreshAll();
    } else if (message instanceof SaveMessages.AbortSave) {
      saves.abort(reply);
      mom.refreshAll();
    } else if (message instanceof SaveMessages.QuerySaveStatus) {
      saves.query(member);
    } else if (message instanceof SaveMessages.RequestRestore m) {
      restores.request(member, m, reply);
      mom.refreshAll();
    } else if (message instanceof SaveMessages.RestoreComplete m) {
      restores.complete(member, m);
      mom.refreshAll();
    } else if (message instanceof SaveMessages.AbortRestore) {
      restores.abort(reply);
      mom.refreshAll();
    } else if (message instanceof SaveMessages.QueryRestoreStatus) {
      restores.query(member);
    } else if (message instanceof OwnershipMessages.Divest m) {
      ownership.divest(member, m, reply);
    } else if (message instanceof OwnershipMessages.Acquire m) {
      ownership.acquire(member, m, reply);
    } else if (message instanceof OwnershipMessages.QueryOwnership m) {
      ownership.query(member, m);
    } else if (message instanceof RegionMessages.CreateRegion m) {
      regions.create(member, m, reply);
    } else if (message instanceof RegionMessages.CommitRegion m) {
      if (regions.commit(member, m)) {
        objects.regionMoved(member, m.region());
      }
    } else if (message instanceof RegionMessages.DeleteRegion m) {
      regions.delete(member, m);
    } else if (message instanceof RegionMessages.QueryRegion m) {
      regions.query(m, reply);
    } else if (message instanceof ObjectMessages.Delete m) {
      objects.delete(member, m);
    } else if (message instanceof ObjectMessages.AssociateRegions m) {
      objects.associate(member, m);
    } else if (message instanceof ObjectMessages.LocalDelete m) {
      objects.localDelete(member, m);
    } else if (message instanceof ObjectMessages.ReserveName m) {
      objects.reserve(member, List.of(m.name()), false);
    } else if (message instanceof ObjectMessages.ReserveNames m) {
      objects.reserve(member, m.names(), true);
    } else if (message instanceof ObjectMessages.ReleaseNames m) {
      objects.release(member, m.names());
    } else if (message instanceof ObjectMessages.RequestObjectUpdate m) {
      objects.requestObjectUpdate(member, m);
    } else if (message instanceof ObjectMessages.RequestClassUpdate m) {
      objects.requestClassUpdate(member, m);
    } else if (message instanceof ObjectMessages.ChangeAttributeTransportation m) {
      objects.changeAttributeTransportation(member, m);
    } else if (message instanceof ObjectMessages.QueryAttributeTransportation m) {
      objects.queryAttributeTransportation(member, m);
    } else if (message instanceof ObjectMessages.ChangeInteractionTransportation m) {
      objects.changeInteractionTransportation(member, m);
    } else if (message instanceof ObjectMessages.QueryInteractionTransportation m) {
      objects.queryInteractionTransportation(member, m);
    } else if (message instanceof MomMessages.ActFailed m) {
      mom.actFailed(member, m);
    } else if (message instanceof MomMessages.ServiceInvoked m) {
      mom.serviceInvoked(member, m);
    } else if (message instanceof MomMessages.ExceptionGiven m) {
      mom.exceptionGiven(member, m);
    } else if (message instanceof FederationMessages.Resign m) {
      // Only the actions that cancel pending acquisitions (2, 4) may leave with some pending.
      if (m.action() != 2 && m.action() != 4 && ownership.acquiring(member)) {
        reply.accept(new Reply.Refused("OwnershipAcquisitionPending", "this federate is still acquiring attributes; "
            + "cancel the acquisitions or resign with an action that cancels them"));
        return;
      }
      remove(member, m.action(), false);
      reply.accept(Reply.Done.INSTANCE);
      mom.refreshAll();
    } else if (message instanceof SyncMessages.Register m) {
      register(member, m, reply);
    } else if (message instanceof SyncMessages.Achieved m) {
      achieved(member, m, reply);
    } else if (message instanceof FederationMessages.FederateHandle m) {
      Member found = membersByName.get(m.federateName());
      reply.accept(found != null ? new Reply.Number(found.handle)
          : new Reply.Refused("NameNotFound", "no federate named " + m.federateName()
              + " is joined to federation execution " + name));
    } else if (message instanceof FederationMessages.FederateName m) {
      Member found = members.get(m.federate());
      reply.accept(found != null ? new Reply.Text(found.name)
          : new Reply.Refused("FederateHandleNotKnown", "federate handle " + m.federate()
              + " is not a federate joined to federation execution " + name));
    } else if (message instanceof FederationMessages.GetAutomaticResign) {
      reply.accept(new Reply.Number(automaticResign));
    } else if (message instanceof FederationMessages.SetAutomaticResign m) {
      automaticResign = m.action();
      reply.accept(Reply.Done.INSTANCE);
    } else {
      reply.accept(new Reply.Refused("RTIinternalError", "the federation engine does not handle " + message));
    }
  }

  // ---- Declarations ----

  /** declare carries out a declaration and everything that follows from it. */
  private void declare(Member member, Message message) {
    if (message instanceof DeclarationMessages.PublishObjectClass m) {
      BitSet published = member.published.computeIfAbsent(m.objectClass(), c -> new BitSet());
      for (int attribute : m.attributes()) {
        published.set(attribute);
      }
    } else if (message instanceof DeclarationMessages.UnpublishObjectClass m) {
      BitSet published = member.published.get(m.objectClass());
      if (published != null) {
        if (m.attributes() == null) {
          member.published.remove(m.objectClass());
        } else {
          for (int attribute : m.attributes()) {
            published.clear(attribute);
          }
        }
      }
      ownership.release(member, m.objectClass(), m.attributes());
    } else if (message instanceof DeclarationMessages.PublishInteractionClass m) {
      member.publishedInteractions.add(m.interactionClass());
    } else if (message instanceof DeclarationMessages.UnpublishInteractionClass m) {
      member.publishedInteractions.remove(m.interactionClass());
    } else if (message instanceof DeclarationMessages.SubscribeObjectClass m) {
      Member.Subscription subscription = member.subscribed.computeIfAbsent(m.objectClass(),
          c -> new Member.Subscription());
      for (int attribute : m.attributes()) {
        subscription.attributes.set(attribute);
        if (m.regions() == null) {
          subscription.everywhere.set(attribute);
        }
      }
      for (int i = 0; m.regions() != null && i + 1 < m.regions().length; i += 2) {
        subscription.regions.computeIfAbsent(m.regions()[i], a -> new BitSet()).set(m.regions()[i + 1]);
      }
      subscription.active = m.active();
      subscription.updateRate = m.updateRate();
      routes.invalidate();
      objects.discoverFor(member);
    } else if (message instanceof DeclarationMessages.UnsubscribeObjectClass m) {
      Member.Subscription subscription = member.subscribed.get(m.objectClass());
      if (subscription != null) {
        if (m.attributes() == null) {
          member.subscribed.remove(m.objectClass());
        } else if (m.regions() == null) {
          for (int attribute : m.attributes()) {
            subscription.attributes.clear(attribute);
            subscription.everywhere.clear(attribute);
            subscription.regions.remove(attribute);
          }
        } else {
          for (int i = 0; i + 1 < m.regions().length; i += 2) {
            int attribute = m.regions()[i];
            BitSet within = subscription.regions.get(attribute);
            if (within != null) {
              within.clear(m.regions()[i + 1]);
            }
            if (within != null && within.isEmpty()) {
              subscription.regions.remove(attribute);
              if (!subscription.everywhere.get(attribute)) {
                subscription.attributes.clear(attribute);
              }
            }
          }
        }
      }
      routes.invalidate();
    } else if (message instanceof DeclarationMessages.SubscribeInteractionClass m) {
      member.subscribedInteractions.put(m.interactionClass(), m.active());
      if (m.regions() == null) {
        member.interactionsEverywhere.add(m.interactionClass());
      } else {
        BitSet within = member.interactionRegions.computeIfAbsent(m.interactionClass(), c -> new BitSet());
        Arrays.stream(m.regions()).forEach(within::set);
      }
      routes.invalidate();
    } else if (message instanceof DeclarationMessages.UnsubscribeInteractionClass m) {
      BitSet within = member.interactionRegions.get(m.interactionClass());
      if (m.regions() == null) {
        member.interactionsEverywhere.remove(m.interactionClass());
        within = null;
      } else if (within != null) {
        Arrays.stream(m.regions()).forEach(within::clear);
      }
      if (within == null || within.isEmpty()) {
        member.interactionRegions.remove(m.interactionClass());
        if (!member.interactionsEverywhere.contains(m.interactionClass())) {
          member.subscribedInteractions.remove(m.interactionClass());
        }
      }
      routes.invalidate();
    } else if (message instanceof DeclarationMessages.SetAdvisorySwitch m) {
      member.advisories[m.advisory()] = m.on();
    }
    advisories.refreshAll();
  }

  // ---- Synchronization points ----

  private void register(Member registrant, SyncMessages.Register m, Consumer<Reply> reply) {
    boolean allJoined = true;
    for (int handle : m.federates()) {
      if (handle <= 0 || handle >= nextFederate) {
        reply.accept(new Reply.Refused("InvalidFederateHandle", "federate handle " + handle
            + " was never issued in federation execution " + name));
        return;
      }
      allJoined &= members.containsKey(handle);
    }
    reply.accept(Reply.Done.INSTANCE);
    if (syncPoints.containsKey(m.label())) {
      registrant.send(new SyncMessages.RegistrationFailed(m.label(), SyncMessages.LABEL_NOT_UNIQUE));
      return;
    }
    if (!allJoined) {
      registrant.send(new SyncMessages.RegistrationFailed(m.label(), SyncMessages.SET_MEMBER_NOT_JOINED));
      return;
    }
    SyncPoint point = new SyncPoint(m.label(), m.tag(), m.federates().length == 0);
    if (point.wholeFederation) {
      point.members.addAll(members.keySet());
    } else {
      for (int handle : m.federates()) {
        point.members.add(handle);
      }
    }
    point.waiting.addAll(point.members);
    syncPoints.put(point.label, point);
    registrant.send(new SyncMessages.RegistrationSucceeded(m.label()));
    Event announce = new SyncMessages.Announce(point.label, point.tag);
    for (int handle : point.members) {
      members.get(handle).send(announce);
    }
  }

  private void achieved(Member member, SyncMessages.Achieved m, Consumer<Reply> reply) {
    SyncPoint point = syncPoints.get(m.label());
    if (point == null || !point.waiting.contains(member.handle)) {
      reply.accept(new Reply.Refused("SynchronizationPointLabelNotAnnounced", "synchronization point " + m.label()
          + (point == null ? " is not announced" : " was already achieved by this federate")));
      return;
    }
    point.waiting.remove(member.handle);
    if (!m.successful()) {
      point.failed.add(member.handle);
    }
    reply.accept(Reply.Done.INSTANCE);
    completeIfSynchronized(point);
  }

  private void completeIfSynchronized(SyncPoint point) {
    if (!point.waiting.isEmpty()) {
      return;
    }
    syncPoints.remove(point.label);
    int[] failed = point.failed.stream().mapToInt(Integer::intValue).toArray();
    Event done = new SyncMessages.Synchronized(point.label, failed);
    for (int handle : point.members) {
      Member member = members.get(handle);
      if (member != null) {
        member.send(done);
      }
    }
  }
}
