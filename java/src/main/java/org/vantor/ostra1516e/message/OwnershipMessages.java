package org.vantor.ostra1516e.message;

/**
 * OwnershipMessages are the messages of ownership management. The engine decides every
 * transfer, so each service is a request that it answers (or refuses with the exception the
 * state calls for); what other federates are asked or told travels as events.
 */
public final class OwnershipMessages {
  private OwnershipMessages() {}

  /** The ways of giving attributes up, as {@link Divest#kind}. */
  public static final int UNCONDITIONAL = 1;
  public static final int NEGOTIATED = 2;
  public static final int CONFIRM = 3;
  public static final int IF_WANTED = 4;
  public static final int CANCEL_NEGOTIATED = 5;
  public static final int RELEASE_DENIED = 6;

  /** The ways of asking for attributes, as {@link Acquire#kind}. */
  public static final int ACQUIRE = 1;
  public static final int IF_AVAILABLE = 2;
  public static final int CANCEL_ACQUISITION = 3;

  /** What an {@link Ownership} event tells or asks, as its kind: one callback each. */
  public static final int ASSUMPTION_REQUESTED = 1;
  public static final int CONFIRMATION_REQUESTED = 2;
  public static final int ACQUIRED = 3;
  public static final int UNAVAILABLE = 4;
  public static final int RELEASE_REQUESTED = 5;
  public static final int CANCELLATION_CONFIRMED = 6;

  /** Divest gives up (or offers, or keeps) attributes of an instance the sender owns. */
  public record Divest(int object, int[] attributes, int kind, byte[] tag) implements Request {}

  /** Divested answers Divest: the attributes that are no longer the sender's. */
  public record Divested(int[] attributes) implements Reply {}

  /** Acquire asks for attributes of an instance, or takes back such a request. */
  public record Acquire(int object, int[] attributes, int kind, byte[] tag) implements Request {}

  /** Ownership tells a federate of a change or a request concerning attributes of an instance. */
  public record Ownership(int kind, int object, int[] attributes, byte[] tag) implements Event {}

  public record QueryOwnership(int object, int attribute) implements Notice {}

  /**
   * Owner answers QueryOwnership: the owning federate, 0 when the attribute is unowned, or
   * {@link #OWNED_BY_RTI} when the RTI owns it (the attributes of its management objects).
   */
  public record Owner(int object, int attribute, int owner) implements Event {}

  public static final int OWNED_BY_RTI = -1;
}
