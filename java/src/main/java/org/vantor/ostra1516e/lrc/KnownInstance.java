package org.vantor.ostra1516e.lrc;

import java.util.BitSet;

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
  private final BitSet owned;

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

  synchronized void disown(int attribute) {
    owned.clear(attribute);
  }

  synchronized void disownAll() {
    owned.clear();
  }
}
