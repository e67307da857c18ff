package org.vantor.ostra1516e.engine;

import java.util.BitSet;
import java.util.HashMap;
import java.util.Map;
import java.util.Set;
import org.vantor.ostra1516e.message.DeclarationMessages;

/**
 * Advisories tells federates, each as its switches ask, when what they publish or own
 * becomes relevant to others or stops being so, and when attributes of instances they know
 * come into or go out of scope. Each advisory is sent when its answer changes, never again
 * with the same answer.
 *
 * <ul>
 *   <li>object class relevance: another member's subscription reaches a class the member
 *       publishes (it would discover instances the member registers);
 *   <li>interaction relevance: another member receives a class the member publishes;
 *   <li>attribute relevance: another member receives updates of attributes the member owns
 *       (where regions are used, their update and subscription regions meet);
 *   <li>attribute scope: attributes of an instance the member knows and subscribes are owned
 *       by another member, and their update regions meet the member's subscription regions.
 * </ul>
 *
 * <p>Thread-safety: touched only by its federation's tasks.
 */
final class Advisories {
  private final Federation federation;
  /** Classes last said relevant, by member handle. */
  final Map<Integer, Set<Integer>> relevantClasses = new HashMap<>();
  final Map<Integer, Set<Integer>> relevantInteractions = new HashMap<>();

  Advisories(Federation federation) {
    this.federation = federation;
  }

  /** refreshAll re-evaluates every advisory, after declarations or membership changed. */
  void refreshAll() {
    for (Member member : federation.members()) {
      refreshClasses(member);
      refreshInteractions(member);
    }
    for (Instance instance : federation.objects().instances.values()) {
      refreshInstance(instance);
    }
  }

  void clear() {
    relevantClasses.clear();
    relevantInteractions.clear();
  }

  void forget(Member member) {
    relevantClasses.remove(member.handle);
    relevantInteractions.remove(member.handle);
  }

  private void refreshClasses(Member member) {
    Set<Integer> told = relevantClasses.computeIfAbsent(member.handle, h -> new java.util.HashSet<>());
    if (!member.advisories[Member.OBJECT_CLASS_RELEVANCE]) {
      told.clear();
      return;
    }
    Routes routes = federation.routes();
    for (Map.Entry<Integer, BitSet> e : member.published.entrySet()) {
      int objectClass = e.getKey();
      boolean relevant = false;
      if (!e.getValue().isEmpty()) {
        for (Routes.ObjectRoute route : routes.forObjectClass(objectClass)) {
          relevant |= route.member() != member && route.active();
        }
      }
      if (relevant != told.contains(objectClass)) {
        if (relevant) {
          told.add(objectClass);
        } else {
          told.remove(objectClass);
        }
        member.send(new DeclarationMessages.ObjectClassRelevance(objectClass, relevant));
      }
    }
    told.retainAll(member.published.keySet());
  }

  private void refreshInteractions(Member member) {
    Set<Integer> told = relevantInteractions.computeIfAbsent(member.handle, h -> new java.util.HashSet<>());
    if (!member.advisories[Member.INTERACTION_RELEVANCE]) {
      told.clear();
      return;
    }
    Routes routes = federation.routes();
    for (int interactionClass : member.publishedInteractions) {
      boolean relevant = false;
      for (Routes.InteractionRoute route : routes.forInteractionClass(interactionClass)) {
        relevant |= route.member() != member && route.active();
      }
      if (relevant != told.contains(interactionClass)) {
        if (relevant) {
          told.add(interactionClass);
        } else {
          told.remove(interactionClass);
        }
        member.send(new DeclarationMessages.InteractionRelevance(interactionClass, relevant));
      }
    }
    told.retainAll(member.publishedInteractions);
  }

  /** refreshInstances re-evaluates attribute relevance and scope for every instance, after regions moved. */
  void refreshInstances() {
    if (instanceSwitchesOn()) {
      for (Instance instance : federation.objects().instances.values()) {
        refreshInstance(instance);
      }
    }
  }

  private boolean instanceSwitchesOn() {
    return federation.anySwitchOn(Member.ATTRIBUTE_RELEVANCE) || federation.anySwitchOn(Member.ATTRIBUTE_SCOPE);
  }

  /**
   * refreshInstance re-evaluates attribute relevance and scope for one instance. An attribute
   * counts as received by a subscriber only where its update regions meet the subscriber's.
   */
  void refreshInstance(Instance instance) {
    if (!instanceSwitchesOn()) {
      return;
    }
    Routes.ObjectRoute[] routes = federation.routes().forObjectClass(instance.registeredClass);
    for (Member member : federation.members()) {
      if (member.advisories[Member.ATTRIBUTE_RELEVANCE]) {
        BitSet owned = instance.ownedBy(member.handle);
        BitSet wanted = new BitSet();
        for (Routes.ObjectRoute route : routes) {
          if (route.member() != member && route.active()) {
            wanted.or(received(route, instance, owned));
          }
        }
        tell(member, instance, instance.toldRelevant, wanted, routes, true);
      }
      if (member.advisories[Member.ATTRIBUTE_SCOPE] && instance.knownBy(member)) {
        BitSet ownedByOthers = new BitSet();
        for (Map.Entry<Integer, Integer> e : instance.owners.entrySet()) {
          if (e.getValue() != member.handle) {
            ownedByOthers.set(e.getKey());
          }
        }
        BitSet inScope = new BitSet();
        for (Routes.ObjectRoute route : routes) {
          if (route.member() == member) {
            inScope = received(route, instance, ownedByOthers);
          }
        }
        tell(member, instance, instance.toldInScope, inScope, routes, false);
      }
    }
  }

  /** received is the attributes among those given whose updates of instance reach route's member. */
  private BitSet received(Routes.ObjectRoute route, Instance instance, BitSet among) {
    BitSet received = new BitSet();
    BitSet subscribed = Routes.reflected(route, instance);
    if (subscribed == null) {
      return received;
    }
    Integer known = instance.knownClass.get(route.member().handle);
    int knownClass = known != null ? known : route.knownClass();
    ObjectManagement objects = federation.objects();
    for (int a = among.nextSetBit(0); a >= 0; a = among.nextSetBit(a + 1)) {
      if (subscribed.get(a) && objects.passes(route.member(), knownClass, instance, a)) {
        received.set(a);
      }
    }
    return received;
  }

  /**
   * updateRate is the designator to turn updates of attributes on with: the fastest that an
   * active subscriber of them gave, or none when one of them gave none (it wants every
   * update).
   */
  private String updateRate(Member owner, Instance instance, BitSet attributes, Routes.ObjectRoute[] routes) {
    String fastest = "";
    double fastestRate = -1;
    for (Routes.ObjectRoute route : routes) {
      BitSet subscribed = Routes.reflected(route, instance);
      if (route.member() == owner || !route.active() || subscribed == null || !subscribed.intersects(attributes)) {
        continue;
      }
      if (route.updateRate().isEmpty()) {
        return "";
      }
      double rate = federation.model().updateRate(route.updateRate()).orElse(0);
      if (rate > fastestRate) {
        fastestRate = rate;
        fastest = route.updateRate();
      }
    }
    return fastest;
  }

  private void tell(Member member, Instance instance, Map<Integer, BitSet> told, BitSet now,
      Routes.ObjectRoute[] routes, boolean relevance) {
    BitSet before = told.getOrDefault(member.handle, new BitSet());
    BitSet gained = (BitSet) now.clone();
    gained.andNot(before);
    BitSet lost = (BitSet) before.clone();
    lost.andNot(now);
    if (!gained.isEmpty()) {
      member.send(relevance
          ? new DeclarationMessages.AttributeRelevance(instance.handle, gained.stream().toArray(), true,
              updateRate(member, instance, gained, routes))
          : new DeclarationMessages.AttributeScope(instance.handle, gained.stream().toArray(), true));
    }
    if (!lost.isEmpty()) {
      member.send(relevance
          ? new DeclarationMessages.AttributeRelevance(instance.handle, lost.stream().toArray(), false, "")
          : new DeclarationMessages.AttributeScope(instance.handle, lost.stream().toArray(), false));
    }
    told.put(member.handle, now);
  }
}
