package org.vantor.ostra1516e.engine;

import java.util.BitSet;
import java.util.HashMap;
import java.util.LinkedHashMap;
import java.util.Map;

/**
 * Instance is a registered object instance: its name, class, the owner of each of its
 * attributes and the class under which each member knows it.
 *
 * <p>Thread-safety: touched only by its federation's tasks.
 */
final class Instance {
  final int handle;
  final String name;
  final int registeredClass;
  final int registrant;
  /** Owner (member handle) of each owned attribute; an attribute missing here is unowned. */
  final Map<Integer, Integer> owners = new HashMap<>();
  /** The tag of each attribute its owner divests by negotiation. */
  final Map<Integer, byte[]> divesting = new HashMap<>();
  /** Members waiting to acquire each attribute, first come first, with the tag of each request. */
  final Map<Integer, LinkedHashMap<Integer, byte[]>> acquirers = new HashMap<>();
  /** Known class by member handle. */
  final Map<Integer, Integer> knownClass = new HashMap<>();
  /** The regions each attribute is updated within, as its owners associated them; none: everywhere. */
  final Map<Integer, BitSet> updateRegions = new HashMap<>();
  /** Transportation types changed from the model's, by attribute. */
  final Map<Integer, Integer> transportation = new HashMap<>();
  /** Attributes whose updates are wanted, as last told to each owner (attribute relevance). */
  final Map<Integer, BitSet> toldRelevant = new HashMap<>();
  /** Attributes in scope, as last told to each member that knows the instance. */
  final Map<Integer, BitSet> toldInScope = new HashMap<>();
  /** The members that updated the instance, and those that reflected it. */
  final BitSet updatedBy = new BitSet();
  final BitSet reflectedBy = new BitSet();

  Instance(int handle, String name, int registeredClass, int registrant) {
    this.handle = handle;
    this.name = name;
    this.registeredClass = registeredClass;
    this.registrant = registrant;
  }

  /** updatesWithin tells whether some attribute is updated within region. */
  boolean updatesWithin(int region) {
    for (BitSet within : updateRegions.values()) {
      if (within.get(region)) {
        return true;
      }
    }
    return false;
  }

  boolean knownBy(Member member) {
    return knownClass.containsKey(member.handle);
  }

  /** ownedBy returns the attributes member owns. */
  BitSet ownedBy(int member) {
    BitSet owned = new BitSet();
    for (Map.Entry<Integer, Integer> e : owners.entrySet()) {
      if (e.getValue() == member) {
        owned.set(e.getKey());
      }
    }
    return owned;
  }
}
