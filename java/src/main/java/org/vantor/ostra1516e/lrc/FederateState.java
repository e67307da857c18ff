package org.vantor.ostra1516e.lrc;

import java.util.BitSet;
import java.util.Map;
import java.util.Set;
import java.util.TreeMap;
import java.util.concurrent.ConcurrentHashMap;
import org.vantor.ostra1516e.time.Bound;
import org.vantor.ostra1516e.time.TimeRepresentation;
import org.vantor.ostra1516e.wire.WireFormatException;
import org.vantor.ostra1516e.wire.WireReader;
import org.vantor.ostra1516e.wire.WireWriter;

/**
 * FederateState is what a component keeps of its federate's part in a federation, as it
 * hands it to a federation save and takes it back at a restore: the advisory switches; what
 * it publishes and subscribes, the instances it knows with what it owns and is acquiring
 * and the order types it changed, its reserved names and its next retraction serial; its
 * regions with their bounds as set and what uses them; its time (switches, logical time,
 * request, lookahead, promised bound, retractable messages).
 *
 * <p>The bytes: a version (i32, now 1), then those parts in that order, in the wire format's
 * little-endian numbers and strings; a set is its count and members in ascending order.
 * Reading checks every count and handle against the bytes left and refuses what does not
 * read with a {@link WireFormatException}; the component is changed only once all of it has
 * read.
 */
final class FederateState {
  static final int VERSION = 1;
  /** The greatest handle a set may hold (sets are kept as bits, so this bounds their memory). */
  private static final int MAX_HANDLE = 1 << 24;

  private FederateState() {}

  static byte[] capture(LocalRtiComponent lrc) {
    WireWriter out = new WireWriter(0);
    out.writeInt(VERSION);
    Switches switches = lrc.switches();
    synchronized (switches) {
      for (boolean on : switches.on) {
        out.writeBoolean(on);
      }
    }

    ObjectServices objects = lrc.objects();
    writeBitsByHandle(out, objects.published);
    writeSet(out, objects.publishedInteractions);
    Map<Integer, String> rates = new TreeMap<>(objects.subscriptionRates);
    out.writeInt(rates.size());
    rates.forEach((c, rate) -> {
      out.writeInt(c);
      out.writeString(rate);
    });
    Map<Integer, KnownInstance> known = new TreeMap<>(objects.known);
    out.writeInt(known.size());
    for (KnownInstance k : known.values()) {
      synchronized (k) {
        out.writeInt(k.handle);
        out.writeString(k.name);
        out.writeInt(k.knownClass);
        out.writeHandles(k.owned.stream().toArray());
        out.writeHandles(k.acquiring.stream().toArray());
        writeFlags(out, k.orders != null ? k.orders : Map.of());
      }
    }
    out.writeStrings(objects.reservedNames.stream().sorted().toList());
    out.writeInt(objects.serials.get());
    writeFlags(out, objects.interactionOrders);

    RegionServices regions = lrc.regions();
    Map<Integer, RegionServices.Region> own = new TreeMap<>(regions.regions);
    out.writeInt(own.size());
    own.forEach((handle, r) -> {
      out.writeInt(handle);
      out.writeHandles(r.dimensions);
      synchronized (r) {
        for (long bound : r.bounds) {
          out.writeLong(bound);
        }
      }
    });
    Map<Integer, Set<String>> uses = new TreeMap<>(regions.uses);
    out.writeInt(uses.size());
    uses.forEach((handle, what) -> {
      out.writeInt(handle);
      out.writeStrings(what.stream().sorted().toList());
    });

    TimeServices t = lrc.time();
    synchronized (t) {
      out.writeBoolean(t.regulating);
      out.writeBoolean(t.regulationPending);
      out.writeBoolean(t.constrained);
      out.writeBoolean(t.constrainedPending);
      out.writeBoolean(t.asynchronous);
      out.writeBoolean(t.advancing);
      out.writeBoolean(t.grantedAvailable);
      out.writeLong(t.time);
      out.writeLong(t.requested);
      out.writeInt(t.requestKind);
      out.writeBoolean(t.lookahead != null);
      if (t.lookahead != null) {
        out.writeBytes(t.lookahead);
      }
      out.writeLong(t.promise.time());
      out.writeBoolean(t.promise.strict());
      Map<Integer, TimeServices.Retractable> retractable = new TreeMap<>(t.retractable);
      out.writeInt(retractable.size());
      retractable.forEach((serial, r) -> {
        out.writeInt(serial);
        out.writeLong(r.time());
        out.writeBoolean(r.deletion());
      });
    }
    return out.toByteArray();
  }

  /** restore puts a captured state back into lrc, which has joined a federation of timeImplementation. */
  static void restore(LocalRtiComponent lrc, byte[] state, String timeImplementation) throws WireFormatException {
    WireReader in = new WireReader(state, 0);
    int version = in.readInt();
    if (version != VERSION) {
      throw new WireFormatException("a federate state of version " + version + ", not " + VERSION, 0);
    }
    boolean[] on = new boolean[lrc.switches().on.length];
    for (int i = 0; i < on.length; i++) {
      on[i] = in.readBoolean();
    }

    Map<Integer, BitSet> published = readBitsByHandle(in);
    Set<Integer> publishedInteractions = readSet(in);
    Map<Integer, String> rates = new TreeMap<>();
    for (int n = count(in); n > 0; n--) {
      rates.put(in.readInt(), in.readString());
    }
    Map<Integer, KnownInstance> known = new TreeMap<>();
    for (int n = count(in); n > 0; n--) {
      KnownInstance k = new KnownInstance(in.readInt(), in.readString(), in.readInt(), bits(in));
      k.acquiring.or(bits(in));
      Map<Integer, Boolean> orders = readFlags(in);
      for (Map.Entry<Integer, Boolean> e : orders.entrySet()) {
        k.setOrder(new int[] {e.getKey()}, e.getValue());
      }
      known.put(k.handle, k);
    }
    java.util.List<String> reserved = in.readStrings();
    int serial = in.readInt();
    Map<Integer, Boolean> interactionOrders = readFlags(in);

    Map<Integer, RegionServices.Region> regions = new TreeMap<>();
    for (int n = count(in); n > 0; n--) {
      int handle = in.readInt();
      int[] dimensions = in.readHandles();
      long[] bounds = new long[2 * dimensions.length];
      for (int i = 0; i < bounds.length; i++) {
        bounds[i] = in.readLong();
      }
      regions.put(handle, new RegionServices.Region(dimensions, bounds));
    }
    Map<Integer, Set<String>> uses = new TreeMap<>();
    for (int n = count(in); n > 0; n--) {
      int handle = in.readInt();
      Set<String> what = ConcurrentHashMap.newKeySet();
      what.addAll(in.readStrings());
      uses.put(handle, what);
    }

    boolean regulating = in.readBoolean();
    boolean regulationPending = in.readBoolean();
    boolean constrained = in.readBoolean();
    boolean constrainedPending = in.readBoolean();
    boolean asynchronous = in.readBoolean();
    boolean advancing = in.readBoolean();
    boolean grantedAvailable = in.readBoolean();
    long time = in.readLong();
    long requested = in.readLong();
    int requestKind = in.readInt();
    byte[] lookahead = in.readBoolean() ? in.readBytes() : null;
    Bound promise = new Bound(in.readLong(), in.readBoolean());
    Map<Integer, TimeServices.Retractable> retractable = new TreeMap<>();
    for (int n = count(in); n > 0; n--) {
      retractable.put(in.readInt(), new TimeServices.Retractable(in.readLong(), in.readBoolean()));
    }
    in.expectEnd();

    // All of it read: now the component takes it.
    Switches switches = lrc.switches();
    synchronized (switches) {
      System.arraycopy(on, 0, switches.on, 0, on.length);
    }
    ObjectServices objects = lrc.objects();
    objects.forget();
    objects.published.putAll(published);
    objects.publishedInteractions.addAll(publishedInteractions);
    objects.subscriptionRates.putAll(rates);
    for (KnownInstance k : known.values()) {
      objects.known.put(k.handle, k);
      objects.knownByName.put(k.name, k);
    }
    objects.reservedNames.addAll(reserved);
    objects.serials.set(serial);
    objects.interactionOrders.putAll(interactionOrders);
    RegionServices own = lrc.regions();
    own.forget();
    own.regions.putAll(regions);
    own.uses.putAll(uses);
    TimeServices t = lrc.time();
    synchronized (t) {
      TimeRepresentation named = TimeRepresentation.named(timeImplementation);
      t.times = named != null ? named : TimeRepresentation.named(TimeRepresentation.FLOAT);
      t.regulating = regulating;
      t.regulationPending = regulationPending;
      t.constrained = constrained;
      t.constrainedPending = constrainedPending;
      t.asynchronous = asynchronous;
      t.advancing = advancing;
      t.grantedAvailable = grantedAvailable;
      t.time = time;
      t.requested = requested;
      t.requestKind = requestKind;
      t.lookahead = lookahead;
      t.promise = promise;
      t.retractable.clear();
      t.retractable.putAll(retractable);
    }
  }

  private static void writeSet(WireWriter out, Set<Integer> set) {
    out.writeHandles(set.stream().mapToInt(Integer::intValue).sorted().toArray());
  }

  private static void writeBitsByHandle(WireWriter out, Map<Integer, BitSet> map) {
    Map<Integer, BitSet> sorted = new TreeMap<>(map);
    out.writeInt(sorted.size());
    sorted.forEach((handle, bits) -> {
      out.writeInt(handle);
      out.writeHandles(bits.stream().toArray());
    });
  }

  private static void writeFlags(WireWriter out, Map<Integer, Boolean> map) {
    Map<Integer, Boolean> sorted = new TreeMap<>(map);
    out.writeInt(sorted.size());
    sorted.forEach((handle, flag) -> {
      out.writeInt(handle);
      out.writeBoolean(flag);
    });
  }

  /** count reads a count of elements, each at least one byte long, so never more than the bytes left. */
  private static int count(WireReader in) throws WireFormatException {
    int at = in.offset();
    int n = in.readInt();
    if (n < 0 || n > in.remaining()) {
      throw new WireFormatException("a count of " + n + " with " + in.remaining() + " bytes left", at);
    }
    return n;
  }

  private static BitSet bits(WireReader in) throws WireFormatException {
    int at = in.offset();
    BitSet bits = new BitSet();
    for (int h : in.readHandles()) {
      if (h < 0 || h > MAX_HANDLE) {
        throw new WireFormatException("a handle of " + h, at);
      }
      bits.set(h);
    }
    return bits;
  }

  private static Set<Integer> readSet(WireReader in) throws WireFormatException {
    Set<Integer> set = new java.util.HashSet<>();
    for (int h : in.readHandles()) {
      set.add(h);
    }
    return set;
  }

  private static Map<Integer, BitSet> readBitsByHandle(WireReader in) throws WireFormatException {
    Map<Integer, BitSet> map = new TreeMap<>();
    for (int n = count(in); n > 0; n--) {
      map.put(in.readInt(), bits(in));
    }
    return map;
  }

  private static Map<Integer, Boolean> readFlags(WireReader in) throws WireFormatException {
    Map<Integer, Boolean> map = new TreeMap<>();
    for (int n = count(in); n > 0; n--) {
      map.put(in.readInt(), in.readBoolean());
    }
    return map;
  }
}
