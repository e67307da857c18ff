package org.vantor.ostra1516e.engine;

import static org.junit.jupiter.api.Assertions.assertEquals;

import org.junit.jupiter.api.Test;

/** When two regions overlap: every dimension both have must meet; a dimension only one has is its whole range. */
class RegionsTest {
  private static Regions.Region region(int[] dimensions, long... bounds) {
    int[] words = new int[bounds.length];
    for (int i = 0; i < bounds.length; i++) {
      words[i] = (int) bounds[i];
    }
    return new Regions.Region(1, dimensions, words);
  }

  private record Row(String why, Regions.Region a, Regions.Region b, boolean overlap) {}

  @Test
  void regionsOverlapWhereEveryCommonDimensionMeets() {
    int[] x = {1};
    int[] y = {2};
    int[] xy = {1, 2};
    long top = 0xFFFF_FFFFL;
    Row[] rows = {
        new Row("inside", region(x, 2, 4), region(x, 0, 8), true),
        new Row("crossing", region(x, 2, 4), region(x, 3, 6), true),
        new Row("touching ends do not meet", region(x, 2, 4), region(x, 4, 8), false),
        new Row("disjoint", region(x, 0, 1), region(x, 6, 8), false),
        new Row("no common dimension", region(x, 0, 1), region(y, 6, 8), true),
        new Row("the other's missing dimension is its whole range", region(xy, 0, 1, 6, 7), region(y, 5, 8), true),
        new Row("one common dimension apart is enough to miss", region(xy, 0, 1, 6, 7), region(xy, 0, 1, 0, 6), false),
        new Row("bounds above 2^31 compare unsigned", region(x, 0x8000_0000L, top), region(x, 0, 0x8000_0001L), true),
        new Row("and miss unsigned", region(x, 0x9000_0000L, top), region(x, 0, 0x8000_0000L), false),
        new Row("a deleted region meets nothing", null, region(x, 0, 8), false),
    };
    for (Row row : rows) {
      assertEquals(row.overlap, Regions.overlap(row.a, row.b), row.why);
      assertEquals(row.overlap, Regions.overlap(row.b, row.a), row.why + ", the other way round");
    }
  }

  /**
   * The overlap sets the federation routes by, kept through sorted bounds, equal a comparison
   * of every pair after any run of regions created, moved and deleted: ranges long and short,
   * near zero and above 2^31, regions without some dimension. Seeded.
   */
  @Test
  void indexedOverlapsEqualEveryPairCompared() {
    long seed = Long.getLong("ostra.regionSeed", System.nanoTime());
    java.util.Random random = new java.util.Random(seed);
    Regions regions = new Regions(null);
    regions.put(1, region(new int[] {1}, 10, 20));
    regions.put(2, region(new int[] {1}, 19, 21));
    assertEquals("{1, 2}", regions.overlapping(2).toString(), "the longest range reaches back to the shortest");
    assertEquals("{1, 2}", regions.overlapping(1).toString());
    regions.remove(1);
    regions.remove(2);
    java.util.Map<Integer, Regions.Region> model = new java.util.TreeMap<>();
    int[][] shapes = {{1}, {2}, {1, 2}, {1, 2}, {}};
    for (int round = 0; round < 400; round++) {
      int handle = 1 + random.nextInt(60);
      if (model.containsKey(handle) && random.nextInt(5) == 0) {
        regions.remove(handle);
        model.remove(handle);
      } else {
        int[] dimensions = model.containsKey(handle) ? model.get(handle).dimensions()
            : shapes[random.nextInt(shapes.length)];
        long[] bounds = new long[dimensions.length * 2];
        for (int d = 0; d < dimensions.length; d++) {
          long top = random.nextBoolean() ? 100 : 0xFFFF_FFFFL;
          long lower = (long) (random.nextDouble() * (top - 1));
          bounds[2 * d] = lower;
          bounds[2 * d + 1] = lower + 1 + (long) (random.nextDouble() * random.nextDouble() * (top - lower - 1));
        }
        Regions.Region region = region(dimensions, bounds);
        regions.put(handle, region);
        model.put(handle, region);
      }
      if (random.nextInt(4) == 0) {
        for (int a : model.keySet()) {
          java.util.BitSet expected = new java.util.BitSet();
          model.forEach((b, other) -> expected.set(b, Regions.overlap(model.get(a), other)));
          assertEquals(expected, regions.overlapping(a), "region " + a + " after round " + round + " (seed " + seed
              + "; -Dostra.regionSeed=" + seed + " repeats it)");
        }
      }
    }
  }
}
