package org.vantor.ostra1516e.engine;

import java.util.HashMap;
import java.util.Map;
import java.util.function.Consumer;
import org.vantor.ostra1516e.message.RegionMessages;
import org.vantor.ostra1516e.message.Reply;

/**
 * Regions holds a federation's regions: who created each, its dimensions, and its bounds
 * as last committed, which is what the federation routes by.
 *
 * <p>Thread-safety: touched only by its federation's tasks.
 */
final class Regions {
  /** A committed region: lower and upper bound of each of its dimensions in turn (unsigned). */
  record Region(int creator, int[] dimensions, int[] bounds) {}

  private final Federation federation;
  private final Map<Integer, Region> regions = new HashMap<>();
  private int nextRegion = 1;

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
    regions.put(handle, new Region(member.handle, m.dimensions().clone(), bounds));
    reply.accept(new Reply.Number(handle));
  }

  void commit(Member member, RegionMessages.CommitRegion m) {
    Region region = regions.get(m.region());
    if (region != null && region.creator() == member.handle) {
      regions.put(m.region(), new Region(member.handle, m.dimensions(), m.bounds()));
    }
  }

  void delete(Member member, RegionMessages.DeleteRegion m) {
    Region region = regions.get(m.region());
    if (region != null && region.creator() == member.handle) {
      regions.remove(m.region());
    }
  }

  void query(RegionMessages.QueryRegion m, Consumer<Reply> reply) {
    Region region = regions.get(m.region());
    reply.accept(region == null ? new Reply.Refused("InvalidRegion", "region " + m.region() + " does not exist")
        : new RegionMessages.RegionInfo(region.creator(), region.dimensions(), region.bounds()));
  }

  /**
   * reaches tells whether something sent within the sent regions (null: the default region,
   * everywhere) reaches a subscription within the subscribed ones (null or empty: everywhere).
   */
  boolean reaches(int[] sent, java.util.Set<Integer> subscribed) {
    return sent == null || reaches(java.util.Arrays.stream(sent).boxed().toList(), subscribed);
  }

  /** reaches tells the same for updates within the sent regions (null or empty: the default region). */
  boolean reaches(java.util.Collection<Integer> sent, java.util.Set<Integer> subscribed) {
    if (sent == null || sent.isEmpty() || subscribed == null || subscribed.isEmpty()) {
      return true;
    }
    for (int s : sent) {
      for (int r : subscribed) {
        if (overlap(regions.get(s), regions.get(r))) {
          return true;
        }
      }
    }
    return false;
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

  /** forget deletes the regions of a federate that leaves. */
  void forget(Member member) {
    regions.values().removeIf(region -> region.creator() == member.handle);
  }

  Region region(int handle) {
    return regions.get(handle);
  }
}
