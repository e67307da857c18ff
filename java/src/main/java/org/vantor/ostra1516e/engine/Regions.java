package org.vantor.ostra1516e.engine;

import java.util.Arrays;
import java.util.BitSet;
import java.util.HashMap;
import java.util.Map;
import java.util.function.Consumer;
import org.vantor.ostra1516e.message.RegionMessages;
import org.vantor.ostra1516e.message.Reply;

/**
 * Regions holds a federation's regions: who created each, its dimensions, and its bounds
 * as last committed, which is what the federation routes by.
 *
 * <p>Routing never compares regions: each region keeps the set of regions it overlaps, and an
 * update or interaction only intersects those sets with its receivers' regions. The sets are
 * brought up to date lazily, once for a whole run of commits: the regions committed since
 * are looked up in sorted indexes of every dimension's bounds, kept sorted as regions move,
 * which narrow the candidates to those that can meet on the region's most selective
 * dimension before any is compared.
 *
 * <p>Thread-safety: touched only by its federation's tasks.
 */
final class Regions {
  /** A committed region: lower and upper bound of each of its dimensions in turn (unsigned). */
  record Region(int creator, int[] dimensions, int[] bounds) {}

  private final Federation federation;
  private final Map<Integer, Region> regions = new HashMap<>();
  int nextRegion = 1;
  /** The regions each region overlaps (itself included), as of the last settle. */
  private final Map<Integer, BitSet> overlaps = new HashMap<>();
  /** Regions created or committed since the last settle. */
  private final BitSet moved = new BitSet();
  private final BitSet all = new BitSet();
  /** The committed bounds of every dimension, sorted. */
  private final Map<Integer, DimensionIndex> indexes = new HashMap<>();

  Regions(Federation federation) {
    this.federation = federation;
  }

  /** create makes a region that covers the whole of each of its dimensions until its creator commits other bounds. */
  void create(Member member, RegionMessages.CreateRegion m, Consumer<Reply> reply) {
    int handle = nextRegion++;
    int[] bounds = new int[m.dimensions().length * 2];
    for (int i = 0; i < m.dimensions().length; i++) {
      bounds[2 * i + 1] = (int) federation.model().dimensionUpperBound(m.dimensions()[i]);
    }
    put(handle, new Region(member.handle, m.dimensions().clone(), bounds));
    reply.accept(new Reply.Number(handle));
  }

  /** commit takes a region's new bounds; it tells whether the region exists and is the member's. */
  boolean commit(Member member, RegionMessages.CommitRegion m) {
    Region region = regions.get(m.region());
    if (region == null || region.creator() != member.handle) {
      return false;
    }
    put(m.region(), new Region(member.handle, m.dimensions(), m.bounds()));
    return true;
  }

  /** put takes a region's bounds as committed (a new region's too). */
  void put(int handle, Region region) {
    unindex(handle, regions.put(handle, region));
    for (int i = 0; i < region.dimensions().length; i++) {
      indexes.computeIfAbsent(region.dimensions()[i], d -> new DimensionIndex())
          .add(handle, region.bounds()[2 * i], region.bounds()[2 * i + 1]);
    }
    all.set(handle);
    moved.set(handle);
  }

  private void unindex(int handle, Region region) {
    for (int i = 0; region != null && i < region.dimensions().length; i++) {
      indexes.get(region.dimensions()[i]).remove(handle, region.bounds()[2 * i], region.bounds()[2 * i + 1]);
    }
  }

  void delete(Member member, RegionMessages.DeleteRegion m) {
    Region region = regions.get(m.region());
    if (region != null && region.creator() == member.handle) {
      remove(m.region());
    }
  }

  void remove(int handle) {
    unindex(handle, regions.remove(handle));
    all.clear(handle);
    moved.clear(handle);
    BitSet met = overlaps.remove(handle);
    for (int o = met == null ? -1 : met.nextSetBit(0); o >= 0; o = met.nextSetBit(o + 1)) {
      BitSet other = overlaps.get(o);
      if (other != null) {
        other.clear(handle);
      }
    }
  }

  void query(RegionMessages.QueryRegion m, Consumer<Reply> reply) {
    Region region = regions.get(m.region());
    reply.accept(region == null ? new Reply.Refused("InvalidRegion", "region " + m.region() + " does not exist")
        : new RegionMessages.RegionInfo(region.creator(), region.dimensions(), region.bounds()));
  }

  /** forget deletes the regions of a federate that leaves. */
  void forget(Member member) {
    int[] gone = regions.entrySet().stream().filter(e -> e.getValue().creator() == member.handle)
        .mapToInt(Map.Entry::getKey).toArray();
    for (int handle : gone) {
      remove(handle);
    }
  }

  Region region(int handle) {
    return regions.get(handle);
  }

  void clear() {
    regions.clear();
    overlaps.clear();
    moved.clear();
    all.clear();
    indexes.clear();
    nextRegion = 1;
  }

  /** byHandle is every region; not to be changed. */
  Map<Integer, Region> byHandle() {
    return regions;
  }

  // ---- Routing ----

  /**
   * reaches tells whether something sent within the sent regions (null or empty: the default
   * region, everywhere) reaches a subscription within the subscribed ones (null or empty:
   * everywhere).
   */
  boolean reaches(BitSet sent, BitSet subscribed) {
    if (sent == null || sent.isEmpty() || subscribed == null || subscribed.isEmpty()) {
      return true;
    }
    settle();
    for (int s = sent.nextSetBit(0); s >= 0; s = sent.nextSetBit(s + 1)) {
      BitSet met = overlaps.get(s);
      if (met != null && met.intersects(subscribed)) {
        return true;
      }
    }
    return false;
  }

  /** reaches tells the same for an interaction's sent regions as the federate gave them. */
  boolean reaches(int[] sent, BitSet subscribed) {
    if (sent == null || sent.length == 0 || subscribed == null || subscribed.isEmpty()) {
      return true;
    }
    settle();
    for (int s : sent) {
      BitSet met = overlaps.get(s);
      if (met != null && met.intersects(subscribed)) {
        return true;
      }
    }
    return false;
  }

  /** overlapping is the regions that region overlaps, itself included (none if it does not exist); not to be changed. */
  BitSet overlapping(int region) {
    settle();
    return overlaps.getOrDefault(region, new BitSet());
  }

  /** met adds to into the regions of sent that overlap one of subscribed (all of sent when subscribed is empty). */
  void met(BitSet sent, BitSet subscribed, BitSet into) {
    if (subscribed == null || subscribed.isEmpty()) {
      into.or(sent);
      return;
    }
    settle();
    for (int s = sent.nextSetBit(0); s >= 0; s = sent.nextSetBit(s + 1)) {
      BitSet met = overlaps.get(s);
      if (met != null && met.intersects(subscribed)) {
        into.set(s);
      }
    }
  }

  /** settle brings the overlap sets up to date with the regions moved since it last ran; it tells whether any had. */
  boolean settle() {
    if (moved.isEmpty()) {
      return false;
    }
    for (int r = moved.nextSetBit(0); r >= 0; r = moved.nextSetBit(r + 1)) {
      BitSet now = find(regions.get(r));
      BitSet before = overlaps.getOrDefault(r, new BitSet());
      BitSet changed = (BitSet) before.clone();
      changed.xor(now);
      for (int o = changed.nextSetBit(0); o >= 0; o = changed.nextSetBit(o + 1)) {
        BitSet other = overlaps.computeIfAbsent(o, h -> new BitSet());
        other.set(r, now.get(o));
      }
      overlaps.put(r, now);
    }
    moved.clear();
    return true;
  }

  /**
   * find is the regions that overlap region. On each of its dimensions, the regions that can
   * meet it there begin below its upper bound and less than the dimension's longest range
   * before its lower bound: one run of the dimension's ranges sorted by lower bound. The
   * regions in the shortest such run, plus those without that dimension, are compared.
   */
  private BitSet find(Region region) {
    DimensionIndex best = null;
    int bestFrom = 0;
    int bestTo = 0;
    int bestCount = Integer.MAX_VALUE;
    for (int i = 0; i < region.dimensions().length; i++) {
      DimensionIndex index = indexes.get(region.dimensions()[i]);
      int from = index.beginningFrom(Integer.toUnsignedLong(region.bounds()[2 * i]) - index.longest() + 1);
      int to = index.beginningFrom(Integer.toUnsignedLong(region.bounds()[2 * i + 1]));
      int count = to - from + regions.size() - index.size();
      if (count < bestCount) {
        bestCount = count;
        best = index;
        bestFrom = from;
        bestTo = to;
      }
    }
    BitSet found = new BitSet();
    if (best == null) {
      candidates(region, all, found);
      return found;
    }
    for (int k = bestFrom; k < bestTo; k++) {
      check(region, best.byLower(k), found);
    }
    if (best.size() < regions.size()) {
      BitSet without = (BitSet) all.clone();
      without.andNot(best.members);
      candidates(region, without, found);
    }
    return found;
  }

  private void candidates(Region region, BitSet handles, BitSet found) {
    for (int h = handles.nextSetBit(0); h >= 0; h = handles.nextSetBit(h + 1)) {
      check(region, h, found);
    }
  }

  private void check(Region region, int candidate, BitSet found) {
    if (overlap(region, regions.get(candidate))) {
      found.set(candidate);
    }
  }

  /**
   * DimensionIndex is one dimension's ranges of every region that has it, sorted by lower
   * bound, with the lengths of the ranges. Each entry is a long holding the lower bound in
   * its high half and the region in its low half (compared unsigned), so a region's entry is
   * found again from its bound. A region moving shifts the entries between its old and new places;
   * nothing is sorted again.
   */
  private static final class DimensionIndex {
    final BitSet members = new BitSet();
    private long[] byLower = new long[16];
    private int n;
    /** How many ranges have each length. */
    private final java.util.TreeMap<Long, Integer> lengths = new java.util.TreeMap<>();

    int size() {
      return n;
    }

    /** longest is the length of the longest range (0 when there is none). */
    long longest() {
      return lengths.isEmpty() ? 0 : lengths.lastKey();
    }

    void add(int region, int lower, int upper) {
      if (n == byLower.length) {
        byLower = Arrays.copyOf(byLower, 2 * n);
      }
      long key = entry(lower, region);
      int at = firstAtLeast(key);
      System.arraycopy(byLower, at, byLower, at + 1, n - at);
      byLower[at] = key;
      n++;
      members.set(region);
      lengths.merge(length(lower, upper), 1, Integer::sum);
    }

    void remove(int region, int lower, int upper) {
      int at = firstAtLeast(entry(lower, region));
      System.arraycopy(byLower, at + 1, byLower, at, n - at - 1);
      n--;
      members.clear(region);
      lengths.computeIfPresent(length(lower, upper), (l, count) -> count == 1 ? null : count - 1);
    }

    private static long length(int lower, int upper) {
      return Integer.toUnsignedLong(upper) - Integer.toUnsignedLong(lower);
    }

    private static long entry(int bound, int region) {
      return (Integer.toUnsignedLong(bound) << 32) | Integer.toUnsignedLong(region);
    }

    /** The region of the k-th range in order of lower bounds. */
    int byLower(int k) {
      return (int) byLower[k];
    }

    /** beginningFrom is the place of the first range whose lower bound is at least bound (may be negative). */
    int beginningFrom(long bound) {
      return bound <= 0 ? 0 : firstAtLeast(bound << 32);
    }

    private int firstAtLeast(long key) {
      int lo = 0;
      int hi = n;
      while (lo < hi) {
        int mid = (lo + hi) >>> 1;
        if (Long.compareUnsigned(byLower[mid], key) < 0) {
          lo = mid + 1;
        } else {
          hi = mid;
        }
      }
      return lo;
    }
  }

  /**
   * overlap tells whether two regions share a point: on every dimension both have, their
   * ranges [lower, upper) meet; a dimension only one of them has is the whole range for the
   * other. A deleted region meets nothing.
   */
  static boolean overlap(Region a, Region b) {
    if (a == null || b == null) {
      return false;
    }
    int i = 0;
    int j = 0;
    while (i < a.dimensions().length && j < b.dimensions().length) {
      int da = a.dimensions()[i];
      int db = b.dimensions()[j];
      if (da < db) {
        i++;
      } else if (db < da) {
        j++;
      } else {
        if (Integer.compareUnsigned(a.bounds()[2 * i], b.bounds()[2 * j + 1]) >= 0
            || Integer.compareUnsigned(b.bounds()[2 * j], a.bounds()[2 * i + 1]) >= 0) {
          return false;
        }
        i++;
        j++;
      }
    }
    return true;
  }
}
