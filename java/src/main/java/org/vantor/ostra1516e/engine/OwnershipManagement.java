package org.vantor.ostra1516e.engine;

import java.util.ArrayList;
import java.util.Arrays;
import java.util.BitSet;
import java.util.Iterator;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.function.Consumer;
import org.vantor.ostra1516e.message.OwnershipMessages;
import org.vantor.ostra1516e.message.OwnershipMessages.Acquire;
import org.vantor.ostra1516e.message.OwnershipMessages.Divest;
import org.vantor.ostra1516e.message.Reply;

/**
 * OwnershipManagement decides who owns each attribute of each instance. Every attribute has
 * one owner or none; its owner may be divesting it by negotiation; federates that asked for
 * it wait in a queue, first come first. A transfer takes the first waiting federate still
 * joined; an attribute nobody waits for becomes unowned and is offered to the federates that
 * could own it. Because the federation's tasks run one at a time, two federates racing for
 * an attribute, or an acquisition crossing a divestiture, end with exactly one owner or none,
 * and each federate is told which.
 *
 * <p>Thread-safety: touched only by its federation's tasks.
 */
final class OwnershipManagement {
  private static final byte[] NO_TAG = new byte[0];

  private final Federation federation;
  private final ObjectManagement objects;

  OwnershipManagement(Federation federation, ObjectManagement objects) {
    this.federation = federation;
    this.objects = objects;
  }

  /** Notices gathers the callbacks a change causes, one per member, kind and tag. */
  private final class Notices {
    private record Key(int member, int kind, byte[] tag) {}

    private final Map<Key, BitSet> byKey = new LinkedHashMap<>();

    void add(int member, int kind, byte[] tag, int attribute) {
      for (Map.Entry<Key, BitSet> e : byKey.entrySet()) {
        Key k = e.getKey();
        if (k.member == member && k.kind == kind && Arrays.equals(k.tag, tag)) {
          e.getValue().set(attribute);
          return;
        }
      }
      BitSet set = new BitSet();
      set.set(attribute);
      byKey.put(new Key(member, kind, tag), set);
    }

    void send(Instance instance) {
      for (Map.Entry<Key, BitSet> e : byKey.entrySet()) {
        Member member = federation.member(e.getKey().member);
        if (member != null) {
          member.send(new OwnershipMessages.Ownership(e.getKey().kind, instance.handle, e.getValue().stream().toArray(),
              e.getKey().tag));
        }
      }
    }
  }

  private static Reply refused(String exception, String message) {
    return new Reply.Refused(exception, message);
  }

  private String describe(Instance instance, int attribute) {
    return "attribute " + federation.model().attributeName(instance.registeredClass, attribute).orElse("" + attribute)
        + " of object instance " + instance.name;
  }

  void divest(Member member, Divest m, Consumer<Reply> reply) {
    Instance instance = objects.instances.get(m.object());
    if (instance == null) {
      reply.accept(refused("ObjectInstanceNotKnown", "object instance " + m.object() + " was deleted"));
      return;
    }
    for (int attribute : m.attributes()) {
      Integer owner = instance.owners.get(attribute);
      if (owner == null || owner != member.handle) {
        reply.accept(refused("AttributeNotOwned", describe(instance, attribute) + " is not owned by this federate"));
        return;
      }
      boolean divesting = instance.divesting.containsKey(attribute);
      if (m.kind() == OwnershipMessages.NEGOTIATED && divesting) {
        reply.accept(refused("AttributeAlreadyBeingDivested", describe(instance, attribute)
            + " is already being divested by negotiation"));
        return;
      }
      if ((m.kind() == OwnershipMessages.CONFIRM || m.kind() == OwnershipMessages.CANCEL_NEGOTIATED) && !divesting) {
        reply.accept(refused("AttributeDivestitureWasNotRequested", describe(instance, attribute)
            + " is not being divested by negotiation"));
        return;
      }
      if (m.kind() == OwnershipMessages.CONFIRM && !waitedFor(instance, attribute)) {
        reply.accept(refused("NoAcquisitionPending", "no federate is acquiring " + describe(instance, attribute)));
        return;
      }
    }
    Notices notices = new Notices();
    List<Integer> gone = new ArrayList<>();
    switch (m.kind()) {
      case OwnershipMessages.UNCONDITIONAL -> {
        for (int attribute : m.attributes()) {
          transfer(instance, attribute, member, notices);
          gone.add(attribute);
        }
      }
      case OwnershipMessages.NEGOTIATED -> {
        for (int attribute : m.attributes()) {
          instance.divesting.put(attribute, m.tag());
          if (waitedFor(instance, attribute)) {
            notices.add(member.handle, OwnershipMessages.CONFIRMATION_REQUESTED, NO_TAG, attribute);
          } else {
            offer(instance, attribute, member, m.tag(), notices);
          }
        }
      }
      case OwnershipMessages.CONFIRM, OwnershipMessages.IF_WANTED -> {
        for (int attribute : m.attributes()) {
          if (waitedFor(instance, attribute)) {
            transfer(instance, attribute, member, notices);
            gone.add(attribute);
          }
        }
      }
      case OwnershipMessages.CANCEL_NEGOTIATED -> {
        for (int attribute : m.attributes()) {
          instance.divesting.remove(attribute);
        }
      }
      case OwnershipMessages.RELEASE_DENIED -> {
        for (int attribute : m.attributes()) {
          LinkedHashMap<Integer, byte[]> waiting = instance.acquirers.remove(attribute);
          if (waiting != null) {
            for (int acquirer : waiting.keySet()) {
              notices.add(acquirer, OwnershipMessages.UNAVAILABLE, NO_TAG, attribute);
            }
          }
        }
      }
      default -> {
        reply.accept(refused("RTIinternalError", "unknown way of divesting: " + m.kind()));
        return;
      }
    }
    notices.send(instance);
    reply.accept(new OwnershipMessages.Divested(gone.stream().mapToInt(Integer::intValue).toArray()));
  }

  void acquire(Member member, Acquire m, Consumer<Reply> reply) {
    Instance instance = objects.instances.get(m.object());
    if (instance == null) {
      reply.accept(refused("ObjectInstanceNotKnown", "object instance " + m.object() + " was deleted"));
      return;
    }
    boolean cancel = m.kind() == OwnershipMessages.CANCEL_ACQUISITION;
    for (int attribute : m.attributes()) {
      Integer owner = instance.owners.get(attribute);
      if (owner != null && owner == member.handle) {
        reply.accept(cancel
            ? refused("AttributeAlreadyOwned", describe(instance, attribute) + " is already owned by this federate")
            : refused("FederateOwnsAttributes", describe(instance, attribute) + " is already owned by this federate"));
        return;
      }
      boolean pending = instance.acquirers.getOrDefault(attribute, new LinkedHashMap<>()).containsKey(member.handle);
      if (cancel && !pending) {
        reply.accept(refused("AttributeAcquisitionWasNotRequested", "this federate is not acquiring "
            + describe(instance, attribute)));
        return;
      }
      if (m.kind() == OwnershipMessages.IF_AVAILABLE && pending) {
        reply.accept(refused("AttributeAlreadyBeingAcquired", "this federate is already acquiring "
            + describe(instance, attribute)));
        return;
      }
    }
    Notices notices = new Notices();
    for (int attribute : m.attributes()) {
      Integer owner = instance.owners.get(attribute);
      if (cancel) {
        instance.acquirers.get(attribute).remove(member.handle);
        notices.add(member.handle, OwnershipMessages.CANCELLATION_CONFIRMED, NO_TAG, attribute);
      } else if (owner == null) {
        instance.owners.put(attribute, member.handle);
        notices.add(member.handle, OwnershipMessages.ACQUIRED, m.kind() == OwnershipMessages.ACQUIRE ? m.tag() : NO_TAG,
            attribute);
      } else if (m.kind() == OwnershipMessages.IF_AVAILABLE) {
        notices.add(member.handle, OwnershipMessages.UNAVAILABLE, NO_TAG, attribute);
      } else {
        instance.acquirers.computeIfAbsent(attribute, a -> new LinkedHashMap<>()).put(member.handle, m.tag());
        if (instance.divesting.containsKey(attribute)) {
          notices.add(owner, OwnershipMessages.CONFIRMATION_REQUESTED, NO_TAG, attribute);
        } else {
          notices.add(owner, OwnershipMessages.RELEASE_REQUESTED, m.tag(), attribute);
        }
      }
    }
    // The callbacks first: across a server the caller's own then reach its component before the answer.
    notices.send(instance);
    reply.accept(Reply.Done.INSTANCE);
  }

  void query(Member member, OwnershipMessages.QueryOwnership m) {
    Instance instance = objects.instances.get(m.object());
    if (instance != null) {
      Integer owner = instance.owners.get(m.attribute());
      member.send(new OwnershipMessages.Owner(m.object(), m.attribute(), owner == null ? 0
          : owner == Mom.RTI ? OwnershipMessages.OWNED_BY_RTI : owner));
    }
  }

  /**
   * release gives up the attributes member owns (of the instances it knows as objectClass,
   * or all of them when objectClass is 0; only the given attributes unless that is null),
   * as unpublishing and resigning do: each goes to the federate waiting for it, or becomes
   * unowned.
   */
  void release(Member member, int objectClass, int[] attributes) {
    for (Instance instance : objects.instances.values()) {
      Integer known = instance.knownClass.get(member.handle);
      if (objectClass != 0 && (known == null || known != objectClass)) {
        continue;
      }
      Notices notices = new Notices();
      List<Integer> owned = new ArrayList<>();
      for (Map.Entry<Integer, Integer> e : instance.owners.entrySet()) {
        if (e.getValue() == member.handle
            && (attributes == null || Arrays.stream(attributes).anyMatch(a -> a == e.getKey()))) {
          owned.add(e.getKey());
        }
      }
      for (int attribute : owned) {
        transfer(instance, attribute, member, notices);
      }
      notices.send(instance);
    }
  }

  /** cancelAll drops every acquisition member is waiting for, silently: it is leaving. */
  void cancelAll(Member member) {
    for (Instance instance : objects.instances.values()) {
      for (LinkedHashMap<Integer, byte[]> waiting : instance.acquirers.values()) {
        waiting.remove(member.handle);
      }
    }
  }

  /** acquiring tells whether member waits to acquire any attribute at all. */
  boolean acquiring(Member member) {
    for (Instance instance : objects.instances.values()) {
      for (LinkedHashMap<Integer, byte[]> waiting : instance.acquirers.values()) {
        if (waiting.containsKey(member.handle)) {
          return true;
        }
      }
    }
    return false;
  }

  private boolean waitedFor(Instance instance, int attribute) {
    LinkedHashMap<Integer, byte[]> waiting = instance.acquirers.get(attribute);
    if (waiting == null) {
      return false;
    }
    waiting.keySet().removeIf(m -> federation.member(m) == null);
    return !waiting.isEmpty();
  }

  /** transfer passes attribute from its owner to the first federate waiting for it, or leaves it unowned. */
  private void transfer(Instance instance, int attribute, Member from, Notices notices) {
    instance.divesting.remove(attribute);
    LinkedHashMap<Integer, byte[]> waiting = instance.acquirers.get(attribute);
    if (waiting != null) {
      for (Iterator<Map.Entry<Integer, byte[]>> it = waiting.entrySet().iterator(); it.hasNext();) {
        Map.Entry<Integer, byte[]> next = it.next();
        it.remove();
        if (federation.member(next.getKey()) != null) {
          instance.owners.put(attribute, next.getKey());
          notices.add(next.getKey(), OwnershipMessages.ACQUIRED, next.getValue(), attribute);
          if (waiting.isEmpty()) {
            instance.acquirers.remove(attribute);
          }
          return;
        }
      }
      instance.acquirers.remove(attribute);
    }
    instance.owners.remove(attribute);
    offer(instance, attribute, from, NO_TAG, notices);
  }

  /** offer asks the federates that could own attribute (they know the instance and publish it) to assume it. */
  private void offer(Instance instance, int attribute, Member from, byte[] tag, Notices notices) {
    for (Map.Entry<Integer, Integer> e : instance.knownClass.entrySet()) {
      Member member = federation.member(e.getKey());
      if (member == null || member == from) {
        continue;
      }
      BitSet published = member.published.get(e.getValue());
      // The privilege to delete comes with publishing the class.
      if (published != null && (published.get(attribute)
          || attribute == federation.privilegeToDelete() && !published.isEmpty())) {
        notices.add(member.handle, OwnershipMessages.ASSUMPTION_REQUESTED, tag, attribute);
      }
    }
  }
}
