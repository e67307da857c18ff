package org.vantor.ostra1516e.lrc;

import java.util.BitSet;
import java.util.HashMap;
import java.util.Map;
import org.vantor.ostra1516e.fom.FomModel;

/**
 * KnownInstance is an object instance this federate knows: one it registered or one it
 * discovered, with the attributes it owns.
 *
 * <p>Thread-safety: the owned set is read by service checks on federate threads and
 * changed by services and events; all access goes through this object's monitor.
 */
final class KnownInstance {
  final int handle;
  final String name;
  final int knownClass;
  final BitSet owned;
  /** The attributes this federate has asked the owners for and not yet got, nor been refused. */
  final BitSet acquiring = new BitSet();
  /** The order this federate updates attributes in, where changed (true: time-stamp order). */
  Map<Integer, Boolean> orders;

  KnownInstance(int handle, String name, int knownClass, BitSet owned) {
    this.handle = handle;
    this.name = name;
    this.knownClass = knownClass;
    this.owned = owned;
  }

  synchronized boolean owns(int attribute) {
    return owned.get(attribute);
  }

  synchronized boolean ownsAny() {
    return !owned.isEmpty();
  }

  synchronized void own(int attribute) {
    owned.set(attribute);
    acquiring.clear(attribute);
  }

  /** startAcquiring notes the attributes of a request that did not come at once. */
  synchronized void startAcquiring(int[] attributes) {
    for (int attribute : attributes) {
      if (!owned.get(attribute)) {
        acquiring.set(attribute);
      }
    }
  }

  synchronized void stopAcquiring(int[] attributes) {
    for (int attribute : attributes) {
      acquiring.clear(attribute);
    }
  }

  /** acquiring tells whether this federate waits for any of attributes (null: any at all). */
  synchronized boolean acquiring(int[] attributes) {
    if (attributes == null) {
      return !acquiring.isEmpty();
    }
    for (int attribute : attributes) {
      if (acquiring.get(attribute)) {
        return true;
      }
    }
    return false;
  }

  synchronized void disown(int attribute) {
    owned.clear(attribute);
  }

  synchronized void disownAll() {
    owned.clear();
  }

  synchronized void setOrder(int[] attributes, boolean timeStamp) {
    if (orders == null) {
      orders = new HashMap<>();
    }
    for (int attribute : attributes) {
      orders.put(attribute, timeStamp);
    }
  }

  /** timeStampOrder tells whether this federate's updates of attribute travel in time-stamp order. */
  synchronized boolean timeStampOrder(int attribute, FomModel model) {
    Boolean changed = orders != null ? orders.get(attribute) : null;
    return changed != null ? changed : model.attributeOrder(attribute).orElse("Receive").equals("TimeStamp");
  }
}
