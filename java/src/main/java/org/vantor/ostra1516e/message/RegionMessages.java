package org.vantor.ostra1516e.message;

/**
 * RegionMessages are the messages of data distribution management. A region is created by
 * the engine (its handle is the federation's), shaped by its federate, and known to the
 * engine as last committed. Bounds travel as unsigned 32-bit numbers in int words.
 */
public final class RegionMessages {
  private RegionMessages() {}

  /** CreateRegion makes a region over dimensions; answered with its handle as a {@link Reply.Number}. */
  public record CreateRegion(int[] dimensions) implements Request {}

  /** CommitRegion tells the engine a region's bounds: lower and upper bound of each dimension in turn. */
  public record CommitRegion(int region, int[] dimensions, int[] bounds) implements Notice {}

  public record DeleteRegion(int region) implements Notice {}

  /** QueryRegion asks about a region of any federate; answered with {@link RegionInfo} or refused (InvalidRegion). */
  public record QueryRegion(int region) implements Request {}

  /** RegionInfo answers QueryRegion: the federate that created the region, its dimensions and committed bounds. */
  public record RegionInfo(int creator, int[] dimensions, int[] bounds) implements Reply {}
}
