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
}
