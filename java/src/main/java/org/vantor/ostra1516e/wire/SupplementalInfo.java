package org.vantor.ostra1516e.wire;

import java.util.Arrays;

/**
 * SupplementalInfo is the supplemental information of a reflect, receive or remove
 * callback (code FASRI). The remove form carries only the producing federate, so its
 * hasSentRegions is always false. A field whose flag is clear holds 0 or no regions.
 */
public record SupplementalInfo(
    boolean hasProducingFederate, int producingFederate, boolean hasSentRegions, int[] sentRegions) {
  private static final int[] NO_REGIONS = new int[0];

  public SupplementalInfo {
    producingFederate = hasProducingFederate ? producingFederate : 0;
    sentRegions = hasSentRegions ? sentRegions.clone() : NO_REGIONS;
  }

  /** none is the information with neither flag set. */
  public static SupplementalInfo none() {
    return new SupplementalInfo(false, 0, false, null);
  }

  /** sentRegionCount is the number of sent regions, without copying them. */
  public int sentRegionCount() {
    return sentRegions.length;
  }

  @Override
  public int[] sentRegions() {
    return sentRegions.clone();
  }

  @Override
  public boolean equals(Object o) {
    return o instanceof SupplementalInfo s
        && s.hasProducingFederate == hasProducingFederate
        && s.producingFederate == producingFederate
        && s.hasSentRegions == hasSentRegions
        && Arrays.equals(s.sentRegions, sentRegions);
  }

  @Override
  public int hashCode() {
    return Arrays.hashCode(new int[] {producingFederate, Arrays.hashCode(sentRegions),
        (hasProducingFederate ? 1 : 0) + (hasSentRegions ? 2 : 0)});
  }

  @Override
  public String toString() {
    return "SupplementalInfo[" + (hasProducingFederate ? "producer=" + producingFederate : "no producer")
        + ", " + (hasSentRegions ? "regions=" + Arrays.toString(sentRegions) : "no regions") + "]";
  }
}
