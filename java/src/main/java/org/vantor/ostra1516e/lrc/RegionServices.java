package org.vantor.ostra1516e.lrc;

import hla.rti1516e.exceptions.InvalidDimensionHandle;
import hla.rti1516e.exceptions.InvalidRangeBound;
import hla.rti1516e.exceptions.InvalidRegionContext;
import hla.rti1516e.exceptions.RTIexception;
import hla.rti1516e.exceptions.RegionDoesNotContainSpecifiedDimension;
import hla.rti1516e.exceptions.RegionInUseForUpdateOrSubscription;
import hla.rti1516e.exceptions.RegionNotCreatedByThisFederate;
import java.util.Arrays;
import java.util.Map;
import java.util.Set;
import java.util.concurrent.ConcurrentHashMap;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.message.RegionMessages;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.wire.RangeBounds;
import org.vantor.ostra1516e.wire.ServiceMethod;

/**
 * RegionServices keeps the regions this federate created: their dimensions and bounds as
 * set, which the engine learns only when the federate commits them. Regions of other
 * federates are the engine's to describe.
 *
 * <p>Thread-safety: any federate thread; each region's bounds change under its own monitor.
 */
public final class RegionServices {
  /** A region of this federate: bounds as set, lower and upper of each dimension in turn, dimensions ascending. */
  static final class Region {
    final int[] dimensions;
    final long[] bounds;

    Region(int[] dimensions, long[] bounds) {
      this.dimensions = dimensions;
      this.bounds = bounds;
    }

    int index(int dimension) {
      return Arrays.binarySearch(dimensions, dimension);
    }
  }

  private final LocalRtiComponent lrc;
  final Map<Integer, Region> regions = new ConcurrentHashMap<>();
  /** What each region is in use for (subscriptions, update associations), by region. */
  final Map<Integer, Set<String>> uses = new ConcurrentHashMap<>();

  RegionServices(LocalRtiComponent lrc) {
    this.lrc = lrc;
  }

  void forget() {
    regions.clear();
    uses.clear();
  }

  /**
   * usable checks that regions were created by this federate and, unless dimensions is
   * null, that each has only dimensions the class or attribute may be filtered on.
   */
  void usable(ServiceMethod service, int[] handles, Set<Integer> dimensions) throws RTIexception {
    for (int handle : handles) {
      Region r = own(service, handle);
      for (int dimension : dimensions == null ? new int[0] : r.dimensions) {
        if (!dimensions.contains(dimension)) {
          throw new InvalidRegionContext(service.serviceName() + ": region " + handle + " has dimension "
              + dimension + ", which is not one of the dimensions " + dimensions + " available here");
        }
      }
    }
  }

  /** use notes (or, with on false, forgets) that regions serve what; a region in use cannot be deleted. */
  void use(int[] handles, String what, boolean on) {
    for (int handle : handles) {
      if (on) {
        uses.computeIfAbsent(handle, h -> ConcurrentHashMap.newKeySet()).add(what);
      } else {
        Set<String> of = uses.get(handle);
        if (of != null) {
          of.remove(what);
        }
      }
    }
  }

  /** release forgets every region's use for what. */
  void release(String what) {
    for (Set<String> of : uses.values()) {
      of.remove(what);
    }
  }

  /** createRegion makes a region over dimensions; each covers its whole range until set otherwise. */
  public int createRegion(int[] dimensions) throws RTIexception {
    ServiceMethod service = ServiceMethod.createRegion_DHS;
    FomModel model = lrc.check(service).model;
    int[] sorted = Arrays.stream(dimensions).distinct().sorted().toArray();
    long[] bounds = new long[sorted.length * 2];
    for (int i = 0; i < sorted.length; i++) {
      if (model.dimensionName(sorted[i]).isEmpty()) {
        throw new InvalidDimensionHandle("createRegion: " + sorted[i] + " is not a dimension handle");
      }
      bounds[2 * i + 1] = model.dimensionUpperBound(sorted[i]);
    }
    int handle = lrc.expect(service, new RegionMessages.CreateRegion(sorted), Reply.Number.class).value();
    regions.put(handle, new Region(sorted, bounds));
    return handle;
  }

  /** getRangeBounds is the lower and the upper bound of a region on dimension: as set, or as committed by another federate. */
  public long[] getRangeBounds(int region, int dimension) throws RTIexception {
    ServiceMethod service = ServiceMethod.getRangeBounds_RH_DH;
    lrc.check(service);
    Region r = regions.get(region);
    if (r == null) {
      // Another federate's region, as it last committed it.
      RegionMessages.RegionInfo info = foreign(service, region, false);
      long[] bounds = Arrays.stream(info.bounds()).mapToLong(Integer::toUnsignedLong).toArray();
      r = new Region(info.dimensions(), bounds);
    }
    int i = contained(service, r, region, dimension);
    synchronized (r) {
      return new long[] {r.bounds[2 * i], r.bounds[2 * i + 1]};
    }
  }

  public void setRangeBounds(int region, int dimension, RangeBounds bounds) throws RTIexception {
    ServiceMethod service = ServiceMethod.setRangeBounds_RH_DH_RB;
    FomModel model = lrc.check(service).model;
    Region r = own(service, region);
    int i = contained(service, r, region, dimension);
    long upperBound = model.dimensionUpperBound(dimension);
    if (bounds.lower() < 0 || bounds.lower() >= bounds.upper() || bounds.upper() > upperBound) {
      throw new InvalidRangeBound(service.serviceName() + ": [" + bounds.lower() + ", " + bounds.upper()
          + ") is not a range of dimension " + model.dimensionName(dimension).orElse("" + dimension)
          + ": the lower bound must be below the upper, and the upper at most " + upperBound);
    }
    synchronized (r) {
      r.bounds[2 * i] = bounds.lower();
      r.bounds[2 * i + 1] = bounds.upper();
    }
  }

  /** commitRegionModifications hands the engine the bounds of regions, all of them or, if one is wrong, none. */
  public void commitRegionModifications(int[] handles) throws RTIexception {
    ServiceMethod service = ServiceMethod.commitRegionModifications_RHS;
    lrc.check(service);
    Region[] committed = new Region[handles.length];
    for (int k = 0; k < handles.length; k++) {
      committed[k] = own(service, handles[k]);
    }
    for (int k = 0; k < handles.length; k++) {
      Region r = committed[k];
      int[] words;
      synchronized (r) {
        words = Arrays.stream(r.bounds).mapToInt(b -> (int) b).toArray();
      }
      lrc.send(service, new RegionMessages.CommitRegion(handles[k], r.dimensions, words));
    }
  }

  public void deleteRegion(int region) throws RTIexception {
    ServiceMethod service = ServiceMethod.deleteRegion_RH;
    lrc.check(service);
    own(service, region);
    Set<String> of = uses.getOrDefault(region, Set.of());
    if (!of.isEmpty()) {
      throw new RegionInUseForUpdateOrSubscription(service.serviceName() + ": region " + region + " is in use ("
          + String.join(", ", new java.util.TreeSet<>(of)) + ")");
    }
    regions.remove(region);
    uses.remove(region);
    lrc.send(service, new RegionMessages.DeleteRegion(region));
  }

  public int[] getDimensionHandleSet(int region) throws RTIexception {
    ServiceMethod service = ServiceMethod.getDimensionHandleSet_RH;
    lrc.check(service);
    Region r = regions.get(region);
    return r != null ? r.dimensions.clone() : foreign(service, region, false).dimensions();
  }

  /** own is this federate's region, or the exception that says whose it is or that it is none. */
  private Region own(ServiceMethod service, int region) throws RTIexception {
    Region r = regions.get(region);
    if (r == null) {
      foreign(service, region, true);
    }
    return r;
  }

  /** foreign asks the engine about a region this federate did not create: InvalidRegion if it is none. */
  private RegionMessages.RegionInfo foreign(ServiceMethod service, int region, boolean mustOwn) throws RTIexception {
    RegionMessages.RegionInfo info = lrc.expect(service, new RegionMessages.QueryRegion(region),
        RegionMessages.RegionInfo.class);
    if (mustOwn) {
      throw new RegionNotCreatedByThisFederate(service.serviceName() + ": region " + region
          + " was created by federate " + info.creator() + ", not by this federate");
    }
    return info;
  }

  private static int contained(ServiceMethod service, Region r, int region, int dimension)
      throws RegionDoesNotContainSpecifiedDimension {
    int i = r.index(dimension);
    if (i < 0) {
      throw new RegionDoesNotContainSpecifiedDimension(service.serviceName() + ": region " + region
          + " has no dimension " + dimension);
    }
    return i;
  }
}
