package org.vantor.ostra1516e.message;

import org.vantor.ostra1516e.wire.RetractionHandle;

/**
 * TimeMessages are the messages of time management. Times and intervals are the encoded
 * bytes of the federation's time representation.
 */
public final class TimeMessages {
  private TimeMessages() {}

  /** Wire numbers of the kinds of time advance request. */
  public static final int TIME_ADVANCE = 1;
  public static final int TIME_ADVANCE_AVAILABLE = 2;
  public static final int NEXT_MESSAGE = 3;
  public static final int NEXT_MESSAGE_AVAILABLE = 4;
  public static final int FLUSH_QUEUE = 5;

  /** available tells whether a request of kind lets messages at the granted time still arrive after the grant. */
  public static boolean available(int kind) {
    return kind == TIME_ADVANCE_AVAILABLE || kind == NEXT_MESSAGE_AVAILABLE;
  }

  /** byNextMessage tells whether a request of kind may be granted below its time, at its next message. */
  public static boolean byNextMessage(int kind) {
    return kind == NEXT_MESSAGE || kind == NEXT_MESSAGE_AVAILABLE || kind == FLUSH_QUEUE;
  }

  public record EnableRegulation(byte[] lookahead) implements Notice {}

  public record DisableRegulation() implements Notice {}

  public record EnableConstrained() implements Notice {}

  public record DisableConstrained() implements Notice {}

  /** AdvanceRequest asks for a grant to time; kind is one of the request kinds above. */
  public record AdvanceRequest(int kind, byte[] time) implements Notice {}

  /** ModifyLookahead changes a regulating federate's lookahead; a smaller one takes effect as time advances. */
  public record ModifyLookahead(byte[] lookahead) implements Notice {}

  /** AsynchronousDelivery turns delivery of receive-order messages outside time advances on or off. */
  public record AsynchronousDelivery(boolean on) implements Notice {}

  /** Retract withdraws a time-stamp-order message of the sender's. */
  public record Retract(RetractionHandle handle) implements Notice {}

  /** QueryGalt asks for the federate's greatest available logical time; answered by Time. */
  public record QueryGalt() implements Request {}

  /** QueryLits asks for the least incoming time stamp; answered by Time. */
  public record QueryLits() implements Request {}

  /**
   * QuerySendBound asks for the bound the federate's time-stamp-order messages must respect
   * now, which for one waiting for its next message depends on what it may still receive;
   * answered by SendBound.
   */
  public record QuerySendBound() implements Request {}

  /** SendBound answers QuerySendBound: no message below time, nor at it when strict. */
  public record SendBound(byte[] time, boolean strict) implements Reply {}

  /** Time answers a query: a time, or null when it is not defined. */
  public record Time(byte[] time) implements Reply {}

  public record RegulationEnabled(byte[] time) implements Event {}

  public record ConstrainedEnabled(byte[] time) implements Event {}

  public record Grant(byte[] time) implements Event {}

  /** RequestRetraction asks a federate to undo a message it already received. */
  public record RequestRetraction(RetractionHandle handle) implements Event {}
}
