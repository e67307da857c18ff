package org.vantor.ostra1516e.engine;

import java.util.BitSet;
import java.util.HashMap;
import java.util.HashSet;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.TreeMap;
import org.vantor.ostra1516e.fom.FomModule;
import org.vantor.ostra1516e.message.Event;

/**
 * Member is a federate joined to a federation, as the engine sees it: who it is, what it
 * publishes and subscribes, its advisory switches and the names it reserved.
 *
 * <p>Thread-safety: touched only by its federation's tasks.
 */
final class Member {
  /** Indices of the advisory switches, as the component numbers them. */
  static final int OBJECT_CLASS_RELEVANCE = 0;
  static final int ATTRIBUTE_RELEVANCE = 1;
  static final int ATTRIBUTE_SCOPE = 2;
  static final int INTERACTION_RELEVANCE = 3;

  final int handle;
  final String name;
  final String type;
  /** The member's connection; none for a member read from a save file until a restore. */
  Session session;

  /** Published attributes by object class. */
  final Map<Integer, BitSet> published = new HashMap<>();
  final Set<Integer> publishedInteractions = new HashSet<>();
  /** Subscriptions by object class. */
  final Map<Integer, Subscription> subscribed = new HashMap<>();
  /** Subscribed interaction classes, with the active flag. */
  final Map<Integer, Boolean> subscribedInteractions = new HashMap<>();
  /** The interaction classes subscribed everywhere (without regions). */
  final Set<Integer> interactionsEverywhere = new HashSet<>();
  /** The regions each interaction class is subscribed within. */
  final Map<Integer, BitSet> interactionRegions = new HashMap<>();
  final boolean[] advisories = new boolean[4];
  boolean conveyProducingFederate;
  boolean conveyRegionDesignatorSets;
  final Set<String> reservedNames = new HashSet<>();
  /** The transportation type this federate sends each interaction class with, where changed. */
  final Map<Integer, Integer> interactionTransportation = new HashMap<>();

  /** The member's time: set at join from the federation's representation. */
  TimeManagement.TimeState time;

  /** When the member joined, in milliseconds since the epoch. */
  final long since = System.currentTimeMillis();
  /** What the engine routed from and to this member, counted where it routes. */
  long updatesSent;
  long interactionsSent;
  long reflectionsReceived;
  long interactionsReceived;
  /** The finer counts that the management object model reports. */
  final Counts counts = new Counts();
  /** The modules the member joined with. */
  List<FomModule> modules = List.of();

  /** Counts are what a member did with object instances, and its traffic by class and transportation. */
  static final class Counts {
    /** Which instances {@code Mom} counts: those the member may delete, has updated, has reflected. */
    static final int CAN_DELETE = 0;
    static final int UPDATED = 1;
    static final int REFLECTED = 2;

    long registered;
    long discovered;
    long deleted;
    long removed;
    final ClassCounts updates = new ClassCounts();
    final ClassCounts reflections = new ClassCounts();
    final ClassCounts interactionsSent = new ClassCounts();
    final ClassCounts interactionsReceived = new ClassCounts();
  }

  /** ClassCounts counts messages by class handle, for each of the two transportation types. */
  static final class ClassCounts {
    private long[][] counts = new long[3][16];

    void add(int transportation, int classHandle) {
      long[] row = counts[transportation == ObjectManagement.BEST_EFFORT ? 2 : 1];
      if (classHandle >= row.length) {
        row = java.util.Arrays.copyOf(row, Math.max(classHandle + 1, 2 * row.length));
        counts[transportation == ObjectManagement.BEST_EFFORT ? 2 : 1] = row;
      }
      row[classHandle]++;
    }

    /** of is the counts of one transportation type, by class, those above zero only. */
    Map<Integer, Long> of(int transportation) {
      long[] row = counts[transportation == ObjectManagement.BEST_EFFORT ? 2 : 1];
      Map<Integer, Long> counted = new TreeMap<>();
      for (int c = 0; c < row.length; c++) {
        if (row[c] > 0) {
          counted.put(c, row[c]);
        }
      }
      return counted;
    }
  }

  /** Subscription is what a member subscribes of one object class. */
  static final class Subscription {
    final BitSet attributes = new BitSet();
    /** The attributes subscribed without regions; the others only within their regions. */
    final BitSet everywhere = new BitSet();
    /** The regions each attribute is subscribed within. */
    final Map<Integer, BitSet> regions = new HashMap<>();
    boolean active;
    String updateRate = "";
  }

  Member(int handle, String name, String type, Session session) {
    this.handle = handle;
    this.name = name;
    this.type = type;
    this.session = session;
  }

  void send(Event event) {
    session.deliver(event);
  }

  /** host is where the member's connection comes from; empty for one read from a save file. */
  String host() {
    return session != null ? session.host() : "";
  }

  boolean publishes(int objectClass) {
    BitSet attributes = published.get(objectClass);
    return attributes != null && !attributes.isEmpty();
  }

  @Override
  public String toString() {
    return name + "(" + handle + ")";
  }
}
