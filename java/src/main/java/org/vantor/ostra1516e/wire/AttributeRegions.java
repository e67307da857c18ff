package org.vantor.ostra1516e.wire;

import java.util.Arrays;

/**
 * AttributeRegions is one pair of an attribute set and a region set (one element of code
 * ASRSPL), both in wire order.
 */
public record AttributeRegions(int[] attributes, int[] regions) {
  public AttributeRegions {
    attributes = attributes.clone();
    regions = regions.clone();
  }

  @Override
  public int[] attributes() {
    return attributes.clone();
  }

  @Override
  public int[] regions() {
    return regions.clone();
  }

  @Override
  public boolean equals(Object o) {
    return o instanceof AttributeRegions p
        && Arrays.equals(p.attributes, attributes)
        && Arrays.equals(p.regions, regions);
  }

  @Override
  public int hashCode() {
    return 31 * Arrays.hashCode(attributes) + Arrays.hashCode(regions);
  }

  @Override
  public String toString() {
    return Arrays.toString(attributes) + "/" + Arrays.toString(regions);
  }
}
