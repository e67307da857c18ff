package org.vantor.ostra1516e.message;

/** SyncMessages are the messages of federation synchronization points. */
public final class SyncMessages {
  private SyncMessages() {}

  /**
   * Register registers a synchronization point; federates is the synchronization set, or
   * empty for every joined federate (then federates joining later are included too).
   */
  public record Register(String label, byte[] tag, int[] federates) implements Request {}

  public record Achieved(String label, boolean successful) implements Request {}

  public record RegistrationSucceeded(String label) implements Event {}

  /** reason is the wire number of the SynchronizationPointFailureReason. */
  public record RegistrationFailed(String label, int reason) implements Event {}

  public record Announce(String label, byte[] tag) implements Event {}

  /** failed holds the federates that achieved the point unsuccessfully. */
  public record Synchronized(String label, int[] failed) implements Event {}

  public static final int LABEL_NOT_UNIQUE = 0;
  public static final int SET_MEMBER_NOT_JOINED = 1;
}
