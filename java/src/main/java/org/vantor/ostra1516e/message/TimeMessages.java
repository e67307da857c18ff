package org.vantor.ostra1516e.message;

/**
 * TimeMessages are the messages of time management. Times and intervals are the encoded
 * bytes of the federation's time representation.
 */
public final class TimeMessages {
  private TimeMessages() {}

  /** Wire numbers of the kinds of time advance request. */
  public static final int TIME_ADVANCE = 1;
  public static final int TIME_ADVANCE_AVAILABLE = 2;

  public record EnableRegulation(byte[] lookahead) implements Notice {}

  public record DisableRegulation() implements Notice {}

  public record EnableConstrained() implements Notice {}

  public record DisableConstrained() implements Notice {}

  /** AdvanceRequest asks for a grant to time (kind: TIME_ADVANCE or TIME_ADVANCE_AVAILABLE). */
  public record AdvanceRequest(int kind, byte[] time) implements Notice {}

  /** QueryGalt asks for the federate's greatest available logical time; answered by Time. */
  public record QueryGalt() implements Request {}

  /** QueryLits asks for the least incoming time stamp; answered by Time. */
  public record QueryLits() implements Request {}

  /** Time answers a query: a time, or null when it is not defined. */
  public record Time(byte[] time) implements Reply {}

  public record RegulationEnabled(byte[] time) implements Event {}

  public record ConstrainedEnabled(byte[] time) implements Event {}

  public record Grant(byte[] time) implements Event {}
}
