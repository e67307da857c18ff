package org.vantor.ostra1516e.engine;

import java.util.ArrayList;
import java.util.HashMap;
import java.util.IdentityHashMap;
import java.util.LinkedHashMap;
import java.util.LinkedHashSet;
import java.util.Map;
import java.util.Set;
import java.util.TreeSet;
import java.util.function.Consumer;
import org.vantor.ostra1516e.fom.FomException;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.message.Event;
import org.vantor.ostra1516e.message.FederationMessages;
import org.vantor.ostra1516e.message.Message;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.message.SyncMessages;

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
  private int nextFederate = 1;
  private int automaticResign = CANCEL_THEN_DELETE_THEN_DIVEST;
  private final Map<Integer, Member> members = new LinkedHashMap<>();
  private final Map<String, Member> membersByName = new HashMap<>();
  private final Map<Session, Member> membersBySession = new IdentityHashMap<>();
  private final Map<String, SyncPoint> syncPoints = new LinkedHashMap<>();

  /** Member is a joined federate. */
  private record Member(int handle, String name, String type, Session session) {
    void send(Event event) {
      session.deliver(event);
    }
  }

  /** SyncPoint is a registered synchronization point that is not yet synchronized. */
  private static final class SyncPoint {
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
    this.mailbox = new Mailbox(name);
    this.automaticResign = resignActionNumber(model.automaticResignAction());
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

  String name() {
    return name;
  }

  String timeImplementation() {
    return timeImplementation;
  }

  void post(Runnable task) {
    mailbox.post(task);
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
    boolean modelChanged = extended != model;
    model = extended;
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
    engine.forget(this);
    reply.accept(Reply.Done.INSTANCE);
  }

  /** lose resigns the federate of a session that closed while joined. */
  void lose(Session session) {
    Member member = membersBySession.get(session);
    if (member != null) {
      remove(member);
    }
  }

  private void remove(Member member) {
    members.remove(member.handle());
    membersByName.remove(member.name());
    membersBySession.remove(member.session());
    member.session().joined(null);
    for (SyncPoint point : new ArrayList<>(syncPoints.values())) {
      point.members.remove(member.handle());
      if (point.waiting.remove(member.handle())) {
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
    if (message instanceof FederationMessages.Resign) {
      remove(member);
      reply.accept(Reply.Done.INSTANCE);
    } else if (message instanceof SyncMessages.Register m) {
      register(member, m, reply);
    } else if (message instanceof SyncMessages.Achieved m) {
      achieved(member, m, reply);
    } else if (message instanceof FederationMessages.FederateHandle m) {
      Member found = membersByName.get(m.federateName());
      reply.accept(found != null ? new Reply.Number(found.handle())
          : new Reply.Refused("NameNotFound", "no federate named " + m.federateName()
              + " is joined to federation execution " + name));
    } else if (message instanceof FederationMessages.FederateName m) {
      Member found = members.get(m.federate());
      reply.accept(found != null ? new Reply.Text(found.name())
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
    if (point == null || !point.waiting.contains(member.handle())) {
      reply.accept(new Reply.Refused("SynchronizationPointLabelNotAnnounced", "synchronization point " + m.label()
          + (point == null ? " is not announced" : " was already achieved by this federate")));
      return;
    }
    point.waiting.remove(member.handle());
    if (!m.successful()) {
      point.failed.add(member.handle());
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
