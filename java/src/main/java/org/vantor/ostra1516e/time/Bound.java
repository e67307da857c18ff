package org.vantor.ostra1516e.time;

/**
 * Bound is a regulating federate's promise about the time stamps it may still send: none
 * below time, and none at time either when strict. A federate's bound never falls: once
 * others have been granted on the strength of it, a later request (an Available one at the
 * same time, a smaller lookahead) cannot take it back, so the bound in force is the greatest
 * of what the federate's state allows now and every bound it gave before.
 *
 * <p>Thread-safety: immutable.
 */
public record Bound(long time, boolean strict) {
  /** NONE promises nothing. */
  public static final Bound NONE = new Bound(Long.MIN_VALUE, false);

  /**
   * after is the bound of a federate that may send from base plus lookahead on: strict with
   * zero lookahead unless it was granted (or asked) with an Available request.
   */
  public static Bound after(TimeRepresentation times, long base, byte[] lookahead, boolean available) {
    return new Bound(times.plus(base, lookahead), times.isZero(lookahead) && !available);
  }

  /** beyond tells whether nothing at or below t can be sent under this bound. */
  public boolean beyond(long t) {
    return time > t || (time == t && strict);
  }

  /** permits tells whether a message at t may be sent under this bound. */
  public boolean permits(long t) {
    return time < t || (time == t && !strict);
  }

  /** below orders bounds: an earlier time first, and at one time the one that allows that time. */
  public boolean below(Bound other) {
    return time < other.time || (time == other.time && !strict && other.strict);
  }

  public Bound max(Bound other) {
    return below(other) ? other : this;
  }
}
